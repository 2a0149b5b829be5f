// Every byte value inserted at every position of a text each program recognises: a recognised
// line of each filter (for a filter no table here knows, its catalogue sample), a sentence of
// proof-status, a statement of script-translator and a reserved word of token-classifier. The
// cases of one program go in one run, one case a line, and the expected output is the cases'
// outputs in order; each table says what one insertion does, by where it falls and what the
// byte is.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "catalogue.hpp"
#include "harness.hpp"

using namespace std::string_literals;

namespace {

std::string inserted(const std::string& text, std::size_t at, unsigned char byte) {
    return text.substr(0, at) + static_cast<char>(byte) + text.substr(at);
}

bool digit(unsigned char b) { return b >= '0' && b <= '9'; }
bool lower(unsigned char b) { return b >= 'a' && b <= 'z'; }

// The cases of one program: what each insertion gives, and the text after each case.
void check_every_insertion(const char* program, const std::string& text, const std::string& after,
                           const std::function<std::string(std::size_t, unsigned char)>& expected,
                           int status = 0) {
    std::string input, output;
    for (std::size_t at = 0; at <= text.size(); ++at)
        for (int b = 0; b < 256; ++b) {
            input += inserted(text, at, static_cast<unsigned char>(b)) + after;
            output += expected(at, static_cast<unsigned char>(b));
        }
    auto o = harness::run(harness::tool(program), input, {}, std::chrono::seconds(60));
    EXPECT_EQ(o.err, "");
    EXPECT_EQ(o.status, status);
    if (o.out == output) return;
    // Name the first case that differs.
    for (std::size_t at = 0; at <= text.size(); ++at)
        for (int b = 0; b < 256; ++b) {
            auto single = harness::run(harness::tool(program),
                                       inserted(text, at, static_cast<unsigned char>(b)) + after);
            auto want = expected(at, static_cast<unsigned char>(b));
            if (single.out != want) {
                ADD_FAILURE() << program << ": byte " << b << " at " << at << ": got \""
                              << single.out << "\", expected \"" << want << "\"";
                return;
            }
        }
    ADD_FAILURE() << program << ": the cases differ only when run together";
}

// A filter's recognised line, where its fixed phrases and its value stand in it, and how the
// filter treats bytes that are not part of its tokens.
struct Line {
    const char* program;
    std::string text;
    std::string output;
    std::vector<std::pair<std::size_t, std::size_t>> phrases;  // [begin, end) of each phrase
    std::size_t value_begin, value_end;                        // the number, if any
    std::string (*value_output)(const std::string& digits);    // what a changed number writes
    bool digits_are_tokens;  // a digit run on its own makes the line bad
    const char* tokens;      // other bytes that are tokens of their own
};

std::string seconds_output(const std::string& value) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%f\n", std::atof(value.c_str()));
    return buf;
}
std::string count_output(const std::string& value) { return std::to_string(std::atoi(value.c_str())) + "\n"; }

// One insertion into a recognised line:
// - a line break at either end leaves the line whole; one that cuts off the end of a number
//   at the end of the line leaves the rest of the number; anywhere else it leaves two bad lines;
// - inside a phrase any byte breaks it, except a copy of its first or last character put next
//   to that character, which is dropped like any stray letter in front of or after the phrase;
// - a digit inside or next to the number becomes part of it; any other byte inside the number
//   breaks it;
// - a digit elsewhere is a token of its own where digits are tokens, and dropped otherwise;
// - a byte that is a token of its own makes the line bad; any other byte is dropped.
std::string line_insertion(const Line& l, std::size_t at, unsigned char b) {
    const bool has_value = l.value_end > l.value_begin;
    if (b == '\n') {
        if (at == 0 || at == l.text.size()) return l.output;
        if (has_value && l.value_end == l.text.size() && at > l.value_begin)
            return l.value_output(l.text.substr(l.value_begin, at - l.value_begin));
        return "";
    }
    for (auto [begin, end] : l.phrases)
        if (at > begin && at < end)
            return (at == begin + 1 && b == l.text[begin]) || (at == end - 1 && b == l.text[end - 1])
                       ? l.output
                       : "";
    if (has_value && at >= l.value_begin && at <= l.value_end) {
        if (digit(b)) {
            std::string v = l.text.substr(l.value_begin, l.value_end - l.value_begin);
            return l.value_output(v.insert(at - l.value_begin, 1, static_cast<char>(b)));
        }
        if (at > l.value_begin && at < l.value_end) return "";
    }
    if (digit(b)) return l.digits_are_tokens ? "" : l.output;
    if (b != 0 && std::string(l.tokens).find(static_cast<char>(b)) != std::string::npos) return "";
    return l.output;
}

}  // namespace

TEST(EveryByte, FilterLines) {
    const std::string pt = "Time spent by the prover is ", ptc = "Time spent by the prover: ";
    const Line lines[] = {
        {"prover-time", pt + "1.5 seconds", "1.500000\n", {{0, 27}, {32, 39}}, 28, 31,
         seconds_output, false, ""},
        {"prover-time-colon", ptc + "1.5 seconds", "1.500000\n", {{0, 25}, {30, 37}}, 26, 29,
         seconds_output, false, ""},
        {"algebraic-steps", "Number of algebraic proof steps: 3", "3\n", {{0, 32}}, 33, 34,
         count_output, true, ""},
        {"elimination-steps", "Number of elimination proof steps:12", "12\n", {{0, 34}}, 34, 36,
         count_output, true, ""},
        {"total-steps", "Total number of proof steps: 45", "45\n", {{0, 28}}, 29, 31, count_output,
         true, ""},
        {"geometric-steps", "Number of geometric proof steps: 7", "7\n", {{0, 32}}, 33, 34,
         count_output, true, ""},
        {"proved-flag", "The conjecture has been proved.", "1\n", {{0, 31}}, 0, 0, nullptr, false, ""},
        {"error-kind", "Syntax error", "Syntax Error\n\n", {{0, 12}}, 0, 0, nullptr, false, ""},
        {"error-kind", "Run-time error", "Semantic Error\n\n", {{0, 14}}, 0, 0, nullptr, false, ""},
        {"runtime-error-flag", "Run-time error", "Semantic Error\n\n", {{0, 14}}, 0, 0, nullptr,
         false, ""},
        {"syntax-error-flag", "Syntax error", "Syntax Error\n\n", {{0, 12}}, 0, 0, nullptr, false, ""},
    };
    for (const Line& l : lines) {
        SCOPED_TRACE(l.program);
        check_every_insertion(l.program, l.text, "\n",
                              [&](std::size_t at, unsigned char b) { return line_insertion(l, at, b); });
    }
    // A filter of the catalogue that no table here knows: every insertion into its sample's
    // first line, one a line, must end cleanly and leave the sample after them its output.
    for (const std::string& name : harness::filters()) {
        if (name == "clock-seconds" || name == "proof-status" ||
            std::any_of(std::begin(lines), std::end(lines), [&](const Line& l) { return l.program == name; }))
            continue;
        SCOPED_TRACE(name);
        const auto& p = catalogue::find(name);
        const std::string sample(p.sample), output(p.output), text = sample.substr(0, sample.find('\n'));
        std::string input;
        for (std::size_t at = 0; at <= text.size(); ++at)
            for (int b = 0; b < 256; ++b) input += inserted(text, at, static_cast<unsigned char>(b)) + "\n";
        auto o = harness::run(harness::tool(name), input + sample, {}, std::chrono::seconds(60));
        EXPECT_EQ(o.err, "");
        EXPECT_EQ(o.status, 0);
        EXPECT_TRUE(o.out.ends_with(output)) << o.out.substr(o.out.size() - std::min<std::size_t>(o.out.size(), 200));
    }
}

// A clock reading is tokens from end to end: a digit joins the field it touches, and a colon,
// a full stop or a byte that splits a field adds a token, which makes the line bad; a line
// break that cuts the hundredths short leaves a reading with fewer of them.
TEST(EveryByte, ClockReading) {
    const std::string text = "1:02.50";
    check_every_insertion("clock-seconds", text, "\n", [&](std::size_t at, unsigned char b) -> std::string {
        if (b == '\n') return at == 0 || at == text.size() ? "62.500000\n" : at == 6 ? "62.050000\n" : "";
        if (digit(b)) {
            std::string t = inserted(text, at, b);
            const std::size_t colon = t.find(':'), stop = t.find('.');
            double m = std::stod(t.substr(0, colon)),
                   s = std::stod(t.substr(colon + 1, stop - colon - 1)),
                   c = std::stod(t.substr(stop + 1));
            char buf[64];
            std::snprintf(buf, sizeof buf, "%f\n", m * 60 + s + c / 100);
            return buf;
        }
        bool inside_field = at == 3 || at == 6;
        if (b == ':' || b == '.' || inside_field) return "";
        return "62.500000\n";
    });
}

// proof-status writes only the last outcome, so the insertions that must keep the sentence go
// one to a run, after a sentence of another outcome, and those that must break it go together.
// A byte inside the sentence breaks it, unless it doubles its first or last character.
TEST(EveryByte, OutcomeSentence) {
    const std::string before = "The conjecture successfully proved.\n";
    const std::string text = "The conjecture disproved.";
    std::string broken = before;
    for (std::size_t at = 1; at < text.size(); ++at)
        for (int b = 0; b < 256; ++b)
            if (!(at == 1 && b == 'T') && !(at == text.size() - 1 && b == '.'))
                broken += inserted(text, at, static_cast<unsigned char>(b)) + "\n";
    auto o = harness::run(harness::tool("proof-status"), broken);
    EXPECT_EQ(o.out, "1\n");
    EXPECT_EQ(o.err, "");
    for (int b = 0; b < 256; ++b) {
        SCOPED_TRACE(b);
        const std::string c(1, static_cast<char>(b));
        auto kept = harness::run(harness::tool("proof-status"), before + c + text + c);
        EXPECT_EQ(kept.out, "2\n");
        EXPECT_EQ(kept.err, "");
    }
    for (const char* doubled : {"TThe conjecture disproved.", "The conjecture disproved.."})
        EXPECT_EQ(harness::run(harness::tool("proof-status"), before + doubled).out, "2\n");
}

// A statement followed by one that resets error reporting. The bytes that the scanner hands
// over as characters of no use to the grammar make the statement's line a syntax error,
// unless they come after the statement, which is then written first; blanks and tabs only
// matter inside a keyword; a line end inside the statement leaves two bad pieces, of which
// only the first is reported. The other bytes build tokens with their neighbours: for them the
// run must only end cleanly, with the statement that follows written, except after a comment
// sign that follows a token or a string's opening character, which take the line end and
// with it that statement.
TEST(EveryByte, Statement) {
    const std::string text = "P = point(1, 2)", after = "\nQ = point(3, 4)\n";
    const std::string p12 = "point P 10.000000 20.000000\n", q34 = "point Q 30.000000 40.000000\n";
    const std::string active = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789_'.+-%\"$=(),:{}";
    auto expected = [&](std::size_t at, unsigned char b) -> std::string {
        const bool end = at == 0 || at == text.size();
        if (b == ' ' || b == '\t') return (at > 4 && at < 9 ? "\n" : p12) + q34;
        if (b == '\n' || b == '\r' || b == ';') return (end ? p12 : "\n") + q34;
        return (at == text.size() ? p12 + "\n" : "\n") + q34;
    };
    std::string input, output;
    for (std::size_t at = 0; at <= text.size(); ++at)
        for (int b = 0; b < 256; ++b) {
            if (b != 0 && active.find(static_cast<char>(b)) != std::string::npos) continue;
            input += inserted(text, at, static_cast<unsigned char>(b)) + after;
            output += expected(at, static_cast<unsigned char>(b));
        }
    auto o = harness::run(harness::tool("script-translator"), input);
    EXPECT_EQ(o.out, output);
    EXPECT_EQ(o.err, "");
    EXPECT_EQ(o.status, 0);
    for (std::size_t at = 0; at <= text.size(); ++at)
        for (char b : active) {
            auto one = harness::run(harness::tool("script-translator"), inserted(text, at, b) + after);
            SCOPED_TRACE(std::string("byte ") + b + " at " + std::to_string(at));
            EXPECT_EQ(one.err, "");
            EXPECT_TRUE(one.status == 0 || one.status == 1);
            if ((b == '%' && at > 0) || b == '"' || b == '$')
                EXPECT_EQ(one.out.find(q34), std::string::npos);
            else
                EXPECT_NE(one.out.find(q34), std::string::npos);
        }
}

// A reserved word with a byte put into it: a lower-case letter or a digit joins the word into
// an identifier (a digit in front is an integer of its own); a blank, tab or line end splits
// it; anything else is a token of its own between the two halves.
TEST(EveryByte, ReservedWord) {
    const std::string text = "end";
    auto word = [](const std::string& w) -> std::string {
        if (w.empty()) return "";
        return w == "end" ? "Uma palavra reservada: end\n" : "Um identificador: " + w + "\n";
    };
    check_every_insertion("token-classifier", text, "\n", [&](std::size_t at, unsigned char b) -> std::string {
        const std::string left = text.substr(0, at), right = text.substr(at);
        const std::string c(1, static_cast<char>(b));
        if (digit(b) && at == 0) return "Um inteiro: " + c + " (" + c + ")\n" + word(right);
        if (digit(b) || lower(b)) return word(left + c + right);
        if (b == ' ' || b == '\t' || b == '\n') return word(left) + word(right);
        if (b == '+' || b == '-' || b == '*' || b == '/') return word(left) + "Um operador: " + c + "\n" + word(right);
        return word(left) + "Caracter n\343o reconhec\355vel: " + (b == 0 ? "" : c) + "\n" + word(right);
    });
}
