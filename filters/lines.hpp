// The inputs a filter program reads its report through.
#pragma once

#include <cstddef>
#include <cstdio>

#include "recogniser.hpp"

namespace filters {

// A report from a file or pipe.  Every line ends at its newline with the parser back at its
// start (a line either completes an entry or is skipped by the error rule), and no token spans a
// newline, so a complete line that the filter cannot recognise has no effect at all: it is
// dropped here without being scanned.  The scanner gets every complete line that the search
// picks, every line longer than the block as it is, and always the unterminated last line, on
// which the exit status depends.
class Blocks final : public Source {
public:
    Blocks(int fd, LineSearch search);

    // Hands over what there is up to the end of a line, or more when it can without waiting
    // for the input: a line is scanned as soon as it has arrived.  Inside a line it fills
    // `buffer` completely unless the input ends first, so that a token that outgrows the
    // scanner's buffer is rescanned only as often as that buffer doubles.
    long read(char* buffer, unsigned long size) override;

private:
    static constexpr std::size_t capacity = 256 * 1024;  // the most a block holds
    static constexpr std::size_t page = 4096;

    bool next_stretch(bool may_wait, bool may_pause);
    bool fill();
    void hand_over(const char* from, const char* to);

    int fd_;
    LineSearch search_;
    // Room for a block that starts anywhere in the first page, and for a search to read whole
    // 64-byte pieces past its end.
    alignas(page) char data_[page + capacity + 64];
    std::size_t begin_ = 0, end_ = 0;  // data_[begin_, end_) is not yet looked at
    std::size_t read_ = 0;             // how many bytes have been read
    const char* next_ = nullptr;       // a stretch handed over, not yet copied out
    std::size_t pending_ = 0;
    bool passing_ = false;             // inside a line longer than the block
    bool eof_ = false;
    int error_ = 0;                    // the reason a read failed
    bool live_;                        // not a regular file: reading may wait for the writer
    bool owed_ = false;                // the last byte handed over was a newline
};

// A report typed at a terminal: a line at a time, so that each line's output comes as it ends.
class TerminalLines final : public Source {
public:
    explicit TerminalLines(std::FILE* terminal) : terminal_(terminal) {}
    long read(char* buffer, unsigned long size) override;

private:
    std::FILE* terminal_;
    bool owed_ = false;  // a line was handed over whole
};

// Every byte of a descriptor, with no line left out: what the tests compare Blocks with.
class EveryLine final : public Source {
public:
    explicit EveryLine(int fd) : fd_(fd) {}
    long read(char* buffer, unsigned long size) override;

private:
    int fd_;
};

}  // namespace filters
