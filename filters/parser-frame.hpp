// What every filter's parser shares, included in its grammar's %code: a pure parser that hands
// what the filter writes to a sink and takes its tokens from the scanner it is given.  The
// build names it with the program's own prefix (prover_time_parse).
#pragma once

int yylex(YYSTYPE* value, void* scanner);

/* A bad line is skipped without a word. */
template <class... Parameters>
static void yyerror(Parameters&&...)
{
}
