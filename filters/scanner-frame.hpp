// What every filter's scanner shares, included at the top of its rule file: it reads through the
// Source it is given and hands the parser its values through a pointer.  The build names the
// scanner's functions with the program's own prefix (prover_time_lex, ...), and gives the
// scanner the parser's names for its value type and parse function (YYSTYPE, yyparse).  A filter
// each of whose recognised lines holds one phrase gets it as FILTER_PHRASE, from the rule
// file's PHRASE definition or, for a file that serves several programs, from the program's
// entry in the build.
#pragma once

#include <cerrno>

#include "output.hpp"
#include "parser.hpp"
#include "recogniser.hpp"

#define YY_INPUT(buffer, result, size) \
    if (((result) = yyextra->source->read(buffer, size)) < 0) tool::read_failed(errno);
/* No cap on a read: the buffer is filled up to its end every time. */
#define YY_READ_BUF_SIZE 0x40000000
/* Ends the program with the program's name before the message, after writing out what is
   already written. */
#define YY_FATAL_ERROR(message) yy_fatal_error(tool::fatal_message(message), yyscanner)

/* The tests' -portable builds search without AVX2 (see recogniser.hpp). */
#ifdef SEARCH_PORTABLE
[[maybe_unused]] constexpr bool portable_search = true;
#else
[[maybe_unused]] constexpr bool portable_search = false;
#endif

#ifdef FILTER_PHRASE
// Every line such a filter recognises holds the phrase: the search looks for it.
static constexpr filters::Phrase phrase = FILTER_PHRASE;
static constexpr filters::LineSearch find_line = filters::phrase_search<phrase, portable_search>;
#endif

/* Each filter's options, in its rule file: a reentrant scanner for a pure parser, with
   ScannerData as its extra data.  Its first rule drops the bytes that start no token up to 16
   at a time rather than one by one: the scanner takes far fewer steps, and a bounded run keeps
   its buffer small on a long line.  Full tables, with classes of equivalent bytes to keep them
   small: each byte takes two lookups, where compressed tables follow chains.  Such a scanner
   reads a byte past each token; see Source::resume. */
