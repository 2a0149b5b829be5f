// One output buffer for a program's whole output, written straight to standard output when it
// fills up. On a terminal it is written out whenever the program ends a piece of output
// (done()), as line-buffered stdio would; the piece is a line for the classifier and the
// filters, a statement's lines for the translator. The first write that fails ends the
// program ("PROGRAM: write error: REASON", status 2), whatever input is left.
#pragma once

#include <cerrno>
#include <cstring>
#include <string_view>
#include <unistd.h>

#include "tool.hpp"

namespace output {

inline char buffer[1 << 16];
inline size_t used;
inline bool terminal = isatty(STDOUT_FILENO) == 1;

// Writes all of `text` to standard output, or ends the program.
inline void write_all(std::string_view text) {
    while (!text.empty()) {
        ssize_t n = ::write(STDOUT_FILENO, text.data(), text.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) tool::fatal("write error", n < 0 ? errno : EIO);
        text.remove_prefix(static_cast<size_t>(n));
    }
}

inline void flush() {
    size_t n = used;
    used = 0;  // taken before the write, so that a failure does not write it again
    write_all({buffer, n});
}

inline const bool flushed_before_fatal = (tool::before_fatal = flush, true);

inline void put(std::string_view text) {
    if (text.size() > sizeof buffer - used) {
        flush();
        if (text.size() > sizeof buffer) {
            write_all(text);
            return;
        }
    }
    std::memcpy(buffer + used, text.data(), text.size());
    used += text.size();
}

inline void done() {
    if (terminal) flush();
}

}  // namespace output
