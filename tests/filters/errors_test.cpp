// error-kind, runtime-error-flag and syntax-error-flag: each sees the same lines its own way.
#include "harness.hpp"

#include <gtest/gtest.h>

using namespace std::string_literals;
using harness::Case;

namespace {

const std::string S = "Syntax Error\n\n";
const std::string R = "Semantic Error\n\n";

// One input and what each of the three makes of it.
struct Row {
    const char* name;
    std::string input;
    std::string kind, runtime, syntax;
    int kind_status = 0, runtime_status = 0, syntax_status = 0;
};

void check(const std::vector<Row>& rows)
{
    std::vector<Case> kind, runtime, syntax;
    for (const auto& r : rows) {
        kind.push_back({r.name, r.input, r.kind, r.kind_status});
        runtime.push_back({r.name, r.input, r.runtime, r.runtime_status});
        syntax.push_back({r.name, r.input, r.syntax, r.syntax_status});
    }
    harness::check("error-kind", kind);
    harness::check("runtime-error-flag", runtime);
    harness::check("syntax-error-flag", syntax);
}

}  // namespace

TEST(Errors, RecognisedLines)
{
    check({
        {"syntax", "Syntax error\n", S, "", S},
        {"run-time", "Run-time error\n", R, R, ""},
        {"in order", "Syntax error\nRun-time error\nSyntax error\n", S + R + S, R, S + S},
        {"lines between", "\nlog 1\nSyntax error\n\nx\nSyntax error Syntax error\nRun-time error\n",
         S + R, R, S},
        {"text around", "Error: Syntax errors at line 3\n", S, "", S},
        {"carriage return", "Run-time error\r\n", R, R, ""},
        {"NUL and high bytes", "\0\xffRun-time error\0\x80\n"s, R, R, ""},
        {"begun phrase before", "Run-Run-time error\nSyntax Syntax error\n", R + S, R, S},
        {"begun other phrase before", "Syntax erRun-time error\nRun-time erroSyntax error\n", R + S,
         R, S},
        {"empty input", "", "", "", ""},
    });
}

TEST(Errors, EachSeesBothPhrasesItsOwnWay)
{
    check({
        {"both on a line", "Syntax error Run-time error\nSyntax error\n", S, R, S + S},
        {"both glued", "Run-time errorSyntax error\n", "", R, S},
        {"syntax twice", "Syntax error, Syntax error\n", "", "", ""},
        {"run-time twice", "Run-time error Run-time error\n", "", "", ""},
    });
}

TEST(Errors, BrokenPhrases)
{
    check({
        {"lower case", "syntax error\nrun-time error\n", "", "", ""},
        {"capitals", "SYNTAX ERROR\nRun-Time Error\n", "", "", ""},
        {"two spaces", "Syntax  error\nRun-time  error\n", "", "", ""},
        {"tab", "Syntax\terror\nRun-time\terror\n", "", "", ""},
        {"no hyphen", "Runtime error\nRun time error\n", "", "", ""},
        {"split over lines", "Syntax\nerror\nRun-time\nerror\n", "", "", ""},
    });
}

TEST(Errors, UnfinishedLastLine)
{
    check({
        {"syntax", "Syntax error", "", "", "", 1, 0, 1},
        {"run-time", "Syntax error\nRun-time error", S, "", S, 1, 1, 0},
        {"no phrase", "Syntax error\nerror", S, "", S, 0, 0, 0},
    });
}
