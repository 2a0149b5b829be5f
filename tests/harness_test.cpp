// The harness itself must pass bytes through untouched and never deadlock on large streams.
#include "harness.hpp"

#include <gtest/gtest.h>

using namespace std::string_literals;

TEST(Harness, PassesEveryByteAndLargeStreams) {
    std::string all;
    for (int i = 0; i < 256; ++i) all.push_back(static_cast<char>(i));
    for (const std::string& input : {""s, "a\0b\n"s, all, std::string(4 << 20, 'x')}) {
        auto o = harness::run("/bin/cat", input);
        EXPECT_EQ(o.out, input);
        EXPECT_EQ(o.status, 0);
    }
}

TEST(Harness, ReportsStatusAndStandardError) {
    auto o = harness::run("/bin/sh", "", {"-c", "echo oops >&2; exit 3"});
    EXPECT_EQ(o.err, "oops\n");
    EXPECT_EQ(o.status, 3);
}

TEST(Harness, TerminalDeliversLineByLine) {
    harness::Terminal term("/bin/cat");
    term.type("one\n");
    EXPECT_EQ(term.read(4), "one\n");
    term.type("two\n");
    EXPECT_EQ(term.read(4), "two\n");
    EXPECT_EQ(term.finish(), 0);
}
