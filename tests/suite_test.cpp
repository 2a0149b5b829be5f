// What every program of the suite shares at its edges: --help and --version, lost output
// reported as a failure, an unreadable input ending through the scanner's fatal path.
#include "harness.hpp"

#include <gtest/gtest.h>

#include <string>
#include <unistd.h>

namespace {

// Every program, with a line of input that makes it write something.
struct Program {
    const char* name;
    const char* productive_input;
};

const Program programs[] = {
    {"script-translator", "P = point(1, 2)\n"},
    {"prover-time", "Time spent by the prover is 1.5 seconds\n"},
    {"prover-time-colon", "Time spent by the prover: 1.5 seconds\n"},
    {"clock-seconds", "1:02.50\n"},
    {"algebraic-steps", "Number of algebraic proof steps: 3\n"},
    {"elimination-steps", "Number of elimination proof steps: 3\n"},
    {"total-steps", "Total number of proof steps: 3\n"},
    {"geometric-steps", "Number of geometric proof steps: 3\n"},
    {"proved-flag", "The conjecture has been proved.\n"},
    {"proof-status", ""},
    {"error-kind", "Syntax error\n"},
    {"runtime-error-flag", "Run-time error\n"},
    {"syntax-error-flag", "Syntax error\n"},
    {"token-classifier", "begin x := 1 end\n"},
};

bool starts_with(const std::string& s, const std::string& prefix) {
    return s.compare(0, prefix.size(), prefix) == 0;
}

// Runs `program` with standard output redirected as the shell redirection `redirect` says.
harness::Outcome run_redirected(const std::string& program, const std::string& input,
                                const std::string& redirect) {
    return harness::run("/bin/sh", input, {"-c", "exec \"$0\" " + redirect, program});
}

}  // namespace

TEST(Suite, HelpAndVersionAloneAnswerAndSucceed) {
    for (const auto& p : programs) {
        SCOPED_TRACE(p.name);
        auto help = harness::run(harness::tool(p.name), "", {"--help"});
        EXPECT_TRUE(starts_with(help.out, std::string("Usage: ") + p.name)) << help.out;
        EXPECT_EQ(help.out.back(), '\n');
        EXPECT_EQ(help.status, 0);
        auto version = harness::run(harness::tool(p.name), "", {"--version"});
        EXPECT_EQ(version.out, std::string(p.name) + " (geoproof-tools) " GEOPROOF_VERSION "\n");
        EXPECT_EQ(version.status, 0);
        EXPECT_EQ(help.err + version.err, "");
    }
}

TEST(Suite, LostOutputIsAFailure) {
    for (const auto& p : programs) {
        const std::string tool = harness::tool(p.name);
        for (const char* redirect : {">/dev/full", ">&-"}) {
            SCOPED_TRACE(std::string(p.name) + " " + redirect);
            auto o = run_redirected(tool, p.productive_input, redirect);
            EXPECT_TRUE(starts_with(o.err, std::string(p.name) + ": write error: ")) << o.err;
            EXPECT_EQ(o.err.find('\n'), o.err.size() - 1) << o.err;
            EXPECT_EQ(o.status, 2);
        }
        SCOPED_TRACE(std::string(p.name) + " --version >/dev/full");
        auto version = harness::run("/bin/sh", "", {"-c", "exec \"$0\" --version >/dev/full", tool});
        EXPECT_EQ(version.status, 2);
    }
}

TEST(Suite, UnreadableInputIsFatal) {
    for (const auto& p : programs) {
        SCOPED_TRACE(p.name);
        auto o = harness::run("/bin/sh", "", {"-c", "exec \"$0\" < /", harness::tool(p.name)});
        EXPECT_EQ(o.out, "");
        EXPECT_EQ(o.err, "input in flex scanner failed\n");
        EXPECT_EQ(o.status, 2);
    }
}
