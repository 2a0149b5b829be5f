// report-table's command line, rows, formats, diagnostics and exit statuses on small reports,
// its write errors, and its progress line on a terminal.
#include "harness.hpp"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

using namespace std::string_literals;

namespace {

const std::string header =
    "file,prover_time,prover_time_colon,clock_seconds,algebraic_steps,elimination_steps,"
    "total_steps,geometric_steps,proved_flag,proof_status,error_kind,runtime_error_flag,"
    "syntax_error_flag\n";

// Two times, a step count, an outcome and an error: values of several kinds, one filter
// with two of them.
const std::string report =
    "Time spent by the prover is 1.5 seconds\nTotal number of proof steps: 7\n"
    "The conjecture successfully proved.\nSyntax error near x\n"
    "Time spent by the prover is 2.25 seconds\n";

std::string repeat(const std::string& text, int times) {
    std::string all;
    while (times-- > 0) all += text;
    return all;
}

std::string usage_error(const std::string& reason) {
    return "report-table: " + reason + "Try 'report-table --help' for more information.\n";
}

// A scratch directory as the working directory: `r` holds the report, `empty` nothing, `-x`
// and `a,"b` the report again, `dir` is a directory, and `tree` holds the report as `b`, `a/x`
// and `.h`, and a symbolic link `l` to `r`.
class Table : public testing::Test {
protected:
    void SetUp() override {
        char name[] = "/tmp/report-table-test.XXXXXX";
        ASSERT_TRUE(mkdtemp(name));
        dir_ = name;
        ASSERT_EQ(chdir(name), 0);
        for (const char* file : {"r", "-x", "a,\"b"}) std::ofstream(file) << report;
        std::ofstream("empty");
        mkdir("dir", 0755);
        mkdir("tree", 0755);
        mkdir("tree/a", 0755);
        for (const char* file : {"tree/b", "tree/a/x", "tree/.h"}) std::ofstream(file) << report;
        symlink("../r", "tree/l");
        // Progress is never shown when standard error is no terminal, however soon it is due.
        setenv("REPORT_TABLE_PROGRESS_AFTER", "0", 1);
    }
    void TearDown() override {
        unsetenv("REPORT_TABLE_PROGRESS_AFTER");
        chdir("/");
        harness::run("/bin/rm", "", {"-rf", dir_});
    }
    std::string dir_;
};

TEST_F(Table, CommandLineRowsAndStatuses) {
    const std::string row = ",2.250000,,,,,7,,,1,Syntax Error,,Syntax Error\n";
    const std::string all_row = ",1.500000;2.250000,,,,,7,,,1,Syntax Error,,Syntax Error\n";
    const std::string empty_row = ",,,,,,,,,3,,,\n";
    const std::string json_row =
        R"({"file":"r","prover_time":2.250000,"prover_time_colon":null,"clock_seconds":null,)"
        R"("algebraic_steps":null,"elimination_steps":null,"total_steps":7,"geometric_steps":null,)"
        R"("proved_flag":null,"proof_status":1,"error_kind":"Syntax Error",)"
        R"("runtime_error_flag":null,"syntax_error_flag":"Syntax Error"})" "\n";
    const std::string json_all_row =
        R"({"file":"r","prover_time":[1.500000,2.250000],"prover_time_colon":[],"clock_seconds":[],)"
        R"("algebraic_steps":[],"elimination_steps":[],"total_steps":[7],"geometric_steps":[],)"
        R"("proved_flag":[],"proof_status":[1],"error_kind":["Syntax Error"],)"
        R"("runtime_error_flag":[],"syntax_error_flag":["Syntax Error"]})" "\n";
    const std::string json_empty_row =
        R"({"file":"empty","prover_time":null,"prover_time_colon":null,"clock_seconds":null,)"
        R"("algebraic_steps":null,"elimination_steps":null,"total_steps":null,"geometric_steps":null,)"
        R"("proved_flag":null,"proof_status":3,"error_kind":null,)"
        R"("runtime_error_flag":null,"syntax_error_flag":null})" "\n";
    harness::check_runs("report-table", {
        {"standard input", {}, report, header + "-" + row, "", 0},
        {"- is standard input", {"--all", "-"}, report, header + "-" + all_row, "", 0},
        {"files in order", {"empty", "r"}, "", header + "empty" + empty_row + "r" + row, "", 0},
        {"options after files", {"r", "--all"}, "", header + "r" + all_row, "", 0},
        {"a name that needs quotes", {"a,\"b"}, "", header + "\"a,\"\"b\"" + row, "", 0},
        {"-- ends the options", {"--", "-x"}, "", header + "-x" + row, "", 0},
        {"unreadable reports are left out", {"missing", "r", "dir"}, "", header + "r" + row,
         "report-table: missing: No such file or directory\n"
         "report-table: dir: Is a directory (use -r to read the reports under it)\n", 2},
        {"json", {"--format=json", "r", "empty"}, "", json_row + json_empty_row, "", 0},
        {"json, every value", {"--format", "json", "--all", "r"}, "", json_all_row, "", 0},
        {"json, nothing read", {"--format=json", "missing"}, "", "",
         "report-table: missing: No such file or directory\n", 2},
        {"names from standard input", {"--files0-from=-"}, "r\0\0empty"s,
         header + "r" + row + "empty" + empty_row, "report-table: invalid zero-length file name\n", 2},
        {"names from standard input named otherwise", {"--files0-from=/dev/stdin"}, "r\0-\0r"s,
         header + "r" + row + "r" + row, "report-table: -: standard input holds the names, not a report\n", 2},
        {"a name too long for a path", {"--files0-from=-"}, std::string(5000, 'n') + "\0r"s, header + "r" + row,
         "report-table: " + std::string(64, 'n') + "...: File name too long\n", 2},
        {"a list longer than a read", {"--files0-from=-"}, repeat("dir/../r\0"s, 10000), header + repeat("dir/../r" + row, 10000), "", 0},
        {"every report under a directory", {"-r", "tree", "r"}, "",
         header + "tree/.h" + row + "tree/a/x" + row + "tree/b" + row + "r" + row, "", 0},
        {"names from a file", {"--files0-from", "dir"}, "", header,
         "report-table: dir: Is a directory\n", 2},
        {"no list of names", {"--files0-from=missing"}, "", header,
         "report-table: missing: No such file or directory\n", 2},
        {"names and operands", {"--files0-from=-", "r"}, "r"s + '\0', "",
         usage_error("extra operand 'r'\nfile operands cannot be combined with --files0-from\n"), 2},
        {"an abbreviation", {"--format=csv", "--al", "r"}, "", header + "r" + all_row, "", 0},
        {"unknown format", {"--form=xml", "r"}, "", "",
         usage_error("invalid argument 'xml' for '--format'\nValid arguments are:\n  - 'csv'\n  - 'json'\n"), 2},
        {"format without value", {"--format"}, "", "",
         usage_error("option '--format' requires an argument\n"), 2},
    });
    auto help = harness::run(harness::tool("report-table"), "", {"r", "--help"});
    EXPECT_EQ(help.out.rfind("Usage: report-table [OPTION]... [FILE]...\n", 0), 0u) << help.out;
    EXPECT_EQ(help.status, 0);
}

// With standard input closed, the list of names is never read as a report named -.
TEST_F(Table, ClosedStandardInputIsNotTheList) {
    std::ofstream("list") << "r\0-\0r"s;
    auto o = harness::run("/bin/sh", "", {"-c", "exec \"$0\" --files0-from=list <&-", harness::tool("report-table")});
    const std::string row = ",2.250000,,,,,7,,,1,Syntax Error,,Syntax Error\n";
    EXPECT_EQ(o.out, header + "r" + row + "r" + row);
    EXPECT_EQ(o.err, "report-table: -: Bad file descriptor\n");
    EXPECT_EQ(o.status, 2);
}

// The first write that fails ends the run, even when the names never run out.
TEST_F(Table, WriteErrorStopsAtOnce) {
    auto o = harness::run("/bin/sh", "",
                          {"-c", "yes r | tr '\\n' '\\0' | \"$0\" --files0-from=- >/dev/full",
                           harness::tool("report-table")},
                          std::chrono::seconds(20));
    EXPECT_EQ(o.err, "report-table: write error: No space left on device\n");
    EXPECT_EQ(o.status, 2);
}

// With standard error a terminal, the progress line shows once due (here at once) and is
// erased at the end; a short run with the default delay shows nothing.
TEST_F(Table, ProgressOnATerminal) {
    const std::string command = "exec \"$0\" \"$@\" 2>&1 >/dev/null";
    const std::string line = "report-table: 1 of 3 reports";
    {
        harness::Terminal term("/bin/sh", {"-c", command, harness::tool("report-table"), "r", "r", "r"});
        std::string shown = "\r" + line + "\r" + std::string(line.size(), ' ') + "\r";
        EXPECT_EQ(term.read(shown.size()), shown);
        EXPECT_EQ(term.finish(), 0);
    }
    // Killed, it erases the line first; on a narrow terminal the line is cut to fit.
    {
        const std::string killed = "stty cols 20; mkfifo names; exec 4<>names; printf 'r\\0' >&4; "
                                   "\"$0\" --files0-from=names 2>&1 >/dev/null & read x; kill -TERM $!; wait $!; echo \" $?\"";
        harness::Terminal term("/bin/sh", {"-c", killed, harness::tool("report-table")});
        EXPECT_EQ(term.read(20), "\rreport-table: 1 rep");
        term.type("\n");
        const std::string erased = "\r" + std::string(19, ' ') + "\r 143\n";
        EXPECT_EQ(term.read(erased.size()), erased);
        EXPECT_EQ(term.finish(), 0);
    }
    // Due later than any clock reaches, or by default after a second: a short run shows nothing.
    for (const char* after : std::initializer_list<const char*>{"9223372036854775807", "100000000000000000000000", nullptr}) {
        if (after) setenv("REPORT_TABLE_PROGRESS_AFTER", after, 1);
        else unsetenv("REPORT_TABLE_PROGRESS_AFTER");
        harness::Terminal term("/bin/sh", {"-c", command, harness::tool("report-table"), "r", "r"});
        EXPECT_EQ(term.read(1, std::chrono::milliseconds(500)), "") << (after ? after : "default");
        EXPECT_EQ(term.finish(), 0);
    }
}

}  // namespace
