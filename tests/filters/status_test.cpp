// proof-status and proved-flag.
#include "harness.hpp"

#include <gtest/gtest.h>

using namespace std::string_literals;

namespace {

const std::string success = "The conjecture successfully proved.";
const std::string disproved = "The conjecture disproved.";
const std::string not_proved = "The conjecture not proved.";
const std::string timeout = "The conjecture not proved - timeout.";
const std::string step_limit = "The conjecture not proved - maximal number of proof steps reached.";
const std::string out_of_scope = "The conjecture out of scope of the prover.";
const std::string proved = "The conjecture has been proved.";

}  // namespace

TEST(ProofStatus, LastOutcomeSentenceWins)
{
    harness::check("proof-status", {
        {"empty input", ""s, "3\n"s},
        {"no sentence", "Total number of proof steps: 4\n"s, "3\n"s},
        {"success", success + "\n", "1\n"},
        {"disproved", disproved + "\n", "2\n"},
        {"not proved", success + "\n" + not_proved + "\n", "3\n"},
        {"timeout", timeout + "\n", "4\n"},
        {"step limit", step_limit + "\n", "5\n"},
        {"out of scope", out_of_scope + "\n", "6\n"},
        {"later sentence", "log\n" + success + "\n\nmore\n" + timeout + "\nend\n", "4\n"},
        {"later sentence, other order", timeout + "\n" + success + "\n", "1\n"},
        {"two on a line", disproved + " " + success + "\n", "1\n"},
        {"glued together", disproved + timeout, "4\n"},
        {"no final newline", disproved, "2\n"},
        {"text glued around", "xx" + out_of_scope + "yy\n", "6\n"},
        {"carriage return", disproved + "\r\n", "2\n"},
        {"NUL and high bytes", "\0\xff"s + disproved + "\0\x80\n"s, "2\n"},
        {"proved-flag's sentence", proved + "\n", "3\n"},
    });
}

TEST(ProofStatus, BrokenSentencesDoNotCount)
{
    harness::check("proof-status", {
        {"no full stop", disproved + "\nThe conjecture not proved - timeout\n", "2\n"},
        {"cut by a line break", disproved + "\nThe conjecture not proved -\ntimeout.\n", "2\n"},
        {"tab", success + "The conjecture\tdisproved.\n", "1\n"},
        {"two spaces", success + "The conjecture  disproved.\n", "1\n"},
        {"other case", success + "The Conjecture disproved.\n", "1\n"},
        {"broken one costs only its first letter", "The conjecture not proved - " + disproved, "2\n"},
    });
}

TEST(ProvedFlag, EachProvedLine)
{
    const std::string line = proved + "\n";
    harness::check("proved-flag", {
        {"recognised line", line, "1\n"},
        {"lines between", line + "\nlog 2\n" + proved + proved + "\n" + line + line, "1\n1\n1\n"},
        {"no final newline", line + proved, "1\n", 0},
        {"empty input", ""s, ""s},
        {"text and digits around", "12 ok" + proved + "42x\n", "1\n"},
        {"broken copy before it", "The conjecture has been " + line, "1\n"},
        {"twice on a line", proved + " " + line + line, "1\n"},
        {"carriage return", proved + "\r\n", "1\n"},
        {"NUL and high bytes", "\0\xff"s + proved + "\0\x80\n"s, "1\n"},
        {"no full stop", "The conjecture has been proved\n"s, ""s},
        {"tab", "The conjecture\thas been proved.\n"s, ""s},
        {"two spaces", "The conjecture has  been proved.\n"s, ""s},
        {"other case", "the conjecture has been proved.\n"s, ""s},
        {"cut by a line break", "The conjecture has\nbeen proved.\n"s, ""s},
        {"proof-status's sentence", success + "\n", ""},
    });
}
