// What report-compare makes of runs of the prover: for every problem (a report's path under its
// run's directory) the outcome, time and steps each run's report gives, and how the later runs
// changed on the first, the baseline; and per run the counts and sums of its summary. The
// page (page.hpp) is drawn from the same.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace filters {
class Tabulator;
}

namespace compare {

// A report's outcome: its proof_status code (1 to 6; 3 also for a report without an outcome
// sentence), or missing for a problem that has no report in the run, or one that could not be read.
enum class Outcome : unsigned char { missing, proved, disproved, not_proved, timeout, step_limit, out_of_scope };
inline constexpr std::size_t outcome_count = 7;
std::string_view name_of(Outcome outcome);  // "proved", "not-proved", ...

// A problem's change, the baseline against every later run: lost when the baseline proved it
// and some later run did not; else gained when the baseline did not and some later run did; else
// changed when the outcomes differ; else same.
enum class Change : unsigned char { same, changed, gained, lost };
std::string_view name_of(Change change);

// One run's report of one problem: its outcome, whether it tells of an error (error_kind), and
// its time (prover_time, else prover_time_colon) and total steps exactly as the filters print
// them, empty when it has none.
struct Result {
    Outcome outcome = Outcome::missing;
    bool error = false;
    std::string time, steps;

    bool proved() const { return outcome == Outcome::proved; }
};

// What the tabulator found in the report it read last.
Result result_of(const filters::Tabulator& tabulator);

struct Problem {
    std::string name;             // the path under the run's directory
    std::vector<Result> results;  // one a run, in the runs' order
    Change change = Change::same;
};

Change change_of(const std::vector<Result>& results);

// One run's row of the summary.
struct RunSummary {
    std::string label;
    long reports = 0;  // the run's reports that were read
    std::array<long, outcome_count> outcomes{};  // problems by outcome, missing first
    long errors = 0;   // reports read that tell of an error
    long gained = 0, lost = 0;  // against the baseline; 0 for the baseline itself
    double time_proved = 0;     // over the problems it proved that have a time
    double time_common = 0;     // over the problems every run proved with a time in every run
    std::string steps_common = "0";  // the same with steps, in decimal: any number of digits
};

// Adds what `problem` tells of each run to `runs` (one a run, in order).
void add_to_summary(const Problem& problem, std::vector<RunSummary>& runs);

// The summary's columns, and a run's cells in them as text: its label, its counts, its sums of
// times with "%.6f" and of steps in decimal.
inline constexpr std::array<std::string_view, 15> summary_columns = {
    "run", "reports", "proved", "disproved", "not_proved", "timeout", "step_limit", "out_of_scope",
    "missing", "errors", "gained", "lost", "time_proved", "time_common", "steps_common"};
std::array<std::string, summary_columns.size()> summary_cells(const RunSummary& run);

// `number` plus the decimal `digits`, both strings of decimal digits without a sign.
void add_decimal(std::string& number, std::string_view digits);

// The seconds of a time as the filters print it ("%f", or inf).
double seconds_of(std::string_view time);

// The whole comparison, kept when a page or plots are to be drawn from it.
struct Comparison {
    std::vector<std::string> labels;
    std::vector<Problem> problems;  // in byte order of their names
    std::vector<RunSummary> runs;
};

}  // namespace compare
