/* runtime-error-flag, syntax-error-flag: a block for every line of their kind of error. */
%token @TOKEN@
%%
     | @TOKEN@ '\n'                     { puts("@MESSAGE@\n"); }
