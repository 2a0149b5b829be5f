#include "harness.hpp"

#include "catalogue.hpp"

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <poll.h>
#include <pty.h>
#include <stdexcept>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

namespace harness {
namespace {

using Clock = std::chrono::steady_clock;

[[noreturn]] void fail(const char* what) {
    throw std::runtime_error(std::string(what) + ": " + std::strerror(errno));
}

std::vector<char*> argv_of(const std::string& program, const std::vector<std::string>& args) {
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    return argv;
}

int decode(int wstatus) {
    if (WIFEXITED(wstatus)) return WEXITSTATUS(wstatus);
    if (WIFSIGNALED(wstatus)) return 128 + WTERMSIG(wstatus);
    return -1;
}

int wait_for(pid_t pid, Clock::time_point deadline) {
    int wstatus = 0;
    for (;;) {
        pid_t r = waitpid(pid, &wstatus, WNOHANG);
        if (r == pid) return decode(wstatus);
        if (r < 0 && errno != EINTR) fail("waitpid");
        if (Clock::now() >= deadline) {
            kill(pid, SIGKILL);
            waitpid(pid, &wstatus, 0);
            return decode(wstatus);
        }
        usleep(1000);
    }
}

}  // namespace

std::vector<std::string> programs_of(std::initializer_list<std::string_view> kinds) {
    std::vector<std::string> names;
    for (const catalogue::Program& p : catalogue::programs)
        for (std::string_view kind : kinds)
            if (p.kind == kind) names.emplace_back(p.name);
    return names;
}

std::string repeat(std::string_view text, std::size_t times) {
    std::string all;
    all.reserve(text.size() * times);
    while (times-- > 0) all += text;
    return all;
}

std::string broken(std::string text, std::string_view from, std::string_view to) {
    return text.replace(text.find(from), from.size(), to);
}

std::string read_file(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

const std::vector<std::string>& report_pieces() {
    using namespace std::string_literals;
    static const std::vector<std::string> pieces = [] {
        std::vector<std::string> all = {
            "seconds", "0.25", "12.5", "7", "0042", "99999999999", "1" + std::string(400, '0') + ".5",
            "1:02.03", "12:34.56", ":", ".", "The conjecture successfully proved.",
            "The conjecture disproved.", "The conjecture not proved.",
            "The conjecture not proved - timeout.",
            "The conjecture not proved - maximal number of proof steps reached.",
            "The conjecture out of scope of the prover.", "The conjecture", "Syntax error",
            "Run-time error", "Syntax  error", "Time spent by the\tprover is", "\r", "\0"s,
            "\x80\xe9\xff"s, "\t", "  ", ";", ",", "\"", "Lemma", "(A, B)",
            std::string(70, '\0'), "12\0\0.5"s,
        };
        for (const catalogue::Program& p : catalogue::programs) {
            if (p.kind != "filter" && p.kind != "summary") continue;
            all.emplace_back(p.phrase);
            std::string_view sample = p.sample;
            all.emplace_back(sample.substr(0, sample.find('\n')));
        }
        return all;
    }();
    return pieces;
}

Scratch::Scratch(std::string_view prefix) {
    std::string name = "/tmp/" + std::string(prefix) + ".XXXXXX";
    if (!mkdtemp(name.data())) fail("mkdtemp");
    path_ = name;
}

Scratch::~Scratch() {
    // Whatever a test left unreadable is still removed.
    std::error_code ignored;
    for (auto it = std::filesystem::recursive_directory_iterator(
             path_, std::filesystem::directory_options::skip_permission_denied, ignored);
         it != std::filesystem::recursive_directory_iterator(); it.increment(ignored))
        if (!it->is_symlink(ignored))
            std::filesystem::permissions(it->path(), std::filesystem::perms::owner_all,
                                         std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(path_, ignored);
}

std::string Scratch::write(const std::string& name, std::string_view bytes) const {
    const std::filesystem::path path = std::filesystem::path(path_) / name;
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return path.string();
}

void InScratch::SetUp() {
    scratch_ = std::make_unique<Scratch>(prefix_);
    ASSERT_EQ(chdir(dir().c_str()), 0);
}

void InScratch::TearDown() {
    ASSERT_EQ(chdir("/"), 0);
    scratch_.reset();
}

std::string tool(std::string_view name) {
    for (const catalogue::Program& p : catalogue::programs)
        if (p.name == name) return std::string(TOOL_DIR) + "/" + std::string(name);
    return std::string(HELPER_DIR) + "/" + std::string(name);
}

Outcome run(const std::string& program, std::string_view input,
            const std::vector<std::string>& args, std::chrono::milliseconds timeout) {
    // A program may end without reading all of its input: the write into the closed pipe
    // must fail with EPIPE here instead of killing the test.
    static const bool pipes_ignored = (signal(SIGPIPE, SIG_IGN), true);
    (void)pipes_ignored;
    int in[2], out[2], err[2];
    if (pipe2(in, O_CLOEXEC) || pipe2(out, O_CLOEXEC) || pipe2(err, O_CLOEXEC)) fail("pipe");
    auto argv = argv_of(program, args);
    pid_t pid = fork();
    if (pid < 0) fail("fork");
    if (pid == 0) {
        dup2(in[0], 0);
        dup2(out[1], 1);
        dup2(err[1], 2);
        signal(SIGPIPE, SIG_DFL);
        execv(program.c_str(), argv.data());
        _exit(127);
    }
    close(in[0]);
    close(out[1]);
    close(err[1]);
    fcntl(in[1], F_SETFL, O_NONBLOCK);

    Outcome result;
    auto deadline = Clock::now() + timeout;
    std::size_t sent = 0;
    int to_child = in[1];
    if (input.empty()) { close(to_child); to_child = -1; }
    bool out_open = true, err_open = true;
    char buf[65536];
    while (out_open || err_open) {
        pollfd fds[3];
        int n = 0;
        int out_i = -1, err_i = -1, in_i = -1;
        if (out_open) { out_i = n; fds[n++] = {out[0], POLLIN, 0}; }
        if (err_open) { err_i = n; fds[n++] = {err[0], POLLIN, 0}; }
        if (to_child >= 0) { in_i = n; fds[n++] = {to_child, POLLOUT, 0}; }
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0) break;
        int r = poll(fds, n, static_cast<int>(left.count()));
        if (r < 0 && errno == EINTR) continue;
        if (r < 0) fail("poll");
        if (in_i >= 0 && fds[in_i].revents) {
            ssize_t w = write(to_child, input.data() + sent, input.size() - sent);
            if (w > 0) sent += static_cast<std::size_t>(w);
            if (w < 0 && errno != EAGAIN) sent = input.size();  // the program stopped reading
            if (sent == input.size()) { close(to_child); to_child = -1; }
        }
        for (auto [idx, fd, open, sink] : {std::tuple{out_i, out[0], &out_open, &result.out},
                                           std::tuple{err_i, err[0], &err_open, &result.err}}) {
            if (idx < 0 || !fds[idx].revents) continue;
            ssize_t got = read(fd, buf, sizeof buf);
            if (got > 0) sink->append(buf, static_cast<std::size_t>(got));
            else if (got == 0 || errno != EINTR) *open = false;
        }
    }
    if (to_child >= 0) close(to_child);
    close(out[0]);
    close(err[0]);
    result.status = wait_for(pid, deadline);
    return result;
}

void check(std::string_view program, const std::vector<Case>& cases) {
    const std::string path = tool(program);
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(program) + ": " + c.name);
        Outcome o = run(path, c.input);
        EXPECT_EQ(o.out, c.output);
        EXPECT_EQ(o.status, c.status);
        EXPECT_EQ(o.err, "");
        if (every_case) every_case(program, c, o);
    }
}

void check_runs(std::string_view program, const std::vector<Invocation>& runs) {
    const std::string path = tool(program);
    for (const auto& r : runs) {
        SCOPED_TRACE(std::string(program) + ": " + r.name);
        Outcome o = run(path, r.input, r.args);
        EXPECT_EQ(o.out, r.out);
        EXPECT_EQ(o.err, r.err);
        EXPECT_EQ(o.status, r.status);
    }
}

void check(std::string_view program, std::initializer_list<Case> cases) {
    check(program, std::vector<Case>(cases));
}

void check_terminal_as_pipe(std::string_view program, const std::string& input) {
    const std::string path = tool(program);
    const Outcome piped = run(path, input);
    ASSERT_EQ(piped.status, 0);
    Terminal term(path);
    term.type(input);
    EXPECT_EQ(term.read(piped.out.size()), piped.out);
    EXPECT_EQ(term.finish(), 0);
}

Terminal::Terminal(const std::string& program, const std::vector<std::string>& args) {
    int slave = -1;
    if (openpty(&master_, &slave, nullptr, nullptr, nullptr) < 0) fail("openpty");
    termios t{};
    tcgetattr(slave, &t);
    t.c_lflag &= ~static_cast<tcflag_t>(ECHO | ECHONL);
    t.c_oflag &= ~static_cast<tcflag_t>(OPOST);
    tcsetattr(slave, TCSANOW, &t);
    auto argv = argv_of(program, args);
    pid_ = fork();
    if (pid_ < 0) fail("fork");
    if (pid_ == 0) {
        setsid();
        ioctl(slave, TIOCSCTTY, 0);
        dup2(slave, 0);
        dup2(slave, 1);
        close(master_);
        close(slave);
        execv(program.c_str(), argv.data());
        _exit(127);
    }
    close(slave);
}

Terminal::~Terminal() {
    if (pid_ > 0) {
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
    }
    if (master_ >= 0) close(master_);
}

void Terminal::type(std::string_view bytes) {
    while (!bytes.empty()) {
        ssize_t w = write(master_, bytes.data(), bytes.size());
        if (w < 0 && errno == EINTR) continue;
        if (w < 0) fail("write to terminal");
        bytes.remove_prefix(static_cast<std::size_t>(w));
    }
}

std::string Terminal::read(std::size_t want, std::chrono::milliseconds timeout) {
    std::string got;
    auto deadline = Clock::now() + timeout;
    char buf[4096];
    while (got.size() < want) {
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0) break;
        pollfd p{master_, POLLIN, 0};
        int r = poll(&p, 1, static_cast<int>(left.count()));
        if (r <= 0) continue;
        ssize_t n = ::read(master_, buf, std::min(sizeof buf, want - got.size()));
        if (n <= 0) break;
        got.append(buf, static_cast<std::size_t>(n));
    }
    return got;
}

int Terminal::finish(std::chrono::milliseconds timeout) {
    termios t{};
    tcgetattr(master_, &t);
    type(std::string(1, static_cast<char>(t.c_cc[VEOF])));
    int status = wait_for(pid_, Clock::now() + timeout);
    pid_ = -1;
    return status;
}

}  // namespace harness
