// report-compare: runs of the prover side by side, one row a problem, and what the later runs
// gained or lost against the first.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <string_view>
#include <unistd.h>
#include <vector>

#include "command_line.hpp"
#include "compare.hpp"
#include "output.hpp"
#include "progress.hpp"
#include "tabulator.hpp"
#include "tool.hpp"
#include "walk.hpp"
#include "writers.hpp"

namespace {

using compare::Problem;
using compare::Result;

// A run: its label, its directory as given, and its reports' paths under it, sorted.
struct Run {
    std::string label, dir;
    int fd = -1;
    std::vector<std::string> reports;
    std::size_t next = 0;  // the first report not yet compared
};

// RUN is DIR or NAME=DIR, split at the first '='; without a name the label is DIR without its
// trailing slashes.
Run run_of(std::string_view operand) {
    Run run;
    const std::size_t equals = operand.find('=');
    if (equals == operand.npos) {
        run.dir = operand;
        std::size_t end = operand.size();
        while (end > 1 && operand[end - 1] == '/') --end;
        run.label = operand.substr(0, end);
    } else {
        run.label = operand.substr(0, equals);
        run.dir = operand.substr(equals + 1);
    }
    if (run.label.empty() || run.dir.empty())
        tool::usage_error("invalid run " + tool::quoted_word(operand) + ": expected DIR or NAME=DIR");
    return run;
}

class Writer {
public:
    Writer(bool json, const std::vector<Run>& runs) : json_(json) {
        for (const Run& run : runs) labels_.push_back(run.label);
    }

    void problems_header() {
        if (json_) return;
        output::put("problem");
        for (const std::string& label : labels_)
            for (const char* column : {":outcome", ":time", ":steps"}) {
                output::put(",");
                table::put_csv_field(label + column);
            }
        output::put(",change\n");
        output::done();
    }

    void problem(const Problem& p) {
        if (json_) {
            output::put("{\"problem\":");
            table::put_json_string(p.name);
            output::put({",\"change\":\"", compare::name_of(p.change), "\",\"runs\":["});
            for (std::size_t run = 0; run < p.results.size(); ++run) {
                const Result& r = p.results[run];
                output::put(run ? ",{\"run\":" : "{\"run\":");
                table::put_json_string(labels_[run]);
                output::put({",\"outcome\":\"", compare::name_of(r.outcome), "\",\"time\":"});
                put_json_or_null(r.time);
                output::put(",\"steps\":");
                put_json_or_null(r.steps);
                output::put("}");
            }
            output::put("]}\n");
        } else {
            table::put_csv_field(p.name);
            for (const Result& r : p.results)
                output::put({",", compare::name_of(r.outcome), ",", r.time, ",", r.steps});
            output::put({",", compare::name_of(p.change), "\n"});
        }
        output::done();
    }

    void summary(const std::vector<compare::RunSummary>& runs) {
        static constexpr const char* columns[] = {
            "run",        "reports",      "proved",  "disproved", "not_proved",
            "timeout",    "step_limit",   "out_of_scope", "missing", "errors",
            "gained",     "lost",         "time_proved", "time_common", "steps_common"};
        if (!json_) {
            for (const char* column : columns) output::put({column == columns[0] ? "" : ",", column});
            output::put("\n");
        }
        for (const compare::RunSummary& s : runs) {
            // The counts, in the columns' order after `run`: each outcome but missing, then it.
            const long counts[] = {s.reports, s.outcomes[1], s.outcomes[2], s.outcomes[3], s.outcomes[4],
                                   s.outcomes[5], s.outcomes[6], s.outcomes[0], s.errors, s.gained, s.lost};
            char proved[400], common[400];
            std::snprintf(proved, sizeof proved, "%.6f", s.time_proved);
            std::snprintf(common, sizeof common, "%.6f", s.time_common);
            const std::string_view sums[] = {proved, common, s.steps_common};
            if (json_) {
                output::put("{\"run\":");
                table::put_json_string(s.label);
            } else {
                table::put_csv_field(s.label);
            }
            std::size_t column = 1;
            for (long count : counts) {
                const std::string text = std::to_string(count);
                put_cell(columns[column++], text);
            }
            for (std::string_view sum : sums) put_cell(columns[column++], sum);
            output::put(json_ ? "}\n" : "\n");
            output::done();
        }
    }

private:
    void put_cell(const char* column, std::string_view value) {
        if (!json_) return output::put({",", value});
        output::put({",\"", column, "\":"});
        table::put_json_value(value);
    }

    static void put_json_or_null(std::string_view value) {
        if (value.empty()) output::put("null");
        else table::put_json_value(value);
    }

    bool json_;
    std::vector<std::string> labels_;
};

}  // namespace

int main(int argc, char* argv[]) {
    const tool::CommandLine command(argc, argv, "report-compare", -1);
    const bool json = command.value("format") && std::strcmp(command.value("format"), "json") == 0;
    const bool summary = command.given("summary"), changes_only = command.given("changes");
    std::vector<Run> runs;
    for (const char* operand : command.operands()) {
        runs.push_back(run_of(operand));
        for (std::size_t i = 0; i + 1 < runs.size(); ++i)
            if (runs[i].label == runs.back().label)
                tool::usage_error("two runs labelled " + tool::quoted_word(runs.back().label));
    }
    if (runs.empty()) tool::usage_error("missing operand");

    int status = 0;
    table::Progress progress;
    auto complain = [&](const std::string& name, int error) {
        progress.erase();
        tool::say(name.c_str(), std::strerror(error));
        status = 2;
    };
    // Every run must be a directory that can be read, before anything is written.
    for (Run& run : runs)
        if ((run.fd = table::open_directory(run.dir.c_str())) < 0) complain(run.dir, errno);
    if (status != 0) return tool::finish(status);
    long total = 0;
    for (Run& run : runs) {
        run.reports = table::regular_files(run.fd, run.dir, command.value("match"),
                                           [&](const std::string& path, int error) { complain(path, error); });
        total += static_cast<long>(run.reports.size());
    }

    Writer writer(json, runs);
    if (!summary) writer.problems_header();
    compare::Comparison comparison;
    for (const Run& run : runs) {
        comparison.labels.push_back(run.label);
        comparison.runs.push_back({});
        comparison.runs.back().label = run.label;
    }
    filters::Tabulator tabulator(false);
    bool any_lost = false;
    long done = 0;
    Problem problem;
    problem.results.resize(runs.size());
    for (;;) {
        // The next problem: the least of the runs' next reports.
        const std::string* least = nullptr;
        for (const Run& run : runs)
            if (run.next < run.reports.size() && (!least || run.reports[run.next] < *least))
                least = &run.reports[run.next];
        if (!least) break;
        problem.name = *least;
        for (std::size_t i = 0; i < runs.size(); ++i) {
            Run& run = runs[i];
            Result& result = problem.results[i];
            result = Result();
            if (run.next == run.reports.size() || run.reports[run.next] != problem.name) continue;
            ++run.next;
            ++done;
            const int fd = ::openat(run.fd, problem.name.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
            const std::string path = table::joined(run.dir, problem.name);
            if (fd < 0) {
                complain(path, errno);
            } else if (tool::reads_own_output(fd)) {
                progress.erase();
                tool::say(path.c_str(), "input file is output file");
                status = 2;
            } else if (!tabulator.tabulate(fd)) {
                complain(path, errno);
            } else {
                result = compare::result_of(tabulator);
            }
            if (fd >= 0) ::close(fd);
            progress.update(done, total);
        }
        problem.change = compare::change_of(problem.results);
        any_lost |= problem.change == compare::Change::lost;
        compare::add_to_summary(problem, comparison.runs);
        if (!summary && (!changes_only || problem.change != compare::Change::same)) {
            if (output::terminal) progress.erase();
            writer.problem(problem);
        }
    }
    progress.erase();
    if (summary) writer.summary(comparison.runs);
    for (const Run& run : runs) ::close(run.fd);
    output::flush();
    return tool::finish(status != 0 ? status : any_lost ? 1 : 0);
}
