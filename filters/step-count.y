/* The proof-step counters: the count of every line that gives one. */
%code requires {
// A run of digits: its int value, or, when it does not fit an int, its digits.  Those stay
// valid until the next run is scanned, which is after the line that holds them is complete.
struct Count {
    int value;
    const char* digits;
};
}
%define api.value.type {Count}
%token STEPS_PHRASE DIGITS
%%
     | STEPS_PHRASE DIGITS '\n'                 { if ($2.digits) puts($2.digits); else printf("%d\n", $2.value); }
