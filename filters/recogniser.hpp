// What every filter is made of.  A filter is a recogniser: its scanner and parser, generated from
// its rule files with names of their own, so that all of them can live in one process.  It reads
// bytes from a Source and hands each line the filter writes to a Sink; the filter programs write
// those lines to standard output, report-table keeps them for its cells.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

#include "phrase.hpp"

namespace filters {

// The scanner's input (its YY_INPUT): up to `size` bytes into `buffer`, 0 at the end of the
// input, -1 on a read error.
class Source {
public:
    virtual long read(char* buffer, unsigned long size) = 0;

    // The scanners read one byte past each token before they act on it, so a line's newline
    // takes effect only once the next byte has come.  Input that arrives as it is written may
    // therefore end a parse early, between two lines, where reading on would wait: the line
    // read so far is answered at once.  Then resume() is true and the parse starts again, as
    // it may at any line's end; after the real end of the input it is false.
    bool resume()
    {
        const bool paused = paused_;
        paused_ = false;
        return paused;
    }

protected:
    ~Source() = default;

    // What read() returns to end the parse early.
    long pause()
    {
        paused_ = true;
        return 0;
    }

private:
    bool paused_ = false;
};

// A scanner's own data (its yyextra): the source it reads, and room for the text of a token
// whose value must outlive the scanner's buffer (a step count too long for an int).
struct ScannerData {
    Source* source = nullptr;
    std::string kept;
};

// Where a recogniser's output goes, one line at a time, without its newline.
class Sink {
public:
    virtual void line(std::string_view text) = 0;

protected:
    ~Sink() = default;
};

// The contract of a filter's line search (its `find_line`): finds the first complete line in
// [begin, limit) that the filter may recognise, returns its newline and sets `start` to its
// first byte.  When there is none, returns nullptr and sets `start` to the first byte of the
// unfinished line at the end (`limit` when the stretch ends with a newline).  It may pick a line
// that turns out not to be recognised, but must never pass over one that is: every line that
// ends at its newline leaves the parser back at its start, so a line that the search passes
// over may be dropped unscanned.  The 64 bytes after `limit` may be read.
using LineSearch = const char* (*)(const char* begin, const char* limit, const char*& start);

// No rule of any filter has a NUL byte in a token: a NUL is a byte the scanner skips on its
// own, like any other byte no token starts with.  So a run of NUL bytes is scanned as well
// as one NUL byte, which is what the readers hand over (the scanner takes each NUL byte on a
// slow path of its own).  Copies bytes from [from, from_end) to `to` until either those run
// out or `size` bytes are written, with each run of NUL bytes as one; moves `from` on past
// what it took and returns how many bytes it wrote.
std::size_t copy_squeezing_nuls(const char*& from, const char* from_end, char* to,
                                std::size_t size);

// One filter's scanner and parser, made once and run over any number of inputs.
class Recogniser {
public:
    explicit Recogniser(LineSearch search) : find_line(search) {}
    virtual ~Recogniser() = default;
    Recogniser(const Recogniser&) = delete;
    Recogniser& operator=(const Recogniser&) = delete;

    // Scans and parses `source` to its end.  Returns the parser's result: 0 at the end of the
    // input, 1 when it gave up there inside an unfinished line, 2 when its stack ran out.
    virtual int parse(Source& source, Sink& sink) = 0;

    // A report's parses share what it leaves behind beyond its lines (proof-status: the last
    // outcome read): start_report() forgets the last report's, end_report() writes what the
    // filter writes once the whole report has been read.
    virtual void start_report() = 0;
    virtual void end_report(Sink& sink) = 0;

    const LineSearch find_line;
};

// The recogniser a filter program is built from: each recogniser registers its maker as the
// program starts, and a filter program links exactly one.
using Maker = std::unique_ptr<Recogniser> (*)();
inline Maker registered_maker = nullptr;
struct Registration {
    explicit Registration(Maker make) { registered_maker = make; }
};

}  // namespace filters
