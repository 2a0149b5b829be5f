// Driver shared by every prover-log filter: one parse over standard input, nothing else.
#include "frame.hpp"

int parse_result(int parsed) { return parsed; }
int always_success(int) { return 0; }

// The ending this filter was built with (parse_result, always_success or its own).
int FILTER_END(int parsed);

int main()
{
    const int parsed = yyparse();
    yylex_destroy();
    return FILTER_END(parsed);
}

// Bad lines are skipped without a word.
void yyerror(const char*) {}

// Standard input is the only input there is.
extern "C" int yywrap() { return 1; }
