/* proof-status: the outcome code of the last outcome sentence, 3 (not proved) if none.  Every
   sentence is an entry of its own; the scanner never returns a newline. */
@PARSER_FRAME@
%token SUCCESS_PHRASE DISPROVED_PHRASE NOT_PROVED_PHRASE TIMEOUT_PHRASE STEP_LIMIT_PHRASE
%token OUT_OF_SCOPE_PHRASE
%code provides {
int report_outcome(int parsed, filters::Sink& sink);
}
%%
report: %empty
      | report entry
      ;

entry: '\n'
     | SUCCESS_PHRASE                           { sink.outcome = 1; }
     | DISPROVED_PHRASE                         { sink.outcome = 2; }
     | NOT_PROVED_PHRASE                        { sink.outcome = 3; }
     | TIMEOUT_PHRASE                           { sink.outcome = 4; }
     | STEP_LIMIT_PHRASE                        { sink.outcome = 5; }
     | OUT_OF_SCOPE_PHRASE                      { sink.outcome = 6; }
     | error '\n'                               { yyerrok; }
     ;
%%
// Written once the whole report has been read; the run itself always succeeds.
int report_outcome(int, filters::Sink& sink)
{
    const char code[] = {static_cast<char>('0' + sink.outcome)};
    sink.line({code, 1});
    return 0;
}
