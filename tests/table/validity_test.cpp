// report-table's tables as a real CSV reader and a real JSON parser (Python's) read them, with
// file names that need quoting, escaping or replacing: tests/table/check.py parses both
// formats and checks that they agree and that every name comes back.
#include "harness.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

using namespace std::string_literals;

namespace {

TEST(TableValidity, CsvAndJsonParseAndAgree) {
    if (access("/usr/bin/python3", X_OK) != 0) GTEST_SKIP() << "python3 not installed";
    const harness::Scratch dir("report-table-validity");
    const std::string& scratch = dir.path();
    std::ifstream sample(SOURCE_DIR "/examples/report.txt");
    const std::string report = std::string(std::istreambuf_iterator<char>(sample), {}) +
                               "Time spent by the prover is 1" + std::string(400, '0') +
                               ".5 seconds\n";  // beyond a double: inf
    std::vector<std::string> names;
    for (const std::string& name :
         {"plain"s, "comma,name"s, "quote\"d"s, "new\nline"s, "carriage\rreturn"s, "crlf\r\n"s,
          "control\x01\x1f\t\\"s, "utf-8 \xc3\xa9\xe2\x9c\x93"s, "invalid \xff\xfe"s,
          "cut \xe2\x82"s, "surrogate \xed\xa0\x80"s, "overlong \xc0\xaf"s}) {
        names.push_back(scratch + "/"s + name);
        std::ofstream(names.back()) << report;
    }
    for (const std::vector<std::string>& options : {std::vector<std::string>{}, {"--all"}}) {
        std::vector<std::string> check = {SOURCE_DIR "/tests/table/check.py"};
        check.insert(check.end(), options.begin(), options.end());
        for (const char* format : {"csv", "json"}) {
            auto args = options;
            args.push_back("--format="s + format);
            args.insert(args.end(), names.begin(), names.end());
            auto table = harness::run(harness::tool("report-table"), "", args);
            EXPECT_EQ(table.status, 0);
            check.push_back(scratch + "/table."s + format);
            std::ofstream(check.back(), std::ios::binary) << table.out;
        }
        check.insert(check.end(), names.begin(), names.end());
        SCOPED_TRACE(options.empty() ? "last values" : "--all");
        auto checked = harness::run("/usr/bin/python3", "", check);
        EXPECT_EQ(checked.out + checked.err, "");
        EXPECT_EQ(checked.status, 0);
    }
}

}  // namespace
