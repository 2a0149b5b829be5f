// Every cell of report-table is what the filter of its column prints for that report when
// run as a program of its own: the last non-empty line, or with --all every non-empty line.
#include "harness.hpp"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

using namespace std::string_literals;
namespace fs = std::filesystem;

namespace {

const std::vector<std::string> filters = harness::filters();  // in the table's order

// Reports of 2 to 20 KB made of the pieces random reports are made of, some ending inside a
// line.
std::vector<std::string> random_reports(int count) {
    harness::Random r{2026};
    const auto& pieces = harness::report_pieces();
    const auto piece = [&] { return pieces[r.below(static_cast<unsigned>(pieces.size()))]; };
    std::vector<std::string> reports;
    for (int i = 0; i < count; ++i) {
        std::string report;
        const std::size_t size = 2000 + r.below(18000);
        while (report.size() < size) {
            for (unsigned n = r.below(5); n > 0; --n) report += piece() + " ";
            report += r.below(8) ? "\n" : "\r\n";
        }
        if (r.below(3) == 0) report += piece();
        reports.push_back(report);
    }
    return reports;
}

std::vector<std::string> split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::string part;
    std::istringstream in(text);
    while (std::getline(in, part, separator)) parts.push_back(part);
    return parts;
}

// The cell a filter's output makes: its last non-empty line, or every one joined by ';'.
std::string cell(const std::string& output, bool all) {
    std::string joined, last;
    for (const auto& line : split(output, '\n')) {
        if (line.empty()) continue;
        joined += (joined.empty() ? "" : ";") + line;
        last = line;
    }
    return all ? joined : last;
}

TEST(TableDifferential, CellsAreWhatEachFilterPrints) {
    std::vector<std::string> reports;
    for (const char* kind : {"corpus", "seeds"})
        for (const auto& program : fs::directory_iterator(SOURCE_DIR "/fuzz/"s + kind))
            for (const auto& input : fs::directory_iterator(program))
                reports.push_back(harness::read_file(input.path()));
    reports.push_back(harness::read_file(SOURCE_DIR "/examples/report.txt"));
    for (auto& report : random_reports(30)) reports.push_back(std::move(report));
    // Larger than the block report-table reads, lines across the block's edges; then lines
    // longer than a block, tokens all through them and runs of NUL bytes, one of them last and
    // unterminated.
    std::string big;
    for (const auto& report : random_reports(300)) big += report;
    std::string line = big.substr(0, 900'000);
    for (std::size_t i = 0; i < line.size(); ++i)
        if (line[i] == '\n') line[i] = i % 3 ? ' ' : '\0';
    line.insert(300'000, std::string(200'000, '\0'));
    reports.push_back(big);
    reports.push_back(line + "\n" + big.substr(0, 5000) + line);

    const harness::Scratch scratch("report-table-differential");
    std::vector<std::string> files;
    for (std::size_t i = 0; i < reports.size(); ++i) files.push_back(scratch.write(std::to_string(i), reports[i]));
    std::vector<std::vector<std::string>> outputs;  // per report, per filter
    for (const auto& report : reports) {
        outputs.emplace_back();
        for (const std::string& filter : filters)
            outputs.back().push_back(harness::run(harness::tool(filter), report).out);
    }
    for (bool all : {false, true}) {
        auto args = files;
        if (all) args.insert(args.begin(), "--all");
        auto table = harness::run(harness::tool("report-table"), "", args);
        EXPECT_EQ(table.err, "");
        EXPECT_EQ(table.status, 0);
        const auto rows = split(table.out, '\n');
        ASSERT_EQ(rows.size(), reports.size() + 1);
        for (std::size_t i = 0; i < reports.size(); ++i) {
            auto cells = split(rows[i + 1], ',');
            ASSERT_LE(cells.size(), filters.size() + 1) << rows[i + 1];
            cells.resize(filters.size() + 1);  // getline drops a last empty field
            EXPECT_EQ(cells[0], files[i]);
            for (std::size_t f = 0; f < filters.size(); ++f)
                EXPECT_EQ(cells[f + 1], cell(outputs[i][f], all))
                    << filters[f] << (all ? " --all" : "") << ", report " << files[i];
        }
    }
}

}  // namespace
