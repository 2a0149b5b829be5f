// Every input that fuzzing kept, replayed through its program: no run may end by a signal,
// outlast its time bound or draw a report from the sanitizers.  The programs are those with
// seeds in fuzz/seeds/; one that this build lacks is skipped, and its inputs are replayed as
// soon as it is built.
#include "harness.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

std::vector<std::string> fuzzed_programs() {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(fs::path(FUZZ_DIR) / "seeds"))
        if (entry.is_directory()) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

// Kinds of kept input, each in fuzz/KIND/PROGRAM/.
const char* const kinds[] = {"seeds", "corpus", "regressions"};

// Far above what any of these inputs needs, even under the sanitizers.
constexpr auto time_bound = std::chrono::seconds(5);

std::vector<fs::path> inputs(const std::string& program) {
    std::vector<fs::path> files;
    for (const char* kind : kinds) {
        const fs::path dir = fs::path(FUZZ_DIR) / kind / program;
        if (!fs::is_directory(dir)) continue;
        for (const auto& entry : fs::directory_iterator(dir))
            if (entry.is_regular_file()) files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());
    return files;
}

std::string bytes(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class Replay : public ::testing::TestWithParam<std::string> {};

TEST_P(Replay, NoSignalNoHangNoSanitizerReport) {
    const std::string& program = GetParam();
    const std::string path = harness::tool(program);
    if (!fs::exists(path)) GTEST_SKIP() << program << " is not built";

    const auto files = inputs(program);
    ASSERT_FALSE(files.empty()) << "no kept inputs under " FUZZ_DIR " for " << program;
    for (const auto& file : files) {
        SCOPED_TRACE(file.string());
        const auto start = std::chrono::steady_clock::now();
        const auto o = harness::run(path, bytes(file), {}, time_bound);
        const auto took = std::chrono::steady_clock::now() - start;
        // One hang is enough: the next inputs would only add their full time bound each.
        ASSERT_LT(took, time_bound) << "hang";
        EXPECT_LT(o.status, 128) << "ended by signal " << o.status - 128;
        EXPECT_EQ(o.err.find("Sanitizer"), std::string::npos) << o.err;
        EXPECT_EQ(o.err.find("runtime error"), std::string::npos) << o.err;
    }
}

std::string test_name(const ::testing::TestParamInfo<std::string>& info) {
    std::string name = info.param;
    std::replace(name.begin(), name.end(), '-', '_');
    return name;
}

INSTANTIATE_TEST_SUITE_P(Programs, Replay, ::testing::ValuesIn(fuzzed_programs()), test_name);

}  // namespace
