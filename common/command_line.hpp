// The command line of a program of the suite, read as GNU tools read theirs (getopt_long): long
// options and their unambiguous abbreviations, an option's argument after '=' or as the next
// word, options before or after the operands, `--` to end the options, and `-` an operand that
// stands for standard input. The options are those of the program's catalogue entry, which also
// makes its --help; --line-buffered, --help and --version are every program's.
//
// A bad command line ends the program with status 2, nothing on standard output, and two lines
// on standard error: what is wrong, in getopt's words or as GNU tools put it ("PROG:
// unrecognized option '--bogus'", "PROG: invalid argument 'xml' for '--format'", "PROG: extra
// operand 'x'"), and "Try 'PROG --help' for more information.". --help and --version write to
// standard output and end with status 0.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <getopt.h>
#include <span>
#include <string>
#include <string_view>

#include "catalogue.hpp"
#include "output.hpp"
#include "tool.hpp"

namespace tool {

// The way to --help, after what is wrong with a command line, and the end of the program.
[[noreturn]] inline void try_help() {
    write_message("Try '" + std::string(program) + " --help' for more information.\n");
    std::exit(2);
}

// "PROG: WHAT", then the way to --help: status 2.
[[noreturn]] inline void usage_error(std::string_view what) {
    say(nullptr, what);
    try_help();
}

// A word of the command line in a message: in quotes, as GNU tools show one.
inline std::string quoted_word(std::string_view word) {
    std::string shown = quote(word);
    return shown.front() == '\'' || shown.front() == '"' ? shown : "'" + shown + "'";
}

// --help: the synopsis, what the program does, every option and the exit statuses.
inline std::string help_text(const catalogue::Program& p) {
    std::string text;
    std::string_view forms = p.usage;
    for (bool first = true; !forms.empty(); first = false) {
        const std::size_t end = std::min(forms.find('\n'), forms.size());
        text.append(first ? "Usage: " : "  or:  ").append(p.name).append(" ");
        text.append(forms.substr(0, end)).append("\n");
        forms.remove_prefix(std::min(end + 1, forms.size()));
    }
    text.append(p.about).append("\n");
    if (!p.looks_for.empty()) {
        text.append("\nLooks for:  ").append(p.looks_for).append("\n");
        text.append("Writes:     ").append(p.writes).append("\n");
    }
    auto left_column = [](const catalogue::Option& o) {
        std::string left = o.short_name ? std::string("  -") + o.short_name + ", " : "      ";
        left.append("--").append(o.name);
        if (!o.argument.empty()) left.append("=").append(o.argument);
        return left;
    };
    std::size_t width = 0;
    for (const catalogue::Option& o : p.options) width = std::max(width, left_column(o).size());
    text += "\n";
    for (const catalogue::Option& o : p.options) {
        std::string left = left_column(o);
        text += left + std::string(width + 2 - left.size(), ' ');
        for (char c : o.help) {
            text += c;
            if (c == '\n') text += std::string(width + 2, ' ');
        }
        text += "\n";
    }
    text += "\nExit status:\n";
    for (const catalogue::Status& s : p.statuses) {
        text.append("  ").append(std::to_string(s.code)).append("  ");
        for (char c : s.meaning) {
            text += c;
            if (c == '\n') text += "     ";
        }
        text += "\n";
    }
    return text;
}

class CommandLine {
public:
    // Reads the command line of the program `name`, which takes at most `most_operands`
    // operands (-1: any number). Names the running program (tool::begin) first.
    CommandLine(int argc, char** argv, std::string_view name, int most_operands)
        : program_(catalogue::find(name)) {
        begin(program_.name.data());  // catalogue names are string literals
        const std::span<const catalogue::Option> options = program_.options;
        option long_options[32] = {};
        std::string short_options;
        std::size_t count = 0;
        for (const catalogue::Option& o : options) {
            long_options[count] = {o.name.data(), o.argument.empty() ? no_argument : required_argument,
                                   nullptr, static_cast<int>(256 + count)};
            if (o.short_name) {
                short_options += o.short_name;
                if (!o.argument.empty()) short_options += ':';
            }
            ++count;
        }
        // getopt says what is wrong with an option, naming the program as argv[0] does: the
        // catalogue's name, not the path it was started by.
        argv[0] = const_cast<char*>(program_.name.data());
        for (int c; (c = getopt_long(argc, argv, short_options.c_str(), long_options, nullptr)) != -1;) {
            std::size_t index = options.size();
            if (c >= 256) {
                index = static_cast<std::size_t>(c - 256);
            } else if (c != '?') {
                for (index = 0; index < options.size() && options[index].short_name != c; ++index) {}
            }
            if (index == options.size()) try_help();  // getopt has said what is wrong
            const catalogue::Option& o = options[index];
            if (o.name == "help") {
                std::fputs(help_text(program_).c_str(), stdout);
                std::exit(finish(0));
            }
            if (o.name == "version") {
                std::printf("%s (geoproof-tools) %s\n", program_.name.data(), GEOPROOF_VERSION);
                std::exit(finish(0));
            }
            if (!o.choices.empty() && !one_of(o.choices, optarg)) bad_choice(o, optarg);
            given_[index] = true;
            values_[index] = optarg;
        }
        operands_ = std::span<char*>(argv + optind, static_cast<std::size_t>(argc - optind));
        if (most_operands >= 0 && operands_.size() > static_cast<std::size_t>(most_operands))
            usage_error("extra operand " + quoted_word(operands_[most_operands]));
        if (given("line-buffered")) output::line_buffered = true;
    }

    // Whether the option `name` (a long name of the program's) was given; its argument, the
    // last one given, or null.
    bool given(std::string_view name) const { return given_[index_of(name)]; }
    const char* value(std::string_view name) const { return values_[index_of(name)]; }
    std::span<char*> operands() const { return operands_; }

    // The one operand of a program that reads FILE, or standard input when there is none or it
    // is `-`: opened, checked not to be the program's own output, and named for the scanner's
    // read error. A FILE that cannot be opened, or that is the output, ends the program with
    // "PROG: FILE: REASON" and status 2.
    std::FILE* open_input() const {
        if (operands_.empty() || std::strcmp(operands_[0], "-") == 0) {
            refuse_own_output(STDIN_FILENO, "-");
            return stdin;
        }
        const char* name = operands_[0];
        std::FILE* file = std::fopen(name, "r");
        if (file == nullptr) {
            say(name, std::strerror(errno));
            std::exit(2);
        }
        refuse_own_output(fileno(file), name);
        input_name = name;
        return file;
    }

private:
    std::size_t index_of(std::string_view name) const {
        for (std::size_t i = 0; i < program_.options.size(); ++i)
            if (program_.options[i].name == name) return i;
        std::abort();  // not an option of this program: a mistake in the code, not the input
    }

    static bool one_of(std::string_view choices, std::string_view word) {
        for (std::size_t at = 0; at <= choices.size();) {
            const std::size_t end = std::min(choices.find('|', at), choices.size());
            if (choices.substr(at, end - at) == word) return true;
            at = end + 1;
        }
        return false;
    }

    [[noreturn]] void bad_choice(const catalogue::Option& o, const char* word) const {
        say(nullptr, "invalid argument " + quoted_word(word) + " for '--" + std::string(o.name) + "'");
        std::string valid = "Valid arguments are:\n";
        std::string_view choices = o.choices;
        for (std::size_t at = 0; at <= choices.size();) {
            const std::size_t end = std::min(choices.find('|', at), choices.size());
            valid.append("  - '").append(choices.substr(at, end - at)).append("'\n");
            at = end + 1;
        }
        write_message(valid);
        try_help();
    }

    static void refuse_own_output(int fd, const char* name) {
        if (!reads_own_output(fd)) return;
        say(name, "input file is output file");
        std::exit(2);
    }

    const catalogue::Program& program_;
    bool given_[32] = {};
    const char* values_[32] = {};
    std::span<char*> operands_;
};

}  // namespace tool
