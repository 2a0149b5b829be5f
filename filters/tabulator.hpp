// Every filter's recogniser over one report after another, in one process: what report-table
// is made of.  A cell is what the filter program prints for the same report, line for line.
#pragma once

#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "filter-list.hpp"

namespace filters {

// The catalogue's filters, in the order of the table's columns.
inline constexpr const char* program_names[] = {
#define GEOPROOF_NAME(identifier, program) program,
    GEOPROOF_FILTERS(GEOPROOF_NAME)
#undef GEOPROOF_NAME
};
inline constexpr int filter_count = static_cast<int>(std::size(program_names));

// Runs every filter's recogniser over each report in turn and keeps, for each filter, the lines
// it would print that are not empty: every one, or only the last.
class Tabulator {
public:
    explicit Tabulator(bool keep_all);
    ~Tabulator();
    Tabulator(const Tabulator&) = delete;
    Tabulator& operator=(const Tabulator&) = delete;

    // Reads one report from descriptor `fd` to its end and runs every recogniser over it.
    // False on a read error, with errno set: the values are then incomplete.
    bool tabulate(int fd);

    // What filter `index` (an index into program_names) printed for the last report
    // tabulated: every non-empty line in order, or at most the last one.
    const std::vector<std::string>& values(int index) const;

private:
    struct State;
    std::unique_ptr<State> state_;
};

}  // namespace filters
