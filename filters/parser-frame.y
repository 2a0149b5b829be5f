/* What every filter's parser shares: a pure parser called @PREFIX@parse, which hands what the
   filter writes to a sink and takes its tokens from the scanner it is given. */
%define api.pure full
%define api.prefix {@PREFIX@}
%parse-param {filters::Sink& sink} {void* scanner}
%lex-param {void* scanner}
%code requires {
#include "recogniser.hpp"
}
%code {
int yylex(YYSTYPE* value, void* scanner);
/* A bad line is skipped without a word. */
static void yyerror(filters::Sink&, void*, const char*) {}
}
