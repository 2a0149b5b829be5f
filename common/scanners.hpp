// The two scanners that the build makes from one rule file (cmake/Scanners.cmake): the
// full-table `blocklex` for files and pipes, and the interactive `linelex` for a terminal.
// They behave the same; only how far each looks ahead before it acts differs.
#pragma once

#include <cstdio>
#include <string_view>
#include <unistd.h>

#include "tool.hpp"

int blocklex();
int linelex();
int blocklex_destroy();
int linelex_destroy();
extern FILE* blockin;
extern FILE* linein;
extern char* blocktext;
extern char* linetext;
extern int blockleng;
extern int lineleng;

namespace scanner {

inline bool interactive = false;
// Called with every token that lex() returns, while it is set.
inline void (*watch)(int token) = nullptr;
// Whether lex() is the block scanner's alone: no terminal, and nothing to watch the tokens.
inline bool plain = true;

// Reads from `input`, standard input when it is null; a terminal gets the interactive scanner.
inline void open(FILE* input) {
    if (input == nullptr) input = stdin;
    blockin = linein = input;
    interactive = isatty(fileno(input)) == 1;
    plain = !interactive && watch == nullptr;
    tool::widen_pipe(fileno(input));
}

// The next token; one test on the common way.
inline int lex() {
    if (plain) return blocklex();
    const int token = interactive ? linelex() : blocklex();
    if (watch != nullptr) watch(token);
    return token;
}

// Has every token that lex() returns from now on handed to `w`, or to none when it is null.
inline void watch_tokens(void (*w)(int token)) {
    watch = w;
    plain = !interactive && watch == nullptr;
}

// The text of the token that lex() returned last; it stays until lex() is called again.
inline std::string_view text() {
    return interactive ? std::string_view(linetext, lineleng) : std::string_view(blocktext, blockleng);
}

inline int destroy() { return interactive ? linelex_destroy() : blocklex_destroy(); }

}  // namespace scanner
