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

// Looks at a line that holds the filter's search text, from the text's first place in the line
// (`found`) on: sets `newline` to the line's newline, or to nullptr when none comes before
// `limit`, and says whether the line may still be one the filter recognises (it may say so of
// a line that turns out bad, never the other way round).  The build names one as FILTER_CONFIRM.
bool any_line(const char* found, const char* limit, const char*& newline);  // every such line
