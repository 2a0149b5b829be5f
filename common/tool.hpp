// What every program of the suite does at its edges: the --help and --version options, and
// reporting output that could not be written.
#pragma once

#include <cerrno>
#include <cstdio>
#include <cstring>

#ifndef GEOPROOF_VERSION
#error "GEOPROOF_VERSION must be defined by the build"
#endif

namespace tool {

// When `--help` or `--version` is the only argument, writes the usage text or the suite's
// name and version to standard output and returns true: the caller then ends the program
// through finish(). Any other command line is left alone and gives false.
inline bool info_option(int argc, char** argv, const char* name, const char* usage) {
    if (argc != 2) return false;
    if (std::strcmp(argv[1], "--help") == 0) {
        std::fputs(usage, stdout);
        return true;
    }
    if (std::strcmp(argv[1], "--version") == 0) {
        std::printf("%s (geoproof-tools) %s\n", name, GEOPROOF_VERSION);
        return true;
    }
    return false;
}

// Flushes standard output and gives the exit status: `status` when every byte reached its
// destination, otherwise 2 after one line "NAME: write error: REASON" on standard error.
inline int finish(const char* name, int status) {
    if (std::fflush(stdout) == 0 && !std::ferror(stdout)) return status;
    int reason = errno != 0 ? errno : EIO;
    std::fprintf(stderr, "%s: write error: %s\n", name, std::strerror(reason));
    return 2;
}

}  // namespace tool
