// report-table: what the twelve prover-log filters print for each of many reports, one row a
// report and one column a filter, as CSV or as JSON Lines.
#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <string>
#include <string_view>
#include <unistd.h>
#include <vector>

#include "command_line.hpp"
#include "output.hpp"
#include "tabulator.hpp"
#include "tool.hpp"

namespace {

const char program[] = "report-table";

struct Options {
    bool json = false;
    bool all = false;
    const char* files0_from = nullptr;
    std::vector<const char*> files;
};

// The names of the reports, NUL-terminated, read from a descriptor a block at a time.
class NameList {
public:
    explicit NameList(int fd) : fd_(fd) {}

    // The next name, or null at the end of the list or on a read error (then failed() is
    // true).  A last name without its NUL counts as a name.
    const char* next() {
        name_.clear();
        for (;;) {
            if (next_ == end_) {
                ssize_t got = ::read(fd_, block_, sizeof block_);
                if (got < 0 && errno == EINTR) continue;
                if (got <= 0) {
                    error_ = got < 0 ? errno : 0;
                    if (error_ || name_.empty()) return nullptr;
                    return name_.c_str();
                }
                next_ = block_;
                end_ = block_ + got;
            }
            auto nul = static_cast<const char*>(std::memchr(next_, '\0', end_ - next_));
            name_.append(next_, nul ? nul : end_);
            next_ = nul ? nul + 1 : end_;
            if (nul) return name_.c_str();
        }
    }
    bool failed() const { return error_ != 0; }
    int error() const { return error_; }

private:
    int fd_;
    char block_[1 << 16];
    const char* next_ = block_;
    const char* end_ = block_;
    std::string name_;
    int error_ = 0;
};

long milliseconds_now() {
    timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec * 1000L + t.tv_nsec / 1'000'000;
}

// "report-table: N of M reports" on standard error, rewritten in place, when standard error
// is a terminal and the run has gone on for a while (REPORT_TABLE_PROGRESS_AFTER milliseconds,
// a second by default); erased before anything else is written to the terminal.
class Progress {
public:
    explicit Progress(long total) : total_(total) {
        if (isatty(STDERR_FILENO) != 1) return;
        active_ = true;
        long after = 1000;
        if (const char* text = std::getenv("REPORT_TABLE_PROGRESS_AFTER")) {
            char* end;
            long value = std::strtol(text, &end, 10);
            if (*text && !*end && value >= 0) after = value;
        }
        due_ = milliseconds_now() + after;
    }

    void done(long reports) {
        if (!active_) return;
        long now = milliseconds_now();
        if (now < due_) return;
        due_ = now + 250;
        char line[80];
        int size = total_ >= 0
            ? std::snprintf(line, sizeof line, "\r%s: %ld of %ld reports", program, reports, total_)
            : std::snprintf(line, sizeof line, "\r%s: %ld reports", program, reports);
        put(line, size);
        shown_ = size - 1;
    }

    void erase() {
        if (shown_ == 0) return;
        char line[80];
        std::memset(line + 1, ' ', shown_);
        line[0] = line[shown_ + 1] = '\r';
        put(line, shown_ + 2);
        shown_ = 0;
    }

private:
    static void put(const char* text, int size) {
        while (size > 0) {
            ssize_t n = ::write(STDERR_FILENO, text, size);
            if (n < 0 && errno == EINTR) continue;
            if (n < 0) return;
            text += n;
            size -= static_cast<int>(n);
        }
    }

    long total_;
    bool active_ = false;
    long due_ = 0;
    int shown_ = 0;  // width of the line on the terminal, 0 when there is none
};

// "report-table: [NAME: ]WHAT" on standard error, on a line of its own below any progress.
void complain(Progress& progress, const char* name, std::string_view what) {
    progress.erase();
    tool::say(name, what);
}

// Column names: the filters' names with '_' for '-'.
std::string column(int index) {
    std::string name = filters::program_names[index];
    for (char& c : name) c = c == '-' ? '_' : c;
    return name;
}

// A CSV field: quoted, with its double quotes doubled, when it holds a comma, a double
// quote, a carriage return or a line feed.
void put_csv_field(std::string_view text) {
    if (text.find_first_of(",\"\r\n") == text.npos) {
        output::put(text);
        return;
    }
    output::put("\"");
    for (std::size_t quote; (quote = text.find('"')) != text.npos; text.remove_prefix(quote + 1)) {
        output::put(text.substr(0, quote + 1));
        output::put("\"");
    }
    output::put(text);
    output::put("\"");
}

// Length of the well-formed UTF-8 sequence that `text` starts with, 0 when there is none.
std::size_t utf8_sequence(std::string_view text) {
    auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(0);
    if (lead < 0x80) return 1;
    std::size_t length;
    unsigned char low = 0x80, high = 0xBF;  // the second byte's range
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {  // no overlong forms, no surrogates
        length = 3;
        if (lead == 0xE0) low = 0xA0;
        if (lead == 0xED) high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {  // no overlong forms, nothing past U+10FFFF
        length = 4;
        if (lead == 0xF0) low = 0x90;
        if (lead == 0xF4) high = 0x8F;
    } else {
        return 0;
    }
    if (text.size() < length || byte(1) < low || byte(1) > high) return 0;
    for (std::size_t i = 2; i < length; ++i)
        if (byte(i) < 0x80 || byte(i) > 0xBF) return 0;
    return length;
}

// A JSON string: '"' and '\' escaped, control characters as \u00XX, and every byte that is
// not part of a well-formed UTF-8 sequence replaced by U+FFFD.
void put_json_string(std::string_view text) {
    output::put("\"");
    while (!text.empty()) {
        std::size_t plain = 0, length;
        while (plain < text.size() && (length = utf8_sequence(text.substr(plain))) != 0 &&
               (length > 1 || (text[plain] >= 0x20 && text[plain] != '"' && text[plain] != '\\')))
            plain += length;
        output::put(text.substr(0, plain));
        if (plain == text.size()) break;
        const auto c = static_cast<unsigned char>(text[plain]);
        if (c >= 0x80) {
            output::put("\xEF\xBF\xBD");
        } else if (c == '"' || c == '\\') {
            const char escaped[] = {'\\', static_cast<char>(c)};
            output::put({escaped, 2});
        } else {
            char escaped[7];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
            output::put({escaped, 6});
        }
        text.remove_prefix(plain + 1);
    }
    output::put("\"");
}

// A number by JSON's grammar, without exponent: -?(0|[1-9][0-9]*)(\.[0-9]+)?
bool json_number(std::string_view text) {
    auto digits = [&] {
        std::size_t n = 0;
        while (n < text.size() && text[n] >= '0' && text[n] <= '9') ++n;
        text.remove_prefix(n);
        return n;
    };
    if (text.starts_with('-')) text.remove_prefix(1);
    const bool zero = text.starts_with('0');
    const std::size_t whole = digits();
    if (whole == 0 || (zero && whole > 1)) return false;
    if (text.starts_with('.')) {
        text.remove_prefix(1);
        if (digits() == 0) return false;
    }
    return text.empty();
}

void put_json_value(std::string_view value) {
    if (json_number(value)) output::put(value);
    else put_json_string(value);
}

// Writes the table's rows; each row is one report.
class Table {
public:
    explicit Table(const Options& options) : json_(options.json), all_(options.all) {
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
        put_csv_field(file);
        for (int i = 0; i < filters::filter_count; ++i) {
            cell_.clear();
            for (const auto& value : tabulator.values(i)) {
                if (!cell_.empty()) cell_ += ';';
                cell_ += value;
            }
            output::put(",");
            put_csv_field(cell_);
        }
        output::put("\n");
    }

    void json_row(std::string_view file, const filters::Tabulator& tabulator) {
        output::put("{\"file\":");
        put_json_string(file);
        for (int i = 0; i < filters::filter_count; ++i) {
            output::put(keys_[i]);
            const auto& values = tabulator.values(i);
            if (!all_) {
                if (values.empty()) output::put("null");
                else put_json_value(values.back());
                continue;
            }
            output::put("[");
            for (std::size_t v = 0; v < values.size(); ++v) {
                if (v) output::put(",");
                put_json_value(values[v]);
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

// Tabulates the report named `file` (- for standard input) and writes its row; on failure
// says why on standard error and returns false.
bool tabulate_report(const char* file, filters::Tabulator& tabulator, Table& table,
                     Progress& progress) {
    const bool standard_input = std::strcmp(file, "-") == 0;
    int fd = standard_input ? STDIN_FILENO : ::open(file, O_RDONLY | O_CLOEXEC);
    if (standard_input) tool::widen_pipe(fd);  // not the named reports: a syscall each, for many
    if (fd >= 0 && tool::reads_own_output(fd)) {
        if (!standard_input) ::close(fd);
        complain(progress, file, "input file is output file");
        return false;
    }
    bool read = fd >= 0 && tabulator.tabulate(fd);
    int reason = errno;
    if (fd >= 0 && !standard_input) ::close(fd);
    if (!read) {
        complain(progress, file, std::strerror(reason));
        return false;
    }
    table.row(file, tabulator);
    if (output::terminal) progress.erase();
    output::done();
    return true;
}

}  // namespace

namespace {
Progress* shown_progress;
}

int main(int argc, char* argv[]) {
    const tool::CommandLine command(argc, argv, program, -1);
    Options options;
    options.json = command.value("format") && std::strcmp(command.value("format"), "json") == 0;
    options.all = command.given("all");
    options.files0_from = command.value("files0-from");
    for (char* file : command.operands()) options.files.push_back(file);
    if (options.files0_from && !options.files.empty())
        tool::usage_error("extra operand " + tool::quoted_word(options.files[0]) +
                          "\nfile operands cannot be combined with --files0-from");
    // The reports come from the command line, or one at a time from the list of names.
    if (options.files.empty() && !options.files0_from) options.files.push_back("-");
    const bool listed = options.files0_from != nullptr;
    const bool list_on_input = listed && std::strcmp(options.files0_from, "-") == 0;
    Progress progress(listed ? -1 : static_cast<long>(options.files.size()));
    // A fatal message (a failed write ends the run at once) goes below the progress line.
    shown_progress = &progress;
    tool::before_fatal = [] {
        shown_progress->erase();
        output::flush();
    };
    int list_fd = -1;
    if (listed && (list_fd = list_on_input ? STDIN_FILENO
                                           : ::open(options.files0_from, O_RDONLY | O_CLOEXEC)) < 0) {
        complain(progress, options.files0_from, std::strerror(errno));
        return 2;
    }
    NameList names(list_fd);
    std::size_t done = 0;
    auto next_report = [&]() -> const char* {
        if (listed) return names.next();
        return done < options.files.size() ? options.files[done] : nullptr;
    };

    int status = 0;
    filters::Tabulator tabulator(options.all);
    Table table(options);
    table.header();
    while (const char* file = next_report()) {
        ++done;
        if (!*file) {
            complain(progress, nullptr, "invalid zero-length file name");
            status = 2;
        } else if (list_on_input && std::strcmp(file, "-") == 0) {
            complain(progress, "-", "standard input holds the names, not a report");
            status = 2;
        } else if (!tabulate_report(file, tabulator, table, progress)) {
            status = 2;
        }
        progress.done(static_cast<long>(done));
    }
    if (names.failed()) {
        complain(progress, options.files0_from, std::strerror(names.error()));
        status = 2;
    }
    progress.erase();
    if (list_fd > STDIN_FILENO) ::close(list_fd);
    output::flush();
    return tool::finish(status);
}
