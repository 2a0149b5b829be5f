// What every filter shares: no byte is ever echoed, reports of any length, empty input,
// and a recognised line's output as soon as its newline arrives at a terminal.
#include "catalogue.hpp"
#include "harness.hpp"

#include <gtest/gtest.h>

using namespace std::string_literals;

namespace {

struct Filter {
    std::string name;
    std::string line;    // a recognised line
    std::string output;  // what it prints
};

// Every filter that writes a value for each line it recognises, with its sample line.
std::vector<Filter> line_filters_of_the_catalogue()
{
    std::vector<Filter> filters;
    for (const auto& p : catalogue::programs)
        if (p.kind == "filter") filters.push_back({std::string(p.name), std::string(p.sample), std::string(p.output)});
    return filters;
}

const std::vector<Filter> line_filters = line_filters_of_the_catalogue();

std::string every_byte_but_newline()
{
    std::string bytes;
    for (int b = 0; b < 256; ++b)
        if (b != '\n') bytes.push_back(static_cast<char>(b));
    return bytes;
}

using harness::repeat;

}  // namespace

TEST(Frame, NoInputByteIsEchoedOrStopsTheScan)
{
    const std::string noise = every_byte_but_newline() + "\n";
    for (const auto& f : line_filters)
        harness::check(f.name, {
            {"empty input", ""s, ""s},
            {"empty lines only", "\n\n\n"s, ""s},
            {"every byte value", noise, ""s},
            {"every byte value around a recognised line", noise + f.line + noise, f.output},
        });
    harness::check("proof-status", {
        {"empty input", ""s, "3\n"s},
        {"every byte value", noise + noise, "3\n"s},
    });
}

TEST(Frame, ReportLengthIsUnbounded)
{
    const int lines = 100000;
    for (const auto& f : line_filters)
        harness::check(f.name, {
            {"many recognised lines", repeat(f.line, lines), repeat(f.output, lines)},
            {"many bad lines", repeat(f.line.substr(0, f.line.size() - 1) + " " + f.line, lines) + f.line,
             f.output},
        });
    harness::check("proof-status", {
        {"many sentences", repeat("The conjecture disproved.\n"s, lines), "2\n"s},
    });
}

TEST(Frame, TerminalGetsEachValueAsItsLineEnds)
{
    for (const auto& f : line_filters) {
        SCOPED_TRACE(f.name);
        harness::Terminal term(harness::tool(f.name));
        for (int i = 0; i < 3; ++i) {
            term.type("unrelated text\n");
            term.type(f.line);
            EXPECT_EQ(term.read(f.output.size()), f.output);
        }
        EXPECT_EQ(term.finish(), 0);
    }
}

// A terminal's lines go to the scanner one by one; a file's or pipe's are first sifted for the
// ones that may matter. Both must come to the same output.
TEST(Frame, TerminalReadsAReportAsAPipeDoes)
{
    std::string report = "unrelated text: 12.5 (3 steps)\n\n" + std::string(70, ' ') + "0:01.25\n"
                         "Lemma 1: ratio AB/CD = 2.50 (step 4)\n12:34.56 7\n1:2:3.4\n";
    for (const auto& f : line_filters)
        report += f.line + "x " + f.line + f.line.substr(0, f.line.size() / 2) + "\n";
    for (const auto& f : line_filters) {
        SCOPED_TRACE(f.name);
        harness::check_terminal_as_pipe(f.name, report);
    }
}

TEST(Frame, ProofStatusAnswersOnlyAtEndOfInput)
{
    harness::Terminal term(harness::tool("proof-status"));
    term.type("The conjecture disproved.\n");
    EXPECT_EQ(term.read(1, std::chrono::milliseconds(300)), "");
    term.type("The conjecture not proved - timeout.\n");
    EXPECT_EQ(term.read(1, std::chrono::milliseconds(300)), "");
    EXPECT_EQ(term.finish(), 0);
    EXPECT_EQ(term.read(2), "4\n");
}
