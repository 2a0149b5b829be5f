/* proof-status: the outcome code of the last outcome sentence, 3 (not proved) if none.  Every
   sentence is an entry of its own, and every token is a sentence: the scanner never returns a
   newline, and no line is ever bad. */
%parse-param {filters::Sink& sink} {void* scanner} {Outcome& outcome}
%lex-param {void* scanner}
%expect 0
%code requires {
#include "recogniser.hpp"

// What a report leaves behind: the code of its last outcome sentence, 3 (not proved) if none.
struct Outcome {
    int code = 3;
};
#define FILTER_REPORT_STATE Outcome
}
%code {
#include "parser-frame.hpp"
}
%token SUCCESS_PHRASE DISPROVED_PHRASE NOT_PROVED_PHRASE TIMEOUT_PHRASE STEP_LIMIT_PHRASE
%token OUT_OF_SCOPE_PHRASE
%code provides {
void report_end(filters::Sink& sink, const Outcome& outcome);
}
%%
report: %empty | report entry;

entry: SUCCESS_PHRASE                           { outcome.code = 1; }
     | DISPROVED_PHRASE                         { outcome.code = 2; }
     | NOT_PROVED_PHRASE                        { outcome.code = 3; }
     | TIMEOUT_PHRASE                           { outcome.code = 4; }
     | STEP_LIMIT_PHRASE                        { outcome.code = 5; }
     | OUT_OF_SCOPE_PHRASE                      { outcome.code = 6; }
     ;
%%
// Written once the whole report has been read.
void report_end(filters::Sink& sink, const Outcome& outcome)
{
    const char code[] = {static_cast<char>('0' + outcome.code)};
    sink.line({code, 1});
}
