/* proof-status: the outcome code of the last outcome sentence, 3 (not proved) if none.  Every
   sentence is an entry of its own, and every token is a sentence: the scanner never returns a
   newline, and no line is ever bad. */
%parse-param {filters::Sink& sink} {void* scanner}
%lex-param {void* scanner}
%expect 0
%code requires {
#include "recogniser.hpp"
}
%code {
#include "parser-frame.hpp"
}
%token SUCCESS_PHRASE DISPROVED_PHRASE NOT_PROVED_PHRASE TIMEOUT_PHRASE STEP_LIMIT_PHRASE
%token OUT_OF_SCOPE_PHRASE
%code provides {
void report_end(filters::Sink& sink);
}
%%
report: %empty | report entry;

entry: SUCCESS_PHRASE                           { sink.outcome = 1; }
     | DISPROVED_PHRASE                         { sink.outcome = 2; }
     | NOT_PROVED_PHRASE                        { sink.outcome = 3; }
     | TIMEOUT_PHRASE                           { sink.outcome = 4; }
     | STEP_LIMIT_PHRASE                        { sink.outcome = 5; }
     | OUT_OF_SCOPE_PHRASE                      { sink.outcome = 6; }
     ;
%%
// Written once the whole report has been read.
void report_end(filters::Sink& sink)
{
    const char code[] = {static_cast<char>('0' + sink.outcome)};
    sink.line({code, 1});
}
