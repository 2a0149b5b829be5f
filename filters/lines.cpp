#include "lines.hpp"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <unistd.h>

namespace filters {

const char* phrase_line(const char* begin, const char* limit, const char*& start,
                        std::string_view phrase)
{
    auto size = static_cast<std::size_t>(limit - begin);
    auto found = static_cast<const char*>(memmem(begin, size, phrase.data(), phrase.size()));
    auto before = static_cast<const char*>(memrchr(begin, '\n', (found ? found : limit) - begin));
    start = before ? before + 1 : begin;
    return found ? static_cast<const char*>(std::memchr(found, '\n', limit - found)) : nullptr;
}

long Blocks::read(char* buffer, unsigned long size)
{
    std::size_t filled = 0;
    while (filled < size) {
        if (pending_ == 0 && !next_stretch(filled == 0 || buffer[filled - 1] != '\n')) break;
        std::size_t n = std::min(pending_, size - filled);
        std::memcpy(buffer + filled, next_, n);
        next_ += n;
        pending_ -= n;
        filled += n;
    }
    if (filled == 0 && error_ != 0) {
        errno = error_;
        return -1;
    }
    return static_cast<long>(filled);
}

void Blocks::hand_over(const char* from, const char* to)
{
    next_ = from;
    pending_ = static_cast<std::size_t>(to - from);
    begin_ = static_cast<std::size_t>(to - data_);
}

// Finds the next stretch the scanner must see; false at end of input, on a read error, or when
// it would have to read on and may not wait.
bool Blocks::next_stretch(bool may_wait)
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
        if (!may_wait || !fill()) return false;
    }
}

// Reads more after what is left of the block; false at end of input or on a read error.
bool Blocks::fill()
{
    std::memmove(data_, data_ + begin_, end_ - begin_);
    end_ -= begin_;
    begin_ = 0;
    if (end_ == capacity) {
        passing_ = true;
        return true;
    }
    if (eof_) return false;
    for (;;) {
        ssize_t n = ::read(fd_, data_ + end_, capacity - end_);
        if (n > 0) {
            end_ += static_cast<std::size_t>(n);
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

long TerminalLines::read(char* buffer, unsigned long size)
{
    int c = '*';
    std::size_t n = 0;
    while (n < size && (c = std::getc(terminal_)) != EOF && c != '\n')
        buffer[n++] = static_cast<char>(c);
    if (c == '\n') buffer[n++] = '\n';
    if (c == EOF && std::ferror(terminal_)) return -1;
    return static_cast<long>(n);
}

long EveryLine::read(char* buffer, unsigned long size)
{
    for (;;) {
        ssize_t n = ::read(fd_, buffer, size);
        if (n >= 0 || errno != EINTR) return static_cast<long>(n < 0 ? -1 : n);
    }
}

}  // namespace filters
