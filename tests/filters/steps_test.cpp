// The proof-step counters: algebraic-steps, elimination-steps, total-steps, geometric-steps.
#include "harness.hpp"

#include <gtest/gtest.h>

using namespace std::string_literals;
using harness::Case;

namespace {

struct Counter {
    const char* name;
    std::string phrase;
};

const std::vector<Counter> counters = {
    {"algebraic-steps", "Number of algebraic proof steps:"},
    {"elimination-steps", "Number of elimination proof steps:"},
    {"total-steps", "Total number of proof steps:"},
    {"geometric-steps", "Number of geometric proof steps:"},
};

using harness::broken;

std::vector<Case> cases(const std::string& p)
{
    const std::string nines(5000, '9');
    return {
        {"recognised line", p + " 12\n", "12\n"},
        {"glued or after tabs", p + "12\n" + p + "\t \t12\n", "12\n12\n"},
        {"lines between, nothing summed", p + " 1\n\nsteps 4\nx\n" + p + " 2\n" + p + "\n" + p + " 3\n",
         "1\n2\n3\n"},
        {"no final newline", p + " 1\n" + p + " 12", "1\n", 1},
        {"no final newline, digit only", "7", "", 1},
        {"no final newline, letters only", p + " 1\nsteps", "1\n"},
        {"text around", "Proof: " + p + " (5) steps\n" + p + " -7 in all\n", "5\n7\n"},
        {"carriage return", p + " 12\r\n", "12\n"},
        {"NUL and high bytes", "\0\xff"s + p + "\0\x80 12\xc3\n"s, "12\n"},
        {"digit before the phrase", "Step 2 " + p + " 4\n", ""},
        {"two numbers", p + " 4 5\n", ""},
        {"two phrases on a line", p + " 1 " + p + " 2\n" + p + " 3\n", "3\n"},
        {"number on the next line", p + "\n4\n", ""},
        {"phrase with a tab", broken(p, " ", "\t") + " 12\n", ""},
        {"phrase with two spaces", broken(p, " ", "  ") + " 12\n", ""},
        {"phrase in another case", broken(p, "f ", "F ") + " 12\n", ""},
        {"phrase without its colon", broken(p, ":", "") + " 12\n", ""},
        {"zero", p + " 0\n", "0\n"},
        {"leading zeros", p + " 007\n" + p + " 010\n" + p + " 000\n", "7\n10\n0\n"},
        {"fraction", p + " 3.5\n", ""},
        {"exponent", p + " 1.5e3\n", ""},
        {"no leading digits", p + " .5\n", "5\n"},
        {"largest int", p + " 2147483647\n", "2147483647\n"},
        {"just beyond an int", p + " 2147483648\n", "2147483648\n"},
        {"twelve digits", p + " 123456789012\n", "123456789012\n"},
        {"leading zeros beyond an int", p + " 0004294967296\n", "4294967296\n"},
        {"leading zeros within an int", p + " 000000000000002147483647\n", "2147483647\n"},
        {"huge run of digits", p + " " + nines + "\n" + p + " 5\n", nines + "\n5\n"},
    };
}

}  // namespace

TEST(Steps, EachCounterWithItsPhrase)
{
    for (const auto& c : counters) harness::check(c.name, cases(c.phrase));
}

TEST(Steps, OtherCountersPhrasesAreText)
{
    for (const auto& c : counters) {
        std::string input, output;
        for (const auto& other : counters) {
            input += other.phrase + " 45\n";
            if (other.phrase == c.phrase) output += "45\n";
        }
        harness::check(c.name, {{"all four phrases", input, output}});
    }
}
