// Immense tokens, an immense line and a goal nested far past the parser's stack: each run
// ends cleanly with the exact output, within its timeout, and with memory that grows with the
// longest token only. Inputs go through a pipe, where a token longer than the scanner's buffer
// arrives in pieces.
#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <ostream>
#include <string>
#include <vector>

#include "catalogue.hpp"
#include "measure.hpp"

using namespace std::string_literals;
using std::chrono::seconds;

namespace {

constexpr std::size_t ten_mb = 10'000'000, hundred_mb = 100'000'000;

// `length` bytes of `pattern` over and over.
std::string cycle(const std::string& pattern, std::size_t length) {
    std::string s;
    s.reserve(length);
    while (s.size() < length) s.append(pattern, 0, std::min(pattern.size(), length - s.size()));
    return s;
}

struct Limit {
    const char* name;
    std::string input;
    std::string output;
    int status;
    long memory_kib;  // the most address space the run may take
};

void check(const char* program, const Limit& c, seconds timeout = seconds(120)) {
    SCOPED_TRACE(std::string(program) + ": " + c.name);
    auto o = limits::run(program, c.input, timeout, c.memory_kib);
    EXPECT_EQ(o.status, c.status);
    EXPECT_EQ(o.err, "");
    EXPECT_TRUE(o.out == c.output)
        << "output of " << o.out.size() << " bytes, starting " << o.out.substr(0, 200);
}

// A name of every character an identifier may hold, and a text of every character a string
// may hold, separators and the comment sign included.
const std::string identifier = cycle("Name_0'x9Z", ten_mb);
const std::string text = cycle("some text; % with \\ signs 'and' {braces} \t", ten_mb);

}  // namespace

TEST(ScriptLimits, TenMegabyteIdentifiersAndStrings) {
    const long big = limits::base_kib + limits::token_kib(3 * ten_mb);
    const std::string& id = identifier;
    for (const Limit& c : {
             Limit{"point named by it", id + " = point(1, 2)\n", "point " + id + " 10.000000 20.000000\n", 0, big},
             Limit{"line through it twice", "l = line(" + id + ", " + id + ")\n", "line l " + id + " " + id + "\n", 0, big},
             Limit{"goal operand cut", "prove { equal sratio " + id + " B C D 1 }\n",
                   "\nprove { equal " + ("sratio " + id).substr(0, 3999) + " 1.000000 }\n\n", 0, big},
             Limit{"quoted string", "\"" + text + "\"\nP = point(1, 2)\n", "\npoint P 10.000000 20.000000\n", 0, big},
             Limit{"dollar string", "$" + text + "$\nP = point(1, 2)\n", "\npoint P 10.000000 20.000000\n", 0, big},
             Limit{"unterminated string takes its line end",
                   "\"" + text + "\nP = point(1, 2)\nQ = point(3, 4)\n",
                   "Unterminated character string\npoint Q 30.000000 40.000000\n", 0, big},
             Limit{"comment", "% " + text + "\nP = point(1, 2)\n", "point P 10.000000 20.000000\n", 0, big},
         })
        check("script-translator", c);
}

TEST(ScriptLimits, GoalNestedAMillionDeepStopsAtTheStackLimit) {
    const std::size_t depth = 1'000'000;
    std::string braces = "P = point(1, 2)\nprove { equal ";
    for (std::size_t i = 0; i < depth; ++i) braces += "{ ";
    braces += "1";
    for (std::size_t i = 0; i < depth; ++i) braces += " }";
    braces += " 2 }\n";
    std::string products = "P = point(1, 2)\nprove { equal " + cycle("mult 2 ", 7 * depth) + "3 4 }\n";
    const std::string p12 = "point P 10.000000 20.000000\n";
    const long small = limits::base_kib;
    for (const Limit& c : {Limit{"braces", braces, p12 + "\n", 2, small},
                           Limit{"products", products, p12 + "\n", 2, small}})
        check("script-translator", c, seconds(60));
}

// Every filter on a 100 MB digit run, and on a line of 100 MB that holds its recognised line
// at the end. Where the digits are a token the scanner's buffer grows to hold them; where the
// filter drops them, as it drops the words of the long line, memory stays small.
struct Report {
    std::string program;
    std::string before_digits;
    std::string after_digits;
    bool digits_are_a_token;
    std::string digits_output;
    int digits_status;
    std::string line;  // a recognised line, and what it writes
    std::string line_output;
};

const Report hand_made[] = {
    {"prover-time", "Time spent by the prover is ", ".5 seconds\n", true, "42.500000\n", 0,
     "Time spent by the prover is 1.5 seconds\n", "1.500000\n"},
    {"prover-time-colon", "Time spent by the prover: ", " seconds\n", true, "", 0,
     "Time spent by the prover: 1.5 seconds\n", "1.500000\n"},
    {"clock-seconds", "1:", ".05\n", true, "102.050000\n", 0, "1:02.50\n", "62.500000\n"},
    {"algebraic-steps", "Number of algebraic proof steps: ", "\n", true, "42\n", 0,
     "Number of algebraic proof steps: 3\n", "3\n"},
    {"elimination-steps", "Number of elimination proof steps:", "\n", true, "42\n", 0,
     "Number of elimination proof steps: 3\n", "3\n"},
    {"total-steps", "", " Total number of proof steps: 5\n", true, "", 0,
     "Total number of proof steps: 3\n", "3\n"},
    {"geometric-steps", "Number of geometric proof steps: ", "", true, "", 1,
     "Number of geometric proof steps: 3\n", "3\n"},
    {"proved-flag", "", " The conjecture has been proved.\n", false, "1\n", 0,
     "The conjecture has been proved.\n", "1\n"},
    {"proof-status", "The conjecture disproved.", "", false, "2\n", 0,
     "The conjecture out of scope of the prover.", "6\n"},
    {"error-kind", "Syntax error ", "\n", false, "Syntax Error\n\n", 0, "Run-time error\n",
     "Semantic Error\n\n"},
    {"runtime-error-flag", "", "Run-time error\n", false, "Semantic Error\n\n", 0,
     "Run-time error\n", "Semantic Error\n\n"},
    {"syntax-error-flag", "Syntax error", "\n", false, "Syntax Error\n\n", 0, "Syntax error\n",
     "Syntax Error\n\n"},
};

// The rows above, and one for every other filter of the catalogue made from its sample: the
// digit run and the long line each on a line of their own before it, which must then give
// the sample's output, the digits held as a token at worst.
std::vector<Report> every_filter() {
    std::vector<Report> all(std::begin(hand_made), std::end(hand_made));
    for (const std::string& name : harness::filters()) {
        if (std::any_of(all.begin(), all.end(), [&](const Report& r) { return r.program == name; }))
            continue;
        const auto& p = catalogue::find(name);
        const std::string sample(p.sample), output(p.output);
        all.push_back({name, "", "\n" + sample, true, output, 0, "\n" + sample, output});
    }
    return all;
}

const std::vector<Report> reports = every_filter();

void PrintTo(const Report& r, std::ostream* os) { *os << r.program; }

class ReportLimits : public testing::TestWithParam<Report> {};

TEST_P(ReportLimits, HundredMegabyteDigitRun) {
    const Report& r = GetParam();
    std::string input = r.before_digits;
    input.append(hundred_mb - 2, '0');
    input += "42";
    input += r.after_digits;
    long memory = limits::base_kib + (r.digits_are_a_token ? limits::token_kib(hundred_mb) : 0);
    check(r.program.c_str(), {"digit run", std::move(input), r.digits_output, r.digits_status, memory});
}

TEST_P(ReportLimits, HundredMegabyteLine) {
    const Report& r = GetParam();
    std::string input = cycle("lorem ipsum, dolor sit amet; ", hundred_mb) + r.line;
    check(r.program.c_str(), {"long line", std::move(input), r.line_output, 0, limits::base_kib});
}

INSTANTIATE_TEST_SUITE_P(EveryFilter, ReportLimits, testing::ValuesIn(reports),
                         [](const auto& info) {
                             std::string name = info.param.program;
                             std::erase(name, '-');
                             return name;
                         });

// Two ways a scanner can go quadratic, each with a timeout that only a linear scan meets: a
// digit run that a timing filter's value rule reads to its end and then backs out of, and a
// token longer than the buffer, which is rescanned from its start after every read.
TEST(Traps, DigitRunsWithoutAFractionInTimingLines) {
    const std::string run = std::string(4 << 20, '0') + "7";
    for (const char* program : {"prover-time", "prover-time-colon"}) {
        const std::string phrase = program == "prover-time"s ? "Time spent by the prover is "
                                                             : "Time spent by the prover: ";
        const std::string line = phrase + "1.5 seconds\n";
        const long memory = limits::base_kib + limits::token_kib(run.size());
        for (const Limit& c : {
                 Limit{"run alone", run + "\n" + line, "1.500000\n", 0, memory},
                 Limit{"run as the value", phrase + run + " seconds\n" + line, "1.500000\n", 0, memory},
                 Limit{"run and a full stop", phrase + run + ". seconds\n" + line, "1.500000\n", 0, memory},
                 Limit{"run before the phrase", run + "." + line, "1.500000\n", 0, memory},
                 Limit{"run with a fraction", phrase + run + ".25 seconds\n", "7.250000\n", 0, memory},
                 Limit{"runs between tokens", phrase + run + " 1.5 " + run + " seconds " + run + "\n",
                       "1.500000\n", 0, memory},
             })
            check(program, c, seconds(20));
    }
}

TEST(Traps, TokensLongerThanTheBuffer) {
    const std::size_t size = 64u << 20;
    const long memory = limits::base_kib + limits::token_kib(size);
    // A comment is read in pieces: however long, it takes no memory beyond the start.
    check("script-translator",
          {"comment", "% " + std::string(size, 'x') + "\nP = point(1, 2)\n",
           "point P 10.000000 20.000000\n", 0, limits::base_kib},
          seconds(30));
    check("token-classifier",
          {"comment", "{" + std::string(size, 'x') + "} x\n", "Um identificador: x\n", 0, memory},
          seconds(30));
    check("token-classifier",
          {"integer", std::string(size, '0') + "7 x\n",
           "Um inteiro: " + std::string(size, '0') + "7 (7)\nUm identificador: x\n", 0,
           memory + limits::token_kib(size)},
          seconds(30));
}

// Scans that go back over a line: an opening brace with no closing brace after it on its line
// must not send the classifier to the line's end once for every brace, nor hold the blanks that
// follow it until the line ends, and a NUL byte inside a comment or string must not make flex
// rescan the whole token once for every NUL.
TEST(Traps, UnclosedBracesAndNulBytesInsideTokens) {
    const std::size_t size = 1u << 20;
    const long memory = limits::base_kib + 2 * limits::token_kib(size);
    const std::string braces(size, '{');
    std::string unrecognised_braces;
    for (std::size_t i = 0; i < size; ++i) unrecognised_braces += "Caracter n\xE3o reconhec\xEDvel: {\n";
    const std::string nuls(size, '\0');
    std::string unrecognised_nuls;
    for (std::size_t i = 0; i < size; ++i) unrecognised_nuls += "Caracter n\xE3o reconhec\xEDvel: \n";
    const std::string brace = "Caracter n\xE3o reconhec\xEDvel: {\n";
    const std::string blanks = cycle(" \t  ", hundred_mb);
    for (const Limit& c : {
             Limit{"blanks after an unclosed brace", "{" + blanks + "\nbegin\n",
                   brace + "Uma palavra reservada: begin\n", 0, limits::base_kib},
             Limit{"blanks in a comment", "{" + blanks + "} x\n", "Um identificador: x\n", 0, limits::base_kib},
             Limit{"braces to the line end", braces + "\nx\n", unrecognised_braces + "Um identificador: x\n", 0, memory},
             Limit{"braces to the input end", braces, unrecognised_braces, 0, memory},
             Limit{"NUL bytes in a comment", "{" + nuls + "} x\n", "Um identificador: x\n", 0, memory},
             Limit{"NUL bytes after an unclosed brace", "{" + nuls + "\n", brace + unrecognised_nuls, 0, memory},
             Limit{"NUL bytes to the input end", "{a" + nuls, brace + "Um identificador: a\n" + unrecognised_nuls, 0, memory},
         })
        check("token-classifier", c, seconds(20));
    for (const Limit& c : {
             Limit{"NUL bytes in a comment", "% " + nuls + "\nP = point(1, 2)\n", "point P 10.000000 20.000000\n", 0, memory},
             Limit{"NUL bytes in a last-line comment", "P = point(1, 2) %" + nuls, "point P 10.000000 20.000000\n", 0, memory},
             Limit{"NUL bytes in a string", "\"" + nuls + "\"\nP = point(1, 2)\n", "\npoint P 10.000000 20.000000\n", 0, memory},
             Limit{"NUL bytes in a dollar string", "$" + nuls + "$\nP = point(1, 2)\n", "\npoint P 10.000000 20.000000\n", 0, memory},
             Limit{"NUL bytes in an unterminated string", "\"" + nuls + "\nP = point(1, 2)\nQ = point(1, 1)\n",
                   "Unterminated character string\npoint Q 10.000000 10.000000\n", 0, memory},
             Limit{"NUL bytes after a quote at the end", "P = point(1, 2)\n\"" + nuls, "point P 10.000000 20.000000\n\n", 0, memory},
         })
        check("script-translator", c, seconds(20));
}

// Memory that runs out, wherever it is taken (the scanner's buffer, a copied name, a count's
// digits, a comment's or string's pieces), ends the run with one line on standard error and
// status 2, never with a signal.
TEST(Traps, MemoryExhaustionEndsWithAMessage) {
    if (!limits::bounded) GTEST_SKIP() << "no bound on address space in a sanitized build";
    const std::string run(hundred_mb, 'A');
    const struct {
        const char* program;
        std::string input;
    } cases[] = {
        {"script-translator", "l = line(" + run + ", B)\n"},
        {"script-translator", "\"\0"s + run + "\"\n"},
        {"total-steps", "Total number of proof steps: " + std::string(hundred_mb, '7') + "\n"},
        {"token-classifier", "{\0"s + run + run + "}\n"},  // kept whole until it closes: 200 MB
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.program);
        auto o = limits::run(c.program, c.input, seconds(60), 180'000);
        EXPECT_EQ(o.status, 2);
        EXPECT_EQ(o.err.rfind(c.program + ": "s, 0), 0u) << o.err;
        EXPECT_EQ(o.err.find('\n'), o.err.size() - 1) << o.err;
    }
}
