// How the translator reports the errors it finds: in the listing, where a syntax error shows as
// a line break and a string cut off by its line end as a message of its own, and with
// --diagnostics on standard error too, one line NAME:LINE: MESSAGE for each error the listing
// shows and a count at the end.
#pragma once

#include <algorithm>
#include <cstdio>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "listing.hpp"
#include "output.hpp"
#include "quote.hpp"
#include "scanners.hpp"
#include "tool.hpp"

// Where the scanner is in the script. It is kept up only at newline bytes, newline tokens and
// strings, so that the other tokens cost nothing more.
struct ScriptPosition {
    long line = 1;        // the line of the next byte to scan, from 1
    long break_line = 1;  // the line of the last newline token or string returned
    char break_char = 0;  // what made that newline token: '\n', '\r', ';', or 0 for a comment
                          // that ends the input
    long last_line = 1;   // once the input has ended: the line its last byte is on
};
inline ScriptPosition scanned;

namespace diagnostics {

// How a token shows in a message. Each is named by bison's name for it, the alias that the
// grammar gives it ("point", "number", "end of line"; '=' for a character).
enum class Kind {
    keyword,    // in quotes: 'point'
    number,     // expected: a number; found: number 1.5, as the script has it
    name,       // expected: a name; found: name 'P'
    string,     // expected: a string; found: string
    character,  // as bison names it: '='
    byte,       // a byte the grammar has no use for: '!', byte 0xff
    line_end,   // expected: end of line; found: what made it (';', carriage return)
    input_end,  // end of input
    operand,    // expected: any of the tokens an operand may start with, as one word
};

struct Token {
    Kind kind;
    std::string_view alias;
};

inline bool on = false;            // --diagnostics
inline std::string name = "<stdin>";  // the script's, as the lines name it
inline int errors = 0;             // told, each with its line break in the listing
inline int statements_skipped = 0;  // errors told outside a goal
inline int operands_unreadable = 0;  // error operands in the goals written
inline bool unclosed_goal_told = false;  // the end of input inside a goal has had its line

// The statements that a goal in error takes with it: after its first error the parser
// discards what it cannot use up to the brace that closes the goal, script lines included.
// Counted as the tokens come, from that error until the goal is written: a statement line that
// ends in that time and had a token is one, the goal's own first line apart.
struct Swallowed {
    bool counting = false;
    bool goal_line = false;  // the goal's own first line has not ended yet
    bool tokens = false;     // the line being read has had a token
    int statements = 0;
};
inline Swallowed swallowed;

// A token the scanner has returned, while swallowed.counting (the scanner hands each over):
// `token` is its code, '\n' for a newline token and 0 for the end of the input.
inline void lexed(int token) {
    if (token == '\n' || token == 0) {
        swallowed.statements += swallowed.tokens && !swallowed.goal_line;
        swallowed.goal_line = swallowed.tokens = false;
    } else {
        swallowed.tokens = true;
    }
}

// The script is FILE: its name is shown as it is, or quoted as every message of the suite
// quotes names when it holds a byte that a terminal would act on.
inline void read_from(const char* file) {
    const std::string_view n = file;
    const bool unsafe = std::any_of(n.begin(), n.end(), [](char c) {
        return tool::quoting::escaped(static_cast<unsigned char>(c));
    });
    name = unsafe ? tool::quote(n) : std::string(n);
}

// One diagnostic line. What the listing holds so far goes out first, so that where both
// streams meet each line comes after the listing it is about.
inline void tell(long line, std::string_view message) {
    output::flush();
    tool::write_message(name + ":" + std::to_string(line) + ": " + std::string(message) + "\n");
}

// A line break in the listing, where an error was found.
inline void break_listing() {
    output::put("\n");
    output::done();
}

// The pieces one after another.
inline std::string joined(std::initializer_list<std::string_view> pieces) {
    std::string text;
    for (std::string_view piece : pieces) text.append(piece);
    return text;
}

// A token's text as a message shows it: cut after 40 bytes.
inline std::string cut(std::string_view text) {
    return text.size() > 40 ? joined({text.substr(0, 40), "..."}) : std::string(text);
}

// A token the parser expected, in words.
inline std::string expected_words(const Token& t) {
    switch (t.kind) {
    case Kind::keyword: return joined({"'", t.alias, "'"});
    case Kind::number: case Kind::name: case Kind::string: return joined({"a ", t.alias});
    case Kind::operand: return "an operand";
    default: return std::string(t.alias);
    }
}

// The token the parser found, in words; `text` is its text in the script (a number's, a
// name's, or the byte).
inline std::string found_words(const Token& t, std::string_view text) {
    switch (t.kind) {
    case Kind::keyword: return joined({"'", t.alias, "'"});
    case Kind::number: return joined({t.alias, " ", cut(text)});
    case Kind::name: return joined({t.alias, " '", cut(text), "'"});
    case Kind::line_end:
        if (scanned.break_char == ';') return "';'";
        return scanned.break_char == '\r' ? "carriage return" : std::string(t.alias);
    case Kind::byte: {
        const unsigned char c = text.empty() ? 0 : static_cast<unsigned char>(text[0]);
        char shown[16];
        if (c > ' ' && c < 0x7f)
            std::snprintf(shown, sizeof shown, "'%c'", c);
        else
            std::snprintf(shown, sizeof shown, "byte 0x%02x", c);
        return shown;
    }
    default: return std::string(t.alias);
    }
}

// What was found and, when the parser's state names a few tokens, what was expected.
inline std::string syntax_message(const Token& found, std::string_view text, bool in_goal,
                                  std::vector<Token> expected) {
    std::string message = "unexpected " + found_words(found, text);
    if (in_goal && found.kind == Kind::input_end) return message + " inside an unclosed goal";
    if (in_goal) message += " in a goal";

    // The end of the input may come wherever a line may end, and a line may end wherever a
    // statement may start: neither is worth a word next to the others.
    auto is = [](Kind kind) { return [kind](const Token& t) { return t.kind == kind; }; };
    std::erase_if(expected, is(Kind::input_end));
    if (expected.size() > 1) std::erase_if(expected, is(Kind::line_end));
    if (expected.empty() || expected.size() > 4) return message;
    message += ", expecting ";
    for (std::size_t i = 0; i < expected.size(); ++i) {
        if (i > 0) message += i + 1 == expected.size() ? " or " : ", ";
        message += expected_words(expected[i]);
    }
    return message;
}

// With --diagnostics, the line for a syntax error (its line break is the listing's): at a token
// on script line `line`, `found` and what the parser `expected`, and whether it is `in_goal`,
// past a goal's "equal", where the parser recovers within the goal.
inline void syntax_error(long line, const Token& found, std::string_view text, bool in_goal,
                         std::vector<Token> expected) {
    ++errors;
    statements_skipped += !in_goal;
    if (in_goal && found.kind == Kind::input_end) unclosed_goal_told = true;
    if (in_goal && !swallowed.counting) {
        swallowed.counting = true;
        swallowed.goal_line = found.kind != Kind::line_end;
        swallowed.tokens = false;
        scanner::watch_tokens(lexed);
    }
    tell(line, syntax_message(found, text, in_goal, std::move(expected)));
}

// The parser's stack is full: a goal nests too deeply.
inline void stack_full(long line) {
    break_listing();
    if (!on) return;
    ++errors;
    tell(line, "goal nested too deeply (the parser's stack is full)");
}

// The listing's message for a string that its line end cut off, which starts on line `line`.
inline void unterminated_string(long line) {
    if (on) tell(line, "unterminated string");
    output::put("Unterminated character string");
    output::done();
}

// A goal is written with the operand texts `first` and `second`.
inline void goal_written(std::string_view first, std::string_view second) {
    if (!on) return;
    operands_unreadable += listing::count_error_operands(first) + listing::count_error_operands(second);
    swallowed.counting = false;
    scanner::watch_tokens(nullptr);
}

// The parse is over with `result`: 1 when the input ended inside a goal, which the parser may
// have left untold if it was still recovering from an error there. Then a line counts what was
// lost: the statements skipped, a goal the parse gave up in among them, and the goal operands
// that could not be read.
inline void finish(int result) {
    if (!on) return;
    if (result == 1 && !unclosed_goal_told)
        tell(scanned.last_line, "unexpected end of input inside an unclosed goal");
    if (errors == 0) return;
    const int skipped = statements_skipped + swallowed.statements + (result != 0);
    tool::write_message(name + ": " + std::to_string(skipped)
                        + (skipped == 1 ? " statement" : " statements") + " skipped, "
                        + std::to_string(operands_unreadable)
                        + (operands_unreadable == 1 ? " goal operand" : " goal operands")
                        + " unreadable\n");
}

}  // namespace diagnostics
