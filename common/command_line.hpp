// The command line a program of the suite takes: its own flags, --help and --version, and one
// optional FILE read instead of standard input.
//
//     PROGRAM [FLAG...] [FILE]
//
// FLAG is one of the flags the program names. `-` as FILE means standard input; `--` ends the
// options, so that a FILE may begin with `-`. --help or --version writes the usage text or the
// suite's name and version to standard output and ends the program with status 0. An unknown
// option or a second operand writes the usage text's first line to standard error and ends it
// with status 2; so does a FILE that cannot be opened, with one line
// "NAME: cannot open 'FILE': REASON" instead.
#pragma once

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <initializer_list>

#include "tool.hpp"

namespace tool {

struct CommandLine {
    std::FILE* input = nullptr;      // the FILE operand, opened; null for standard input
    const char* file = nullptr;      // its name as given; null for standard input
    unsigned flags = 0;              // bit i set: the i-th of the program's flags was given
    int exit_status = -1;            // 0 or more: end the program now, through finish()

    bool has(unsigned flag) const { return (flags >> flag & 1u) != 0; }
};

// Names the running program (tool::begin) and reads the command line of the program `name`,
// whose --help text is `usage` and whose own flags are `flags` (at most 32). Messages are written here; the caller only ends the program
// when `exit_status` says so: `if (c.exit_status >= 0) return tool::finish(name, c.exit_status);`
inline CommandLine command_line(int argc, char** argv, const char* name, const char* usage,
                                std::initializer_list<const char*> flags = {}) {
    begin(name);
    CommandLine line;
    const char* operand = nullptr;
    bool options = true;
    for (int i = 1; i < argc; ++i) {
        const char* arg = argv[i];
        if (options && std::strcmp(arg, "--") == 0) {
            options = false;
            continue;
        }
        if (options && arg[0] == '-' && arg[1] != '\0') {
            char* info[] = {argv[0], argv[i]};
            if (info_option(2, info, name, usage)) {
                line.exit_status = 0;
                return line;
            }
            unsigned bit = 0;
            for (const char* flag : flags) {
                if (std::strcmp(arg, flag) == 0) break;
                ++bit;
            }
            if (bit == flags.size()) {  // an unknown option
                line.exit_status = 2;
                break;
            }
            line.flags |= 1u << bit;
            continue;
        }
        if (operand != nullptr) {
            line.exit_status = 2;
            break;
        }
        operand = arg;
    }
    if (line.exit_status == 2) {
        std::fprintf(stderr, "%.*s\n", static_cast<int>(std::strcspn(usage, "\n")), usage);
        return line;
    }
    if (operand != nullptr && std::strcmp(operand, "-") != 0) {
        line.file = operand;
        line.input = std::fopen(operand, "r");
        if (line.input == nullptr) {
            std::fprintf(stderr, "%s: cannot open '%s': %s\n", name, operand, std::strerror(errno));
            line.exit_status = 2;
        }
    }
    return line;
}

}  // namespace tool
