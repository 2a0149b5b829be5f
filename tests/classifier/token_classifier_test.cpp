// token-classifier: one classification line per token, byte for byte, from stdin or a file.
#include "harness.hpp"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>
#include <vector>

using namespace std::string_literals;

namespace {

const char* const prog = "token-classifier";

std::string integer(const std::string& text, const std::string& value) {
    return "Um inteiro: " + text + " (" + value + ")\n";
}
std::string real(const std::string& text, const std::string& value) {
    return "Um real: " + text + " (" + value + ")\n";
}
std::string reserved(const std::string& word) { return "Uma palavra reservada: " + word + "\n"; }
std::string ident(const std::string& name) { return "Um identificador: " + name + "\n"; }
std::string op(const std::string& c) { return "Um operador: " + c + "\n"; }
// The message is ISO-8859-1: a-tilde is the single byte E3, i-acute the single byte ED.
std::string bad(const std::string& c) { return "Caracter n\xE3o reconhec\xEDvel: " + c + "\n"; }

}  // namespace

TEST(TokenClassifier, Numbers) {
    harness::check(prog, {
        {"real", "3.14"s, real("3.14", "3.14")},
        {"real without fraction digits", "3."s, real("3.", "3")},
        {"leading dot is not a number", ".5"s, bad(".") + integer("5", "5")},
        {"leading zeros vanish from the value", "007"s, integer("007", "7")},
        {"zero", "0 000"s, integer("0", "0") + integer("000", "0")},
        {"six significant digits", "123456789.0"s, real("123456789.0", "1.23457e+08")},
        {"trailing zeros dropped", "1.50"s, real("1.50", "1.5")},
        {"small value in fixed form", "0.0001"s, real("0.0001", "0.0001")},
        {"smaller value in exponent form", "0.00001"s, real("0.00001", "1e-05")},
        {"large value in exponent form", "1000000.0"s, real("1000000.0", "1e+06")},
        {"no exponent part", "1.5e3"s, real("1.5", "1.5") + ident("e3")},
        {"upper-case exponent", "2E5"s, integer("2", "2") + bad("E") + integer("5", "5")},
        {"second dot ends the real", "12.34.56"s,
         real("12.34", "12.34") + bad(".") + integer("56", "56")},
        {"no sign", "-5"s, op("-") + integer("5", "5")},
        {"digits then letters", "12ab"s, integer("12", "12") + ident("ab")},
        {"real then letters", "1.x"s, real("1.", "1") + ident("x")},
    });
}

TEST(TokenClassifier, IntegersBeyondInt) {
    harness::check(prog, {
        {"largest int", "2147483647"s, integer("2147483647", "2147483647")},
        {"one past the largest int", "2147483648"s, integer("2147483648", "2147483648")},
        {"ten digits above the range", "9999999999"s, integer("9999999999", "9999999999")},
        {"twenty digits", "12345678901234567890"s,
         integer("12345678901234567890", "12345678901234567890")},
        {"leading zeros before an int", "0002147483647"s, integer("0002147483647", "2147483647")},
        {"leading zeros before a larger value", "0004294967296"s,
         integer("0004294967296", "4294967296")},
        {"many zeros", "0000000000000"s, integer("0000000000000", "0")},
        {"thousands of digits", std::string(5000, '7'),
         integer(std::string(5000, '7'), std::string(5000, '7'))},
    });
}

TEST(TokenClassifier, RealsBeyondDouble) {
    const std::string huge = "1"s.append(400, '0').append(".");
    const std::string tiny = "0."s.append(400, '0').append("1");
    harness::check(prog, {
        {"too large shows inf", huge, real(huge, "inf")},
        {"too small shows zero", tiny, real(tiny, "0")},
    });
}

// A real's value is what printf's "%g" makes of the double that atof reads: reals of every
// length, values half way between two sixth significant digits, and values at the edges
// of the fixed form.
TEST(TokenClassifier, RealsAsTheCLibraryReadsAndShowsThem) {
    std::vector<std::string> reals = {"100000.5", "100001.5", "123456.5", "12345.25", "0.0001",
                                      "0.00009999995", "0.000099999949", "999999.5", "999998.5",
                                      "1000000.", "0.5", "9.5", "0.0078125", "0.", "000.000",
                                      "0.00010", "0.00001", "000123.400", "999999.", "10.",
                                      "0.000123456", "0.0001234567", "1234.560", "12345.67"};
    harness::Random random{0x9e3779b97f4a7c15u};
    auto next = [&random] { return random.next(); };
    for (int i = 0; i < 3000; ++i) {
        std::string r;
        for (int d = 1 + next() % 9; d > 0; --d) r += static_cast<char>('0' + next() % 10);
        r += '.';
        for (int d = next() % 14; d > 0; --d) r += static_cast<char>('0' + next() % 10);
        reals.push_back(r);
    }
    std::string text, expected;
    char shown[512];
    for (const auto& r : reals) {
        std::snprintf(shown, sizeof shown, "%g", std::strtod(r.c_str(), nullptr));
        text += r + "\n";
        expected += real(r, shown);
    }
    auto o = harness::run(harness::tool(prog), text);
    EXPECT_TRUE(o.out == expected) << o.out.substr(0, 300);
    EXPECT_EQ(o.status, 0);
}

TEST(TokenClassifier, WordsAndIdentifiers) {
    harness::check(prog, {
        {"reserved word prefixes", "if ifx begin1 endif"s,
         reserved("if") + ident("ifx") + ident("begin1") + ident("endif")},
        {"every reserved word", "procedure function then end begin"s,
         reserved("procedure") + reserved("function") + reserved("then") + reserved("end") +
             reserved("begin")},
        {"upper case", "BEGIN"s, bad("B") + bad("E") + bad("G") + bad("I") + bad("N")},
        {"capital first letter", "Begin"s, bad("B") + ident("egin")},
        {"underscore", "a_b"s, ident("a") + bad("_") + ident("b")},
        {"letters and digits stay one", "x1y22 z9"s, ident("x1y22") + ident("z9")},
        {"names of 16 and 17 letters", "abcdefghijklmnop abcdefghijklmnopq"s,
         ident("abcdefghijklmnop") + ident("abcdefghijklmnopq")},
        {"punctuation", "x:=1;"s, ident("x") + bad(":") + bad("=") + integer("1", "1") + bad(";")},
        {"operators", "++ a+b*c/d-e"s,
         op("+") + op("+") + ident("a") + op("+") + ident("b") + op("*") + ident("c") + op("/") +
             ident("d") + op("-") + ident("e")},
    });
}

TEST(TokenClassifier, Comments) {
    harness::check(prog, {
        {"braces do not nest", "{ a { b } c }"s, ident("c") + bad("}")},
        {"unclosed on its line", "{ abc\n}"s, bad("{") + ident("abc") + bad("}")},
        {"unclosed at end of input", "x {ab 1"s, ident("x") + bad("{") + ident("ab") + integer("1", "1")},
        {"empty", "{}"s, ""},
        {"at end of line", "x {note} \ny"s, ident("x") + ident("y")},
        {"at end of input", "x{note}"s, ident("x")},
        {"odd bytes inside are dropped", "{\0\r\xff{ A_ }z"s, ident("z")},
        {"lone closing brace", "}"s, bad("}")},
        {"comment between tokens", "if{c}then"s, reserved("if") + reserved("then")},
    });
}

TEST(TokenClassifier, WhiteSpaceAndControlBytes) {
    harness::check(prog, {
        {"empty input", ""s, ""},
        {"blanks tabs and newlines only", " \t\n\n  \t"s, ""},
        {"blanks and tabs after every kind", "7\t\t2.5  end\t x - ;\t\0 {c}\t\tq \n"s,
         integer("7", "7") + real("2.5", "2.5") + reserved("end") + ident("x") + op("-") + bad(";")
             + bad("") + ident("q")},
        {"carriage return before newline", "a 1\r\n"s, ident("a") + integer("1", "1") + bad("\r")},
        {"form feed and vertical tab", "\f\v"s, bad("\f") + bad("\v")},
        {"NUL has an empty text", "a\0b"s, ident("a") + bad("") + ident("b")},
        {"two-byte character", "\xC3\xA9"s, bad("\xC3") + bad("\xA9")},
        {"high bytes are raw", "\x80\xFF"s, bad("\x80") + bad("\xFF")},
    });
}

// Every byte value on a line of its own: each gets exactly the line of its class and nothing
// of the input is copied through.
TEST(TokenClassifier, EveryByteValue) {
    std::string input, expected;
    for (int b = 0; b < 256; ++b) {
        const char c = static_cast<char>(b);
        const std::string s(1, c);
        input += s + "\n";
        if (b >= '0' && b <= '9') expected += integer(s, s);
        else if (b >= 'a' && b <= 'z') expected += ident(s);
        else if (s == "+" || s == "-" || s == "*" || s == "/") expected += op(s);
        else if (b == ' ' || b == '\t' || b == '\n') continue;
        else expected += bad(b == 0 ? "" : s);
    }
    auto o = harness::run(harness::tool(prog), input);
    EXPECT_EQ(o.out, expected);
    EXPECT_EQ(o.status, 0);
    EXPECT_EQ(o.err, "");
}

TEST(TokenClassifier, LargeInput) {
    std::string input, expected;
    for (int i = 0; i < 20000; ++i) {
        const std::string n = std::to_string(i), x = "x"s.append(n), r = n + ".5";
        input.append("begin ").append(x).append(" := ").append(r).append(" {c}\n");
        expected += reserved("begin") + ident(x) + bad(":") + bad("=") + real(r, r);
    }
    // A comment and a token far longer than the scanner's read block.
    const std::string name(100000, 'q');
    input.append("{").append(100000, '-').append("}").append(name);
    expected += ident(name);
    auto o = harness::run(harness::tool(prog), input);
    EXPECT_EQ(o.out, expected);
    EXPECT_EQ(o.status, 0);
}

TEST(TokenClassifier, FileArgument) {
    const harness::Scratch scratch("token-classifier");
    const std::string path = scratch.write("prog.txt", "if x then\n  y := 2.5\n");
    const std::string lines = reserved("if") + ident("x") + reserved("then") + ident("y") +
                              bad(":") + bad("=") + real("2.5", "2.5");
    const std::string tool = harness::tool(prog);

    auto named = harness::run(tool, "ignored", {path});
    EXPECT_EQ(named.out, lines);
    EXPECT_EQ(named.err, "");
    EXPECT_EQ(named.status, 0);

    const std::string bytes = scratch.write("bytes.bin", "a\0\xE9\r\n"s);
    auto raw = harness::run(tool, "", {bytes});
    EXPECT_EQ(raw.out, ident("a") + bad("") + bad("\xE9") + bad("\r"));
    EXPECT_EQ(raw.status, 0);
}

// On a terminal each typed line is classified as soon as it is entered.
TEST(TokenClassifier, TerminalLineAtATime) {
    harness::Terminal term(harness::tool(prog));
    term.type("if 42\n");
    const std::string first = reserved("if") + integer("42", "42");
    EXPECT_EQ(term.read(first.size()), first);
    term.type("x{c} 1.\n");
    const std::string second = ident("x") + real("1.", "1");
    EXPECT_EQ(term.read(second.size()), second);
    EXPECT_EQ(term.finish(), 0);
}

// A terminal is read by a scanner of its own, which must cut the text just as the scanner for
// files and pipes does.
TEST(TokenClassifier, TerminalClassifiesAsAPipeDoes) {
    const std::string text =
        "procedure p begin x := 1.5 + 007 end\n{ a { b } c\n{ open {x} 2.\nifx then1 {}\n"
        "3.x * / - ; \xe3\xed\n{ a } } {\n";
    harness::check_terminal_as_pipe(prog, text);
}
