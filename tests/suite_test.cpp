// What every program of the suite shares at its edges: --help and --version, lost output
// reported as a failure, an unreadable input ending through the scanner's fatal path.
#include "catalogue.hpp"
#include "harness.hpp"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <netinet/in.h>
#include <string>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

// Every program, with an input that makes it write something (its sample), and what it writes.
// report-compare reads no input: its sample is a report in a run of its own, named by `args`.
struct Program {
    std::string name, sample, output;
    bool scanner_reads_input;  // not the tables, which read their reports themselves
    bool writes_as_it_reads;   // every program but proof-status and the tables
    bool reads_files;          // every program but report-compare, whose operands are runs
    std::vector<std::string> args;
};

// Where report-compare's run of its sample lives while the tests run.
const harness::Scratch run_dir("geoproof-suite-run");

std::vector<Program> every_program()
{
    std::vector<Program> all;
    for (const auto& p : catalogue::programs) {
        const bool table = p.kind == "table" || p.kind == "comparison";
        all.push_back({std::string(p.name), std::string(p.sample), std::string(p.output), !table,
                       !table && p.kind != "summary", p.kind != "comparison", {}});
        if (p.kind != "comparison") continue;
        const std::string run = run_dir.path() + "/" + all.back().name;
        run_dir.write(all.back().name + "/r", all.back().sample);
        all.back().args = {"run=" + run};
    }
    return all;
}

const std::vector<Program> programs = every_program();

bool starts_with(const std::string& s, const std::string& prefix) {
    return s.compare(0, prefix.size(), prefix) == 0;
}

// Runs `program` with standard output redirected as the shell redirection `redirect` says.
harness::Outcome run_redirected(const std::string& program, const std::string& input,
                                const std::string& redirect, const std::vector<std::string>& args = {}) {
    std::vector<std::string> command = {"-c", "exec \"$0\" \"$@\" " + redirect, program};
    command.insert(command.end(), args.begin(), args.end());
    return harness::run("/bin/sh", input, command);
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
        for (const auto& option : catalogue::find(p.name).options)
            EXPECT_NE(help.out.find("--" + std::string(option.name)), std::string::npos) << option.name;
        EXPECT_NE(help.out.find("\nExit status:\n  0  "), std::string::npos) << help.out;
        auto version = harness::run(harness::tool(p.name), "", {"--version"});
        EXPECT_EQ(version.out, std::string(p.name) + " (geoproof-tools) " GEOPROOF_VERSION "\n");
        EXPECT_EQ(version.status, 0);
        EXPECT_EQ(help.err + version.err, "");
    }
}

TEST(Suite, LostOutputIsAFailure) {
    for (const auto& p : programs) {
        const std::string tool = harness::tool(p.name);
        auto written = harness::run(tool, p.sample, p.args);
        EXPECT_EQ(written.out, p.output) << p.name;
        for (const char* redirect : {">/dev/full", ">&-"}) {
            SCOPED_TRACE(std::string(p.name) + " " + redirect);
            auto o = run_redirected(tool, p.sample, redirect, p.args);
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
        EXPECT_EQ(o.err, p.name + ": input in flex scanner failed: Is a directory\n");
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
        EXPECT_EQ(o.err, p.name + ": input in flex scanner failed: Connection reset by peer\n");
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
        std::vector<std::string> command = {"-c", "exec 3>&1; { \"$0\" \"$@\"; echo $? >&3; } | head -c 1 >/dev/null",
                                            harness::tool(p.name)};
        command.insert(command.end(), p.args.begin(), p.args.end());
        auto o = harness::run("/bin/sh", input, command);
        EXPECT_TRUE(o.out == "141\n" || o.out == "0\n") << o.out;
        EXPECT_EQ(o.err, "");
    }
}

// One command line for every program: GNU's options and operands, the same answer to a bad
// option, an extra operand, an abbreviation, `--`, `-` and --line-buffered, and one message
// for a FILE that cannot be opened, is a directory, or is the program's own output.
TEST(Suite, CommandLine) {
    const harness::Scratch scratch("geoproof-operand");
    const std::string& dir = scratch.path();
    const std::string missing = dir + "/missing", file = dir + "/sample", dash = dir + "/-x";
    for (const auto& p : programs) {
        for (const std::string& name : {file, dash}) {
            FILE* f = std::fopen(name.c_str(), "w");
            std::fputs(p.sample.c_str(), f);
            std::fclose(f);
        }
        const bool table = !p.scanner_reads_input;
        // What it writes for the sample read from `name`; a table names the report in its row.
        auto output_of = [&](const std::string& name) {
            if (!table) return p.output;
            std::string out = p.output;
            return out.replace(out.find("\n-,") + 1, 1, name);
        };
        const std::string header = table ? p.output.substr(0, p.output.find('\n') + 1) : "";
        const std::string try_help = "Try '" + p.name + " --help' for more information.\n";
        struct Case {
            std::vector<std::string> args;
            std::string out, err;
            int status;
        };
        std::vector<Case> cases = {
            {{"--bogus"}, "", p.name + ": unrecognized option '--bogus'\n" + try_help, 2},
            {{file, "-q"}, "", p.name + ": invalid option -- 'q'\n" + try_help, 2},
            {{"--help=x"}, "", p.name + ": option '--help' doesn't allow an argument\n" + try_help, 2},
            {{"--vers"}, p.name + " (geoproof-tools) " GEOPROOF_VERSION "\n", "", 0},
        };
        if (!p.reads_files) {
            std::vector<std::string> abbreviated = {"--line-buf", "--"};
            abbreviated.insert(abbreviated.end(), p.args.begin(), p.args.end());
            cases.push_back({abbreviated, p.output, "", 0});
        } else {
            cases.insert(cases.end(), {
                {{file}, output_of(file), "", 0},
                {{"-"}, p.output, "", 0},
                {{"--line-buf", "--", "-"}, p.output, "", 0},
                {{"--", dash}, output_of(dash), "", 0},
                {{missing}, header, p.name + ": " + missing + ": No such file or directory\n", 2},
                {{dir}, header,
                 p.name + ": " + dir + (table ? ": Is a directory (use -r to read the reports under it)\n"
                                        : ": input in flex scanner failed: Is a directory\n"), 2},
            });
        }
        for (const auto& c : cases) {
            SCOPED_TRACE(p.name + " " + c.args.front());
            auto o = harness::run(harness::tool(p.name), p.sample, c.args);
            EXPECT_EQ(o.out, c.out);
            EXPECT_EQ(o.err, c.err);
            EXPECT_EQ(o.status, c.status);
        }
        if (!p.reads_files) continue;  // report-compare's runs: its own tests
        if (!table) {
            auto extra = harness::run(harness::tool(p.name), "", {file, "--", "-x"});
            EXPECT_EQ(extra.err, p.name + ": extra operand '-x'\n" + try_help);
            EXPECT_EQ(extra.out + std::to_string(extra.status), "2");
        }
        // Reading its own output would go on without end: refused, as cat refuses it.
        auto own = harness::run("/bin/sh", "", {"-c", "exec \"$0\" \"$1\" >> \"$1\"", harness::tool(p.name), file});
        EXPECT_EQ(own.err, p.name + ": " + file + ": input file is output file\n") << p.name;
        EXPECT_EQ(own.status, 2);
    }
}

// A file name that would move the cursor or retitle the terminal is shown quoted in messages,
// as coreutils' cat quotes it (run here in the C locale, the programs' own).
TEST(Suite, NamesInMessagesAreQuotedAsCoreutilsQuotesThem) {
    const std::string names[] = {"plain", "two words", "it's", "no\033]0;x\007such", "a:b",
                                 "tab\there", "caf\xc3\xa9", "x'\001", "\001'\002", "=x", "#x"};
    for (const auto& p : programs)
        for (const std::string& name : names) {
            const std::string path = "/nonexistent/" + name;
            auto ours = harness::run(harness::tool(p.name), "", {p.reads_files ? path : "run=" + path});
            auto cat = harness::run("/usr/bin/env", "", {"LC_ALL=C", "cat", path});
            EXPECT_EQ(ours.err.substr(p.name.size()), cat.err.substr(3)) << p.name;
        }
}

// Output that cannot be written ends the run at its first failed write, however much input is
// still to come: endless input into a full device, and into a pipe whose reader has gone with
// SIGPIPE ignored, as a shell or daemon may leave it.
TEST(Suite, FirstFailedWriteEndsTheRun) {
    for (const auto& p : programs) {
        if (!p.writes_as_it_reads) continue;
        SCOPED_TRACE(p.name);
        const std::string lines = p.sample.substr(0, p.sample.size() - 1);  // yes adds the newline
        auto full = harness::run("/bin/sh", "", {"-c", "yes \"$1\" | \"$0\" > /dev/full", harness::tool(p.name), lines},
                                 std::chrono::seconds(20));
        EXPECT_EQ(full.err, p.name + ": write error: No space left on device\n");
        EXPECT_EQ(full.status, 2);
        auto gone = harness::run("/bin/sh", "",
                                 {"-c", "trap '' PIPE; exec 3>&1; yes \"$1\" 2>/dev/null | { \"$0\"; echo $? >&3; } | head -c 1 >/dev/null",
                                  harness::tool(p.name), lines},
                                 std::chrono::seconds(20));
        EXPECT_EQ(gone.out, "2\n");
        EXPECT_EQ(gone.err, p.name + ": write error: Broken pipe\n");
    }
}

// A line that arrives through a pipe is answered as soon as it has arrived, without waiting for
// more input: at once where standard output is a terminal, and with --line-buffered where it
// is a pipe too.
TEST(Suite, LiveInputIsAnsweredLineByLine) {
    for (const auto& p : programs) {
        if (!p.writes_as_it_reads) continue;
        for (const char* command : {"cat | exec \"$0\"", "cat | \"$0\" --line-buffered | cat"}) {
            SCOPED_TRACE(p.name + ": " + command);
            harness::Terminal term("/bin/sh", {"-c", command, harness::tool(p.name)});
            term.type(p.sample);
            EXPECT_EQ(term.read(p.output.size()), p.output);
            EXPECT_EQ(term.finish(), 0);
        }
    }
}
