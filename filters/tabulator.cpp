// report-table's engine: every filter's recogniser over each report, in one pass over its bytes.
#include "tabulator.hpp"

#include <cerrno>
#include <condition_variable>
#include <cstring>
#include <mutex>
#include <thread>

#include "lines.hpp"
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

    void start() { values.clear(); }

    std::vector<std::string> values;

private:
    bool keep_all_;
};

// A line longer than the block, handed from the reading thread to every recogniser's thread a
// block at a time: the reader shows a block and waits until every recogniser has taken it (is
// waiting for the next, or has ended its parse) before it reads the next into its place.
class Relay {
public:
    explicit Relay(int takers) : takers_(takers) {}

    // The reader: waits until every recogniser is done with the block shown.
    void await_takers()
    {
        std::unique_lock lock(mutex_);
        taken_.wait(lock, [this] { return done_ + ended_ == takers_; });
    }

    // The reader: shows the next block, [begin, limit), the line's last when `last`.
    void show(const char* begin, const char* limit, bool last)
    {
        {
            std::lock_guard lock(mutex_);
            begin_ = begin;
            limit_ = limit;
            last_ = last;
            done_ = 0;
            ++shown_;
        }
        next_block_.notify_all();
    }

    // A recogniser: done with the block it has (the `seen`th); waits for the next.
    void take(unsigned long& seen, const char*& begin, const char*& limit, bool& last)
    {
        std::unique_lock lock(mutex_);
        ++done_;
        taken_.notify_one();
        next_block_.wait(lock, [&] { return shown_ != seen; });
        seen = shown_;
        begin = begin_;
        limit = limit_;
        last = last_;
    }

    // A recogniser: its parse has ended, and takes no block any more.
    void leave()
    {
        {
            std::lock_guard lock(mutex_);
            ++ended_;
        }
        taken_.notify_one();
    }

private:
    std::mutex mutex_;
    std::condition_variable taken_, next_block_;
    const int takers_;
    int done_ = 0, ended_ = 0;
    unsigned long shown_ = 0;
    const char* begin_ = nullptr;
    const char* limit_ = nullptr;
    bool last_ = false;
};

// One recogniser's lines of the report under way: those its search picks in each stretch of
// whole lines it is shown, the last line whole at the end; inside a line longer than the block,
// each block of that line as the relay hands it over, up to the line's end.
class SharedBlockLines final : public Lines {
public:
    using Lines::Lines;

    void pass_through(Relay& relay)
    {
        relay_ = &relay;
        seen_ = 0;
    }
    void done_passing() { relay_ = nullptr; }

private:
    bool more(bool) override
    {
        if (!relay_) return false;  // the end of a stretch: its parse ends
        const char* begin;
        const char* limit;
        bool last;
        relay_->take(seen_, begin, limit, last);
        show(begin, limit, last, true);
        return true;
    }

    Relay* relay_ = nullptr;
    unsigned long seen_ = 0;
};

}  // namespace

struct Tabulator::State {
    explicit State(bool keep_all)
    {
#define GEOPROOF_MAKE(identifier, program) recognisers.push_back(make_##identifier());
        GEOPROOF_FILTERS(GEOPROOF_MAKE)
#undef GEOPROOF_MAKE
        cells.assign(filter_count, Cell(keep_all));
        for (const auto& recogniser : recognisers) lines.emplace_back(recogniser->find_line);
    }

    // Runs every recogniser over the stretch of the block [begin, limit), whole lines but for
    // an unterminated last line when `last`.  Lines are independent of one another, so the
    // report may be handed over a stretch of whole lines at a time, each stretch scanned and
    // parsed on its own.
    void scan(const char* begin, const char* limit, bool last)
    {
        for (int i = 0; i < filter_count; ++i) {
            lines[i].show(begin, limit, last, false);
            if (lines[i].any()) recognisers[i]->parse(lines[i], cells[i]);
        }
    }

    // Runs every recogniser over the line that fills the block, to its end, each on a thread
    // of its own, since a parse cannot stop inside a line: the block goes to every recogniser
    // whole, whatever its search, and each next block of the line takes its place once every
    // recogniser has taken it.  False on a read error.
    bool pass_long_line()
    {
        Relay relay(filter_count);
        std::vector<std::thread> threads;
        for (int i = 0; i < filter_count; ++i) {
            lines[i].show(block.begin(), block.end(), false, true);
            lines[i].pass_through(relay);
            threads.emplace_back([this, i, &relay] {
                recognisers[i]->parse(lines[i], cells[i]);
                relay.leave();
            });
        }
        const char* rest = block.end();
        for (;;) {
            relay.await_takers();
            block.fill_up(block.end());
            auto newline = static_cast<const char*>(
                std::memchr(block.begin(), '\n', static_cast<std::size_t>(block.end() - block.begin())));
            if (newline || !block.full()) {
                rest = newline ? newline + 1 : block.end();
                relay.show(block.begin(), rest, true);
                break;
            }
            relay.show(block.begin(), block.end(), false);
        }
        for (auto& thread : threads) thread.join();
        for (auto& candidates : lines) candidates.done_passing();
        if (block.error() != 0) return false;
        block.fill(rest);  // keeps what follows the line; reads nothing more after the end
        return block.error() == 0;
    }

    std::vector<std::unique_ptr<Recogniser>> recognisers;
    std::vector<Cell> cells;
    std::vector<SharedBlockLines> lines;
    BlockReader block{-1};
};

Tabulator::Tabulator(bool keep_all) : state_(std::make_unique<State>(keep_all)) {}
Tabulator::~Tabulator() = default;

bool Tabulator::tabulate(int fd)
{
    State& s = *state_;
    for (int i = 0; i < filter_count; ++i) {
        s.cells[i].start();
        s.recognisers[i]->start_report();
    }
    BlockReader& block = s.block;
    block.start(fd);
    const char* from = block.begin();
    for (;;) {
        block.fill_up(from);
        if (block.error() != 0) {
            errno = block.error();
            return false;
        }
        const char* begin = block.begin();
        const std::size_t size = static_cast<std::size_t>(block.end() - begin);
        auto last = static_cast<const char*>(memrchr(begin, '\n', size));
        if (block.at_end()) {
            s.scan(begin, block.end(), true);
            break;
        }
        if (last) {
            s.scan(begin, last + 1, false);
            from = last + 1;
        } else if (!s.pass_long_line()) {
            errno = block.error();
            return false;
        } else {
            from = block.begin();
        }
    }
    for (int i = 0; i < filter_count; ++i) s.recognisers[i]->end_report(s.cells[i]);
    return true;
}

const std::vector<std::string>& Tabulator::values(int index) const
{
    return state_->cells[index].values;
}

}  // namespace filters
