/* Parser of script-translator: construction statements and proof goals, written out as a
   construction listing the moment each statement is complete. */
%{
#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

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
static texts::Text compose(std::initializer_list<std::string_view> pieces);
static texts::Text number_text(double value);
static int count_error_operands(const char *text);

%}

%code provides {
#include <initializer_list>
#include <string_view>

/* Writes the pieces of a statement's output, in order, through the output buffer. */
void emit(std::initializer_list<std::string_view> pieces);

/* Writes the listing's message for a string that its line end cut off, which starts on line
   `scanned.break_line`. */
void unterminated_string();

/* Where the scanner is in the script, for the diagnostics. It is kept up only at newline bytes,
   newline tokens and strings, so that the other tokens cost nothing more. */
struct ScriptPosition {
    long line = 1;          /* the line of the next byte to scan, from 1 */
    long break_line = 1;    /* the line of the last newline token or string returned */
    char break_char = 0;    /* what made that newline token: '\n', '\r', ';', or 0 for a
                               comment that ends the input */
};
inline ScriptPosition scanned;

/* The --diagnostics option: one line on standard error for every error the listing shows. */
struct Diagnostics {
    bool on = false;
    const char *name = "<stdin>";  /* the script's, as the lines name it */
    int errors = 0;                /* reported, each with its empty line in the listing */
    int statements_skipped = 0;    /* errors reported outside a goal */
    int operands_unreadable = 0;   /* error operands in the goals written */
};
inline Diagnostics diagnostics;
}

/* The syntax errors are reported by yyreport_syntax_error below, which asks the parser's
   tables which tokens it expected; yyerror is left with "memory exhausted" alone. This
   changes only how an error is reported, not the automaton: parser.cpp generated with and
   without this line has the same yypact, yydefact, yypgoto, yydefgoto, yytable, yycheck,
   yystos, yyr1, yyr2 and yytranslate, byte for byte, and bison -v describes the same states
   (no LAC, the same default reductions and recovery). */
%define parse.error custom

%code requires {
#include "texts.hpp"
}

%union {
    double num;
    texts::Text text;
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
        { emit({"\nprove { equal ", $4, " ", $5, " }\n\n"});
          if (diagnostics.on)
              diagnostics.operands_unreadable += count_error_operands($4.data) + count_error_operands($5.data);
          release_all($4, $5); }
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

/* A line break in the listing, where an error was found. */
static void break_listing()
{
    output::put("\n");
    output::done();
}

/* One diagnostic line. What the listing holds so far goes out first, so that where both
   streams meet each line comes after the listing it is about. */
static void tell(long line, std::string_view message)
{
    output::flush();
    tool::write_message(std::string(diagnostics.name) + ":" + std::to_string(line) + ": "
                        + std::string(message) + "\n");
}

/* The line of the token the parser is looking at. A newline token or a string may end in the
   newline byte that ends its line, which the scanner has then counted already. */
static long token_line()
{
    return yychar == '\n' || yychar == STRING ? scanned.break_line : scanned.line;
}

/* The parser's stack is full: a goal nests too deeply. This is the only message that comes
   here; syntax errors go to yyreport_syntax_error. */
void yyerror(const char *)
{
    break_listing();
    ++diagnostics.errors;
    if (diagnostics.on)
        tell(token_line(), "goal nested too deeply (the parser's stack is full)");
}

static const char *keyword(yysymbol_kind_t kind)
{
    switch (kind) {
    case YYSYMBOL_POINT: return "'point'";
    case YYSYMBOL_LINE: return "'line'";
    case YYSYMBOL_SEGMENT: return "'segment'";
    case YYSYMBOL_INTERSECTION: return "'intersection'";
    case YYSYMBOL_PARALLEL: return "'parallel'";
    case YYSYMBOL_PERPENDICULAR: return "'perpendicular'";
    case YYSYMBOL_BISECTOR: return "'bisector'";
    case YYSYMBOL_PROVE: return "'prove'";
    case YYSYMBOL_EQUAL: return "'equal'";
    case YYSYMBOL_SRATIO: return "'sratio'";
    case YYSYMBOL_MULT: return "'mult'";
    case YYSYMBOL_PYTHAGORAS_DIFFERENCE3: return "'pythagoras_difference3'";
    case YYSYMBOL_PYTHAGORAS_DIFFERENCE4: return "'pythagoras_difference4'";
    case YYSYMBOL_SIGNED_AREA3: return "'signed_area3'";
    case YYSYMBOL_SIGNED_AREA4: return "'signed_area4'";
    case YYSYMBOL_DRAW: return "'draw'";
    case YYSYMBOL_LABEL: return "'label'";
    default: return nullptr;
    }
}

/* A token the parser expected, in words. */
static std::string expected_words(yysymbol_kind_t kind)
{
    if (kind == YYTRANSLATE('\n'))
        return "end of line";
    if (kind == YYSYMBOL_NUMBER)
        return "a number";
    if (kind == YYSYMBOL_IDENT)
        return "a name";
    if (kind == YYSYMBOL_STRING)
        return "a string";
    const char *word = keyword(kind);
    return word ? word : yysymbol_name(kind);
}

/* The token the parser found, in words: the one it is looking at now. */
static std::string found_words(yysymbol_kind_t kind)
{
    char text[64];
    if (kind == YYSYMBOL_YYEOF)
        return "end of input";
    if (kind == YYTRANSLATE('\n')) {
        if (scanned.break_char == ';')
            return "';'";
        return scanned.break_char == '\r' ? "carriage return" : "end of line";
    }
    if (kind == YYSYMBOL_NUMBER) {
        std::snprintf(text, sizeof text, "number %g", yylval.num);
        return text;
    }
    if (kind == YYSYMBOL_IDENT && yylval.text.data != nullptr) {
        size_t length = yylval.text.size();
        return "name '" + std::string(yylval.text.data, std::min<size_t>(length, 40))
               + (length > 40 ? "...'" : "'");
    }
    if (kind == YYSYMBOL_IDENT)
        return "name";
    if (kind == YYSYMBOL_STRING)
        return "string";
    if (const char *word = keyword(kind))
        return word;
    /* A character the grammar has no use for reaches it as the undefined token; the scanner
       sends a NUL byte as that token itself. */
    int c = yychar == YYUNDEF ? 0 : yychar;
    if (c > ' ' && c < 0x7f)
        std::snprintf(text, sizeof text, "'%c'", c);
    else
        std::snprintf(text, sizeof text, "byte 0x%02x", static_cast<unsigned>(c) & 0xffu);
    return text;
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

/* What was found and, when the current state lists a few tokens, what was expected. */
static std::string syntax_message(const yypcontext_t *context)
{
    yysymbol_kind_t found = yypcontext_token(context);
    bool goal = inside_goal(context);
    diagnostics.statements_skipped += !goal;
    std::string message = "unexpected " + found_words(found);
    if (goal && found == YYSYMBOL_YYEOF)
        return message + " inside an unclosed goal";
    if (goal)
        message += " in a goal";

    /* The end of the input may come wherever a line may end, and a line may end wherever a
       statement may start: neither is worth a word next to the others. */
    yysymbol_kind_t expected[YYNTOKENS];
    int count = yypcontext_expected_tokens(context, expected, YYNTOKENS);
    count = static_cast<int>(std::remove(expected, expected + count, YYSYMBOL_YYEOF) - expected);
    if (count > 1)
        count = static_cast<int>(std::remove(expected, expected + count, YYTRANSLATE('\n')) - expected);
    /* Where an operand may start, that is one word. */
    static const yysymbol_kind_t operand_starts[] = {
        YYSYMBOL_MULT, YYTRANSLATE('{'), YYSYMBOL_SRATIO, YYSYMBOL_SIGNED_AREA3,
        YYSYMBOL_SIGNED_AREA4, YYSYMBOL_PYTHAGORAS_DIFFERENCE3, YYSYMBOL_PYTHAGORAS_DIFFERENCE4,
        YYSYMBOL_NUMBER};
    auto listed = [&](yysymbol_kind_t kind) {
        return std::find(expected, expected + count, kind) != expected + count;
    };
    std::vector<std::string> words;
    if (std::all_of(std::begin(operand_starts), std::end(operand_starts), listed)) {
        words.push_back("an operand");
        for (yysymbol_kind_t kind : operand_starts)
            count = static_cast<int>(std::remove(expected, expected + count, kind) - expected);
    }
    for (int i = 0; i < count; ++i)
        words.push_back(expected_words(expected[i]));
    if (words.empty() || words.size() > 4)
        return message;
    message += ", expecting ";
    for (size_t i = 0; i < words.size(); ++i) {
        if (i > 0)
            message += i + 1 == words.size() ? " or " : ", ";
        message += words[i];
    }
    return message;
}

/* A syntax error shows in the listing as a line break, and with --diagnostics in words. */
static int yyreport_syntax_error(const yypcontext_t *context)
{
    break_listing();
    ++diagnostics.errors;
    if (diagnostics.on)
        tell(token_line(), syntax_message(context));
    return 0;
}

void unterminated_string()
{
    if (diagnostics.on)
        tell(scanned.break_line, "unterminated string");
    output::put("Unterminated character string");
    output::done();
}

void emit(std::initializer_list<std::string_view> pieces)
{
    output::put(pieces);
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
static texts::Text compose(std::initializer_list<std::string_view> pieces)
{
    char text[4000];
    size_t length = 0;
    for (std::string_view piece : pieces) {
        size_t size = std::min(piece.size(), sizeof text - 1 - length);
        memcpy(text + length, piece.data(), size);
        length += size;
    }
    return texts::copy(text, length);
}

static texts::Text number_text(double value)
{
    char text[400];
    return texts::copy(text, numbers::fixed(text, sizeof text, value).size());
}

/* How many error operands a goal operand's text holds; no name or number can look like one. */
static int count_error_operands(const char *text)
{
    int count = 0;
    for (const char *at = text; (at = strstr(at, error_operand)) != nullptr; at += sizeof error_operand - 1)
        ++count;
    return count;
}
