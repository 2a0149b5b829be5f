// prover-time, prover-time-colon and clock-seconds.
#include "harness.hpp"

#include <gtest/gtest.h>

using namespace std::string_literals;
using harness::Case;

namespace {

const std::string is_phrase = "Time spent by the prover is";
const std::string colon_phrase = "Time spent by the prover:";

using harness::broken;

// The behaviour both phrase variants share; `unfinished` is the status after a recognised
// last line without its newline.
std::vector<Case> phrase_cases(const std::string& p, int unfinished)
{
    const std::string line = p + " 12.5 seconds\n";
    return {
        {"recognised line", line, "12.500000\n"},
        {"lines between", line + "\nnoise 3.5\n" + p + " 2.0\n" + line, "12.500000\n12.500000\n"},
        {"no final newline", line + p + " 12.5 seconds", "12.500000\n", unfinished},
        {"no final newline, no token", line + "no time here", "12.500000\n"},
        {"text around and glued", "xx" + p + "1.5seconds.\n", "1.500000\n"},
        {"blanks and words between", p + "\t about  2.5 \t seconds \n", "2.500000\n"},
        {"carriage return", p + " 2.5 seconds\r\n", "2.500000\n"},
        {"NUL and high bytes", "\0\xff"s + p + "\0 2.5\x80 seconds\xc3\n"s, "2.500000\n"},
        {"two phrases on a line", p + " 1.5 seconds " + line + line, "12.500000\n"},
        {"value on the next line", p + "\n12.5 seconds\n", ""},
        {"phrase with a tab", broken(p, " ", "\t") + " 12.5 seconds\n", ""},
        {"phrase with two spaces", broken(p, " ", "  ") + " 12.5 seconds\n", ""},
        {"phrase in another case", broken(p, "T", "t") + " 12.5 seconds\n", ""},
        {"singular second", p + " 12.5 second\n", ""},
        {"a number after seconds", p + " 12.5 seconds (3.25)\n", ""},
        {"no fraction", p + " 5 seconds\n", ""},
        {"no leading digits", p + " .5 seconds\n", ""},
        {"no digits after the point", p + " 5. seconds\n", ""},
        {"exponent dropped", p + " 1.5e3 seconds\n", "1.500000\n"},
        {"second point dropped", p + " 1.5.3 seconds\n", "1.500000\n"},
        {"sign dropped", p + " -2.5 seconds\n", "2.500000\n"},
        {"leading zeros", p + " 007.50 seconds\n", "7.500000\n"},
        {"rounded to six places", p + " 1.2345678 seconds\n", "1.234568\n"},
        {"twelve digits", p + " 123456789012.5 seconds\n", "123456789012.500000\n"},
        {"milliseconds", p + " 1.5 milliseconds\n", "1.500000\n"},
        {"beyond a double", p + " 1" + std::string(400, '0') + ".5 seconds\n", "inf\n"},
    };
}

}  // namespace

TEST(Timing, ProverTime)
{
    harness::check("prover-time", phrase_cases(is_phrase, 0));
    harness::check("prover-time", {
        {"the colon variant", colon_phrase + " 1.5 seconds\n", ""},
        {"unfinished bad line", is_phrase + " 1.5", "", 0},
    });
}

TEST(Timing, ProverTimeColon)
{
    harness::check("prover-time-colon", phrase_cases(colon_phrase, 1));
    harness::check("prover-time-colon", {
        {"the other variant", is_phrase + " 1.5 seconds\n", ""},
        {"no colon", "Time spent by the prover 1.5 seconds\n", ""},
        {"unfinished bad line", colon_phrase + " 1.5", "", 1},
    });
}

TEST(Timing, ClockSeconds)
{
    harness::check("clock-seconds", {
        {"reading", "12:34.56\n"s, "754.560000\n"s},
        {"zero", "0:00.00\n"s, "0.000000\n"s},
        {"lines between", "0:01.23\n\nlog 7\nx\n1:00.00\n"s, "1.230000\n60.000000\n"s},
        {"no final newline", "0:01.23\n0:01.23"s, "1.230000\n"s, 1},
        {"no final newline, no token", "0:01.23\nend"s, "1.230000\n"s},
        {"blanks between the fields", "0 : 01 . 23\n"s, "1.230000\n"s},
        {"text around and glued", "took1:02.50s\n"s, "62.500000\n"s},
        {"trailing full stop", "1:02.50.\n"s, ""s},
        {"carriage return", "1:02.50\r\n"s, "62.500000\n"s},
        {"NUL and high bytes", "\0" "1\xff:\x80" "02.50\0\n"s, "62.500000\n"s},
        {"sign dropped", "-1:02.50\n"s, "62.500000\n"s},
        {"one digit of hundredths", "1:02.5\n"s, "62.050000\n"s},
        {"three digits of hundredths", "1:02.123\n"s, "63.230000\n"s},
        {"seconds beyond 59", "1:75.00\n"s, "135.000000\n"s},
        {"leading zeros", "007:007.007\n"s, "427.070000\n"s},
        {"twelve digits", "123456789012:00.00\n"s, "7407407340720.000000\n"s},
        {"rounded once", "90000378:9.94505355081\n"s, "6345076239.810000\n"s},
        {"beyond a double", "1"s + std::string(400, '0') + ":00.00\n", "inf\n"s},
        {"hour field", "1:02:03.45\n"s, ""s},
        {"no hundredths", "1:02\n"s, ""s},
        {"no minutes", ":02.50\n"s, ""s},
        {"no leading digits", "1:.5\n"s, ""s},
        {"exponent", "0:1.5e3\n"s, ""s},
        {"label with a colon", "time: 1:02.50\n"s, ""s},
        {"another number", "1:02.50 (2)\n"s, ""s},
        {"two readings", "1:02.50 1:02.50\n"s, ""s},
        {"split over lines", "1:02\n.50\n"s, ""s},
    });
}
