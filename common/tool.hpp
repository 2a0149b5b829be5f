// What every program of the suite does at its edges: the --help and --version options, and
// ending with a message when something it cannot go on without fails: output that cannot be
// written, input that cannot be read, memory that cannot be had.
#pragma once

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <new>
#include <sys/stat.h>

#ifndef GEOPROOF_VERSION
#error "GEOPROOF_VERSION must be defined by the build"
#endif

namespace tool {

// The running program's name, for its messages; begin() sets it.
inline const char* program = "geoproof-tools";

// What has to be written out before a fatal message (the output buffer registers itself).
inline void (*before_fatal)() = nullptr;

// Ends the program with status 2 after writing out what it had to write and one line
// "PROGRAM: WHAT" on standard error, or "PROGRAM: WHAT: REASON" for an `error` number.
[[noreturn]] inline void fatal(const char* what, int error = 0) {
    if (before_fatal != nullptr) before_fatal();
    if (error != 0)
        std::fprintf(stderr, "%s: %s: %s\n", program, what, std::strerror(error));
    else
        std::fprintf(stderr, "%s: %s\n", program, what);
    std::exit(2);
}

// The same line for a caller that writes it and exits itself (a scanner's fatal error): writes
// out what there is to write and gives "PROGRAM: WHAT".
inline const char* fatal_message(const char* what) {
    static char line[256];
    if (before_fatal != nullptr) before_fatal();
    std::snprintf(line, sizeof line, "%s: %s", program, what);
    return line;
}

// Names the running program, and makes running out of memory anywhere end it with a message.
inline void begin(const char* name) {
    program = name;
    std::set_new_handler([] { fatal("out of memory"); });
}

// A block of `size` bytes from malloc; out of memory ends the program as above.
inline void* allocate(std::size_t size) {
    void* block = std::malloc(size);
    if (block == nullptr) fatal("out of memory");
    return block;
}

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

// Widens a pipe that `fd` reads to 1 MiB, where the system allows it (Linux, up to
// /proc/sys/fs/pipe-max-size), rather than the usual 64 KiB: the program and the pipe's writer
// then take turns far less often, and a report comes through a pipe about three times as fast.
// Nothing else changes for either end; where the pipe cannot be widened, it stays as it is.
inline void widen_pipe(int fd) {
#ifdef F_SETPIPE_SZ
    constexpr int wide = 1 << 20;
    struct stat status;
    if (fstat(fd, &status) == 0 && S_ISFIFO(status.st_mode) && fcntl(fd, F_GETPIPE_SZ) < wide)
        fcntl(fd, F_SETPIPE_SZ, wide);
#else
    (void)fd;
#endif
}

}  // namespace tool
