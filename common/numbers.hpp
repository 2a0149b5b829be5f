// Reading and writing numbers: the double strtod makes of a number token, and that double as
// printf's "%f" or "%g" shows it.  Each takes a short exact path for everyday numbers and leaves
// the rest to the standard library, so every result is the C library's to the bit.
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
inline double decimal_value(const char* text, std::size_t length) {
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

namespace detail {

// A finite, non-negative v as m * 2^-shift exactly, for v below 2^52 (shift > 0 then).
struct Binary {
    std::uint64_t m;
    int shift;
};

inline Binary binary(double v) {
    std::uint64_t bits = std::bit_cast<std::uint64_t>(v);
    int biased = static_cast<int>(bits >> 52);
    std::uint64_t m = bits & ((std::uint64_t{1} << 52) - 1);
    if (biased != 0) m |= std::uint64_t{1} << 52;
    return {m, 1075 - (biased != 0 ? biased : 1)};
}

// m * scale * 2^-shift rounded to the nearest integer, a tie to the even one, as printf rounds;
// the result must fit 64 bits.
inline std::uint64_t rounded(Binary b, std::uint64_t scale) {
    unsigned __int128 scaled = static_cast<unsigned __int128>(b.m) * scale;
    if (b.shift >= 128) return 0;
    auto whole = static_cast<std::uint64_t>(scaled >> b.shift);
    unsigned __int128 rest = scaled - (static_cast<unsigned __int128>(whole) << b.shift);
    unsigned __int128 half = static_cast<unsigned __int128>(1) << (b.shift - 1);
    return whole + (rest > half || (rest == half && (whole & 1)));
}

// Writes `count` digits of `n`, with leading zeros, at `p`.
inline char* digits(char* p, std::uint64_t n, int count) {
    for (int i = count - 1; i >= 0; --i, n /= 10) p[i] = static_cast<char>('0' + n % 10);
    return p + count;
}

}  // namespace detail

// `v` as "%f" shows it, in `text`, which has room for any double.  Below 10^12 in magnitude,
// v * 10^6 = m * 10^6 * 2^-shift is found exactly and rounded as printf rounds.
inline std::string_view fixed(char* text, std::size_t size, double v) {
    if (!(std::fabs(v) < 1e12)) {
        char* end = std::to_chars(text, text + size, v, std::chars_format::fixed, 6).ptr;
        return {text, static_cast<std::size_t>(end - text)};
    }
    std::uint64_t micro = detail::rounded(detail::binary(std::fabs(v)), 1'000'000);
    char* p = text;
    if (std::signbit(v)) *p++ = '-';
    p = std::to_chars(p, text + size, micro / 1'000'000).ptr;
    *p++ = '.';
    p = detail::digits(p, micro % 1'000'000, 6);
    return {text, static_cast<std::size_t>(p - text)};
}

// A non-negative `v` as "%g" shows it, in `text`, which has room for any double.  From 10^-4 up
// to 10^6 "%g" is "%f" with six significant digits and the trailing zeros cut off: the six
// digits are v * 10^(5 - X) rounded, for X the place of the first, found exactly as above.
inline std::string_view general(char* text, std::size_t size, double v) {
    static constexpr std::uint64_t powers[] = {1,          10,        100,      1000,
                                               10000,      100000,    1000000,  10000000,
                                               100000000,  1000000000, 10000000000};
    if (v == 0 && !std::signbit(v)) {
        text[0] = '0';
        return {text, 1};
    }
    if (v >= 0.00009 && v < 1000000) {
        detail::Binary b = detail::binary(v);
        // floor(log10(v)) or one less, from the binary exponent 52 - shift: 78913 / 2^18 is just
        // below log10(2).  Rounding at one place too far left gives a seventh digit, and so does
        // rounding up to the next power of ten; either way X is one more.
        int x = (52 - b.shift) * 78913 >> 18;
        std::uint64_t six = detail::rounded(b, powers[5 - x]);
        for (int tries = 0; six >= 1000000 && x < 5 && tries < 2; ++tries)
            six = detail::rounded(b, powers[5 - ++x]);
        if (x >= -4 && x <= 5 && six >= 100000 && six < 1000000) {
            char* p = text;
            if (x >= 0) {
                p = detail::digits(p, six / powers[5 - x], x + 1);
                six %= powers[5 - x];
            }
            int decimals = x >= 0 ? 5 - x : 5;
            while (decimals > 0 && six % 10 == 0) {
                six /= 10;
                --decimals;
            }
            if (x < 0) {
                *p++ = '0';
                *p++ = '.';
                for (int zeros = -x - 1; zeros > 0; --zeros) *p++ = '0';
                p = detail::digits(p, six, decimals + 1);
            } else if (decimals > 0) {
                *p++ = '.';
                p = detail::digits(p, six, decimals);
            }
            return {text, static_cast<std::size_t>(p - text)};
        }
    }
    char* end = std::to_chars(text, text + size, v, std::chars_format::general, 6).ptr;
    return {text, static_cast<std::size_t>(end - text)};
}

// A decimal (digits and one point, no sign) as "%g" shows the double nearest it, when that
// takes no rounding: with at most six significant digits, from 10^-4 up to below 10^6, "%g"
// gives those same digits in fixed form, without the zeros before the whole part or after the
// fraction, and without the point when no fraction is left ("0" for zero).  That text is always
// a piece of the decimal itself, which is returned; an empty view when the decimal is not such
// a one.
inline std::string_view general_of_decimal(std::string_view decimal) {
    const std::size_t point = decimal.find('.');
    if (point == decimal.npos || point == 0) return {};
    std::size_t whole = 0;  // the first digit of the whole part that is not a zero
    while (whole < point && decimal[whole] == '0') ++whole;
    std::size_t end = decimal.size();  // after the last digit of the fraction that is not a zero
    while (end > point + 1 && decimal[end - 1] == '0') --end;
    const std::size_t whole_digits = point - whole, fraction_digits = end - point - 1;
    if (whole_digits > 0) {
        if (whole_digits + fraction_digits > 6) return {};
        return decimal.substr(whole, (fraction_digits > 0 ? end : point) - whole);
    }
    if (fraction_digits == 0) return decimal.substr(point - 1, 1);  // zero: "0"
    std::size_t zeros = 0;  // between the point and the first digit that is not a zero
    while (decimal[point + 1 + zeros] == '0') ++zeros;
    if (zeros > 3 || fraction_digits - zeros > 6) return {};
    return decimal.substr(point - 1, end - point + 1);  // "0." and the fraction
}

}  // namespace numbers
