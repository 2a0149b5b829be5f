/* prover-time, prover-time-colon: the seconds of every timing line. */
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
%token TIME_PHRASE SECONDS TIME_VALUE
%%
report: %empty | report entry;

entry: '\n'
     | TIME_PHRASE TIME_VALUE SECONDS '\n'      { filters::write_seconds(sink, $2); }
     | error '\n'                               { yyerrok; }
     ;
