/* prover-time, prover-time-colon: the seconds of every timing line. */
@PARSER_FRAME@
%define api.value.type {double}
%token TIME_PHRASE SECONDS TIME_VALUE
%%
report: %empty
      | report entry
      ;

entry: '\n'
     | TIME_PHRASE TIME_VALUE SECONDS '\n'      { sink.seconds($2); }
     | error '\n'                               { yyerrok; }
     ;
