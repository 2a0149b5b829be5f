/* proof-status: the outcome code of the last outcome sentence, 3 (not proved) if none. */
%token SUCCESS_PHRASE DISPROVED_PHRASE NOT_PROVED_PHRASE TIMEOUT_PHRASE STEP_LIMIT_PHRASE
%token OUT_OF_SCOPE_PHRASE
%code {
int status = 3;
}
%%
     | SUCCESS_PHRASE                           { status = 1; }
     | DISPROVED_PHRASE                         { status = 2; }
     | NOT_PROVED_PHRASE                        { status = 3; }
     | TIMEOUT_PHRASE                           { status = 4; }
     | STEP_LIMIT_PHRASE                        { status = 5; }
     | OUT_OF_SCOPE_PHRASE                      { status = 6; }
%%
// Written once the whole report has been read; the run itself always succeeds.
int report_outcome(int)
{
    printf("%d\n", status);
    return 0;
}
