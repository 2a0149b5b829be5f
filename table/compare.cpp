#include "compare.hpp"

#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "tabulator.hpp"

namespace compare {

namespace {

// The column of the filter `program`.
int column_of(std::string_view program) {
    for (int i = 0; i < filters::filter_count; ++i)
        if (program == filters::program_names[i]) return i;
    std::abort();  // the filters this program reads are part of the suite
}

// The filter's value for the report, its last; empty when it has none.
std::string_view last_value(const filters::Tabulator& tabulator, int column) {
    const auto& values = tabulator.values(column);
    return values.empty() ? std::string_view() : std::string_view(values.back());
}

}  // namespace

std::string_view name_of(Outcome outcome) {
    static constexpr std::string_view names[] = {"missing", "proved", "disproved", "not-proved",
                                                 "timeout", "step-limit", "out-of-scope"};
    return names[static_cast<int>(outcome)];
}

std::string_view name_of(Change change) {
    static constexpr std::string_view names[] = {"same", "changed", "gained", "lost"};
    return names[static_cast<int>(change)];
}

Result result_of(const filters::Tabulator& tabulator) {
    static const int status = column_of("proof-status"), error = column_of("error-kind"),
                     time = column_of("prover-time"), time_colon = column_of("prover-time-colon"),
                     steps = column_of("total-steps");
    Result result;
    const std::string_view code = last_value(tabulator, status);
    result.outcome = code.size() == 1 && code[0] >= '1' && code[0] <= '6'
                         ? static_cast<Outcome>(code[0] - '0')
                         : Outcome::not_proved;
    result.error = !last_value(tabulator, error).empty();
    result.time = last_value(tabulator, time);
    if (result.time.empty()) result.time = last_value(tabulator, time_colon);
    result.steps = last_value(tabulator, steps);
    return result;
}

Change change_of(const std::vector<Result>& results) {
    const Result& baseline = results.front();
    bool lost = false, gained = false, changed = false;
    for (std::size_t run = 1; run < results.size(); ++run) {
        lost |= baseline.proved() && !results[run].proved();
        gained |= !baseline.proved() && results[run].proved();
        changed |= results[run].outcome != baseline.outcome;
    }
    return lost ? Change::lost : gained ? Change::gained : changed ? Change::changed : Change::same;
}

void add_decimal(std::string& number, std::string_view digits) {
    if (digits.size() > number.size()) number.insert(0, digits.size() - number.size(), '0');
    int carry = 0;
    std::size_t i = number.size(), j = digits.size();
    while (i > 0 && (j > 0 || carry)) {
        const int sum = number[--i] - '0' + (j > 0 ? digits[--j] - '0' : 0) + carry;
        number[i] = static_cast<char>('0' + sum % 10);
        carry = sum / 10;
    }
    if (carry) number.insert(0, 1, '1');
}

double seconds_of(std::string_view time) {
    return std::strtod(std::string(time).c_str(), nullptr);
}

void add_to_summary(const Problem& problem, std::vector<RunSummary>& runs) {
    const std::vector<Result>& results = problem.results;
    bool every_proved = true, every_time = true, every_steps = true;
    for (const Result& r : results) {
        every_proved &= r.proved();
        every_time &= !r.time.empty();
        every_steps &= !r.steps.empty();
    }
    for (std::size_t run = 0; run < results.size(); ++run) {
        const Result& r = results[run];
        RunSummary& s = runs[run];
        ++s.outcomes[static_cast<int>(r.outcome)];
        s.reports += r.outcome != Outcome::missing;
        s.errors += r.error;
        if (run > 0) {
            s.gained += !results[0].proved() && r.proved();
            s.lost += results[0].proved() && !r.proved();
        }
        if (r.proved() && !r.time.empty()) s.time_proved += seconds_of(r.time);
        if (every_proved && every_time) s.time_common += seconds_of(r.time);
        if (every_proved && every_steps) add_decimal(s.steps_common, r.steps);
    }
}

std::array<std::string, summary_columns.size()> summary_cells(const RunSummary& run) {
    // The counts in the columns' order: each outcome but missing, then it.
    const long counts[] = {run.reports,     run.outcomes[1], run.outcomes[2], run.outcomes[3],
                           run.outcomes[4], run.outcomes[5], run.outcomes[6], run.outcomes[0],
                           run.errors,      run.gained,      run.lost};
    std::array<std::string, summary_columns.size()> cells;
    std::size_t cell = 0;
    cells[cell++] = run.label;
    for (long count : counts) cells[cell++] = std::to_string(count);
    for (double sum : {run.time_proved, run.time_common}) {
        char text[400];
        std::snprintf(text, sizeof text, "%.6f", sum);
        cells[cell++] = text;
    }
    cells[cell] = run.steps_common;
    return cells;
}

}  // namespace compare
