// Driver shared by every prover-log filter: one parse over standard input, nothing else.
#include "frame.hpp"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <unistd.h>

#include "tool.hpp"

int parse_result(int parsed) { return parsed; }
int always_success(int) { return 0; }

// A line that holds the filter's search text.
const char* phrase_line(const char* begin, const char* limit, const char*& start)
{
    static constexpr const char text[] = FILTER_FIND;
    auto size = static_cast<std::size_t>(limit - begin);
    auto found = static_cast<const char*>(memmem(begin, size, text, sizeof text - 1));
    auto before = static_cast<const char*>(memrchr(begin, '\n', (found ? found : limit) - begin));
    start = before ? before + 1 : begin;
    return found ? static_cast<const char*>(std::memchr(found, '\n', limit - found)) : nullptr;
}

// The ending this filter was built with (parse_result, always_success or its own).
int FILTER_END(int parsed);
// How this filter finds the lines it may recognise (phrase_line or its own).
const char* FILTER_SEARCH(const char* begin, const char* limit, const char*& start);

namespace {

// What --help says of each filter: the lines it looks for and what it writes for each.
struct Summary {
    const char* name;
    const char* looks_for;
    const char* writes;
};

const Summary summaries[] = {
    {"prover-time", "\"Time spent by the prover is N seconds\"", "N as %f"},
    {"prover-time-colon", "\"Time spent by the prover: N seconds\"", "N as %f"},
    {"clock-seconds", "a clock reading M:SS.cc", "M*60 + SS + cc/100 as %f"},
    {"algebraic-steps", "\"Number of algebraic proof steps: N\"", "N"},
    {"elimination-steps", "\"Number of elimination proof steps: N\"", "N"},
    {"total-steps", "\"Total number of proof steps: N\"", "N"},
    {"geometric-steps", "\"Number of geometric proof steps: N\"", "N"},
    {"proved-flag", "\"The conjecture has been proved.\"", "1"},
    {"proof-status", "the six outcome sentences \"The conjecture ...\"",
     "once, at the end, the code (1-6) of the last one; 3 if there is none"},
    {"error-kind", "\"Syntax error\" or \"Run-time error\"",
     "\"Syntax Error\" or \"Semantic Error\", then an empty line"},
    {"runtime-error-flag", "\"Run-time error\"", "\"Semantic Error\", then an empty line"},
    {"syntax-error-flag", "\"Syntax error\"", "\"Syntax Error\", then an empty line"},
};

std::string usage() {
    std::string text = "Usage: " FILTER_NAME " < REPORT\n"
                       "Read a prover report on standard input and pick out its lines of interest.\n";
    for (const auto& s : summaries) {
        if (std::strcmp(s.name, FILTER_NAME) != 0) continue;
        text = text + "Looks for: " + s.looks_for + "\nWrites:    " + s.writes + "\n";
    }
    text += "Other lines are skipped silently.\nExit status: ";
    if (FILTER_END == parse_result)
        text += "0 when the report was read to its end; 1 when it ended, without a final\n"
                "newline, in a line holding a token; 2 on a read or write error.\n";
    else
        text += "0; 2 on a read or write error.\n";
    return text;
}

// Input from a file or pipe.  Every line ends at its newline with the parser back at `report`
// (a line either completes an entry or is skipped by the error rule), and no token spans a
// newline, so a complete line that the filter cannot recognise has no effect at all: it is
// dropped here without being scanned.  The scanner gets every complete line that FILTER_SEARCH
// picks, every line longer than the block as it is, and always the unterminated last line, on
// which the exit status depends.
class Blocks {
public:
    // Fills `buffer` completely unless the input ends first, so that a token that outgrows
    // the scanner's buffer is rescanned only as often as that buffer doubles.
    long read(char* buffer, std::size_t size) {
        std::size_t filled = 0;
        while (filled < size) {
            if (pending_ == 0 && !next_stretch()) break;
            std::size_t n = std::min(pending_, size - filled);
            std::memcpy(buffer + filled, next_, n);
            next_ += n;
            pending_ -= n;
            filled += n;
        }
        if (filled == 0 && error_) return -1;
        return static_cast<long>(filled);
    }

private:
    static constexpr std::size_t capacity = 256 * 1024;

    char data_[capacity + 64];  // room for a search to read whole 64-byte pieces past the end
    std::size_t begin_ = 0, end_ = 0;  // data_[begin_, end_) is not yet looked at
    const char* next_ = nullptr;       // a stretch handed over, not yet copied out
    std::size_t pending_ = 0;
    bool passing_ = false;             // inside a line longer than the block
    bool eof_ = false, error_ = false;

    void hand_over(const char* from, const char* to) {
        next_ = from;
        pending_ = static_cast<std::size_t>(to - from);
        begin_ = static_cast<std::size_t>(to - data_);
    }

    // Finds the next stretch the scanner must see; false at end of input or on a read error.
    bool next_stretch() {
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
                if (const char* nl = FILTER_SEARCH(b, e, start)) {
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
            if (!fill()) return false;
        }
    }

    // Reads more after what is left of the block; false at end of input or on a read error.
    bool fill() {
        std::memmove(data_, data_ + begin_, end_ - begin_);
        end_ -= begin_;
        begin_ = 0;
        if (end_ == capacity) {
            passing_ = true;
            return true;
        }
        if (eof_) return false;
        for (;;) {
            ssize_t n = ::read(0, data_ + end_, capacity - end_);
            if (n > 0) {
                end_ += static_cast<std::size_t>(n);
                return true;
            }
            if (n == 0) {
                eof_ = true;
                return !passing_;
            }
            if (errno != EINTR) {
                error_ = true;
                return false;
            }
        }
    }
};

// Input from a terminal: a line at a time, so that each line's output comes as it ends.
long terminal_read(char* buffer, std::size_t size) {
    int c = '*';
    std::size_t n = 0;
    while (n < size && (c = std::getc(stdin)) != EOF && c != '\n')
        buffer[n++] = static_cast<char>(c);
    if (c == '\n') buffer[n++] = '\n';
    if (c == EOF && std::ferror(stdin)) return -1;
    return static_cast<long>(n);
}

}  // namespace

long frame_input(char* buffer, unsigned long size) {
    static const bool terminal = isatty(0);
    if (terminal) return terminal_read(buffer, size);
    static Blocks blocks;
    return blocks.read(buffer, size);
}

int main(int argc, char** argv)
{
    if (tool::info_option(argc, argv, FILTER_NAME, usage().c_str()))
        return tool::finish(FILTER_NAME, 0);
    const int parsed = yyparse();
    yylex_destroy();
    return tool::finish(FILTER_NAME, FILTER_END(parsed));
}

// Bad lines are skipped without a word.
void yyerror(const char*) {}

// Standard input is the only input there is.
extern "C" int yywrap() { return 1; }
