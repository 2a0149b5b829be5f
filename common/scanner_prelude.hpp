// What the translator's and the classifier's scanners share, included at the top of each rule
// file: how they read their input and how they end on a fatal error.
//
// From a file or a pipe a scanner reads with read(2) and hands over what has come as soon as it
// ends at a line's end, so that a line typed into a pipe is scanned as it arrives; otherwise it
// fills the buffer, since flex rescans a token from its start after every read that ends inside
// it, and a token far longer than the buffer would cost time quadratic in its length if the
// reads were short. (No token spans a line end.) The interactive scanner that a terminal gets
// reads a character at a time up to the line's end (typed_lines.hpp), as flex's own does.
#pragma once

#include <cerrno>
#include <climits>
#include <cstdio>
#include <unistd.h>

#include "io.hpp"
#include "output.hpp"
#include "tool.hpp"
#include "typed_lines.hpp"

namespace scanner_input {

// The last byte read (0 before the first): at the end of the input it tells whether the last
// line was ended.
inline char last_byte = 0;

inline long read(std::FILE* input, bool interactive, char* buffer, long size) {
    if (interactive) {
        long typed = typed_lines::read(input, buffer, size);
        if (typed < 0) tool::read_failed(errno);
        if (typed > 0) last_byte = buffer[typed - 1];
        return typed;
    }
    long filled = 0;
    while (filled < size && (filled == 0 || buffer[filled - 1] != '\n')) {
        long n = io::read_some(fileno(input), buffer + filled, static_cast<size_t>(size - filled));
        if (n > 0) {
            filled += n;
        } else if (n == 0) {
            break;
        } else {
            if (filled > 0) break;  // what came is scanned first; the next read fails again
            tool::read_failed(errno);
        }
    }
    if (filled > 0) last_byte = buffer[filled - 1];
    return filled;
}

}  // namespace scanner_input

/* The buffer is filled as far as it has room, not 8 KiB at a time (see above). */
#define YY_READ_BUF_SIZE INT_MAX
#define YY_INPUT(buffer, result, size) \
    (result) = scanner_input::read(yyin, YY_CURRENT_BUFFER_LVALUE->yy_is_interactive, buffer, size)
/* A fatal error names the program, after what is already written is written out. */
#define YY_FATAL_ERROR(message) yy_fatal_error(tool::fatal_message(message))
