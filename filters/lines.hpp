// The inputs a filter's scanner reads a report through: one block reader, and the lines of its
// block that the filter's search picks.  A filter program reads its report through FileLines;
// report-table reads each report into one block and shows it to every recogniser (tabulator.cpp).
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>

#include "recogniser.hpp"

namespace filters {

// A report read from a descriptor into one block: what is not yet looked at stays, and more is
// read after it.
class BlockReader {
public:
    static constexpr std::size_t capacity = 256 * 1024;  // the most a block holds

    explicit BlockReader(int fd) { start(fd); }
    BlockReader(const BlockReader&) = delete;
    BlockReader& operator=(const BlockReader&) = delete;

    // Reads a new input from its start.
    void start(int fd);

    // The bytes not yet looked at, and room for a search to read 64 bytes past their end.
    const char* begin() const { return data_ + begin_; }
    const char* end() const { return data_ + end_; }
    // Whether they fill the block: then they are the start of a line longer than the block.
    bool full() const { return end_ - begin_ >= capacity; }
    bool at_end() const { return eof_; }
    int error() const { return error_; }  // the reason a read failed, 0 if none did

    // Keeps [from, end()) and reads once after it, unless it fills the block already.  True
    // when the block holds more than before or is full; false at the end of the input or on a
    // read error.
    bool fill(const char* from);
    // The same, reading until the block is full or the input ends.
    bool fill_up(const char* from);

private:
    static constexpr std::size_t page = 4096;

    int fd_ = -1;
    std::size_t begin_ = 0, end_ = 0;
    std::size_t read_ = 0;  // how many bytes have been read
    bool eof_ = false;
    int error_ = 0;
    // The block: room for one that starts anywhere in its first page, and for a search to read
    // whole 64-byte pieces past its end.  It starts at a page, found in the storage after the
    // members, rather than one declared aligned, which would give them a page of their own:
    // so they share one with what comes before, and a small input touches fewer pages.
    char* const data_ = storage_ + (-reinterpret_cast<std::uintptr_t>(storage_) & (page - 1));
    char storage_[page - 1 + page + capacity + 64];
};

// The lines of a stretch of a block that a filter's search picks, for its scanner: every
// complete line that the search picks, and at the end of the input the unterminated last line
// whole, on which the exit status depends.  Every line ends at its newline with the parser back
// at its start (a line either completes an entry or is skipped by the error rule), and no token
// spans a newline, so a complete line that the filter cannot recognise has no effect at all: it
// is dropped here without being scanned.  A line longer than the block is handed over as it
// is, a block at a time, each run of NUL bytes as one.  What comes after the stretch is
// more()'s to say.
class Lines : public Source {
public:
    explicit Lines(LineSearch search) : search_(search) {}

    // Hands over what there is up to the end of a line, or more when it can without waiting
    // for the input: a line is scanned as soon as it has arrived.  Inside a line it fills
    // `buffer` completely unless the input ends first, so that a token that outgrows the
    // scanner's buffer is rescanned only as often as that buffer doubles.
    long read(char* buffer, unsigned long size) override;

    // Shows the stretch [begin, limit), the last of the input when `last`; with `passing` it
    // continues a line longer than the block, and holds no newline unless at its end.
    void show(const char* begin, const char* limit, bool last, bool passing)
    {
        next_ = begin;
        limit_ = limit;
        last_ = last;
        passing_ = passing;
        piece_ = piece_end_ = nullptr;
    }

    // Whether anything of the stretch shown is to be scanned; finds the first piece to hand over.
    bool any() { return next_piece(false, false); }

    // Where this reader stands in the stretch shown: the first byte not yet looked at.
    const char* looked_at() const { return next_; }
    bool passing() const { return passing_; }

protected:
    ~Lines() = default;

    // Called when the stretch shown is used up, before its last line: shows the next one and
    // is true, or false when there is none yet; with `may_pause` it may pause instead (see
    // Source::resume).  It may set `error` to why the input cannot be read.
    virtual bool more(bool may_pause) = 0;

    // Pauses the parse between two lines, where reading on would have to wait.
    void pause_between_lines()
    {
        after_newline_ = false;
        pause();
    }

    int error = 0;

private:
    bool next_piece(bool may_wait, bool may_pause);
    void hand_over(const char* from, const char* to)
    {
        piece_ = from;
        piece_end_ = next_ = to;
    }

    LineSearch search_;
    const char* next_ = nullptr;   // [next_, limit_) is the rest of the stretch shown
    const char* limit_ = nullptr;
    bool last_ = false;            // nothing comes after limit_
    bool passing_ = false;         // inside a line longer than the block
    const char* piece_ = nullptr;  // [piece_, piece_end_): handed over, not yet copied out
    const char* piece_end_ = nullptr;
    bool after_newline_ = false;   // the last byte handed over was a newline
};

// A report from a file or pipe, read a block at a time.  On live input (a pipe, a terminal
// that is not read as one) the parse pauses between lines when nothing more has come, so that
// the lines read are answered at once.
class FileLines final : public Lines {
public:
    FileLines(int fd, LineSearch search);

private:
    bool more(bool may_pause) override;

    int fd_;
    bool may_wait_for_writer_;  // not a regular file: reading may wait for the writer
    BlockReader block_;         // last, as its block is last in it
};

// A report typed at a terminal: a line at a time, so that each line's output comes as it ends.
class TerminalLines final : public Source {
public:
    explicit TerminalLines(std::FILE* terminal) : terminal_(terminal) {}
    long read(char* buffer, unsigned long size) override;

private:
    std::FILE* terminal_;
    bool line_handed_over_ = false;  // a whole line was handed over: its answer comes next
};

// Every byte of a descriptor, with no line left out: what the tests compare FileLines with.
class UnsiftedInput final : public Source {
public:
    explicit UnsiftedInput(int fd) : fd_(fd) {}
    long read(char* buffer, unsigned long size) override;

private:
    int fd_;
};

}  // namespace filters
