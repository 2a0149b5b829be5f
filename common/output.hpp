// One output buffer for a program's whole output, written with fwrite when it fills up. On a
// terminal it is written out whenever the program ends a piece of output (done()), as
// line-buffered stdio would; the piece is a line for the classifier, a statement's lines for
// the translator.
#pragma once

#include <cstdio>
#include <cstring>
#include <string_view>
#include <unistd.h>

namespace output {

inline char buffer[1 << 16];
inline size_t used;
inline bool terminal = isatty(STDOUT_FILENO) == 1;

inline void flush() {
    std::fwrite(buffer, 1, used, stdout);
    used = 0;
}

inline void put(std::string_view text) {
    if (text.size() > sizeof buffer - used) {
        flush();
        if (text.size() > sizeof buffer) {
            std::fwrite(text.data(), 1, text.size(), stdout);
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
