/* clock-seconds: every clock reading M:SS.cc as its total in seconds. */
%parse-param {filters::Sink& sink} {void* scanner}
%lex-param {void* scanner}
%expect 0
%code requires {
#include "recogniser.hpp"
}
%code {
#include "parser-frame.hpp"
#include "seconds.hpp"
}
%define api.value.type {double}
%token DIGITS COLON DOT
%code {
// (m * 60 + s) + c / 100 in extended precision, rounded once to double.
static double total_seconds(long double m, long double s, long double c)
{
    return static_cast<double>(m * 60.0L + s + c / 100.0L);
}
}
%%
report: %empty | report entry;

entry: '\n'
     | DIGITS COLON DIGITS DOT DIGITS '\n'      { filters::write_seconds(sink, total_seconds($1, $3, $5)); }
     | error '\n'                               { yyerrok; }
     ;
