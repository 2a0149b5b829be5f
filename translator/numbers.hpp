// Reading and writing the translator's numbers: the double strtod makes of a number token, and
// that double as printf's "%f" shows it.  Both take a short exact path for the everyday numbers
// and leave the rest to the standard library, so every result is the library's to the bit.
#pragma once

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string_view>

namespace numbers {

// The value of a number token: an optional sign, digits and at most one decimal point, with
// at least one digit.  Up to 19 significant digits and 22 after the point, the digits make an
// integer below 2^53 that a power of ten up to 10^22 divides: both are exact doubles, so the one
// correctly rounded division gives the double nearest the decimal value, as strtod does.
inline double value(const char* text, std::size_t length) {
    const char* p = text;
    const char* end = text + length;
    bool negative = *p == '-';
    if (*p == '+' || *p == '-') ++p;
    std::uint64_t digits = 0;
    int significant = 0, decimals = 0;
    bool point = false;
    for (; p < end; ++p) {
        if (*p == '.') {
            point = true;
            continue;
        }
        if (significant == 19) break;
        digits = digits * 10 + static_cast<unsigned>(*p - '0');
        significant += digits != 0;
        decimals += point;
    }
    static constexpr double powers[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                        1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                        1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    if (p == end && digits <= std::uint64_t{1} << 53 && decimals <= 22) {
        double magnitude = static_cast<double>(digits) / powers[decimals];
        return negative ? -magnitude : magnitude;
    }
    // from_chars takes no plus sign, and leaves a value beyond a double's range to strtod,
    // which makes it infinity or the nearest value it can.
    double result;
    const char* digits_start = *text == '+' ? text + 1 : text;
    if (std::from_chars(digits_start, end, result).ec != std::errc())
        result = std::strtod(text, nullptr);
    return result;
}

// `v` as "%f" shows it, in `text`, which has room for any double.  Below 10^12 in magnitude the
// double is m * 2^e exactly, so v * 10^6 = m * 10^6 * 2^e is an integer shifted right by -e; it
// is rounded to the nearest integer, a tie to the even one, as printf rounds the exact value.
inline std::string_view fixed(char* text, std::size_t size, double v) {
    if (!(std::fabs(v) < 1e12)) {
        char* end = std::to_chars(text, text + size, v, std::chars_format::fixed, 6).ptr;
        return {text, static_cast<std::size_t>(end - text)};
    }
    std::uint64_t bits = std::bit_cast<std::uint64_t>(std::fabs(v));
    int biased = static_cast<int>(bits >> 52);
    std::uint64_t m = bits & ((std::uint64_t{1} << 52) - 1);
    if (biased != 0) m |= std::uint64_t{1} << 52;
    int shift = 1075 - (biased != 0 ? biased : 1);  // v = m * 2^-shift, shift > 0 here
    unsigned __int128 scaled = static_cast<unsigned __int128>(m) * 1'000'000;
    std::uint64_t micro = 0;  // |v| * 10^6, rounded
    if (shift < 128) {
        auto whole = static_cast<std::uint64_t>(scaled >> shift);
        unsigned __int128 rest = scaled - (static_cast<unsigned __int128>(whole) << shift);
        unsigned __int128 half = static_cast<unsigned __int128>(1) << (shift - 1);
        micro = whole + (rest > half || (rest == half && (whole & 1)));
    }
    char* p = text;
    if (std::signbit(v)) *p++ = '-';
    p = std::to_chars(p, text + size, micro / 1'000'000).ptr;
    *p++ = '.';
    std::uint64_t fraction = micro % 1'000'000;
    for (int i = 5; i >= 0; --i, fraction /= 10) p[i] = static_cast<char>('0' + fraction % 10);
    p += 6;
    return {text, static_cast<std::size_t>(p - text)};
}

}  // namespace numbers
