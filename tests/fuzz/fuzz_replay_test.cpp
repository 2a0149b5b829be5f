// Every input that fuzzing kept, replayed through its program: no run may end by a signal,
// outlast its time bound or draw a report from the sanitizers.  The programs are the
// catalogue's that read one input on standard input; one without kept inputs (fuzz/run starts
// it from its catalogue sample) is replayed on that sample.
#include "catalogue.hpp"
#include "harness.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

const std::vector<std::string> fuzzed_programs =
    harness::programs_of({"translator", "classifier", "filter", "summary"});

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

class Replay : public ::testing::TestWithParam<std::string> {};

TEST_P(Replay, NoSignalNoHangNoSanitizerReport) {
    const std::string& program = GetParam();
    const std::string path = harness::tool(program);
    std::vector<std::pair<std::string, std::string>> kept;  // name, bytes
    for (const auto& file : inputs(program)) kept.emplace_back(file.string(), harness::read_file(file));
    if (kept.empty()) kept.emplace_back("catalogue sample", std::string(catalogue::find(program).sample));
    for (const auto& [name, input] : kept) {
        SCOPED_TRACE(name);
        const auto start = std::chrono::steady_clock::now();
        const auto o = harness::run(path, input, {}, time_bound);
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

INSTANTIATE_TEST_SUITE_P(Programs, Replay, ::testing::ValuesIn(fuzzed_programs), test_name);

// Every folder of kept inputs belongs to a program that is replayed: none is left behind
// under a name that is not, or no longer, the program's.
TEST(KeptInputs, BelongToFuzzedPrograms) {
    for (const char* kind : kinds) {
        if (!fs::is_directory(fs::path(FUZZ_DIR) / kind)) continue;
        for (const auto& entry : fs::directory_iterator(fs::path(FUZZ_DIR) / kind))
            EXPECT_NE(std::find(fuzzed_programs.begin(), fuzzed_programs.end(),
                                entry.path().filename().string()),
                      fuzzed_programs.end())
                << entry.path();
    }
}

}  // namespace
