// What every program of the suite does at its edges: its messages on standard error, and ending
// with one when something it cannot go on without fails: output that cannot be written, input
// that cannot be read, memory that cannot be had.
#pragma once

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <new>
#include <string>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>

#include "io.hpp"
#include "quote.hpp"

#ifndef GEOPROOF_VERSION
#error "GEOPROOF_VERSION must be defined by the build"
#endif

namespace tool {

// The running program's name, for its messages; begin() sets it.
inline const char* program = "geoproof-tools";

// What has to be written out before a fatal message (the output buffer registers itself).
inline void (*before_fatal)() = nullptr;

// The name of the file the program's scanner reads, for its read error; null for standard input.
inline const char* input_name = nullptr;

// A message that cannot be written is lost output: the program ends at once, status 2, after
// writing out what it still can.
[[noreturn]] inline void message_lost() {
    if (void (*write_out)() = before_fatal) {
        before_fatal = nullptr;  // a failure there comes back here, and ends
        write_out();
    }
    std::exit(2);
}

// Writes `text` to standard error as it is, in one piece where it can.
inline void write_message(std::string_view text) {
    if (io::write_all(STDERR_FILENO, text) != 0) message_lost();
}

// One line on standard error: "PROGRAM: NAME: WHAT: REASON", each part there when given (NAME
// quoted as quote() shows names; REASON the text of the `error` number).
inline void say(const char* name, std::string_view what, int error = 0) {
    std::string line = program;
    line += ": ";
    if (name != nullptr) line += quote(name) + ": ";
    line += what;
    if (error != 0) line.append(": ").append(std::strerror(error));
    line += '\n';
    write_message(line);
}

// Ends the program with status 2 after writing out what it had to write and one line
// "PROGRAM: WHAT" on standard error, or "PROGRAM: WHAT: REASON" for an `error` number.
[[noreturn]] inline void fatal(const char* what, int error = 0) {
    if (void (*write_out)() = before_fatal) {
        before_fatal = nullptr;
        write_out();
    }
    say(nullptr, what, error);
    std::exit(2);
}

// The scanner's input cannot be read: "PROGRAM: [NAME: ]input in flex scanner failed: REASON".
[[noreturn]] inline void read_failed(int error) {
    if (void (*write_out)() = before_fatal) {
        before_fatal = nullptr;
        write_out();
    }
    say(input_name, "input in flex scanner failed", error);
    std::exit(2);
}

// The same line for a caller that writes it and exits itself (a scanner's fatal error): writes
// out what there is to write and gives "PROGRAM: WHAT".
inline const char* fatal_message(const char* what) {
    static char line[256];
    if (void (*write_out)() = before_fatal) {
        before_fatal = nullptr;
        write_out();
    }
    std::snprintf(line, sizeof line, "%s: %s", program, what);
    return line;
}

// Names the running program, and makes running out of memory anywhere end it with a message.
// A standard stream that was closed gets /dev/null, opened the wrong way round so that using it
// fails as before (reading standard output, writing standard input): no file the program opens
// can then take the number of a standard stream and be read or written as one.
inline void begin(const char* name) {
    program = name;
    for (int fd = STDIN_FILENO; fd <= STDERR_FILENO; ++fd)
        if (fcntl(fd, F_GETFD) < 0 && errno == EBADF &&
            open("/dev/null", fd == STDIN_FILENO ? O_WRONLY : O_RDONLY) != fd)
            std::exit(2);
    std::set_new_handler([] { fatal("out of memory"); });
}

// A block of `size` bytes from malloc; out of memory ends the program as above.
inline void* allocate(std::size_t size) {
    void* block = std::malloc(size);
    if (block == nullptr) fatal("out of memory");
    return block;
}

// Whether reading `fd` would read what the program writes: the same regular file as standard
// output, with bytes still to come after where it stands, as cat refuses ("input file is output
// file"). Reading on would read the program's own output again, without end.
inline bool reads_own_output(int fd) {
    struct stat in, out;
    return fstat(fd, &in) == 0 && fstat(STDOUT_FILENO, &out) == 0 && S_ISREG(in.st_mode) &&
           S_ISREG(out.st_mode) && in.st_dev == out.st_dev && in.st_ino == out.st_ino &&
           lseek(fd, 0, SEEK_CUR) < in.st_size;
}

// Flushes standard output and gives the exit status: `status` when every byte reached its
// destination, otherwise 2 after one line "NAME: write error: REASON" on standard error.
inline int finish(int status) {
    if (std::fflush(stdout) == 0 && !std::ferror(stdout)) return status;
    say(nullptr, "write error", errno != 0 ? errno : EIO);
    return 2;
}

// Widens a pipe that `fd` reads to 256 KiB, where the system allows it (Linux, up to
// /proc/sys/fs/pipe-max-size), rather than the usual 64 KiB: the program and the pipe's writer
// then take turns less often, and a report comes through a pipe faster.  Each user's pipes
// share a quota (/proc/sys/fs/pipe-user-pages-soft; 64 MiB by default), past which every new
// pipe of that user gets a single page, so a pipe is never widened past a 256th of it: many
// programs reading pipes at once leave the rest to the user's other pipes.  Nothing else
// changes for either end; where the pipe cannot be widened, it stays as it is.
inline void widen_pipe(int fd) {
#ifdef F_SETPIPE_SZ
    struct stat status;
    if (fstat(fd, &status) != 0 || !S_ISFIFO(status.st_mode)) return;
    long wide = 256 << 10;
    const int quota = ::open("/proc/sys/fs/pipe-user-pages-soft", O_RDONLY | O_CLOEXEC);
    if (quota >= 0) {
        char text[32];
        const long n = io::read_some(quota, text, sizeof text - 1);
        ::close(quota);
        text[n > 0 ? n : 0] = '\0';
        const long pages = std::strtol(text, nullptr, 10);
        if (pages > 0) wide = std::min(wide, pages / 256 * sysconf(_SC_PAGESIZE));
    }
    if (fcntl(fd, F_GETPIPE_SZ) < wide) fcntl(fd, F_SETPIPE_SZ, static_cast<int>(wide));
#else
    (void)fd;
#endif
}

}  // namespace tool
