// report-compare: runs of the prover side by side, one row a problem, and what the later runs
// gained or lost against the first.
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "command_line.hpp"
#include "compare.hpp"
#include "output.hpp"
#include "page.hpp"
#include "plots.hpp"
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

// The page and the plots, once the comparison is made: each file that cannot be written is
// told, "report-compare: NAME: REASON", and makes the status 2; the others are still written.
int write_pictures(const compare::Comparison& comparison, const char* page_file, const char* plots_dir) {
    int status = 0;
    auto write = [&](const std::string& path, std::string_view text) {
        if (const int error = page::write_file(path, text)) {
            tool::say(path.c_str(), std::strerror(error));
            status = 2;
        }
    };
    if (page_file) write(page_file, page::page(comparison));
    if (!plots_dir) return status;
    const std::string dir = plots_dir;
    // DIR is made if it is missing, one level, as mkdir makes it.
    struct stat status_of_dir;
    if (::mkdir(plots_dir, 0777) != 0 &&
        (errno != EEXIST || ::stat(plots_dir, &status_of_dir) != 0 || !S_ISDIR(status_of_dir.st_mode))) {
        tool::say(plots_dir, std::strerror(errno == EEXIST ? ENOTDIR : errno));
        return 2;
    }
    write(table::joined(dir, "cactus.svg"), plots::standalone(plots::cactus(comparison)));
    for (std::size_t run = 1; run < comparison.labels.size(); ++run)
        write(table::joined(dir, "scatter-" + std::to_string(run + 1) + ".svg"),
              plots::standalone(plots::scatter(comparison, run)));
    return status;
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
        const auto& columns = compare::summary_columns;
        if (!json_) {
            for (std::string_view column : columns) output::put({column == columns[0] ? "" : ",", column});
            output::put("\n");
        }
        for (const compare::RunSummary& s : runs) {
            const auto cells = compare::summary_cells(s);
            if (json_) {
                output::put("{\"run\":");
                table::put_json_string(cells[0]);
            } else {
                table::put_csv_field(cells[0]);
            }
            for (std::size_t column = 1; column < cells.size(); ++column) put_cell(columns[column], cells[column]);
            output::put(json_ ? "}\n" : "\n");
            output::done();
        }
    }

private:
    void put_cell(std::string_view column, std::string_view value) {
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
    // The problems are kept only for a page or plots; without them each goes once it is written.
    const char *page_file = command.value("html"), *plots_dir = command.value("plots");
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
        if (page_file || plots_dir) comparison.problems.push_back(problem);
        if (!summary && (!changes_only || problem.change != compare::Change::same)) {
            if (output::terminal) progress.erase();
            writer.problem(problem);
        }
    }
    progress.erase();
    if (summary) writer.summary(comparison.runs);
    for (const Run& run : runs) ::close(run.fd);
    output::flush();
    if (page_file || plots_dir) status = std::max(status, write_pictures(comparison, page_file, plots_dir));
    return tool::finish(status != 0 ? status : any_lost ? 1 : 0);
}
