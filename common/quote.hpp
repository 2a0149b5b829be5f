// A file name as the programs' messages show it: as it is when the shell would read it back
// the same, otherwise quoted the way GNU coreutils quotes names in its messages (its
// "shell-escape" style, in the C locale): in single quotes, a single quote as '\'', and every
// control byte and byte from 0x80 up as a $'\...' escape, so that no name can move the cursor,
// retitle the terminal or pass for two.  A name with a single quote and nothing else that needs
// care goes in double quotes instead ("it's").  The result pastes back into a shell as the name.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace tool {

namespace quoting {

// A byte shown as an escape: control bytes, DEL and every byte from 0x80 up.
constexpr bool escaped(unsigned char c) { return c < 0x20 || c >= 0x7f; }

// A byte that makes the shell read a name otherwise, at `index` of a name of `size` bytes; the
// colon too, which would pass for the separator of a message.
constexpr bool special(unsigned char c, std::size_t index, std::size_t size)
{
    switch (c) {
    case ' ': case '!': case '"': case '$': case '&': case '\'': case '(': case ')': case '*':
    case ';': case '<': case '=': case '>': case '?': case '[': case '\\': case '^': case '`':
    case '|': case ':':
        return true;
    case '#': case '~':
        return index == 0;
    case '{': case '}':
        return size == 1;
    default:
        return escaped(c);
    }
}

// A byte that double quotes keep as it is.
constexpr bool plain_in_double_quotes(unsigned char c, std::size_t index)
{
    if ((c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')) return true;
    switch (c) {
    case ' ': case '\'': case '%': case '+': case ',': case '-': case '.': case '/': case ':':
    case '@': case ']': case '_':
        return true;
    case '#': case '~':
        return index == 0;
    default:
        return false;
    }
}

}  // namespace quoting

inline std::string quote(std::string_view name)
{
    using namespace quoting;
    auto byte = [&](std::size_t i) { return static_cast<unsigned char>(name[i]); };
    bool any_special = name.empty(), any_escaped = false, single_quote = false, double_ok = true;
    for (std::size_t i = 0; i < name.size(); ++i) {
        any_special |= special(byte(i), i, name.size());
        any_escaped |= escaped(byte(i));
        single_quote |= name[i] == '\'';
        double_ok &= plain_in_double_quotes(byte(i), i);
    }
    if (!any_special) return std::string(name);
    if (single_quote && double_ok) {
        std::string shown(1, '"');
        shown.append(name).push_back('"');
        return shown;
    }
    std::string shown = "'";
    // Inside $'...' after an escape. A name with a single quote that ends in an escaped byte
    // starts in that state, as coreutils' quoting does: the same shell word, a little longer.
    bool in_escapes = single_quote && escaped(byte(name.size() - 1));
    for (std::size_t i = 0; i < name.size(); ++i) {
        const unsigned char c = byte(i);
        if (escaped(c)) {
            if (!in_escapes) shown += "'$'";
            in_escapes = true;
            static constexpr char named[] = "abtnvfr";  // \a (7) to \r (13)
            shown += '\\';
            if (c >= 7 && c <= 13) {
                shown += named[c - 7];
            } else {
                shown += static_cast<char>('0' + (c >> 6));
                shown += static_cast<char>('0' + (c >> 3 & 7));
                shown += static_cast<char>('0' + (c & 7));
            }
        } else if (c == '\'') {
            shown += "'\\''";
            in_escapes = false;
        } else {
            if (in_escapes) shown += "''";
            in_escapes = false;
            shown += static_cast<char>(c);
        }
    }
    return shown + "'";
}

}  // namespace tool
