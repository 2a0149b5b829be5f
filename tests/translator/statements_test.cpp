// script-translator on construction statements: listing lines, label directions, scanning
// details, and how malformed lines are reported and skipped.
#include "harness.hpp"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

using namespace std::string_literals;

namespace {
const char* const prog = "script-translator";
const std::string p12 = "point P 10.000000 20.000000\n", q34 = "point Q 30.000000 40.000000\n";
}  // namespace

TEST(Translator, StatementForms) {
    harness::check(prog, {
        {"worked example",
         "P = point(0, 0)\nQ = point(4, 0)\nR = point(0, 3)\nl = line(P, Q)\n"
         "m = bisector(segment(P, Q))\nX = intersection(l, m)\ndraw(segment(P, Q))\n"
         "label(R, 90:)\nprove { equal signed_area3 P Q R 6 }\n"s,
         "point P 0.000000 0.000000\npoint Q 40.000000 0.000000\npoint R 0.000000 30.000000\n"
         "line l P Q\nmed m P Q\nintersec X l m\ndrawsegment P Q\ncmark_t R\n"
         "\nprove { equal signed_area3 P Q R  6.000000 }\n\n"s},
        {"coordinates scaled", "P = point(-1.5, .25)\nQ = point(-0, +.5)\n"s,
         "point P -15.000000 2.500000\npoint Q -0.000000 5.000000\n"s},
        {"no blanks, no final newline", "l=line(A,B)"s, "line l A B\n"s},
        {"names are never checked", "X = intersection(P, P)\nX = line(X, Y)\n"s,
         "intersec X P P\nline X X Y\n"s},
        {"semicolons separate", "P = point(1, 2); Q = point(3, 4)\n"s, p12 + q34},
        {"CR LF line ends", "P = point(1, 2)\r\nQ = point(3, 4)\r\n"s, p12 + q34},
        {"nothing to translate", "% only a comment\n\n \t\n;;\r\n% last"s, ""s},
        {"empty input", ""s, ""s},
    });
}

TEST(Translator, Words) {
    harness::check(prog, {
        {"keyword case and suffixes", "Point = point(1, 2)\npoints = point(1, 2)\n"s,
         "point Point 10.000000 20.000000\npoint points 10.000000 20.000000\n"s},
        {"capital draw and label", "DRAW(segment(A', A''))\nLABEL(B_2, 0:)\n"s,
         "drawsegment A' A''\ncmark_r B_2\n"s},
        {"mixed-case keyword", "Draw(segment(P, Q))\nP = POINT(1, 2)\n"s, "\n\n"s},
        {"apostrophe starts no name", "'A = point(1, 2)\n"s, "\n"s},
        {"reserved words", "l = parallel(P, Q)\nm = perpendicular(P, Q)\n"s, "\n\n"s},
        {"blank after sign", "P = point(- 1, 2)\nQ = point(3, 4)\n"s, "\n"s + q34},
        {"point without digits after it", "P = point(1., 2)\nQ = point(3, 4)\n"s, "\n"s + q34},
        {"signed, point without digits", "R = point(12, +1.)\nQ = point(3, 4)\n"s, "\n"s + q34},
        {"sign and point alone", "x +. y\nQ = point(3, 4)\n"s, "\n"s + q34},
        {"exponent is a name", "P = point(1e3, 2)\nQ = point(3, 4)\n"s, "\n"s + q34},
        {"sign starts a number", "P = point(1-2, 3)\nQ = point(3, 4)\n"s, "\n"s + q34},
    });
}

TEST(Translator, LabelDirections) {
    const std::string huge(400, '9');  // beyond any floating-point range
    const std::pair<std::string, std::string> table[] = {
        {"0", "r"}, {"22.5", "r"}, {"22.50000001", "r"}, {"22.6", "rt"}, {"45", "rt"},
        {"67.4", "rt"}, {"67.5", "t"}, {"90", "t"}, {"112.5", "t"}, {"112.6", "lt"},
        {"157.4", "lt"}, {"157.5", "l"}, {"202.5", "l"}, {"202.6", "lb"}, {"247.4", "lb"},
        {"247.5", "b"}, {"292.5", "b"}, {"292.6", "rb"}, {"315", "rb"}, {"337.4", "rb"},
        {"337.5", "r"}, {"360", "r"}, {"-0", "r"}, {"-22.5", "r"}, {"-90", "b"}, {"-360", "r"},
        // beyond a whole turn: reduced by whole turns first
        {"450", "t"}, {"-450", "b"}, {"720", "r"}, {"-720", "r"}, {"382.5", "r"},
        {"-405", "rb"}, {"1000", "b"}, {huge, "r"},
    };
    std::vector<harness::Case> cases;
    for (const auto& [angle, suffix] : table) {
        // an earlier label to the top shows that no suffix is ever carried over
        cases.push_back({angle.c_str(), "label(A, 90:)\nlabel(B, " + angle + ":)\n",
                         "cmark_t A\ncmark_" + suffix + " B\n"});
    }
    harness::check(prog, cases);
}

TEST(Translator, MalformedLines) {
    harness::check(prog, {
        {"trailing token", "P = point(1, 2) Q\nQ = point(3, 4)\n"s, p12 + "\n" + q34},
        {"second statement on the line", "P = point(1, 2) Q = point(3, 4)\n"s, p12 + "\n"},
        {"comment swallows the line end", "P = point(1, 2) % note\nR = point(0, 1)\nQ = point(3, 4)\n"s,
         p12 + "\n" + q34},
        {"name for a number", "P = point(A, 2)\nQ = point(3, 4)\n"s, "\n"s + q34},
        {"label without colon", "label(A, 90)\n"s, "\n"s},
        {"one-word lines in a row", "foo\nbar\nbaz\nQ = point(3, 4)\n"s, "\n"s + q34},
        {"third-token errors in a row", "P = x\nQ = y\nQ = point(3, 4)\n"s, "\n\n"s + q34},
        {"third-token error, then one word", "P = x\nfoo\n"s, "\n"s},
        {"CR LF adds an empty line to the count", "foo\r\nbar\r\n"s, "\n\n"s},
        {"cut off at end of input", "P = point(1, 2)\nQ = point(3,"s, p12 + "\n"},
    });
}

TEST(Translator, Strings) {
    harness::check(prog, {
        {"unterminated, quoted", "x = \"abc\nP = point(1, 2)\nQ = point(3, 4)\n"s,
         "Unterminated character string\n"s + q34},
        {"unterminated, dollar", "$abc\nP = point(1, 2)\nQ = point(3, 4)\n"s,
         "Unterminated character string\n"s + q34},
        {"lone dollar sign", "P = point(1, 2)\n$\nP = point(1, 2)\nQ = point(3, 4)\n"s,
         p12 + "Unterminated character string\n" + q34},
        {"separators inside a string", "\"a;b%c\" $;%$ \"\"\nQ = point(3, 4)\n"s, "\n"s + q34},
        {"quote at end of input", "P = point(1, 2)\n\"abc"s, p12 + "\n"},
        {"dollar at end of input", "P = point(1, 2)\n$"s, p12 + "\n"},
        {"dollar string at end of input", "P = point(1, 2)\n$abc"s, p12 + "\n"},
    });
}

TEST(Translator, InvalidBytes) {
    harness::check(prog, {
        {"NUL alone", "\0\nP = point(1, 2)\n"s, "\n"s + p12},
        {"NUL after a statement", "P = point(1, 2)\0 x\nQ = point(3, 4)\n"s, p12 + "\n" + q34},
        {"high bytes", "\xff\xfe\nP = point(1, 2)\nR\xc3\xa9 = point(0, 0)\nQ = point(3, 4)\n"s,
         "\n"s + p12 + "\n" + q34},
        {"inside comment and string", "% caf\xc3\xa9\0\n\"\xff\0\"\nP = point(1, 2)\n"s, "\n"s + p12},
    });
}

TEST(Translator, WritesEachLineAsItsStatementEnds) {
    harness::Terminal term(harness::tool(prog));
    term.type("P = point(1, 2)\n");
    EXPECT_EQ(term.read(p12.size()), p12);
    term.type("prove { equal 1 2 }\n");
    const std::string goal = "\nprove { equal 1.000000 2.000000 }\n\n";
    EXPECT_EQ(term.read(goal.size()), goal);
    EXPECT_EQ(term.finish(), 0);
}

// A terminal is read by a scanner of its own, which must cut the text just as the scanner for
// files and pipes does.
TEST(Translator, TerminalTranslatesAsAPipeDoes) {
    const std::string script =
        "P = point(1., 2)\nQ = point(+.5, -.5)\nR = point(12, +1.)\nx +. y\nx = \"abc\n"
        "$a;b$ \"c\"\nlabel(P, 45.:)\nlabel(P, 45:)\nprove { equal 1. 2 }\n"
        "prove { equal mult 1 2 { sratio A B C D } }\n% note\nl = line(A, B) % note\n";
    harness::check_terminal_as_pipe(prog, script);
}

// Every number reads as strtod reads it and shows as printf's "%f" shows it: coordinates times
// ten, goal operands as they are. Digit strings of every length, values that fall exactly half
// way between two sixth decimals, and values too small or too large for a short way through.
TEST(Translator, NumbersAsTheCLibraryReadsAndWritesThem) {
    std::vector<std::string> numbers = {"0", "-0", "+.5", "0.0078125", "0.0234375", "-0.0000005",
                                        "0.00000049999999999999999", "999999999999.9999996",
                                        "1000000000000", "9007199254740993", "0.1", "+1.5"};
    std::uint64_t s = 88172645463325252u;
    auto next = [&s] { s ^= s << 13; s ^= s >> 7; s ^= s << 17; return s; };
    for (int i = 0; i < 3000; ++i) {
        std::string n = i % 3 == 0 ? "-" : "";
        for (int d = next() % 24; d > 0; --d) n += static_cast<char>('0' + next() % 10);
        if (next() % 4) {
            n += '.';
            for (int d = 1 + next() % 26; d > 0; --d) n += static_cast<char>('0' + next() % 10);
        }
        if (n.empty() || n.back() == '-') n += '7';
        numbers.push_back(n);
    }
    numbers.push_back(std::string(400, '9'));
    numbers.push_back("0." + std::string(400, '0') + "1");
    std::string script, listing;
    char shown[512], tenfold[512];
    for (const auto& n : numbers) {
        double v = std::strtod(n.c_str(), nullptr);
        std::snprintf(shown, sizeof shown, "%f", v);
        std::snprintf(tenfold, sizeof tenfold, "%f", v * 10);
        script += "P = point(" + n + ", 1)\nprove { equal " + n + " 1 }\n";
        listing += "point P "s + tenfold + " 10.000000\n\nprove { equal " + shown + " 1.000000 }\n\n";
    }
    auto o = harness::run(harness::tool(prog), script);
    EXPECT_TRUE(o.out == listing) << o.out.substr(0, 300);
    EXPECT_EQ(o.status, 0);
}
