// Driver shared by every prover-log filter: one parse over standard input, nothing else.
#include "frame.hpp"

#include <cstdio>
#include <cstring>
#include <string>

#include "tool.hpp"

int parse_result(int parsed) { return parsed; }
int always_success(int) { return 0; }

// The ending this filter was built with (parse_result, always_success or its own).
int FILTER_END(int parsed);

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

std::string usage() {
    std::string text = "Usage: " FILTER_NAME " < REPORT\n"
                       "Read a prover report on standard input and pick out its lines of interest.\n";
    for (const auto& s : summaries) {
        if (std::strcmp(s.name, FILTER_NAME) != 0) continue;
        text = text + "Looks for: " + s.looks_for + "\nWrites:    " + s.writes + "\n";
    }
    text += "Other lines are skipped silently.\nExit status: ";
    if (FILTER_END == parse_result)
        text += "0 when the report was read to its end; 1 when it ended, without a final\n"
                "newline, in a line holding a token; 2 on a read or write error.\n";
    else
        text += "0; 2 on a read or write error.\n";
    return text;
}

}  // namespace

int main(int argc, char** argv)
{
    if (tool::info_option(argc, argv, FILTER_NAME, usage().c_str()))
        return tool::finish(FILTER_NAME, 0);
    const int parsed = yyparse();
    yylex_destroy();
    return tool::finish(FILTER_NAME, FILTER_END(parsed));
}

// Bad lines are skipped without a word.
void yyerror(const char*) {}

// Standard input is the only input there is.
extern "C" int yywrap() { return 1; }
