// Black-box test harness: runs a built program on a byte string and captures what it does,
// and the few things that many tests make their inputs with.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <initializer_list>
#include <string>
#include <string_view>
#include <sys/types.h>
#include <vector>

#include <gtest/gtest.h>

namespace harness {

// The names of the catalogue's programs of the given kinds (filter, summary, ...), in its order.
std::vector<std::string> programs_of(std::initializer_list<std::string_view> kinds);

// The filters, in the order of report-table's columns.
inline std::vector<std::string> filters() { return programs_of({"filter", "summary"}); }

// `text` `times` times over.
std::string repeat(std::string_view text, std::size_t times);

// `text` with its first `from` replaced by `to`: a phrase broken on purpose.
std::string broken(std::string text, std::string_view from, std::string_view to);

// Every byte of the file at `path`; empty when it cannot be read.
std::string read_file(const std::string& path);

// A reproducible stream of pseudo-random numbers (xorshift64): a seed gives the same inputs on
// every run and every machine.
struct Random {
    std::uint64_t state;
    std::uint64_t next() {
        state ^= state << 13;
        state ^= state >> 7;
        state ^= state << 17;
        return state;
    }
    unsigned below(unsigned n) { return static_cast<unsigned>(next() % n); }
};

// What random prover reports are made of: every filter's phrase and sample line as the
// catalogue gives them, with hand-picked values, near misses, separators and bytes that no
// rule keeps (carriage return, NUL, bytes from 0x80 up).
const std::vector<std::string>& report_pieces();

// A directory of its own under /tmp, removed with all it holds when it goes out of scope.
class Scratch {
public:
    explicit Scratch(std::string_view prefix = "geoproof-test");
    ~Scratch();
    Scratch(const Scratch&) = delete;
    Scratch& operator=(const Scratch&) = delete;

    const std::string& path() const { return path_; }
    // Writes `bytes` to `name` under it, making the directories on the way; returns its path.
    std::string write(const std::string& name, std::string_view bytes) const;

private:
    std::string path_;
};

// A test whose working directory is a scratch directory of its own while it runs.
class InScratch : public testing::Test {
protected:
    explicit InScratch(std::string_view prefix) : prefix_(prefix) {}
    void SetUp() override;
    void TearDown() override;
    const std::string& dir() const { return scratch_->path(); }

private:
    std::string prefix_;
    std::unique_ptr<Scratch> scratch_;
};

// What one run of a program produced.
struct Outcome {
    std::string out;   // every byte written to standard output
    std::string err;   // every byte written to standard error
    int status = -1;   // exit status, or 128 + signal number when killed by a signal
};

// Absolute path of a built program of the suite, or of another executable of the build (a
// filter's test build, such as prover-time-reference).
std::string tool(std::string_view name);

// Runs `program` (a path) with `args`, feeding `input` on standard input and closing it.
// A run that outlives `timeout` is killed and reported with status 128 + SIGKILL.
Outcome run(const std::string& program, std::string_view input,
            const std::vector<std::string>& args = {},
            std::chrono::milliseconds timeout = std::chrono::seconds(30));

// One row of a table-driven test: input bytes in, output bytes and exit status expected.
struct Case {
    const char* name;
    std::string input;
    std::string output;
    int status = 0;
};

// One run of a program with arguments: standard input in, both outputs and the status
// expected.
struct Invocation {
    const char* name;
    std::vector<std::string> args;
    std::string input, out, err;
    int status;
};

// Runs the named program as each row says and checks both outputs and the status exactly.
void check_runs(std::string_view program, const std::vector<Invocation>& runs);

// Runs every case through the named program and checks stdout and status exactly.
void check(std::string_view program, std::initializer_list<Case> cases);
void check(std::string_view program, const std::vector<Case>& cases);

// A further check that check() makes on every case it runs, with what the program did: a test
// file sets it to hold a property on all the tables of its test binary.
inline std::function<void(std::string_view program, const Case&, const Outcome&)> every_case;

// A program running with a pseudo-terminal as its standard input and output, with echo and
// output post-processing turned off, so that what it writes arrives byte for byte.
class Terminal {
public:
    explicit Terminal(const std::string& program, const std::vector<std::string>& args = {});
    ~Terminal();
    Terminal(const Terminal&) = delete;
    Terminal& operator=(const Terminal&) = delete;

    // Types bytes at the terminal.
    void type(std::string_view bytes);
    // Collects output until `want` bytes have arrived or `timeout` has passed.
    std::string read(std::size_t want, std::chrono::milliseconds timeout = std::chrono::seconds(5));
    // Types the end-of-file character and waits for the program; returns its exit status.
    int finish(std::chrono::milliseconds timeout = std::chrono::seconds(10));

private:
    int master_ = -1;
    pid_t pid_ = -1;
};

// Types `input` at a terminal and checks that the named program writes there, byte for byte,
// what it writes to a pipe for the same input, and ends with status 0 in both.
void check_terminal_as_pipe(std::string_view program, const std::string& input);

}  // namespace harness
