// report-compare's page and plots (--html, --plots) for one, two and five runs of generated
// reports, the baseline under a hostile label and holding a hostile name, a problem proved in
// no time and one proved without a time, the last run proving nothing: the table and status
// are those without them, and page_check.py holds the page and plots to report-compare's own
// JSON rows, then opens the pages in headless Chromium.
#include "harness.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace {

const std::string check = SOURCE_DIR "/tests/table/page_check.py";

class Page : public testing::Test {
protected:
    static void SetUpTestSuite() {
        char scratch[] = "/tmp/report-compare-page.XXXXXX";
        ASSERT_TRUE(mkdtemp(scratch));
        dir = scratch;
        std::vector<std::string> runs;
        for (const char* seed : {"1", "3", "5", "7"}) {
            runs.push_back(dir + "/run" + seed);
            harness::run(harness::tool("bench-generate"), "", {"reports", "40", runs.back(), seed});
        }
        const std::string proved = "The conjecture successfully proved.\n";
        std::ofstream(runs[0] + "/<b>&amp;\"'\xff\nx") << proved << "Time spent by the prover is 0.0 seconds.\n";
        std::ofstream(runs[0] + "/untimed") << proved;
        std::filesystem::create_directory(dir + "/none");
        std::ofstream(dir + "/none/report-00001.txt") << "The conjecture not proved.\n";
        operands = {"<script>alert(1)</script>&\"'\xff=" + runs[0], runs[1], runs[2], runs[3], "none=" + dir + "/none"};
    }
    static void TearDownTestSuite() { std::filesystem::remove_all(dir); }

    static bool python_with(const char* module) {
        return access("/usr/bin/python3", X_OK) == 0 &&
               harness::run("/usr/bin/python3", "", {"-c", std::string("import ") + module}).status == 0;
    }

    inline static std::string dir;
    inline static std::vector<std::string> operands;
};

TEST_F(Page, ParsesAndHoldsTheComparison) {
    if (!python_with("html5lib")) GTEST_SKIP() << "python3-html5lib not installed";
    for (std::size_t runs : {1, 2, 5}) {
        SCOPED_TRACE(std::to_string(runs) + " runs");
        std::vector<std::string> args(operands.begin(), operands.begin() + static_cast<long>(runs));
        const auto plain = harness::run(harness::tool("report-compare"), "", args);
        const std::string page = dir + "/page-" + std::to_string(runs) + ".html";
        const std::string plots = dir + "/plots-" + std::to_string(runs);
        args.insert(args.begin(), {"--html=" + page, "--plots=" + plots});
        const auto drawn = harness::run(harness::tool("report-compare"), "", args);
        EXPECT_EQ(drawn.out, plain.out);
        EXPECT_EQ(drawn.err, "");
        EXPECT_EQ(drawn.status, plain.status);
        args.erase(args.begin(), args.begin() + 2);
        args.insert(args.begin(), {check, harness::tool("report-compare"), page, plots});
        const auto checked = harness::run("/usr/bin/python3", "", args, std::chrono::seconds(60));
        EXPECT_EQ(checked.out + checked.err, "");
        EXPECT_EQ(checked.status, 0);
    }
}

TEST_F(Page, ShowsInChromium) {
    if (access("/usr/bin/chromium", X_OK) != 0) GTEST_SKIP() << "chromium not installed";
    std::vector<std::string> args = {check, "--browser"};
    for (std::size_t runs : {1, 2, 5}) {
        const std::string page = dir + "/shown-" + std::to_string(runs) + ".html";
        std::vector<std::string> compare = {"--html=" + page};
        compare.insert(compare.end(), operands.begin(), operands.begin() + static_cast<long>(runs));
        harness::run(harness::tool("report-compare"), "", compare);
        args.push_back(page);
    }
    const auto shown = harness::run("/usr/bin/python3", "", args, std::chrono::seconds(120));
    EXPECT_EQ(shown.out + shown.err, "");
    EXPECT_EQ(shown.status, 0);
}

}  // namespace
