// script-translator --diagnostics and its command line: what it tells for a table of scripts,
// and one property held on every script that the translator's tests run through
// harness::check and on generated scripts: each error the listing shows gets exactly one
// diagnostic, written to the merged streams right after the error's line break.
#include "harness.hpp"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <random>
#include <string>
#include <unistd.h>
#include <vector>

using namespace std::string_literals;

namespace {
const char* const prog = "script-translator";

using harness::repeat;

// Runs `input` with --diagnostics, standard error merged into standard output, and checks it
// against `plain`, the run without the option. Taken out of the merged bytes, the diagnostics
// must leave the listing as it was; the syntax diagnostics must stand exactly after the line
// breaks that report errors (empty lines, or ones that end the unterminated-string message,
// apart from the two empty lines around each goal), one each, in order; each "unterminated
// string" right before its message; their line numbers must not go back; an input that ends
// inside a goal (status 1) must be told so last, without a line break of its own where the
// parser was still recovering from an error in that goal; and a summary must end them when
// there was an error.
void expect_one_diagnostic_per_error(const std::string& input, const harness::Outcome& plain) {
    const std::string command = "exec '" + harness::tool(prog) + "' --diagnostics 2>&1";
    const harness::Outcome merged = harness::run("/bin/sh", input, {"-c", command});
    const std::string name = "<stdin>:", message = "Unterminated character string";
    const std::string goal = "prove { equal ";

    std::string listing, summary, last;
    std::vector<std::size_t> told, told_unterminated;  // listing offsets of the diagnostics
    long last_line = 0;
    for (std::size_t i = 0; i < merged.out.size();) {
        std::size_t at = merged.out.find(name, i), end = merged.out.find('\n', at);
        listing += merged.out.substr(i, at - i);
        if (at == std::string::npos) break;
        ASSERT_NE(end, std::string::npos) << merged.out;
        std::string line = merged.out.substr(at + name.size(), end - at - name.size());
        i = end + 1;
        if (line[0] == ' ') {
            summary = line;
            EXPECT_EQ(i, merged.out.size()) << "the summary is not last";
            continue;
        }
        long number = std::stol(line);
        EXPECT_GE(number, last_line) << line;
        last_line = number;
        bool unterminated = line.ends_with(": unterminated string");
        (unterminated ? told_unterminated : told).push_back(listing.size());
        last = line;
    }
    EXPECT_EQ(listing, plain.out);
    EXPECT_EQ(merged.status, plain.status);
    EXPECT_EQ(summary.empty(), told.empty()) << summary;

    std::vector<std::size_t> errors, messages;
    bool after_goal = false;
    for (std::size_t start = 0, nl; (nl = listing.find('\n', start)) != std::string::npos;
         start = nl + 1) {
        std::string line = listing.substr(start, nl - start);
        for (std::size_t m; (m = line.find(message)) != std::string::npos;) line.erase(m, message.size());
        bool before_goal = listing.compare(nl + 1, goal.size(), goal) == 0;
        if (line.empty() && !before_goal && !after_goal) errors.push_back(nl + 1);
        after_goal = listing.compare(start, goal.size(), goal) == 0;
    }
    for (std::size_t m = 0; (m = listing.find(message, m)) != std::string::npos; m += message.size())
        messages.push_back(m);
    EXPECT_EQ(merged.status == 1, last.ends_with(": unexpected end of input inside an unclosed goal"))
        << last;
    if (merged.status == 1 && told.size() == errors.size() + 1) told.pop_back();
    EXPECT_EQ(told, errors) << listing;
    EXPECT_EQ(told_unterminated, messages) << listing;
}

// Every case that check() runs in this test binary, the conformance tables of the other test
// files included, is held to the property too.
const bool every_case_checked =
    (harness::every_case = [](std::string_view program, const harness::Case& c,
                              const harness::Outcome& o) {
         if (program == prog) {
             SCOPED_TRACE("with --diagnostics");
             expect_one_diagnostic_per_error(c.input, o);
         }
     },
     true);

// A script of statements, some of them broken by cutting out or putting in a few characters,
// ended by newlines, semicolons, CR LF or comments.
std::string generated_script(std::mt19937& random) {
    static const std::string statements[] = {
        "P = point(1, -2.5)", "l = line(A, B)", "X = intersection(l, m)",
        "m = bisector(segment(A, B))", "draw(segment(A, B))", "label(A, 45:)",
        "prove { equal sratio A B C D 1 }", "prove { equal mult 2 { signed_area3 A B C } 4 }"};
    static const std::string insertions[] = {
        " Q ", "1", "(", ")", ",", "{", "}", ":", "!", "point", "equal", "\"s\"", "$t$",
        "\"open", "% note", "\xff", "\0"s, "\n", ";"};
    static const std::string ends[] = {"\n", "\n", "\n", ";", "\r\n", " % comment\n"};
    auto pick = [&random](const auto& list) {
        return list[random() % (sizeof list / sizeof list[0])];
    };
    std::string script;
    for (int lines = 1 + random() % 12; lines > 0; --lines) {
        std::string line = pick(statements);
        for (int changes = random() % 4 - 1; changes > 0; --changes) {
            std::size_t at = random() % line.size();
            if (random() % 2)
                line.erase(at, 1 + random() % 3);
            else
                line.insert(at, pick(insertions));
            if (line.empty()) line = pick(insertions);
        }
        script += line + pick(ends);
    }
    if (random() % 4 == 0) script.pop_back();
    return script;
}
}  // namespace

TEST(TranslatorDiagnostics, OnePerErrorOnGeneratedScripts) {
    std::mt19937 random(13);
    for (int i = 0; i < 300; ++i) {
        const std::string script = generated_script(random);
        SCOPED_TRACE(script);
        expect_one_diagnostic_per_error(script, harness::run(harness::tool(prog), script));
    }
}

TEST(TranslatorDiagnostics, WhatTheyTell) {
    struct Row {
        const char* name;
        std::string script;
        std::string told;  // standard error with --diagnostics
        int status = 0;
    };
    const auto tally = [](int statements, int operands) {
        return "<stdin>: " + std::to_string(statements) + (statements == 1 ? " statement" : " statements")
               + " skipped, " + std::to_string(operands) + (operands == 1 ? " goal operand" : " goal operands")
               + " unreadable\n";
    };
    const Row rows[] = {
        {"two mistakes", "P = point(1, 2)\nQ = point(3 4)\nl = line(P, Q\ndraw(segment(P, Q))\n",
         "<stdin>:2: unexpected number 4, expecting ','\n"
         "<stdin>:3: unexpected end of line, expecting ')'\n" + tally(2, 0)},
        {"no mistake, nothing told", "P = point(1, 2)\nprove { equal 1 2 }\n", ""},
        {"at the start of a statement", "point(1, 2)\n",
         "<stdin>:1: unexpected 'point', expecting a name, 'prove', 'draw' or 'label'\n" + tally(1, 0)},
        {"after a complete statement", "P = point(1, 2) " + std::string(50, 'n') + "\n",
         "<stdin>:1: unexpected name '" + std::string(40, 'n') + "...', expecting end of line\n"
             + tally(1, 0)},
        {"line end on its own line", "P = point(1,\n",
         "<stdin>:1: unexpected end of line, expecting a number\n" + tally(1, 0)},
        {"lines counted through comments and CR LF; a semicolon",
         "% comment\r\nP = point(1, 2);\r\n\r\nQ = point(1, 2;\n",
         "<stdin>:4: unexpected ';', expecting ')'\n" + tally(1, 0)},
        {"silent errors stay silent", "foo\nbar\n",
         "<stdin>:1: unexpected end of line, expecting '='\n" + tally(1, 0)},
        {"unterminated string, then the line after it",
         "x = \"abc\nP = point(1, 2)\nQ = 1\n",
         "<stdin>:1: unterminated string\n"
         "<stdin>:1: unexpected string, expecting 'point', 'line', 'intersection' or 'bisector'\n"
         "<stdin>:3: unexpected number 1, expecting 'point', 'line', 'intersection' or 'bisector'\n"
             + tally(2, 0)},
        {"bytes outside the language", "a\xff\nP = point(1, 2) !\n",
         "<stdin>:1: unexpected byte 0xff, expecting '='\n"
         "<stdin>:2: unexpected '!', expecting end of line\n" + tally(2, 0)},
        {"operand missing in a goal", "prove { equal 1 }\n",
         "<stdin>:1: unexpected '}' in a goal, expecting an operand\n" + tally(0, 1)},
        {"numbers as the script writes them",
         "Q = point(3 1.0000000001)\nQ = point(3 007)\nQ = point(3 " + std::string(400, '9') + ")\n",
         "<stdin>:1: unexpected number 1.0000000001, expecting ','\n"
         "<stdin>:2: unexpected number 007, expecting ','\n"
         "<stdin>:3: unexpected number " + std::string(40, '9') + "..., expecting ','\n" + tally(3, 0)},
        {"goal left open at its line end takes the rest with it",
         "prove { equal 1 2\nP = point(1, 2)\n\n% comment\nQ = point(3 4)\n",
         "<stdin>:1: unexpected end of line in a goal, expecting '}'\n"
         "<stdin>:5: unexpected end of input inside an unclosed goal\n" + tally(3, 0), 1},
        {"goal closed lines later", "prove { equal 1\nP = point(1, 2); Q = point(3, 4)\n} % c\n",
         "<stdin>:1: unexpected end of line in a goal, expecting an operand\n" + tally(2, 1)},
        {"goal cut off by the end of input", "P = point(1, 2)\nprove { equal",
         "<stdin>:2: unexpected end of input inside an unclosed goal\n" + tally(1, 0), 1},
        {"goal nested too deeply", "\nprove { equal " + repeat("{ ", 10000) + "1 2 }\n",
         "<stdin>:2: goal nested too deeply (the parser's stack is full)\n" + tally(1, 0), 2},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        auto o = harness::run(harness::tool(prog), row.script, {"--diagnostics"});
        EXPECT_EQ(o.err, row.told);
        EXPECT_EQ(o.status, row.status);
    }
}

// The option among the operands, and the script's name in the lines: as it is, or quoted as
// every message of the suite quotes names when it holds bytes a terminal would act on. What
// every program's command line does is checked for all of them in the suite's tests.
TEST(TranslatorDiagnostics, CommandLine) {
    const harness::Scratch scratch("script-translator-test");
    const std::string& dir = scratch.path();
    const std::string f = dir + "/fig.script"s, odd = dir + "/fig\033]0;x\a.script"s;
    const std::string odd_shown = "'"s + dir + "/fig'$'\\033'']0;x'$'\\a''.script'";
    const std::string script = "P = point(1 2)\nQ = point(3, 4)\n";
    for (const std::string& name : {f, odd}) {
        FILE* file = std::fopen(name.c_str(), "w");
        ASSERT_NE(file, nullptr);
        std::fputs(script.c_str(), file);
        std::fclose(file);
    }
    const auto told = [](const std::string& name) {
        return name + ":1: unexpected number 2, expecting ','\n" + name
               + ": 1 statement skipped, 0 goal operands unreadable\n";
    };
    struct Row {
        const char* name;
        std::vector<std::string> args;
        std::string out, err;
        int status;
    };
    const Row rows[] = {
        {"file operand", {"--diagnostics", f}, "\npoint Q 30.000000 40.000000\n", told(f), 0},
        {"- is standard input", {"-", "--diagnostics"}, "point R 0.000000 0.000000\n", "", 0},
        {"an abbreviation", {f, "--diag"}, "\npoint Q 30.000000 40.000000\n", told(f), 0},
        {"-- ends the options", {"--", "--diagnostics"}, "",
         "script-translator: --diagnostics: No such file or directory\n", 2},
        {"a name with control bytes", {"--diagnostics", odd}, "\npoint Q 30.000000 40.000000\n",
         told(odd_shown), 0},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        auto o = harness::run(harness::tool(prog), "R = point(0, 0)\n", row.args);
        EXPECT_EQ(o.out, row.out);
        EXPECT_EQ(o.err, row.err);
        EXPECT_EQ(o.status, row.status);
    }
}

// A diagnostic that cannot be written is lost output: the run ends at its first failed write to
// standard error with status 2, the listing written up to there kept, however much input is
// still to come: into a full device, a closed descriptor, a file that reaches its size limit at
// the summary line, and a pipe whose reader has gone with SIGPIPE ignored.
TEST(TranslatorDiagnostics, LostDiagnosticsEndTheRun) {
    std::string ten_errors;
    for (int i = 0; i < 10; ++i) ten_errors += "Q = point(3 4)\n";
    const struct {
        const char* name;
        std::string command, input, out;
        int status = 2;
    } rows[] = {
        {"full device", "exec \"$0\" --diagnostics 2>/dev/full", "P = point(1 2)\nQ = point(3, 4)\n", "\n"},
        {"closed", "exec \"$0\" --diagnostics 2>&-", "P = point(1 2)\nQ = point(3, 4)\n", "\n"},
        {"the summary past a size limit of 512 bytes",
         "e=$(mktemp); trap '' XFSZ; ulimit -f 1; \"$0\" --diagnostics 2>\"$e\"; s=$?; rm \"$e\"; exit $s",
         ten_errors, std::string(10, '\n')},
        {"endless input, full device", "yes 'Q = point(3 4)' | \"$0\" --diagnostics 2>/dev/full", "", "\n"},
        {"endless input, reader gone",
         "trap '' PIPE; exec 3>&1; yes 'Q = point(3 4)' 2>/dev/null |"
         " { \"$0\" --diagnostics 2>&1 >/dev/null; echo $? >&3; } | head -n 1 >/dev/null",
         "", "2\n", 0},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        auto o = harness::run("/bin/sh", row.input, {"-c", row.command, harness::tool(prog)},
                              std::chrono::seconds(20));
        EXPECT_EQ(o.out, row.out);
        EXPECT_EQ(o.status, row.status);
    }
}
