/* runtime-error-flag, syntax-error-flag: a block for every line of their kind of error: the
   message, then an empty line. */
%parse-param {filters::Sink& sink} {void* scanner}
%lex-param {void* scanner}
%expect 0
%code requires {
#include "recogniser.hpp"
}
%code {
#include "parser-frame.hpp"
}
%token ERROR_PHRASE
%%
report: %empty | report entry;

entry: '\n'
     | ERROR_PHRASE '\n'                        { sink.line(FILTER_MESSAGE); sink.line(""); }
     | error '\n'                               { yyerrok; }
     ;
