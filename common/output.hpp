// One output buffer for a program's whole output, written straight to standard output when it
// fills up. On a terminal, or with --line-buffered, it is written out whenever the program ends
// a piece of output (done()), as line-buffered stdio would; the piece is a line for the
// classifier and the filters, a statement's lines for the translator, a row for the tables.
// The first write that fails ends the program ("PROGRAM: write error: REASON", status 2),
// whatever input is left.
#pragma once

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <string_view>
#include <unistd.h>

#include "io.hpp"
#include "tool.hpp"

namespace output {

inline char buffer[1 << 16];
inline size_t used;
inline bool terminal = isatty(STDOUT_FILENO) == 1;
inline bool line_buffered = terminal;  // or --line-buffered

// Writes all of `text` to standard output, or ends the program.
inline void write_all(std::string_view text) {
    if (int error = io::write_all(STDOUT_FILENO, text)) tool::fatal("write error", error);
}

inline void flush() {
    size_t n = used;
    used = 0;  // taken before the write, so that a failure does not write it again
    write_all({buffer, n});
}

inline const bool flushed_before_fatal = (tool::before_fatal = flush, true);

// memcpy without a call for the short pieces most output is made of: two overlapping copies
// of 16, 8 or 4 bytes, or up to three single bytes.
inline void copy(char* to, const char* from, size_t n) {
    auto two = [&](auto word) {
        constexpr size_t size = sizeof word;
        std::memcpy(&word, from, size);
        std::memcpy(to, &word, size);
        std::memcpy(&word, from + n - size, size);
        std::memcpy(to + n - size, &word, size);
    };
    struct Sixteen {
        std::uint64_t low, high;
    };
    if (n > 32)
        std::memcpy(to, from, n);
    else if (n >= 16)
        two(Sixteen{});
    else if (n >= 8)
        two(std::uint64_t{});
    else if (n >= 4)
        two(std::uint32_t{});
    else if (n > 0) {
        to[0] = from[0];
        to[n / 2] = from[n / 2];
        to[n - 1] = from[n - 1];
    }
}

inline void put(std::string_view text) {
    if (text.size() > sizeof buffer - used) {
        flush();
        if (text.size() > sizeof buffer) {
            write_all(text);
            return;
        }
    }
    copy(buffer + used, text.data(), text.size());
    used += text.size();
}

// The pieces one after another, as put() would put them, with one look for room.
inline void put(std::initializer_list<std::string_view> pieces) {
    size_t size = 0;
    for (std::string_view piece : pieces)
        size += piece.size();
    if (size > sizeof buffer - used) {
        for (std::string_view piece : pieces)
            put(piece);
        return;
    }
    for (std::string_view piece : pieces) {
        copy(buffer + used, piece.data(), piece.size());
        used += piece.size();
    }
}

// Room for `size` more bytes, at most the buffer's size, after what the buffer holds, which is
// written out first if need be; where the bytes go. wrote() then takes them up to `end`.
inline char* room(size_t size) {
    if (size > sizeof buffer - used) flush();
    return buffer + used;
}

inline void wrote(const char* end) { used = static_cast<size_t>(end - buffer); }

inline void done() {
    if (line_buffered) flush();
}

}  // namespace output
