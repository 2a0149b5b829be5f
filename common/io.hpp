// read(2) and write(2) as every program of the suite calls them: retried when a signal
// interrupts them, so that no caller has a loop of its own for that.
#pragma once

#include <cerrno>
#include <cstddef>
#include <string_view>
#include <unistd.h>

namespace io {

// Up to `size` bytes from `fd` into `buffer`: how many, 0 at the end of the input, -1 with
// errno set on an error.
inline long read_some(int fd, void* buffer, std::size_t size) {
    for (;;) {
        const ssize_t n = ::read(fd, buffer, size);
        if (n >= 0 || errno != EINTR) return static_cast<long>(n);
    }
}

// All of `text` to `fd`: 0 when every byte is written, otherwise the reason (an errno value).
inline int write_all(int fd, std::string_view text) {
    while (!text.empty()) {
        const ssize_t n = ::write(fd, text.data(), text.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return n < 0 ? errno : EIO;
        text.remove_prefix(static_cast<std::size_t>(n));
    }
    return 0;
}

}  // namespace io
