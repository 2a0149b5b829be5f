/* runtime-error-flag, syntax-error-flag: a block for every line of their kind of error: the
   message, then an empty line. */
@PARSER_FRAME@
%token ERROR_PHRASE
%%
report: %empty
      | report entry
      ;

entry: '\n'
     | ERROR_PHRASE '\n'                        { sink.line("@MESSAGE@"); sink.line(""); }
     | error '\n'                               { yyerrok; }
     ;
