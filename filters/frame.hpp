// What the shared driver and every filter's generated scanner and parser call one another by.
#pragma once

int yylex();
int yyparse();
int yylex_destroy();
void yyerror(const char* message);
extern "C" int yywrap();

// Ways a filter can end once its parser has returned; the build names one as FILTER_END.
int parse_result(int parsed);    // the parser's own result: 0, 1 (gave up at end of input) or 2
int always_success(int parsed);  // 0 whatever the parse ended with
