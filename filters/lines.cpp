#include "lines.hpp"

#include "tool.hpp"
#include "typed_lines.hpp"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

namespace filters {

namespace {

// Whether reading `fd` would return at once.
bool readable(int fd)
{
    pollfd wait_for{fd, POLLIN, 0};
    return poll(&wait_for, 1, 0) != 0;
}

}  // namespace

std::size_t copy_squeezing_nuls(const char*& from, const char* from_end, char* to,
                                std::size_t size)
{
    static constexpr char zeros[256] = {};
    char* const to_begin = to;
    char* const to_end = to + size;
    while (from < from_end && to < to_end) {
        auto n = static_cast<std::size_t>(std::min(from_end - from, to_end - to));
        auto nul = static_cast<const char*>(std::memchr(from, '\0', n));
        std::size_t k = nul ? static_cast<std::size_t>(nul - from) + 1 : n;
        std::memcpy(to, from, k);
        to += k;
        from += k;
        if (!nul) continue;
        while (from_end - from >= 256 && std::memcmp(from, zeros, 256) == 0) from += 256;
        while (from < from_end && *from == '\0') ++from;
    }
    return static_cast<std::size_t>(to - to_begin);
}

Blocks::Blocks(int fd, LineSearch search) : fd_(fd), search_(search)
{
    struct stat status;
    live_ = fstat(fd, &status) != 0 || !S_ISREG(status.st_mode);
    tool::widen_pipe(fd);
}

long Blocks::read(char* buffer, unsigned long size)
{
    std::size_t filled = 0;
    while (filled < size) {
        const bool inside_line = filled != 0 && buffer[filled - 1] != '\n';
        if (pending_ == 0 && !next_stretch(filled == 0 || inside_line, filled == 0 && owed_))
            break;
        const char* from = next_;
        filled += copy_squeezing_nuls(from, next_ + pending_, buffer + filled, size - filled);
        pending_ -= static_cast<std::size_t>(from - next_);
        next_ = from;
    }
    if (filled == 0 && error_ != 0) {
        if (owed_) {  // the lines read so far are answered before the error
            owed_ = false;
            return pause();
        }
        errno = error_;
        return -1;
    }
    if (filled != 0) owed_ = buffer[filled - 1] == '\n';
    return static_cast<long>(filled);
}

void Blocks::hand_over(const char* from, const char* to)
{
    next_ = from;
    pending_ = static_cast<std::size_t>(to - from);
    begin_ = static_cast<std::size_t>(to - data_);
}

// Finds the next stretch the scanner must see; false at end of input, on a read error, or when
// it would have to read on and may not wait.  With `may_pause`, when the input is live and has
// nothing to read yet, it pauses (see Source::resume) rather than wait.
bool Blocks::next_stretch(bool may_wait, bool may_pause)
{
    for (;;) {
        char* b = data_ + begin_;
        char* e = data_ + end_;
        if (passing_ && b != e) {
            auto nl = static_cast<char*>(std::memchr(b, '\n', e - b));
            passing_ = nl == nullptr;
            hand_over(b, nl ? nl + 1 : e);
            return true;
        }
        if (!passing_) {
            const char* start;
            if (const char* nl = search_(b, e, start)) {
                hand_over(start, nl + 1);
                return true;
            }
            begin_ = static_cast<std::size_t>(start - data_);
            // data_[begin_, end_) is now the start of a line whose end is still unread.
            if (eof_) {
                if (begin_ == end_) return false;
                hand_over(data_ + begin_, e);
                return true;
            }
        }
        if (!may_wait) return false;
        if (may_pause && live_ && !readable(fd_)) {
            owed_ = false;
            pause();
            return false;
        }
        if (!fill()) return false;
    }
}

// Reads more after what is left of the block; false at end of input or on a read error.  What
// is left moves to where the next byte read lands at the same place in a page of the block as
// in a page of the file: copying into a place a little past that is several times slower on
// some processors (the copy's loads and stores collide in their low address bits).
bool Blocks::fill()
{
    const std::size_t left = end_ - begin_;
    const std::size_t to = left >= capacity ? 0 : (read_ - left) % page;
    std::memmove(data_ + to, data_ + begin_, left);
    begin_ = to;
    end_ = to + left;
    if (left >= capacity) {
        passing_ = true;
        return true;
    }
    if (eof_) return false;
    for (;;) {
        ssize_t n = ::read(fd_, data_ + end_, capacity - left);
        if (n > 0) {
            end_ += static_cast<std::size_t>(n);
            read_ += static_cast<std::size_t>(n);
            return true;
        }
        if (n == 0) {
            eof_ = true;
            return !passing_;
        }
        if (errno != EINTR) {
            error_ = errno;
            return false;
        }
    }
}

// After each whole line the parse pauses, so that the line is answered before the next is typed.
long TerminalLines::read(char* buffer, unsigned long size)
{
    if (owed_) {
        owed_ = false;
        return pause();
    }
    const long n = typed_lines::read(terminal_, buffer, static_cast<long>(size));
    owed_ = n > 0 && buffer[n - 1] == '\n';
    return n;
}

long EveryLine::read(char* buffer, unsigned long size)
{
    for (;;) {
        ssize_t n = ::read(fd_, buffer, size);
        if (n >= 0 || errno != EINTR) return static_cast<long>(n < 0 ? -1 : n);
    }
}

}  // namespace filters
