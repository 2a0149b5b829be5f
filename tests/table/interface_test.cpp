// report-table's command line, rows, formats, diagnostics and exit statuses on small reports,
// its write errors, and its progress line on a terminal.
#include "harness.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sys/stat.h>
#include <unistd.h>

using namespace std::string_literals;

namespace {

// Two times, a step count, an outcome and an error: values of several kinds, one filter
// with two of them.
const std::string report =
    "Time spent by the prover is 1.5 seconds\nTotal number of proof steps: 7\n"
    "The conjecture successfully proved.\nSyntax error near x\n"
    "Time spent by the prover is 2.25 seconds\n";

// A report's values, by filter; the filters not named have none.
using Values = std::map<std::string, std::vector<std::string>>;
const Values values = {{"prover-time", {"1.500000", "2.250000"}}, {"total-steps", {"7"}},
                       {"proof-status", {"1"}}, {"error-kind", {"Syntax Error"}},
                       {"syntax-error-flag", {"Syntax Error"}}};
const Values empty_values = {{"proof-status", {"3"}}};

std::string column(std::string program) {
    std::replace(program.begin(), program.end(), '-', '_');
    return program;
}

const std::string header = [] {
    std::string line = "file";
    for (const std::string& f : harness::filters()) line.append(",").append(column(f));
    return line + "\n";
}();

// A CSV row's cells after the file's name: each filter's last value, or with `all` every one.
std::string row(const Values& of, bool all = false) {
    std::string cells;
    for (const std::string& f : harness::filters()) {
        cells += ",";
        auto v = of.find(f);
        if (v == of.end()) continue;
        for (std::size_t i = all ? 0 : v->second.size() - 1; i < v->second.size(); ++i)
            cells.append(v->second[i]).append(i + 1 < v->second.size() ? ";" : "");
    }
    return cells + "\n";
}

// The JSON Lines object of report `file`: numbers as they are, other values quoted.
std::string json(const std::string& file, const Values& of, bool all = false) {
    std::string object = "{\"file\":\"";
    object.append(file).append("\"");
    auto value = [&](const std::string& v) {
        const bool number = std::isdigit(static_cast<unsigned char>(v[0]));
        object.append(number ? "" : "\"").append(v).append(number ? "" : "\"");
    };
    for (const std::string& f : harness::filters()) {
        object.append(",\"").append(column(f)).append("\":");
        auto v = of.find(f);
        if (!all) {
            if (v == of.end()) object += "null";
            else value(v->second.back());
            continue;
        }
        object += "[";
        if (v != of.end())
            for (std::size_t i = 0; i < v->second.size(); ++i) {
                if (i) object += ",";
                value(v->second[i]);
            }
        object += "]";
    }
    return object + "}\n";
}

std::string usage_error(const std::string& reason) {
    return "report-table: " + reason + "Try 'report-table --help' for more information.\n";
}

// A scratch directory as the working directory: `r` holds the report, `empty` nothing, `-x`
// and `a,"b` the report again, `dir` is a directory, and `tree` holds the report as `b`, `a/x`
// and `.h`, and a symbolic link `l` to `r`.
class Table : public harness::InScratch {
protected:
    Table() : InScratch("report-table-test") {}
    void SetUp() override {
        InScratch::SetUp();
        mkdir("tree", 0755);
        mkdir("tree/a", 0755);
        for (const char* file : {"r", "-x", "a,\"b", "tree/b", "tree/a/x", "tree/.h"})
            std::ofstream(file) << report;
        std::ofstream("empty");
        mkdir("dir", 0755);
        symlink("../r", "tree/l");
        // Progress is never shown when standard error is no terminal, however soon it is due.
        setenv("REPORT_TABLE_PROGRESS_AFTER", "0", 1);
    }
    void TearDown() override {
        unsetenv("REPORT_TABLE_PROGRESS_AFTER");
        InScratch::TearDown();
    }
};

TEST_F(Table, CommandLineRowsAndStatuses) {
    using harness::repeat;
    const std::string row = ::row(values), all_row = ::row(values, true);
    const std::string empty_row = ::row(empty_values);
    const std::string json_row = json("r", values), json_all_row = json("r", values, true);
    const std::string json_empty_row = json("empty", empty_values);
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
    EXPECT_EQ(o.out, header + "r" + row(values) + "r" + row(values));
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
