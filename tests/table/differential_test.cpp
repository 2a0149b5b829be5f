// Every cell of report-table is what the filter of its column prints for that report when
// run as a program of its own: the last non-empty line, or with --all every non-empty line.
#include "catalogue.hpp"
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

// The filters, in the order of the table's columns.
std::vector<std::string> filters_of_the_catalogue() {
    std::vector<std::string> filters;
    for (const auto& p : catalogue::programs)
        if (p.kind == "filter" || p.kind == "summary") filters.emplace_back(p.name);
    return filters;
}

const std::vector<std::string> filters = filters_of_the_catalogue();

// Pieces of report lines: the filters' phrases and values, near misses, and bytes no rule keeps.
const std::string pieces[] = {
    "Time spent by the prover is", "Time spent by the prover:", "seconds", "0.25", "12.5",
    "Number of algebraic proof steps:", "Number of elimination proof steps:",
    "Total number of proof steps:", "Number of geometric proof steps:", "7", "0042",
    "99999999999", "1" + std::string(400, '0') + ".5", "1:02.03", "12:34.56", ":", ".",
    "The conjecture has been proved.", "The conjecture successfully proved.",
    "The conjecture disproved.", "The conjecture not proved.",
    "The conjecture not proved - timeout.",
    "The conjecture not proved - maximal number of proof steps reached.",
    "The conjecture out of scope of the prover.", "The conjecture", "Syntax error",
    "Run-time error", " error", "\r", "\0"s, "\x80\xff"s, "\t", ";", ",", "\"", "Lemma",
};

// Reports of 2 to 20 KB made of those pieces, some ending inside a line.
std::vector<std::string> random_reports(int count) {
    std::uint64_t s = 2026;
    auto below = [&](unsigned n) {
        s ^= s << 13;
        s ^= s >> 7;
        s ^= s << 17;
        return static_cast<unsigned>(s % n);
    };
    std::vector<std::string> reports;
    for (int i = 0; i < count; ++i) {
        std::string report;
        const std::size_t size = 2000 + below(18000);
        while (report.size() < size) {
            for (unsigned n = below(5); n > 0; --n) report += pieces[below(std::size(pieces))] + " ";
            report += below(8) ? "\n" : "\r\n";
        }
        if (below(3) == 0) report += pieces[below(std::size(pieces))];
        reports.push_back(report);
    }
    return reports;
}

std::string read_file(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
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
                reports.push_back(read_file(input.path()));
    reports.push_back(read_file(SOURCE_DIR "/examples/report.txt"));
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

    char scratch[] = "/tmp/report-table-differential.XXXXXX";
    ASSERT_TRUE(mkdtemp(scratch));
    std::vector<std::string> files;
    for (std::size_t i = 0; i < reports.size(); ++i) {
        files.push_back(scratch + "/"s + std::to_string(i));
        std::ofstream(files.back(), std::ios::binary) << reports[i];
    }
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
    fs::remove_all(scratch);
}

}  // namespace
