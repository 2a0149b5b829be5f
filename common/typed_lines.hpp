// Reading what is typed at a terminal: a line at a time, so that a scanner acts on each line as
// soon as it is entered instead of waiting for more.
#pragma once

#include <cstdio>

namespace typed_lines {

// Up to `size` bytes of the line being typed at `input`, its newline included: the number of
// bytes, 0 at the end of the input, -1 on a read error.
inline long read(std::FILE* input, char* buffer, long size) {
    int c = '*';
    long filled = 0;
    while (filled < size && (c = std::getc(input)) != EOF && c != '\n')
        buffer[filled++] = static_cast<char>(c);
    if (c == '\n') buffer[filled++] = '\n';
    if (c == EOF && std::ferror(input)) return -1;
    return filled;
}

}  // namespace typed_lines
