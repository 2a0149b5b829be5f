// What the construction listing is made of: a statement's line written out, a goal operand's
// text put together from its pieces, a number's text, and a label's direction.
#pragma once

#include <initializer_list>
#include <string_view>

#include "output.hpp"
#include "texts.hpp"

namespace listing {

// What stands in a goal for an operand that could not be read.
inline constexpr std::string_view error_operand = "<error>";

// Writes the pieces of a statement's output, in order, through the output buffer.
inline void emit(std::initializer_list<std::string_view> pieces) {
    output::put(pieces);
    output::done();
}

// The pieces put together, as far as they fit in an operand's 3999 characters.
texts::Text compose(std::initializer_list<std::string_view> pieces);

// A number operand's text: its value as "%f" shows it.
texts::Text number_text(double value);

// How many error operands a goal operand's text holds; no name or number can look like one.
int count_error_operands(std::string_view text);

// The direction suffix of a label angle in degrees ("r", "rt", "t", ... "rb").
const char* direction(double degrees);

}  // namespace listing
