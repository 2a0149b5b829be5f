/* clock-seconds: every clock reading M:SS.cc as its total in seconds. */
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
     | DIGITS COLON DIGITS DOT DIGITS '\n'      { printf("%f\n", total_seconds($1, $3, $5)); }
