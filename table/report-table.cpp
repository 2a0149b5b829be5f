// report-table: what the prover-log filters print for each of many reports, one row a report
// and one column a filter, as CSV or as JSON Lines.
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "command_line.hpp"
#include "names.hpp"
#include "output.hpp"
#include "progress.hpp"
#include "tabulator.hpp"
#include "tool.hpp"
#include "walk.hpp"
#include "writers.hpp"

namespace {

// Column names: the filters' names with '_' for '-'.
std::string column(int index) {
    std::string name = filters::program_names[index];
    for (char& c : name) c = c == '-' ? '_' : c;
    return name;
}

// Writes the table's rows; each row is one report.
class Table {
public:
    Table(bool json, bool all) : json_(json), all_(all) {
        for (int i = 0; i < filters::filter_count; ++i) {
            names_[i] = column(i);
            keys_[i] = ",\"" + names_[i] + "\":";
        }
    }

    void header() {
        if (json_) return;
        output::put("file");
        for (const auto& name : names_) {
            output::put(",");
            output::put(name);
        }
        output::put("\n");
    }

    void row(std::string_view file, const filters::Tabulator& tabulator) {
        if (json_) json_row(file, tabulator);
        else csv_row(file, tabulator);
    }

private:
    void csv_row(std::string_view file, const filters::Tabulator& tabulator) {
        table::put_csv_field(file);
        for (int i = 0; i < filters::filter_count; ++i) {
            cell_.clear();
            for (const auto& value : tabulator.values(i)) {
                if (!cell_.empty()) cell_ += ';';
                cell_ += value;
            }
            output::put(",");
            table::put_csv_field(cell_);
        }
        output::put("\n");
    }

    void json_row(std::string_view file, const filters::Tabulator& tabulator) {
        output::put("{\"file\":");
        table::put_json_string(file);
        for (int i = 0; i < filters::filter_count; ++i) {
            output::put(keys_[i]);
            const auto& values = tabulator.values(i);
            if (!all_) {
                if (values.empty()) output::put("null");
                else table::put_json_value(values.back());
                continue;
            }
            output::put("[");
            for (std::size_t v = 0; v < values.size(); ++v) {
                if (v) output::put(",");
                table::put_json_value(values[v]);
            }
            output::put("]");
        }
        output::put("}\n");
    }

    bool json_, all_;
    std::string names_[filters::filter_count];
    std::string keys_[filters::filter_count];
    std::string cell_;
};

// Where a run's reports come from and go, and how it fares.
class Run {
public:
    Run(const tool::CommandLine& command, table::Progress& progress)
        : progress_(progress), recursive_(command.given("recursive")),
          tabulator_(command.given("all")),
          table_(command.value("format") && std::strcmp(command.value("format"), "json") == 0,
                 command.given("all")) {}

    void header() { table_.header(); }

    // Whether standard input is the file `fd` reads: then a report named - must not read it.
    void names_from(int fd) {
        struct stat list, input;
        names_on_input_ = fstat(fd, &list) == 0 && fstat(STDIN_FILENO, &input) == 0 &&
                          list.st_dev == input.st_dev && list.st_ino == input.st_ino;
    }

    // Tabulates the report named `name`, or with -r every report under it when it is a
    // directory.
    void report(const char* name) {
        if (!*name) return complain(nullptr, "invalid zero-length file name");
        if (std::strcmp(name, "-") == 0) {
            if (names_on_input_) return complain("-", "standard input holds the names, not a report");
            tool::widen_pipe(STDIN_FILENO);  // not the named reports: a syscall each, for many
            return tabulate(STDIN_FILENO, name);
        }
        const int fd = ::open(name, O_RDONLY | O_CLOEXEC);
        if (fd < 0) return complain(name, std::strerror(errno));
        struct stat status;
        if (recursive_ && fstat(fd, &status) == 0 && S_ISDIR(status.st_mode)) {
            const std::string top = name;
            for (const std::string& file : table::regular_files(fd, top, nullptr, [&](const std::string& path, int error) {
                     complain(path.c_str(), std::strerror(error));
                 })) {
                const std::string path = table::joined(top, file);
                const int report = ::openat(fd, file.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
                if (report < 0) {
                    complain(path.c_str(), std::strerror(errno));
                    continue;
                }
                tabulate(report, path.c_str());
                ::close(report);
            }
        } else {
            tabulate(fd, name);
        }
        ::close(fd);
    }

    void complain(const char* name, std::string_view what) {
        progress_.erase();
        tool::say(name, what);
        status = 2;
    }

    int status = 0;
    long done = 0;     // reports tabulated or tried
    long total = -1;   // how many there are, when the command line tells

private:
    void tabulate(int fd, const char* name) {
        ++done;
        write_row(fd, name);
        progress_.update(done, total);
    }

    void write_row(int fd, const char* name) {
        if (tool::reads_own_output(fd)) return complain(name, "input file is output file");
        if (!tabulator_.tabulate(fd)) {
            if (errno == EISDIR && !recursive_)
                return complain(name, "Is a directory (use -r to read the reports under it)");
            return complain(name, std::strerror(errno));
        }
        if (output::terminal) progress_.erase();
        table_.row(name, tabulator_);
        output::done();
    }

    table::Progress& progress_;
    bool recursive_;
    bool names_on_input_ = false;
    filters::Tabulator tabulator_;
    Table table_;
};

}  // namespace

int main(int argc, char* argv[]) {
    const tool::CommandLine command(argc, argv, "report-table", -1);
    const char* list = command.value("files0-from");
    const auto operands = command.operands();
    if (list && !operands.empty())
        tool::usage_error("extra operand " + tool::quoted_word(operands[0]) +
                          "\nfile operands cannot be combined with --files0-from");
    table::Progress progress;
    Run run(command, progress);
    run.header();  // once the command line is good, whatever the reports turn out to be
    if (!list) {
        if (!command.given("recursive")) run.total = static_cast<long>(operands.size());
        if (operands.empty()) run.report("-");
        for (const char* name : operands) run.report(name);
    } else {
        const int fd = std::strcmp(list, "-") == 0 ? STDIN_FILENO : ::open(list, O_RDONLY | O_CLOEXEC);
        if (fd < 0) {
            run.complain(list, std::strerror(errno));
        } else {
            run.names_from(fd);
            table::NameList names(fd);
            while (const std::string* name = names.next()) {
                if (names.too_long())
                    run.complain((*name + "...").c_str(), std::strerror(ENAMETOOLONG));
                else
                    run.report(name->c_str());
            }
            if (names.error() != 0) run.complain(list, std::strerror(names.error()));
            if (fd != STDIN_FILENO) ::close(fd);
        }
    }
    progress.erase();
    output::flush();
    return tool::finish(run.status);
}
