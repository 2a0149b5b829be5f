// The timing filters' output: a number of seconds as "%f" writes it.
#pragma once

#include "numbers.hpp"
#include "recogniser.hpp"

namespace filters {

inline void write_seconds(Sink& sink, double value)
{
    char text[400];
    sink.line(numbers::fixed(text, sizeof text, value));
}

}  // namespace filters
