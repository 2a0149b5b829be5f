// What every program of the suite shares at its edges: --help and --version, lost output
// reported as a failure, an unreadable input ending through the scanner's fatal path.
#include "catalogue.hpp"
#include "harness.hpp"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <netinet/in.h>
#include <string>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

// Every program, with an input that makes it write something (its sample), and what it writes.
struct Program {
    std::string name, sample, output;
    bool scanner_reads_input;  // report-table reads its reports itself and names the one that fails
};

std::vector<Program> every_program()
{
    std::vector<Program> all;
    for (const auto& p : catalogue::programs)
        all.push_back({std::string(p.name), std::string(p.sample), std::string(p.output),
                       p.kind != "table"});
    return all;
}

const std::vector<Program> programs = every_program();

bool starts_with(const std::string& s, const std::string& prefix) {
    return s.compare(0, prefix.size(), prefix) == 0;
}

// Runs `program` with standard output redirected as the shell redirection `redirect` says.
harness::Outcome run_redirected(const std::string& program, const std::string& input,
                                const std::string& redirect) {
    return harness::run("/bin/sh", input, {"-c", "exec \"$0\" " + redirect, program});
}

std::string read_to_end(int fd) {
    std::string data;
    char buf[4096];
    for (;;) {
        ssize_t got = read(fd, buf, sizeof buf);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) return data;
        data.append(buf, static_cast<std::size_t>(got));
    }
}

// Runs `program` with standard input a connection that delivers `bytes` and then fails: the
// peer resets it, so that the read after the bytes ends with an error, not end of input.
harness::Outcome reset_after(const std::string& program, const std::string& bytes) {
    harness::Outcome o;
    int listener = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    int client = socket(AF_INET, SOCK_STREAM, 0), server = -1, out[2], err[2];
    auto* any = reinterpret_cast<sockaddr*>(&address);
    if (listener < 0 || client < 0 || bind(listener, any, sizeof address) != 0 ||
        listen(listener, 1) != 0 || getsockname(listener, any, &length) != 0 ||
        connect(client, any, sizeof address) != 0 || (server = accept(listener, nullptr, nullptr)) < 0 ||
        write(server, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size()) ||
        pipe(out) != 0 || pipe(err) != 0) {
        ADD_FAILURE() << "no connection: " << std::strerror(errno);
        return o;
    }
    linger reset{1, 0};
    setsockopt(server, SOL_SOCKET, SO_LINGER, &reset, sizeof reset);
    close(server);
    close(listener);
    pid_t pid = fork();
    if (pid == 0) {
        dup2(client, 0);
        dup2(out[1], 1);
        dup2(err[1], 2);
        for (int fd : {client, out[0], out[1], err[0], err[1]}) close(fd);
        execl(program.c_str(), program.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    for (int fd : {client, out[1], err[1]}) close(fd);
    o.out = read_to_end(out[0]);
    o.err = read_to_end(err[0]);
    int wstatus = 0;
    waitpid(pid, &wstatus, 0);
    o.status = WIFEXITED(wstatus) ? WEXITSTATUS(wstatus) : 128 + WTERMSIG(wstatus);
    close(out[0]);
    close(err[0]);
    return o;
}

}  // namespace

TEST(Suite, HelpAndVersionAloneAnswerAndSucceed) {
    for (const auto& p : programs) {
        SCOPED_TRACE(p.name);
        auto help = harness::run(harness::tool(p.name), "", {"--help"});
        EXPECT_TRUE(starts_with(help.out, std::string("Usage: ") + p.name)) << help.out;
        EXPECT_EQ(help.out.back(), '\n');
        EXPECT_EQ(help.status, 0);
        auto version = harness::run(harness::tool(p.name), "", {"--version"});
        EXPECT_EQ(version.out, std::string(p.name) + " (geoproof-tools) " GEOPROOF_VERSION "\n");
        EXPECT_EQ(version.status, 0);
        EXPECT_EQ(help.err + version.err, "");
    }
}

TEST(Suite, LostOutputIsAFailure) {
    for (const auto& p : programs) {
        const std::string tool = harness::tool(p.name);
        auto written = harness::run(tool, p.sample);
        EXPECT_EQ(written.out, p.output) << p.name;
        for (const char* redirect : {">/dev/full", ">&-"}) {
            SCOPED_TRACE(std::string(p.name) + " " + redirect);
            auto o = run_redirected(tool, p.sample, redirect);
            EXPECT_TRUE(starts_with(o.err, std::string(p.name) + ": write error: ")) << o.err;
            EXPECT_EQ(o.err.find('\n'), o.err.size() - 1) << o.err;
            EXPECT_EQ(o.status, 2);
        }
        SCOPED_TRACE(std::string(p.name) + " --version >/dev/full");
        auto version = harness::run("/bin/sh", "", {"-c", "exec \"$0\" --version >/dev/full", tool});
        EXPECT_EQ(version.status, 2);
    }
}

TEST(Suite, UnreadableInputIsFatal) {
    for (const auto& p : programs) {
        if (!p.scanner_reads_input) continue;
        SCOPED_TRACE(p.name);
        auto o = harness::run("/bin/sh", "", {"-c", "exec \"$0\" < /", harness::tool(p.name)});
        EXPECT_EQ(o.out, "");
        EXPECT_EQ(o.err, "input in flex scanner failed\n");
        EXPECT_EQ(o.status, 2);
    }
}

// A read that fails after some input was taken ends the program the same way, and what the
// input gave so far is written all the same; proof-status, which writes only at the end of its
// input, writes nothing.
TEST(Suite, ReadErrorKeepsOutputAlreadyWritten) {
    for (const auto& p : programs) {
        if (!p.scanner_reads_input) continue;
        SCOPED_TRACE(p.name);
        auto o = reset_after(harness::tool(p.name), p.sample);
        EXPECT_EQ(o.out, p.name == std::string("proof-status") ? "" : p.output);
        EXPECT_EQ(o.err, "input in flex scanner failed\n");
        EXPECT_EQ(o.status, 2);
    }
}

// A reader that goes away early ends a program the usual quiet way: killed by SIGPIPE, or
// finished before it noticed; never a message.
TEST(Suite, ClosedPipeEndsQuietly) {
    for (const auto& p : programs) {
        SCOPED_TRACE(p.name);
        std::string input;
        for (int i = 0; i < 100000; ++i) input += p.sample;
        auto o = harness::run("/bin/sh", input,
                              {"-c", "exec 3>&1; { \"$0\"; echo $? >&3; } | head -c 1 >/dev/null",
                               harness::tool(p.name)});
        EXPECT_TRUE(o.out == "141\n" || o.out == "0\n") << o.out;
        EXPECT_EQ(o.err, "");
    }
}
