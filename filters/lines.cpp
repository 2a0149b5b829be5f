#include "lines.hpp"

#include "io.hpp"
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

void BlockReader::start(int fd)
{
    fd_ = fd;
    begin_ = end_ = read_ = 0;
    eof_ = false;
    error_ = 0;
}

// What is kept moves to where the next byte read lands at the same place in a page of the
// block as in a page of the file: copying into a place a little past that is several times
// slower on some processors (the copy's loads and stores collide in their low address bits).
bool BlockReader::fill(const char* from)
{
    const std::size_t keep = static_cast<std::size_t>(from - data_);
    const std::size_t left = end_ - keep;
    const std::size_t to = left >= capacity ? 0 : (read_ - left) % page;
    if (to != keep) std::memmove(data_ + to, data_ + keep, left);
    begin_ = to;
    end_ = to + left;
    if (left >= capacity) return true;
    if (eof_) return false;
    const long n = io::read_some(fd_, data_ + end_, capacity - left);
    if (n > 0) {
        end_ += static_cast<std::size_t>(n);
        read_ += static_cast<std::size_t>(n);
        return true;
    }
    if (n == 0)
        eof_ = true;
    else
        error_ = errno;
    return false;
}

bool BlockReader::fill_up(const char* from)
{
    if (!fill(from)) return false;
    while (!full() && fill(begin())) {
    }
    return true;
}

long Lines::read(char* buffer, unsigned long size)
{
    std::size_t filled = 0;
    while (filled < size) {
        const bool inside_line = filled != 0 && buffer[filled - 1] != '\n';
        if (piece_ == piece_end_ &&
            !next_piece(filled == 0 || inside_line, filled == 0 && after_newline_))
            break;
        filled += copy_squeezing_nuls(piece_, piece_end_, buffer + filled, size - filled);
    }
    if (filled == 0 && error != 0) {
        if (after_newline_) {  // the lines read so far are answered before the error
            after_newline_ = false;
            return pause();
        }
        errno = error;
        return -1;
    }
    if (filled != 0) after_newline_ = buffer[filled - 1] == '\n';
    return static_cast<long>(filled);
}

// Finds the next piece the scanner must see; false at the end of the input, or when the
// stretch shown is used up and either it may not wait or more() shows nothing.
bool Lines::next_piece(bool may_wait, bool may_pause)
{
    for (;;) {
        if (passing_) {
            if (next_ != limit_) {
                auto newline = static_cast<const char*>(
                    std::memchr(next_, '\n', static_cast<std::size_t>(limit_ - next_)));
                passing_ = newline == nullptr;
                hand_over(next_, newline ? newline + 1 : limit_);
                return true;
            }
            if (last_) return false;
        } else {
            const char* start;
            if (const char* newline = search_(next_, limit_, start)) {
                hand_over(start, newline + 1);
                return true;
            }
            // [start, limit_) is the start of a line whose end is not in the stretch.
            next_ = start;
            if (last_) {
                if (next_ == limit_) return false;
                hand_over(next_, limit_);
                return true;
            }
        }
        if (!may_wait || !more(may_pause)) return false;
    }
}

FileLines::FileLines(int fd, LineSearch search) : Lines(search), fd_(fd), block_(fd)
{
    struct stat status;
    may_wait_for_writer_ = fstat(fd, &status) != 0 || !S_ISREG(status.st_mode);
    tool::widen_pipe(fd);
    show(block_.begin(), block_.end(), false, false);
}

bool FileLines::more(bool may_pause)
{
    if (may_pause && may_wait_for_writer_ && !readable(fd_)) {
        pause_between_lines();
        return false;
    }
    if (!block_.fill(looked_at()) && block_.error() != 0) {
        error = block_.error();
        return false;
    }
    show(block_.begin(), block_.end(), block_.at_end(), passing() || block_.full());
    return true;
}

// After each whole line the parse pauses, so that the line is answered before the next is typed.
long TerminalLines::read(char* buffer, unsigned long size)
{
    if (line_handed_over_) {
        line_handed_over_ = false;
        return pause();
    }
    const long n = typed_lines::read(terminal_, buffer, static_cast<long>(size));
    line_handed_over_ = n > 0 && buffer[n - 1] == '\n';
    return n;
}

long UnsiftedInput::read(char* buffer, unsigned long size)
{
    return io::read_some(fd_, buffer, size);
}

}  // namespace filters
