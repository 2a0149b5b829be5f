// How the tables write their fields: CSV as RFC 4180 quotes it, JSON strings with every byte
// outside well-formed UTF-8 replaced, and a filter's value as a JSON number where it is one.
// Everything goes through the output buffer (output.hpp).
#pragma once

#include <cstddef>
#include <string_view>

namespace table {

// A CSV field: quoted, with its double quotes doubled, when it holds a comma, a double quote,
// a carriage return or a line feed.
void put_csv_field(std::string_view text);

// Length of the well-formed UTF-8 sequence that `text` starts with, 0 when there is none.
std::size_t utf8_sequence(std::string_view text);

// A JSON string: '"' and '\' escaped, control characters as \u00XX, and every byte that is
// not part of a well-formed UTF-8 sequence replaced by U+FFFD.
void put_json_string(std::string_view text);

// Whether `text` is a number by JSON's grammar, without exponent: -?(0|[1-9][0-9]*)(\.[0-9]+)?
bool json_number(std::string_view text);

// A value as a JSON number when it is one (a count, a time, a code), otherwise as a string.
void put_json_value(std::string_view value);

}  // namespace table
