/* error-kind: a block naming the kind of every error line: the kind, then an empty line. */
%parse-param {filters::Sink& sink} {void* scanner}
%lex-param {void* scanner}
%expect 0
%code requires {
#include "recogniser.hpp"
}
%code {
#include "parser-frame.hpp"
}
%token SYNTAX_ERROR RUNTIME_ERROR
%%
report: %empty | report entry;

entry: '\n'
     | SYNTAX_ERROR '\n'                        { sink.line("Syntax Error"); sink.line(""); }
     | RUNTIME_ERROR '\n'                       { sink.line("Semantic Error"); sink.line(""); }
     | error '\n'                               { yyerrok; }
     ;
