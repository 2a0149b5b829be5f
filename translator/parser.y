/* Parser of script-translator: construction statements and proof goals, written out as a
   construction listing the moment each statement is complete. The build names it with the
   prefix script_ (script_parse, script_lval, ...). */
%code requires {
#include "texts.hpp"
}

%code {
#include <algorithm>
#include <iterator>
#include <vector>

#include "diagnostics.hpp"
#include "listing.hpp"
#include "numbers.hpp"
#include "scanners.hpp"

int yylex();
void yyerror(const char *message);
using listing::emit;

/* Lets go of the texts of the values an action has used. */
template <class... Values> static void release_all(Values... values)
{
    (texts::release(values), ...);
}
}

/* The syntax errors are reported by yyreport_syntax_error below, which asks the parser's
   tables which tokens it expected; yyerror is left with "memory exhausted" alone. This
   changes only how an error is reported, not the automaton: parser.cpp generated with and
   without this line has the same yypact, yydefact, yypgoto, yydefgoto, yytable, yycheck,
   yystos, yyr1, yyr2 and yytranslate, byte for byte, and bison -v describes the same states
   (no LAC, the same default reductions and recovery). The tokens' aliases, which name them
   in bison's report and in the diagnostics, leave those tables as they are too. */
%define parse.error custom
%expect 0

%union {
    double num;
    texts::Text text;
}

%token <num> NUMBER "number"
%token <text> STRING "string" IDENT "name"
/* The keywords, in one run from POINT to LABEL. */
%token POINT "point" LINE "line" SEGMENT "segment" INTERSECTION "intersection"
%token PARALLEL "parallel" PERPENDICULAR "perpendicular" BISECTOR "bisector" PROVE "prove"
%token EQUAL "equal" SRATIO "sratio" MULT "mult"
%token PYTHAGORAS_DIFFERENCE3 "pythagoras_difference3"
%token PYTHAGORAS_DIFFERENCE4 "pythagoras_difference4"
%token SIGNED_AREA3 "signed_area3" SIGNED_AREA4 "signed_area4" DRAW "draw" LABEL "label"
/* The newline token, '\n': made by a newline, a carriage return or a semicolon. */
%token END_OF_LINE 10 "end of line"
%token END_OF_INPUT 0 "end of input"

%type <text> expr term

%destructor { texts::release($$); } <text>

%%
script
    : statement_line
    | script END_OF_LINE statement_line
    ;

statement_line
    : %empty
    | statement
    ;

statement
    : IDENT '=' POINT '(' NUMBER ',' NUMBER ')'
        { char x[400], y[400];
          emit({"point ", $1, " ", numbers::fixed(x, sizeof x, $5 * 10), " ",
                numbers::fixed(y, sizeof y, $7 * 10), "\n"});
          release_all($1); }
    | IDENT '=' LINE '(' IDENT ',' IDENT ')'
        { emit({"line ", $1, " ", $5, " ", $7, "\n"}); release_all($1, $5, $7); }
    | IDENT '=' INTERSECTION '(' IDENT ',' IDENT ')'
        { emit({"intersec ", $1, " ", $5, " ", $7, "\n"}); release_all($1, $5, $7); }
    | IDENT '=' BISECTOR '(' SEGMENT '(' IDENT ',' IDENT ')' ')'
        { emit({"med ", $1, " ", $7, " ", $9, "\n"}); release_all($1, $7, $9); }
    | DRAW '(' SEGMENT '(' IDENT ',' IDENT ')' ')'
        { emit({"drawsegment ", $5, " ", $7, "\n"}); release_all($5, $7); }
    | LABEL '(' IDENT ',' NUMBER ':' ')'
        { emit({"cmark_", listing::direction($5), " ", $3, "\n"}); release_all($3); }
    | PROVE '{' EQUAL expr expr '}'
        { emit({"\nprove { equal ", $4, " ", $5, " }\n\n"});
          diagnostics::goal_written($4, $5);
          release_all($4, $5); }
    | error
    ;

expr
    : term                  { $$ = $1; }
    | MULT expr expr        { $$ = listing::compose({"mult ", $2, " ", $3, " "}); release_all($2, $3); }
    | '{' expr '}'          { $$ = listing::compose({"{ ", $2, " }"}); release_all($2); }
    | error                 { $$ = texts::copy(listing::error_operand.data(), listing::error_operand.size()); }
    ;

term
    : SRATIO IDENT IDENT IDENT IDENT
        { $$ = listing::compose({"sratio ", $2, " ", $3, " ", $4, " ", $5});
          release_all($2, $3, $4, $5); }
    | SIGNED_AREA3 IDENT IDENT IDENT
        { $$ = listing::compose({"signed_area3 ", $2, " ", $3, " ", $4, " "});
          release_all($2, $3, $4); }
    | SIGNED_AREA4 IDENT IDENT IDENT IDENT
        { $$ = listing::compose({" signed_area4 ", $2, " ", $3, " ", $4, " ", $5});
          release_all($2, $3, $4, $5); }
    | PYTHAGORAS_DIFFERENCE3 IDENT IDENT IDENT
        { $$ = listing::compose({"pythagoras_difference3 ", $2, " ", $3, " ", $4});
          release_all($2, $3, $4); }
    | PYTHAGORAS_DIFFERENCE4 IDENT IDENT IDENT IDENT
        { $$ = listing::compose({"pythagoras_difference4 ", $2, " ", $3, " ", $4, " ", $5});
          release_all($2, $3, $4, $5); }
    | NUMBER                { $$ = listing::number_text($1); }
    ;
%%

/* Tokens come from the scanner made for the input: the interactive one on a terminal. */
int yylex()
{
    return scanner::lex();
}

/* The line of the token the parser is looking at. A newline token or a string may end in the
   newline byte that ends its line, which the scanner has then counted already. */
static long token_line()
{
    return yychar == END_OF_LINE || yychar == STRING ? scanned.break_line : scanned.line;
}

/* The parser's stack is full: a goal nests too deeply. This is the only message that comes
   here; syntax errors go to yyreport_syntax_error. */
void yyerror(const char *)
{
    diagnostics::stack_full(token_line());
}

/* A token as the diagnostics show it. */
static diagnostics::Token shown(yysymbol_kind_t kind)
{
    using diagnostics::Kind;
    Kind shown_as = kind == YYSYMBOL_YYEOF ? Kind::input_end
                  : kind == YYSYMBOL_END_OF_LINE ? Kind::line_end
                  : kind == YYSYMBOL_NUMBER ? Kind::number
                  : kind == YYSYMBOL_IDENT ? Kind::name
                  : kind == YYSYMBOL_STRING ? Kind::string
                  : kind == YYSYMBOL_YYUNDEF ? Kind::byte
                  : kind >= YYSYMBOL_POINT && kind <= YYSYMBOL_LABEL ? Kind::keyword
                  : Kind::character;
    return {shown_as, yysymbol_name(kind)};
}

/* Whether the parser is inside a goal: past its "equal", where it recovers within the goal and
   gives up if the input ends first. The stack's bottom state, 0, is never entered again. */
static bool inside_goal(const yypcontext_t *context)
{
    for (const yy_state_t *state = context->yyssp;; --state) {
        if (yystos[*state] == YYSYMBOL_EQUAL)
            return true;
        if (*state == 0)
            return false;
    }
}

/* A syntax error shows in the listing as a line break, and with --diagnostics in words: what
   was found, and what the parser's state expected. Where it expects every token an operand
   may start with, they are one word. */
static int yyreport_syntax_error(const yypcontext_t *context)
{
    diagnostics::break_listing();
    if (!diagnostics::on)
        return 0;
    static const yysymbol_kind_t operand_starts[] = {
        YYSYMBOL_MULT, YYTRANSLATE('{'), YYSYMBOL_SRATIO, YYSYMBOL_SIGNED_AREA3, YYSYMBOL_SIGNED_AREA4,
        YYSYMBOL_PYTHAGORAS_DIFFERENCE3, YYSYMBOL_PYTHAGORAS_DIFFERENCE4, YYSYMBOL_NUMBER};
    yysymbol_kind_t kinds[YYNTOKENS];
    yysymbol_kind_t *end = kinds + yypcontext_expected_tokens(context, kinds, YYNTOKENS);
    std::vector<diagnostics::Token> expected;
    auto listed = [&](yysymbol_kind_t kind) { return std::find(kinds, end, kind) != end; };
    if (std::all_of(std::begin(operand_starts), std::end(operand_starts), listed)) {
        expected.push_back({diagnostics::Kind::operand, ""});
        for (yysymbol_kind_t kind : operand_starts)
            end = std::remove(kinds, end, kind);
    }
    for (const yysymbol_kind_t *kind = kinds; kind != end; ++kind)
        expected.push_back(shown(*kind));

    yysymbol_kind_t found = yypcontext_token(context);
    /* A number's or a name's text is still the scanner's, which has read nothing after it; a
       byte goes by its code, and a NUL byte comes as the undefined token itself. */
    char byte = yychar < 256 ? static_cast<char>(yychar) : 0;
    std::string_view text = found == YYSYMBOL_YYUNDEF ? std::string_view(&byte, 1) : scanner::text();
    diagnostics::syntax_error(token_line(), shown(found), text, inside_goal(context),
                              std::move(expected));
    return 0;
}
