/* Parser of script-translator: construction statements and proof goals, written out as a
   construction listing the moment each statement is complete. */
%{
#include <cfloat>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <string_view>

#include "numbers.hpp"
#include "output.hpp"
#include "scanners.hpp"
#include "texts.hpp"
#include "tool.hpp"

int yylex();
void yyerror(const char *message);

/* What stands in a goal for an operand that could not be read. */
static const char error_operand[] = "<error>";

static const char *direction(double degrees);
/* Lets go of the texts of the values an action has used. */
template <class... Values> static void release_all(Values... values)
{
    (texts::release(values), ...);
}
static char *compose(std::initializer_list<const char *> pieces);
static char *number_text(double value);
%}

%code provides {
#include <initializer_list>
#include <string_view>

/* Writes the pieces of a statement's output, in order, through the output buffer. */
void emit(std::initializer_list<std::string_view> pieces);
}

%union {
    double num;
    char *text;
}

%token <num> NUMBER
%token <text> STRING IDENT
%token POINT LINE SEGMENT INTERSECTION PARALLEL PERPENDICULAR BISECTOR PROVE EQUAL
%token SRATIO MULT PYTHAGORAS_DIFFERENCE3 PYTHAGORAS_DIFFERENCE4 SIGNED_AREA3 SIGNED_AREA4
%token DRAW LABEL

%type <text> expr term

%destructor { texts::release($$); } <text>

%%
script
    : statement_line
    | script '\n' statement_line
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
        { emit({"cmark_", direction($5), " ", $3, "\n"}); release_all($3); }
    | PROVE '{' EQUAL expr expr '}'
        { emit({"\nprove { equal ", $4, " ", $5, " }\n\n"}); release_all($4, $5); }
    | error
    ;

expr
    : term                  { $$ = $1; }
    | MULT expr expr        { $$ = compose({"mult ", $2, " ", $3, " "}); release_all($2, $3); }
    | '{' expr '}'          { $$ = compose({"{ ", $2, " }"}); release_all($2); }
    | error                 { $$ = texts::copy(error_operand, sizeof error_operand - 1); }
    ;

term
    : SRATIO IDENT IDENT IDENT IDENT
        { $$ = compose({"sratio ", $2, " ", $3, " ", $4, " ", $5});
          release_all($2, $3, $4, $5); }
    | SIGNED_AREA3 IDENT IDENT IDENT
        { $$ = compose({"signed_area3 ", $2, " ", $3, " ", $4, " "});
          release_all($2, $3, $4); }
    | SIGNED_AREA4 IDENT IDENT IDENT IDENT
        { $$ = compose({" signed_area4 ", $2, " ", $3, " ", $4, " ", $5});
          release_all($2, $3, $4, $5); }
    | PYTHAGORAS_DIFFERENCE3 IDENT IDENT IDENT
        { $$ = compose({"pythagoras_difference3 ", $2, " ", $3, " ", $4});
          release_all($2, $3, $4); }
    | PYTHAGORAS_DIFFERENCE4 IDENT IDENT IDENT IDENT
        { $$ = compose({"pythagoras_difference4 ", $2, " ", $3, " ", $4, " ", $5});
          release_all($2, $3, $4, $5); }
    | NUMBER                { $$ = number_text($1); }
    ;
%%

/* A syntax error shows in the listing as a line break. */
void yyerror(const char *)
{
    emit({"\n"});
}

void emit(std::initializer_list<std::string_view> pieces)
{
    for (std::string_view piece : pieces)
        output::put(piece);
    output::done();
}

/* Tokens come from the scanner made for the input: the interactive one on a terminal. */
int yylex()
{
    return scanner::lex();
}

/* The direction suffix of a label angle in degrees. The sectors are decided on the
   single-precision angle; one beyond a whole turn either way is first brought back by whole
   turns, so that every angle has a direction. */
static const char *direction(double degrees)
{
    if (!std::isfinite(degrees))
        degrees = 0;
    else if (std::fabs(degrees) > FLT_MAX)
        degrees = std::fmod(degrees, 360.0);
    float angle = static_cast<float>(degrees);
    if (angle > 360 || angle < -360)
        angle = std::fmod(angle, 360.0f);
    if (angle < 0)
        angle = angle + 360.0f;

    if (angle > 22.5f && angle < 67.5f)
        return "rt";
    if (angle >= 67.5f && angle <= 112.5f)
        return "t";
    if (angle > 112.5f && angle < 157.5f)
        return "lt";
    if (angle >= 157.5f && angle <= 202.5f)
        return "l";
    if (angle > 202.5f && angle < 247.5f)
        return "lb";
    if (angle >= 247.5f && angle <= 292.5f)
        return "b";
    if (angle > 292.5f && angle < 337.5f)
        return "rb";
    return "r";
}

/* Puts the pieces together, as far as they fit in an operand's 3999 characters, and returns a
   copy of the text. */
static char *compose(std::initializer_list<const char *> pieces)
{
    char text[4000];
    size_t length = 0;
    for (const char *piece : pieces) {
        size_t size = strnlen(piece, sizeof text - 1 - length);
        memcpy(text + length, piece, size);
        length += size;
    }
    return texts::copy(text, length);
}

static char *number_text(double value)
{
    char text[400];
    return texts::copy(text, numbers::fixed(text, sizeof text, value).size());
}

static const char usage[] =
    "Usage: script-translator < SCRIPT\n"
    "Translate a construction script read from standard input into a construction listing\n"
    "written to standard output; a malformed line shows as an empty line and is skipped.\n"
    "Exit status: 0 when the script was read to its end; 1 when it ended inside an unclosed\n"
    "proof goal; 2 when goals nest too deeply, the input cannot be read or the output cannot\n"
    "be written.\n";

int main(int argc, char **argv)
{
    if (tool::info_option(argc, argv, "script-translator", usage))
        return tool::finish("script-translator", 0);
    scanner::open(nullptr);
    int result = yyparse();
    scanner::destroy();
    output::flush();
    return tool::finish("script-translator", result);
}
