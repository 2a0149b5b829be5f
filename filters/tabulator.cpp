// report-table's engine: every filter's recogniser over each report, in one pass over its bytes.
#include "tabulator.hpp"

#include <cerrno>
#include <cstring>
#include <unistd.h>

#include "recogniser.hpp"

namespace filters {

#define GEOPROOF_DECLARE(identifier, program) std::unique_ptr<Recogniser> make_##identifier();
GEOPROOF_FILTERS(GEOPROOF_DECLARE)
#undef GEOPROOF_DECLARE

namespace {

// What one filter wrote for the report under way: its non-empty lines, or the last of them.
class Cell final : public Sink {
public:
    explicit Cell(bool keep_all) : keep_all_(keep_all) {}

    void line(std::string_view text) override
    {
        if (text.empty()) return;
        if (keep_all_ || values.empty())
            values.emplace_back(text);
        else
            values.back().assign(text);
    }

    void start()
    {
        values.clear();
        outcome = 3;
    }

    std::vector<std::string> values;

private:
    bool keep_all_;
};

// The lines of [begin, limit), all complete, that a filter's search picks, and then the
// unterminated last line [limit, tail) whole.  The same lines the filter program scans: see
// Blocks in lines.hpp.
class Candidates final : public Source {
public:
    Candidates(LineSearch search, const char* begin, const char* limit, const char* tail)
        : search_(search), next_(begin), limit_(limit), tail_(tail)
    {
        advance();
    }

    // Whether there is anything to scan at all.
    bool empty() const { return from_ == to_; }

    long read(char* buffer, unsigned long size) override
    {
        unsigned long filled = 0;
        while (filled < size && from_ != to_) {
            filled += copy_squeezing_nuls(from_, to_, buffer + filled, size - filled);
            if (from_ == to_) advance();
        }
        return static_cast<long>(filled);
    }

private:
    // Moves on to the next stretch to hand over: a picked line, or the last line.
    void advance()
    {
        const char* start;
        if (next_ < limit_) {
            if (const char* newline = search_(next_, limit_, start)) {
                from_ = start;
                to_ = next_ = newline + 1;
                return;
            }
            next_ = limit_;
        }
        from_ = limit_;
        to_ = tail_;
        limit_ = tail_;
        next_ = tail_;
    }

    LineSearch search_;
    const char* next_;
    const char* limit_;
    const char* tail_;
    const char* from_ = nullptr;
    const char* to_ = nullptr;
};

}  // namespace

struct Tabulator::State {
    explicit State(bool keep_all)
    {
#define GEOPROOF_MAKE(identifier, program) recognisers.push_back(make_##identifier());
        GEOPROOF_FILTERS(GEOPROOF_MAKE)
#undef GEOPROOF_MAKE
        cells.assign(filter_count, Cell(keep_all));
    }

    // Runs every recogniser over the complete lines [begin, limit) and the unterminated last line
    // [limit, tail).  Lines are independent of one another, so the report may be handed over a
    // stretch of whole lines at a time, each stretch scanned and parsed on its own.
    void scan(const char* begin, const char* limit, const char* tail)
    {
        for (int i = 0; i < filter_count; ++i) {
            Candidates lines(recognisers[i]->find_line, begin, limit, tail);
            if (!lines.empty()) recognisers[i]->parse(lines, cells[i]);
        }
    }

    std::vector<std::unique_ptr<Recogniser>> recognisers;
    std::vector<Cell> cells;
    // The report's bytes not yet scanned, from a line's start; it grows only for a line longer
    // than it is.  The 64 bytes past its end are room for a search to read whole pieces.
    static constexpr std::size_t block_size = (256 << 10) + 64;
    std::vector<char> block = std::vector<char>(block_size);
};

Tabulator::Tabulator(bool keep_all) : state_(std::make_unique<State>(keep_all)) {}
Tabulator::~Tabulator() = default;

bool Tabulator::tabulate(int fd)
{
    State& s = *state_;
    for (Cell& cell : s.cells) cell.start();
    std::size_t used = 0;
    bool eof = false;
    while (!eof) {
        std::size_t capacity = s.block.size() - 64;
        while (used < capacity) {
            ssize_t n = ::read(fd, s.block.data() + used, capacity - used);
            if (n > 0) {
                used += static_cast<std::size_t>(n);
            } else if (n == 0) {
                eof = true;
                break;
            } else if (errno != EINTR) {
                return false;
            }
        }
        const char* begin = s.block.data();
        auto last = static_cast<const char*>(memrchr(begin, '\n', used));
        const char* limit = last ? last + 1 : begin;
        if (eof) {
            s.scan(begin, limit, begin + used);
        } else if (last) {
            s.scan(begin, limit, limit);
            used -= static_cast<std::size_t>(limit - begin);
            std::memmove(s.block.data(), limit, used);
        } else {
            s.block.resize(2 * capacity + 64);
        }
    }
    for (int i = 0; i < filter_count; ++i) s.recognisers[i]->end_report(s.cells[i]);
    if (s.block.size() > State::block_size) {
        s.block.resize(State::block_size);
        s.block.shrink_to_fit();
    }
    return true;
}

const std::vector<std::string>& Tabulator::values(int index) const
{
    return state_->cells[index].values;
}

}  // namespace filters
