/* error-kind: a block naming the kind of every error line: the kind, then an empty line. */
@PARSER_FRAME@
%token SYNTAX_ERROR RUNTIME_ERROR
%%
report: %empty
      | report entry
      ;

entry: '\n'
     | SYNTAX_ERROR '\n'                        { sink.line("Syntax Error"); sink.line(""); }
     | RUNTIME_ERROR '\n'                       { sink.line("Semantic Error"); sink.line(""); }
     | error '\n'                               { yyerrok; }
     ;
