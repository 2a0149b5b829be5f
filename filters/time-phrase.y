/* prover-time, prover-time-colon: the seconds of every timing line. */
%define api.value.type {double}
%token TIME_PHRASE SECONDS TIME_VALUE
%%
     | TIME_PHRASE TIME_VALUE SECONDS '\n'      { printf("%f\n", $2); }
