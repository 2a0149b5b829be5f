// The program of one filter: its recogniser over standard input, its lines to standard output.
#include <cstring>
#include <string>
#include <unistd.h>

#include "lines.hpp"
#include "output.hpp"
#include "tool.hpp"

namespace filters {
std::unique_ptr<Recogniser> FILTER_MAKE();
}

namespace {

// What --help says of each filter: the lines it looks for and what it writes for each.
struct Summary {
    const char* name;
    const char* looks_for;
    const char* writes;
};

const Summary summaries[] = {
    {"prover-time", "\"Time spent by the prover is N seconds\"", "N as %f"},
    {"prover-time-colon", "\"Time spent by the prover: N seconds\"", "N as %f"},
    {"clock-seconds", "a clock reading M:SS.cc", "M*60 + SS + cc/100 as %f"},
    {"algebraic-steps", "\"Number of algebraic proof steps: N\"", "N"},
    {"elimination-steps", "\"Number of elimination proof steps: N\"", "N"},
    {"total-steps", "\"Total number of proof steps: N\"", "N"},
    {"geometric-steps", "\"Number of geometric proof steps: N\"", "N"},
    {"proved-flag", "\"The conjecture has been proved.\"", "1"},
    {"proof-status", "the six outcome sentences \"The conjecture ...\"",
     "once, at the end, the code (1-6) of the last one; 3 if there is none"},
    {"error-kind", "\"Syntax error\" or \"Run-time error\"",
     "\"Syntax Error\" or \"Semantic Error\", then an empty line"},
    {"runtime-error-flag", "\"Run-time error\"", "\"Semantic Error\", then an empty line"},
    {"syntax-error-flag", "\"Syntax error\"", "\"Syntax Error\", then an empty line"},
};

std::string usage(bool parse_result) {
    std::string text = "Usage: " FILTER_NAME " < REPORT\n"
                       "Read a prover report on standard input and pick out its lines of interest.\n";
    for (const auto& s : summaries) {
        if (std::strcmp(s.name, FILTER_NAME) != 0) continue;
        text = text + "Looks for: " + s.looks_for + "\nWrites:    " + s.writes + "\n";
    }
    text += "Other lines are skipped silently.\nExit status: ";
    if (parse_result)
        text += "0 when the report was read to its end; 1 when it ended, without a final\n"
                "newline, in a line holding a token; 2 on a read or write error.\n";
    else
        text += "0; 2 on a read or write error.\n";
    return text;
}

// Each line goes out with its newline; at a terminal, at once.
class StandardOutput final : public filters::Sink {
public:
    void line(std::string_view text) override {
        output::put(text);
        output::put("\n");
        output::done();
    }
};

}  // namespace

int main(int argc, char** argv)
{
    auto recogniser = filters::FILTER_MAKE();
    const bool parse_result = recogniser->finish == filters::parse_result;
    if (tool::info_option(argc, argv, FILTER_NAME, usage(parse_result).c_str()))
        return tool::finish(FILTER_NAME, 0);
    StandardOutput sink;
    filters::TerminalLines terminal;
#ifdef FILTER_REFERENCE
    filters::EveryLine file(0);
#else
    static filters::Blocks file(0, recogniser->find_line);
#endif
    filters::Source& input = isatty(0) ? static_cast<filters::Source&>(terminal) : file;
    const int status = recogniser->finish(recogniser->parse(input, sink), sink);
    recogniser.reset();
    output::flush();
    return tool::finish(FILTER_NAME, status);
}
