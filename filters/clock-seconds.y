/* clock-seconds: every clock reading M:SS.cc as its total in seconds. */
@PARSER_FRAME@
%define api.value.type {double}
%token DIGITS COLON DOT
%code {
// (m * 60 + s) + c / 100 in extended precision, rounded once to double.
static double total_seconds(long double m, long double s, long double c)
{
    return static_cast<double>(m * 60.0L + s + c / 100.0L);
}
}
%%
report: %empty
      | report entry
      ;

entry: '\n'
     | DIGITS COLON DIGITS DOT DIGITS '\n'      { sink.seconds(total_seconds($1, $3, $5)); }
     | error '\n'                               { yyerrok; }
     ;
