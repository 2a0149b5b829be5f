/* proved-flag: 1 for every line that says the conjecture has been proved. */
%parse-param {filters::Sink& sink} {void* scanner}
%lex-param {void* scanner}
%expect 0
%code requires {
#include "recogniser.hpp"
}
%code {
#include "parser-frame.hpp"
}
%token PROVED_PHRASE
%%
report: %empty | report entry;

entry: '\n'
     | PROVED_PHRASE '\n'                       { sink.line("1"); }
     | error '\n'                               { yyerrok; }
     ;
