// What the shared driver and every filter's generated scanner and parser call one another by.
#pragma once

int yylex();
int yyparse();
int yylex_destroy();
void yyerror(const char* message);
extern "C" int yywrap();

// Ways a filter can end once its parser has returned; the build names one as FILTER_END.
int parse_result(int parsed);    // the parser's own result: 0, 1 (gave up at end of input) or 2
int always_success(int parsed);  // 0 whatever the parse ended with

// The scanner's input (its YY_INPUT): up to `size` bytes into `buffer`, 0 at end of input, -1
// on a read error.  From a terminal it hands over a line at a time; from a file or pipe it
// hands over only the lines that may matter, in full blocks (see frame.cpp).
long frame_input(char* buffer, unsigned long size);

// Finds the first complete line in [begin, limit) that the filter may recognise: returns its
// newline and sets `start` to its first byte.  When there is none, returns nullptr and sets
// `start` to the first byte of the unfinished line at the end (`limit` when the stretch ends
// with a newline).  It may pick a line that turns out bad, never pass over one that the filter
// recognises.  The 64 bytes after `limit` may be read.  The build names one as FILTER_SEARCH.
const char* phrase_line(const char* begin, const char* limit, const char*& start);  // FIND's
