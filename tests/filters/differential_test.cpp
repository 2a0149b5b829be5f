// Each filter skips the lines that cannot matter without scanning them; its -reference build
// scans every line.  Both must give the same bytes and the same exit status on any report.
#include "catalogue.hpp"
#include "harness.hpp"

#include <cstdint>
#include <string>
#include <vector>
#include <gtest/gtest.h>

using namespace std::string_literals;

namespace {

using Rng = harness::Random;

// A line of up to `count` of the pieces random reports are made of, without its end.
std::string line(Rng& r, unsigned count)
{
    std::string text;
    for (unsigned i = r.below(count + 1); i > 0; --i) {
        const auto& pieces = harness::report_pieces();
        text += pieces[r.below(static_cast<unsigned>(pieces.size()))];
        if (r.below(3)) text += ' ';
    }
    return text;
}

std::string line_end(Rng& r) { return r.below(8) ? "\n" : "\r\n"; }

// Many short lines, enough to cross several of the blocks the filters read.
std::string short_lines(std::uint64_t seed, std::size_t bytes)
{
    Rng r{seed};
    std::string report;
    while (report.size() < bytes) report += line(r, 6) + line_end(r);
    return report;
}

// Lines longer than a block (a quarter of a MiB), among short ones.
std::string long_lines(std::uint64_t seed)
{
    Rng r{seed};
    std::string report;
    for (int n = 0; n < 6; ++n) {
        report += line(r, 4) + line_end(r);
        std::string l;
        while (l.size() < 300'000 + 100'000 * r.below(4)) l += line(r, 8);
        report += l + line_end(r);
    }
    return report;
}

std::vector<std::pair<std::string, std::string>> reports()
{
    std::vector<std::pair<std::string, std::string>> all;
    for (std::uint64_t seed = 1; seed <= 3; ++seed) {
        Rng r{seed * 77};
        std::string report = short_lines(seed, 700'000);
        all.emplace_back("short lines", report);
        all.emplace_back("short lines, unterminated last line", report + line(r, 6));
    }
    for (const auto& [name, line] : std::initializer_list<std::pair<const char*, std::string>>{
             {"a recognised last line", "Total number of proof steps: 12"},
             {"a clock reading last", "1:02.03"},
             {"an outcome sentence last", "The conjecture disproved."},
             {"an error last", "Syntax error"},
             {"a token last", "7"},
             {"nothing to scan last", "\r\xff"}})
        all.emplace_back("unterminated: "s + name, short_lines(9, 50'000) + line);
    // Each phrase at every place in the 64-byte pieces the searches look at, after near misses.
    Rng r{31};
    std::string offsets;
    for (int offset = 0; offset < 160; ++offset) {
        std::string filler;
        while (filler.size() < static_cast<std::size_t>(offset))
            filler += "xT e\0r:1."[r.below(10)];
        offsets += filler.substr(0, offset) + line(r, 3) + line_end(r);
    }
    all.emplace_back("phrases at every offset", offsets + offsets.substr(1) + offsets.substr(2));
    const std::string nuls(600'000, '\0');
    all.emplace_back("NUL bytes, no newline", nuls);
    all.emplace_back("a line of NUL bytes holding a phrase",
                     nuls + "Time spent by the prover is 1.5 seconds" + nuls + "7\n" + nuls);
    std::string longs = long_lines(4);
    all.emplace_back("long lines", longs);
    all.emplace_back("long lines, unterminated long last line",
                     longs + long_lines(5).substr(0, 400'000));
    all.emplace_back("empty", "");
    return all;
}

TEST(Differential, SameOutputAsScanningEveryLine)
{
    const auto all = reports();
    const harness::Scratch scratch("geoproof-differential");
    for (const auto& program : catalogue::programs) {
        if (program.kind != "filter" && program.kind != "summary") continue;
        const std::string filter(program.name);
        std::vector<std::string> builds{filter};
        // The builds whose search runs without AVX2.
        if (filter == "prover-time" || filter == "error-kind" || filter == "clock-seconds")
            builds.push_back(filter + "-portable");
        for (const auto& [name, report] : all) {
            auto full = harness::run(harness::tool(filter + "-reference"), report);
            // Through a pipe, where a parse may pause between lines, and from a regular file.
            const std::string report_file = scratch.write("report", report);
            for (const auto& build : builds) {
                for (bool from_file : {false, true}) {
                    SCOPED_TRACE(build + ": " + name + (from_file ? ", from a file" : ""));
                    auto fast = from_file ? harness::run(harness::tool(build), "", {report_file})
                                          : harness::run(harness::tool(build), report);
                    EXPECT_TRUE(fast.out == full.out)
                        << fast.out.size() << " bytes against " << full.out.size();
                    EXPECT_EQ(fast.status, full.status);
                    EXPECT_EQ(fast.err, "");
                }
            }
        }
    }
}

// clock-seconds picks its lines by the colons, full stops and digit runs in them, 64 bytes at
// a time; lines of every length around those 64 bytes, made of what it looks at and what it
// does not, and its portable build (no AVX2) too.
TEST(Differential, ClockReadingsAmongNearMisses)
{
    const char* const bits[] = {"1", "23", ":", ".", " ", "x", "\r", "\xff", "12:34.56", "0:0.0"};
    Rng r{2024};
    std::string report;
    while (report.size() < 600'000) {
        std::string l;
        std::size_t length = r.below(4) ? r.below(70) : 60 + r.below(140);
        while (l.size() < length) l += bits[r.below(std::size(bits))];
        if (r.below(4) == 0) l = std::string(r.below(130), ' ') + "12:34.56";
        report += l + line_end(r);
    }
    const std::string reports[] = {report, report + "1:02.03", report + std::string(70, '7') + ":1.2"};
    for (const char* build : {"clock-seconds", "clock-seconds-portable"}) {
        for (const auto& text : reports) {
            SCOPED_TRACE(build);
            auto fast = harness::run(harness::tool(build), text);
            auto full = harness::run(harness::tool("clock-seconds-reference"), text);
            EXPECT_TRUE(fast.out == full.out)
                << fast.out.size() << " bytes against " << full.out.size();
            EXPECT_EQ(fast.status, full.status);
        }
    }
}

// A token far longer than any buffer, through a pipe: scanned in time and kept whole.
TEST(Differential, HugeTokenThroughAPipe)
{
    std::string digits(32 << 20, '7');
    auto o = harness::run(harness::tool("total-steps"),
                          "Total number of proof steps: " + digits + "\n");
    EXPECT_TRUE(o.out == digits + "\n") << o.out.size();
    EXPECT_EQ(o.status, 0);
}

}  // namespace
