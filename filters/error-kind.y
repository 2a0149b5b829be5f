/* error-kind: a block naming the kind of every error line. */
%token SYNTAX_ERROR RUNTIME_ERROR
%%
     | SYNTAX_ERROR '\n'                        { printf("Syntax Error\n\n"); }
     | RUNTIME_ERROR '\n'                       { printf("Semantic Error\n\n"); }
