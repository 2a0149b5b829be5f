// examples/cactus-plot.sh draws report-table's table of a few reports, where gnuplot is
// installed: an SVG or a PNG by the picture's name, titled with the count of proved reports.
#include "harness.hpp"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace {

std::string slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

TEST(CactusPlot, DrawsTheProvedReports) {
    if (std::system("command -v gnuplot > /dev/null 2>&1") != 0) GTEST_SKIP() << "no gnuplot";
    char dir[] = "/tmp/cactus-XXXXXX";
    ASSERT_NE(mkdtemp(dir), nullptr);
    const std::string d = dir;
    // Proved with either form of the time, proved without a time, not proved; one name that
    // needs quoting in CSV.
    const std::pair<std::string, std::string> reports[] = {
        {"/a.txt", "The conjecture successfully proved.\nTime spent by the prover is 0.02 seconds.\n"},
        {"/b,\"x\"\n.txt", "The conjecture successfully proved.\nTime spent by the prover: 15.5 seconds\n"},
        {"/c.txt", "The conjecture successfully proved.\nTime spent by the prover is 0.5 seconds.\n"},
        {"/d.txt", "The conjecture successfully proved.\n"},
        {"/e.txt", "The conjecture not proved - timeout.\nTime spent by the prover is 300.0 seconds.\n"},
    };
    std::string names;
    for (const auto& [name, text] : reports) {
        std::ofstream(d + name) << text;
        names += d + name + '\0';
    }
    std::ofstream(d + "/names") << names;
    setenv("PATH", (std::string(TOOL_DIR) + ":" + std::getenv("PATH")).c_str(), 1);
    for (const std::string picture : {"/cactus.svg", "/cactus.png"}) {
        SCOPED_TRACE(picture);
        auto r = harness::run("/bin/sh", "",
                              {"-c", "report-table --files0-from=\"$1\" | \"$0\" \"$2\"",
                               SOURCE_DIR "/examples/cactus-plot.sh", d + "/names", d + picture});
        EXPECT_EQ(r.status, 0) << r.err;
        const std::string image = slurp(d + picture);
        if (picture.ends_with(".svg")) {
            EXPECT_EQ(image.rfind("<?xml", 0), 0u);
            EXPECT_NE(image.find(">3 of 5 reports proved<"), std::string::npos);  // not d.txt
        } else {
            EXPECT_EQ(image.rfind("\x89PNG\r\n\x1a\n", 0), 0u);
        }
    }
    std::filesystem::remove_all(d);
}

}  // namespace
