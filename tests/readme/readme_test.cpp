// The README's Examples section, and the filters' one example each, are shell transcripts: a
// fenced `sh` block whose first line starts with "$ " holds commands ("$ " lines) each
// followed by the exact output it prints, up to the next command or the closing fence. Every
// command is run by sh from the source directory, with the built programs first on PATH, and
// must print exactly that. The filters' table names the catalogue's filters in its order.
#include "harness.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <unistd.h>

namespace {

struct Shown {
    std::string command;
    std::string output;  // every line shown under the command, each with its newline
    int line;            // README line of the command
};

std::vector<std::string> readme_lines() {
    std::ifstream in(SOURCE_DIR "/README.md");
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

// The transcripts in the section titled `title`, which runs up to the next "## " heading.
std::vector<Shown> transcripts(const std::vector<std::string>& lines, const std::string& title) {
    std::vector<Shown> shown;
    std::size_t i = 0;
    while (i < lines.size() && lines[i] != "## " + title) ++i;
    for (++i; i < lines.size() && lines[i].rfind("## ", 0) != 0; ++i) {
        if (lines[i].rfind("```", 0) != 0) continue;
        const bool transcript = lines[i] == "```sh" && i + 1 < lines.size() &&
                                lines[i + 1].rfind("$ ", 0) == 0;
        for (++i; i < lines.size() && lines[i].rfind("```", 0) != 0; ++i) {
            if (!transcript) continue;
            if (lines[i].rfind("$ ", 0) == 0)
                shown.push_back({lines[i].substr(2), "", static_cast<int>(i + 1)});
            else
                shown.back().output += lines[i] + "\n";
        }
    }
    return shown;
}

// The programs named in the first column of the section's table (| `name` | ...), in order.
std::vector<std::string> table_programs(const std::vector<std::string>& lines, const std::string& title) {
    std::vector<std::string> names;
    std::size_t i = 0;
    while (i < lines.size() && lines[i] != "## " + title) ++i;
    for (++i; i < lines.size() && lines[i].rfind("## ", 0) != 0; ++i)
        if (lines[i].rfind("| `", 0) == 0) names.push_back(lines[i].substr(3, lines[i].find('`', 3) - 3));
    return names;
}

class Readme : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(chdir(SOURCE_DIR), 0);
        const char* path = std::getenv("PATH");
        setenv("PATH", (std::string(TOOL_DIR) + ":" + (path ? path : "/usr/bin:/bin")).c_str(), 1);
        examples = transcripts(readme_lines(), "Examples");
        described = table_programs(readme_lines(), "Prover-log filters");
    }
    bool is_described(const std::string& filter) const {
        return std::find(described.begin(), described.end(), filter) != described.end();
    }
    std::vector<Shown> examples;
    std::vector<std::string> described;  // the filters of the README's table
};

TEST_F(Readme, ExamplesPrintWhatTheyShow) {
    ASSERT_FALSE(examples.empty()) << "no transcripts in the README's Examples section";
    auto each = transcripts(readme_lines(), "Prover-log filters");
    ASSERT_FALSE(each.empty()) << "no transcripts in the README's section on the filters";
    for (const auto& e : each) examples.push_back(e);
    for (const auto& e : examples) {
        SCOPED_TRACE("README.md:" + std::to_string(e.line) + ": $ " + e.command);
        auto r = harness::run("/bin/sh", "", {"-c", e.command});
        EXPECT_EQ(r.out, e.output);
        EXPECT_EQ(r.err, "");
    }
}

TEST_F(Readme, ExamplesRunEveryProgramOnTheSamples) {
    auto runs = [&](const std::string& program, const std::string& sample) {
        for (const auto& e : examples)
            if (e.command.find(program + " ") != std::string::npos &&
                e.command.find(sample) != std::string::npos)
                return true;
        return false;
    };
    EXPECT_TRUE(runs("script-translator", "examples/midpoints.script"));
    EXPECT_TRUE(runs("report-table", "examples/report.txt"));
    for (const std::string& filter : harness::filters()) {
        if (!is_described(filter)) continue;
        EXPECT_TRUE(runs(filter, "examples/report.txt")) << filter << " is not shown";
    }
}

// The table names filters of the catalogue only, in its order; one that it does not name yet
// (a filter just added) leaves the test skipped, with its name, until it is described.
TEST_F(Readme, FilterTableFollowsTheCatalogue) {
    const auto filters = harness::filters();
    std::vector<std::string> in_order, missing;
    for (const std::string& f : filters) (is_described(f) ? in_order : missing).push_back(f);
    EXPECT_EQ(described, in_order);
    std::string names;
    for (const std::string& f : missing) names += " " + f;
    if (!missing.empty()) GTEST_SKIP() << "not described in the README yet:" << names;
}

TEST(ReadmeTranscripts, CommandsAndOutputsAreSplitAtPrompts) {
    const std::vector<std::string> text = {
        "## Examples", "```sh", "$ one", "a", "", "$ two", "```", "```", "$ not run", "```",
        "```sh", "not a transcript", "```", "## Next", "```sh", "$ three", "```"};
    auto shown = transcripts(text, "Examples");
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0].command, "one");
    EXPECT_EQ(shown[0].output, "a\n\n");
    EXPECT_EQ(shown[0].line, 3);
    EXPECT_EQ(shown[1].command, "two");
    EXPECT_EQ(shown[1].output, "");
}

}  // namespace
