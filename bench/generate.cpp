// Deterministic generator of benchmark inputs: prover reports, construction scripts and
// program texts of any size, and directories of many small prover reports.
//
//   bench-generate report|script|program BYTES [SEED]
//   bench-generate colon-report|script-mix|program-mix BYTES [SEED]
//   bench-generate reports COUNT DIRECTORY [SEED]
//
// colon-report: a report where about 38% of the lines hold a colon; script-mix: all seven kinds
// of statement in equal shares with deeply nested goals; program-mix: a program text of the
// token mix described at program_mix_line.
//
// The first two forms write to standard output. The last writes COUNT reports of 2 to 20 KB,
// DIRECTORY/report-00001.txt on, each the account of one prover run. The same arguments
// always give the same bytes. --help writes these forms to standard output; a command line
// short of them writes them to standard error, with status 2.
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <sys/stat.h>

namespace {

struct Rng {
    std::uint64_t s;
    std::uint64_t next() {
        s ^= s << 13;
        s ^= s >> 7;
        s ^= s << 17;
        return s;
    }
    unsigned below(unsigned n) { return static_cast<unsigned>(next() % n); }
    bool one_in(unsigned n) { return below(n) == 0; }
    double uniform() { return static_cast<double>(next() >> 11) * 0x1p-53; }  // [0, 1)
    double normal() {  // Box-Muller
        return std::sqrt(-2 * std::log(1 - uniform())) * std::cos(6.283185307179586 * uniform());
    }
};

std::string point(Rng& r) {
    std::string p(1, static_cast<char>('A' + r.below(26)));
    if (r.one_in(4)) p += static_cast<char>('0' + r.below(10));
    if (r.one_in(8)) p += '\'';
    return p;
}

std::string num(Rng& r, int decimals) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*f", decimals, r.below(100000) / 100.0);
    return buf;
}

// Lines a report is made of: free text with point names, numbers, parentheses and colons.
std::string free_line(Rng& r) {
    char buf[256];
    switch (r.below(6)) {
    case 0:
        std::snprintf(buf, sizeof buf, "  %u. collinear(%s, %s, %s) by rule %u (midpoint of %s%s)\n",
                      r.below(900), point(r).c_str(), point(r).c_str(), point(r).c_str(), r.below(40),
                      point(r).c_str(), point(r).c_str());
        break;
    case 1:
        std::snprintf(buf, sizeof buf, "Eliminating x_%u from p_%u: degree %u, %u terms\n", r.below(99),
                      r.below(99), r.below(9), r.below(500));
        break;
    case 2:
        std::snprintf(buf, sizeof buf, "  S_{%s%s%s} = %s * S_{%s%s%s} - P(%s,%s,%s)\n", point(r).c_str(),
                      point(r).c_str(), point(r).c_str(), num(r, 2).c_str(), point(r).c_str(),
                      point(r).c_str(), point(r).c_str(), point(r).c_str(), point(r).c_str(),
                      point(r).c_str());
        break;
    case 3:
        std::snprintf(buf, sizeof buf, "Lemma %u: ratio %s%s/%s%s = %s (area method, step %u)\n",
                      r.below(300), point(r).c_str(), point(r).c_str(), point(r).c_str(),
                      point(r).c_str(), num(r, 3).c_str(), r.below(1000));
        break;
    case 4:
        std::snprintf(buf, sizeof buf, "\n");
        break;
    default:
        std::snprintf(buf, sizeof buf, "    [%s] simplified: %s + %s = 0 (%u ms)\n", point(r).c_str(),
                      num(r, 1).c_str(), num(r, 4).c_str(), r.below(5000));
    }
    return buf;
}

// Lines that one filter or another recognises, plus near misses that must be skipped.
std::string special_line(Rng& r) {
    static const char* const sentences[] = {
        "The conjecture successfully proved.", "The conjecture disproved.",
        "The conjecture not proved.", "The conjecture not proved - timeout.",
        "The conjecture not proved - maximal number of proof steps reached.",
        "The conjecture out of scope of the prover.", "The conjecture has been proved."};
    static const char* const steps[] = {
        "Number of algebraic proof steps:", "Number of elimination proof steps:",
        "Total number of proof steps:", "Number of geometric proof steps:"};
    char buf[256];
    switch (r.below(10)) {
    case 0:
        std::snprintf(buf, sizeof buf, "Time spent by the prover is %s seconds.\n", num(r, 3).c_str());
        break;
    case 1:
        std::snprintf(buf, sizeof buf, "Time spent by the prover: %s seconds\n", num(r, 2).c_str());
        break;
    case 2:
        std::snprintf(buf, sizeof buf, "elapsed %u:%02u.%02u\n", r.below(60), r.below(60), r.below(100));
        break;
    case 3:
        std::snprintf(buf, sizeof buf, "%s %u\n", steps[r.below(4)], r.below(100000));
        break;
    case 4:
        std::snprintf(buf, sizeof buf, "%s\n", sentences[r.below(7)]);
        break;
    case 5:
        std::snprintf(buf, sizeof buf, "Syntax error at line %u\n", r.below(200));
        break;
    case 6:
        std::snprintf(buf, sizeof buf, "Run-time error: division by zero in step %u\n", r.below(200));
        break;
    case 7:  // a phrase without its value
        std::snprintf(buf, sizeof buf, "%s\n", steps[r.below(4)]);
        break;
    case 8:  // a broken phrase
        std::snprintf(buf, sizeof buf, "Time spent by the  prover is %s seconds\n", num(r, 1).c_str());
        break;
    default:  // two phrases on one line
        std::snprintf(buf, sizeof buf, "Syntax error; Run-time error\n");
    }
    return buf;
}

std::string report_line(Rng& r) { return r.one_in(40) ? special_line(r) : free_line(r); }

std::string goal_operand(Rng& r, int depth) {
    switch (depth > 2 ? r.below(6) : r.below(8)) {
    case 0: return "sratio " + point(r) + " " + point(r) + " " + point(r) + " " + point(r);
    case 1: return "signed_area3 " + point(r) + " " + point(r) + " " + point(r);
    case 2: return "signed_area4 " + point(r) + " " + point(r) + " " + point(r) + " " + point(r);
    case 3: return "pythagoras_difference3 " + point(r) + " " + point(r) + " " + point(r);
    case 4: return "pythagoras_difference4 " + point(r) + " " + point(r) + " " + point(r) + " " + point(r);
    case 5: return num(r, 1);
    case 6: return "mult " + goal_operand(r, depth + 1) + " " + goal_operand(r, depth + 1);
    default: return "{ " + goal_operand(r, depth + 1) + " }";
    }
}

std::string script_line(Rng& r) {
    std::string a = point(r), b = point(r), c = point(r);
    switch (r.below(12)) {
    case 0: case 1: case 2:
        return a + " = point(" + num(r, 1) + ", -" + num(r, 2) + ")\n";
    case 3: return "l" + a + " = line(" + b + ", " + c + ")\n";
    case 4: return a + " = intersection(l" + b + ", l" + c + ")\n";
    case 5: return "m" + a + " = bisector(segment(" + b + ", " + c + "))\n";
    case 6: return "draw(segment(" + a + ", " + b + "))\n";
    case 7: return "label(" + a + ", " + std::to_string(static_cast<int>(r.below(720)) - 360) + ":)\n";
    case 8: return "prove { equal " + goal_operand(r, 0) + " " + goal_operand(r, 0) + " }\n";
    case 9: return "% construction of " + a + b + c + "\n";
    case 10: return a + " = point(" + b + ", 1)\n";  // malformed: a name where a number is due
    default: return "\n";
    }
}

std::string program_line(Rng& r) {
    static const char* const words[] = {"begin", "end", "function", "if", "procedure", "then",
                                        "x",     "count", "total1", "ifx", "n"};
    std::string line;
    unsigned n = 2 + r.below(8);
    for (unsigned i = 0; i < n; ++i) {
        switch (r.below(7)) {
        case 0: line += std::to_string(r.below(100000)); break;
        case 1: line += num(r, 2); break;
        case 2: line += "+-*/"[r.below(4)]; break;
        case 3: line += "{ comment }"; break;
        case 4: line += ":="; break;
        default: line += words[r.below(11)];
        }
        line += r.one_in(5) ? "\t" : " ";
    }
    return line + "\n";
}


// A report where about 38% of the lines hold a colon: proof traces with labelled steps and
// `key: value` headers among the usual lines (those of report_line without a colon).
std::string colon_report_line(Rng& r) {
    static const char* const keys[] = {"Prover", "Status", "Goal", "Points", "Method", "Input"};
    static const char* const facts[] = {"collinear", "parallel", "perpendicular", "midpoint",
                                        "eqangle", "cyclic"};
    char buf[256];
    unsigned pick = r.below(100);
    if (pick < 26) {
        std::snprintf(buf, sizeof buf, "Step %u: %s(%s, %s, %s) by rule %u\n", r.below(1000),
                      facts[r.below(6)], point(r).c_str(), point(r).c_str(), point(r).c_str(),
                      r.below(40));
    } else if (pick < 32) {
        std::snprintf(buf, sizeof buf, "  %u: S_{%s%s%s} = %u\n", r.below(500), point(r).c_str(),
                      point(r).c_str(), point(r).c_str(), r.below(10000));
    } else if (pick < 37) {
        std::snprintf(buf, sizeof buf, "%s: %s%u\n", keys[r.below(6)], point(r).c_str(), r.below(100));
    } else if (pick < 38) {
        std::snprintf(buf, sizeof buf, "elapsed %u:%02u.%02u\n", r.below(60), r.below(60), r.below(100));
    } else {
        std::string line;
        do line = report_line(r); while (line.find(':') != std::string::npos);
        return line;
    }
    return buf;
}

// A program text of the token mix: 45% words (many reserved), 15% integers of up to 5 digits,
// 10% reals, 15% operators, 5% brace comments and 10% other punctuation; 3 to 12 tokens a line.
std::string program_mix_line(Rng& r) {
    static const char* const words[] = {"begin", "end", "function", "if", "procedure", "then",
                                        "x", "count", "total1", "ifx", "n", "value", "i", "sum"};
    static const char* const punctuation[] = {":=", ";", "(", ")"};
    static const unsigned powers[] = {10, 100, 1000, 10000, 100000};
    std::string line;
    for (unsigned i = 3 + r.below(10); i > 0; --i) {
        unsigned pick = r.below(100);
        char buf[32];
        if (pick < 45) line += words[r.below(14)];
        else if (pick < 60) line += std::to_string(r.below(powers[r.below(5)]));
        else if (pick < 70) {
            std::snprintf(buf, sizeof buf, "%u.%02u", r.below(1000), r.below(100));
            line += buf;
        } else if (pick < 85) line += "+-*/"[r.below(4)];
        else if (pick < 90) line += "{ note }";
        else line += punctuation[r.below(4)];
        line += i > 1 ? " " : "\n";
    }
    return line;
}

// A construction script with all seven kinds of statement in equal shares, its goals nesting
// mult, braces, sratio and pythagoras_difference4.
std::string mix_operand(Rng& r, int depth) {
    switch (depth < 3 ? r.below(8) : r.below(5)) {
    case 0: return "sratio " + point(r) + " " + point(r) + " " + point(r) + " " + point(r);
    case 1: return "pythagoras_difference4 " + point(r) + " " + point(r) + " " + point(r) + " " + point(r);
    case 2: return "signed_area3 " + point(r) + " " + point(r) + " " + point(r);
    case 3: return "pythagoras_difference3 " + point(r) + " " + point(r) + " " + point(r);
    case 4: return num(r, 1);
    case 5: case 6: return "mult " + mix_operand(r, depth + 1) + " " + mix_operand(r, depth + 1);
    default: return "{ " + mix_operand(r, depth + 1) + " }";
    }
}

std::string script_mix_line(Rng& r) {
    std::string a = point(r), b = point(r), c = point(r);
    switch (r.below(7)) {
    case 0: return a + " = point(" + num(r, 1) + ", -" + num(r, 2) + ")\n";
    case 1: return "l" + a + " = line(" + b + ", " + c + ")\n";
    case 2: return a + " = intersection(l" + b + ", l" + c + ")\n";
    case 3: return "m" + a + " = bisector(segment(" + b + ", " + c + "))\n";
    case 4: return "draw(segment(" + a + ", " + b + "))\n";
    case 5: return "label(" + a + ", " + std::to_string(static_cast<int>(r.below(720)) - 360) + ":)\n";
    default: return "prove { equal " + mix_operand(r, 0) + " " + mix_operand(r, 0) + " }\n";
    }
}

// One prover run's report, like examples/report.txt: a header (sometimes with a syntax or a
// run-time error), one or two proof attempts of ordinary proof text, each with its step counts,
// outcome sentence, prover time and wall clock, and a summary. Outcomes are mostly successful
// proofs; times spread over six orders of magnitude, up to the time limit.
std::string numbered(unsigned long n) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%05lu", n);
    return buf;
}

std::string prover_report(Rng& r, unsigned long number) {
    static const char* const outcomes[] = {
        "The conjecture successfully proved.", "The conjecture disproved.",
        "The conjecture not proved.", "The conjecture not proved - timeout.",
        "The conjecture not proved - maximal number of proof steps reached.",
        "The conjecture out of scope of the prover."};
    const double limit = 300;
    char buf[256];
    std::string text;
    auto add = [&](const char* format, auto... args) {
        std::snprintf(buf, sizeof buf, format, args...);
        text += buf;
    };
    auto clock = [&](double seconds) {
        add("Wall clock %u:%05.2f\n", static_cast<unsigned>(seconds / 60), std::fmod(seconds, 60));
    };

    const std::size_t size = 2100 + r.below(18000);
    text = "Prover report for figure-" + numbered(number) + ".listing\n";
    text += std::string(text.size() - 1, '=') + "\n\n";
    add("Reading figure-%s.listing (%u lines).\n", numbered(number).c_str(), 5 + r.below(60));
    const bool syntax_error = r.one_in(20);
    if (syntax_error)
        add("figure-%s.listing, line %u: Syntax error near \"%s\"; the command is skipped\n",
            numbered(number).c_str(), 1 + r.below(60), point(r).c_str());
    if (r.one_in(25))
        add("Run-time error in drawing: label of %s at (%s, %s) overlaps segment %s %s\n",
            point(r).c_str(), num(r, 1).c_str(), num(r, 1).c_str(), point(r).c_str(),
            point(r).c_str());
    add("Time limit: %.1f seconds per attempt\n\nConjecture:\n    %s\n", limit,
        goal_operand(r, 0).c_str());
    if (syntax_error && r.one_in(2)) {  // the prover gives up before any attempt
        text += "\nNo attempt: the listing has errors.\n";
        while (text.size() < size) text += free_line(r);
        return text;
    }

    // Outcome weights out of 100: 70 proved, 5 disproved, 6 not proved, 10 timeouts, 6 step
    // limits, 3 out of scope.
    static const unsigned weights[] = {70, 5, 6, 10, 6, 3};
    unsigned outcome = 0;
    for (unsigned pick = r.below(100); pick >= weights[outcome]; ++outcome) pick -= weights[outcome];
    double seconds = std::exp(std::log(0.4) + 2.3 * r.normal());
    if (outcome == 3) seconds = limit + r.uniform() * 0.05;
    seconds = std::fmin(std::fmax(seconds, 0.001), limit);
    const bool colon_form = r.one_in(5), no_time = r.one_in(20);

    const unsigned attempts = outcome != 4 && r.one_in(6) ? 2 : 1;  // the first stopped early
    const std::size_t tail = 250 * attempts;  // about what the steps, outcomes and summary take
    const std::size_t body = (size > text.size() + tail ? size - text.size() - tail : 0) / attempts;
    double total = 0;
    for (unsigned a = 1; a <= attempts; ++a) {
        const bool last = a == attempts;
        const unsigned most = last ? 5000 : 3 + r.below(20);
        add("\nAttempt %u, at most %u proof steps\n", a, most);
        for (std::size_t start = text.size(); text.size() - start < body;) text += free_line(r);
        const unsigned elimination = r.below(most / 4 + 1), geometric = r.below(most / 4 + 1);
        const unsigned algebraic = r.below(most / 2 + 1);
        add("Number of elimination proof steps: %u\n", elimination);
        add("Number of geometric proof steps: %u\n", geometric);
        add("Number of algebraic proof steps: %u\n", algebraic);
        add("Total number of proof steps: %u\n", last ? elimination + geometric + algebraic : most);
        const double took = last ? seconds : std::fmax(0.001, seconds * r.uniform() / 4);
        total += took;
        if (!last) {
            add("%s\n", outcomes[4]);
            add("Time spent by the prover is %.3f seconds (stopped early)\n", took);
        } else {
            if (outcome == 0 && !r.one_in(4)) text += "The conjecture has been proved.\n";
            add("%s\n", outcomes[outcome]);
            if (!colon_form && !no_time) add("Time spent by the prover is %.3f seconds.\n", took);
        }
        clock(took + 0.01 + r.uniform() / 4);
    }
    add("\nSummary of %u attempt%s\n", attempts, attempts > 1 ? "s" : "");
    if (colon_form && !no_time) add("Time spent by the prover: %.3f seconds\n", total);
    return text;
}

const char usage[] = "usage: bench-generate report|script|program BYTES [SEED]\n"
                     "       bench-generate colon-report|script-mix|program-mix BYTES [SEED]\n"
                     "       bench-generate reports COUNT DIRECTORY [SEED]\n";

}  // namespace

int main(int argc, char** argv) {
    if (argc == 2 && !std::strcmp(argv[1], "--help"))
        return std::fputs(usage, stdout) >= 0 && std::fflush(stdout) == 0 ? 0 : 1;
    if (argc < 3) {
        std::fputs(usage, stderr);
        return 2;
    }
    if (!std::strcmp(argv[1], "reports")) {
        if (argc < 4) {
            std::fprintf(stderr, "bench-generate: reports needs a COUNT and a DIRECTORY\n");
            return 2;
        }
        const unsigned long count = std::strtoul(argv[2], nullptr, 10);
        if (mkdir(argv[3], 0777) != 0 && errno != EEXIST) {
            std::perror(argv[3]);
            return 1;
        }
        Rng r{argc > 4 ? std::strtoull(argv[4], nullptr, 10) | 1 : 0x9e3779b97f4a7c15ULL};
        for (unsigned long i = 1; i <= count; ++i) {
            const std::string name = argv[3] + ("/report-" + numbered(i)) + ".txt";
            const std::string text = prover_report(r, i);
            std::FILE* f = std::fopen(name.c_str(), "w");
            bool ok = f && std::fwrite(text.data(), 1, text.size(), f) == text.size();
            if (f && std::fclose(f) != 0) ok = false;
            if (!ok) {
                std::perror(name.c_str());
                return 1;
            }
        }
        return 0;
    }
    std::string (*line)(Rng&) = nullptr;
    if (!std::strcmp(argv[1], "report")) line = report_line;
    else if (!std::strcmp(argv[1], "script")) line = script_line;
    else if (!std::strcmp(argv[1], "program")) line = program_line;
    else if (!std::strcmp(argv[1], "colon-report")) line = colon_report_line;
    else if (!std::strcmp(argv[1], "script-mix")) line = script_mix_line;
    else if (!std::strcmp(argv[1], "program-mix")) line = program_mix_line;
    else {
        std::fprintf(stderr, "bench-generate: unknown kind '%s'\n", argv[1]);
        return 2;
    }
    unsigned long long want = std::strtoull(argv[2], nullptr, 10);
    Rng r{argc > 3 ? std::strtoull(argv[3], nullptr, 10) | 1 : 0x9e3779b97f4a7c15ULL};
    unsigned long long written = 0;
    while (written < want) {
        std::string l = line(r);
        std::fwrite(l.data(), 1, l.size(), stdout);
        written += l.size();
    }
    return std::fflush(stdout) == 0 ? 0 : 1;
}
