// script-translator on proof goals: operand texts and their blanks, recovery inside a goal,
// the length limit of an operand, and nesting up to and past the parser's stack limit.
#include "harness.hpp"

#include <gtest/gtest.h>

using namespace std::string_literals;

namespace {
const char* const prog = "script-translator";
const std::string p12 = "point P 10.000000 20.000000\n", q34 = "point Q 30.000000 40.000000\n";
const std::string bad = "<error>";

std::string goal(const std::string& a, const std::string& b) {
    return "\nprove { equal " + a + " " + b + " }\n\n";
}

using harness::repeat;
}  // namespace

TEST(TranslatorGoals, OperandTexts) {
    harness::check(prog, {
        {"ratio", "prove { equal sratio P Q R S 1 }\n"s, goal("sratio P Q R S", "1.000000")},
        {"difference", "prove { equal pythagoras_difference3 P Q R 0 }\n"s,
         goal("pythagoras_difference3 P Q R", "0.000000")},
        {"areas", "prove { equal signed_area3 P Q R signed_area4 P Q R S }\n"s,
         goal("signed_area3 P Q R ", " signed_area4 P Q R S")},
        {"product in braces", "prove { equal { mult 2 3 } 6 }\n"s,
         goal("{ mult 2.000000 3.000000  }", "6.000000")},
        {"bare product", "prove { equal mult 2 3 6 }\n"s, goal("mult 2.000000 3.000000 ", "6.000000")},
        {"two numbers in order", "prove { equal 1 2 }\n"s, goal("1.000000", "2.000000")},
        {"no blanks at braces", "prove{equal{mult 2 3}6}\n"s,
         goal("{ mult 2.000000 3.000000  }", "6.000000")},
        {"four-point difference", "prove { equal pythagoras_difference4 A B' C D 0.5 }\n"s,
         goal("pythagoras_difference4 A B' C D", "0.500000")},
        {"numbers rounded, not scaled", "prove { equal 0.1234567 -.5 }\n"s,
         goal("0.123457", "-0.500000")},
        {"statements around a goal", "P = point(1, 2); prove { equal 1 2 }; Q = point(3, 4)\n"s,
         p12 + goal("1.000000", "2.000000") + q34},
        {"CR LF line ends", "prove { equal 1 2 }\r\nQ = point(3, 4)\r\n"s, goal("1.000000", "2.000000") + q34},
    });
}

TEST(TranslatorGoals, Recovery) {
    harness::check(prog, {
        {"single operand", "prove { equal 1 }\n"s, "\n"s + goal("1.000000", bad)},
        {"third operand", "prove { equal 1 2 3 }\n"s, "\n"s + goal("1.000000", bad)},
        {"operand broken off", "prove { equal sratio P Q 1 2 }\n"s, "\n"s + goal(bad, bad)},
        {"inside a brace group", "prove { equal { mult 2 } 3 }\n"s,
         "\n"s + goal("{ mult 2.000000 " + bad + "  }", "3.000000")},
        {"no operand: runs on to the next brace", "prove { equal }\nP = point(1, 2)\n}\nQ = point(3, 4)\n"s,
         "\n"s + goal(bad, bad) + q34},
        {"no operand, no later brace", "prove { equal }\nP = point(1, 2)\n"s, "\n"s, 1},
        {"broken over two lines", "prove { equal 1\n2 }\nQ = point(3, 4)\n"s,
         "\n"s + goal("1.000000", bad) + q34},
        {"unclosed, closed later", "prove { equal 1 2\nP = point(1, 2)\n}\nQ = point(3, 4)\n"s,
         "\n"s + goal("1.000000", bad) + q34},
        {"unclosed at end of input", "prove { equal 1 2\nP = point(1, 2)\n"s, "\n"s, 1},
        {"cut off after equal", "prove { equal"s, "\n"s, 1},
        {"cut off before equal", "P = point(1, 2)\nprove {"s, p12 + "\n", 0},
        {"line end before equal", "prove {\nQ = point(3, 4)\n"s, "\n" + q34},
        {"unterminated string in a goal", "prove { equal 1 \"x\nP = point(1, 2)\n2 }\n"s,
         "Unterminated character string\n" + goal("1.000000", bad)},
    });
}

TEST(TranslatorGoals, OperandsCutAt3999Characters) {
    const std::string a3986(3986, 'a'), a3977(3977, 'a'), a5000(5000, 'a');
    const std::string ratio = "sratio " + a3986 + " b c d";  // 3999 characters exactly
    harness::check(prog, {
        {"fits, and a second one one over",
         "prove { equal sratio " + a3986 + " b c d sratio " + a3986 + "a b c d }\n",
         goal(ratio, "sratio " + a3986 + "a b c ")},
        {"cut inside a number", "prove { equal mult sratio " + a3977 + " b c d 2 3 }\n",
         goal("mult sratio " + a3977 + " b c d 2.0", "3.000000")},
        {"an operand once cut stays cut", "prove { equal { sratio " + a5000 + " b c d } 1 }\n",
         goal("{ sratio " + a5000.substr(0, 3999 - 9), "1.000000")},
    });
}

TEST(TranslatorGoals, NestingUpToTheStackLimit) {
    const std::string products = repeat("mult 1.000000 ", 286);
    harness::check(prog, {
        {"5000 brace groups", "prove { equal " + repeat("{ ", 5000) + "1" + repeat(" }", 5000) + " 2 }\n",
         goal(repeat("{ ", 1999) + "{", "2.000000")},
        {"3000 products", "prove { equal " + repeat("mult 1 ", 3000) + "1 2 }\n",
         goal(products.substr(0, 3999), "2.000000")},
        {"brace groups past the limit",
         "P = point(1, 2)\nprove { equal " + repeat("{ ", 10000) + "1" + repeat(" }", 10000)
             + " 2 }\nQ = point(3, 4)\n",
         p12 + "\n", 2},
        {"products past the limit", "prove { equal " + repeat("mult 1 ", 10000) + "1 2 }\n", "\n"s, 2},
    });
}
