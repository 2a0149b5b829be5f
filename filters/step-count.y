/* The proof-step counters: the count of every line that gives one. */
%parse-param {filters::Sink& sink} {void* scanner}
%lex-param {void* scanner}
%expect 0
%code requires {
#include "recogniser.hpp"
}
%code {
#include "parser-frame.hpp"
}
%code requires {
// A run of digits: its int value, or, when it does not fit an int, its digits.  Those stay
// valid until the next run is scanned, which is after the line that holds them is complete.
struct Count {
    int value;
    const char* digits;
};
}
%code {
#include <charconv>

// The count as "%d" writes it, or its digits.
static void write_count(filters::Sink& sink, Count count)
{
    char text[16];
    if (count.digits)
        sink.line(count.digits);
    else
        sink.line({text, static_cast<std::size_t>(std::to_chars(text, text + sizeof text, count.value).ptr - text)});
}
}
%define api.value.type {Count}
%token STEPS_PHRASE DIGITS
%%
report: %empty | report entry;

entry: '\n'
     | STEPS_PHRASE DIGITS '\n'                 { write_count(sink, $2); }
     | error '\n'                               { yyerrok; }
     ;
