#include "writers.hpp"

#include <cstdio>

#include "output.hpp"

namespace table {

void put_csv_field(std::string_view text) {
    if (text.find_first_of(",\"\r\n") == text.npos) {
        output::put(text);
        return;
    }
    output::put("\"");
    for (std::size_t quote; (quote = text.find('"')) != text.npos; text.remove_prefix(quote + 1)) {
        output::put(text.substr(0, quote + 1));
        output::put("\"");
    }
    output::put(text);
    output::put("\"");
}

std::size_t utf8_sequence(std::string_view text) {
    auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(0);
    if (lead < 0x80) return 1;
    std::size_t length;
    unsigned char low = 0x80, high = 0xBF;  // the second byte's range
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {  // no overlong forms, no surrogates
        length = 3;
        if (lead == 0xE0) low = 0xA0;
        if (lead == 0xED) high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {  // no overlong forms, nothing past U+10FFFF
        length = 4;
        if (lead == 0xF0) low = 0x90;
        if (lead == 0xF4) high = 0x8F;
    } else {
        return 0;
    }
    if (text.size() < length || byte(1) < low || byte(1) > high) return 0;
    for (std::size_t i = 2; i < length; ++i)
        if (byte(i) < 0x80 || byte(i) > 0xBF) return 0;
    return length;
}

void put_json_string(std::string_view text) {
    output::put("\"");
    while (!text.empty()) {
        std::size_t plain = 0, length;
        while (plain < text.size() && (length = utf8_sequence(text.substr(plain))) != 0 &&
               (length > 1 || (text[plain] >= 0x20 && text[plain] != '"' && text[plain] != '\\')))
            plain += length;
        output::put(text.substr(0, plain));
        if (plain == text.size()) break;
        const auto c = static_cast<unsigned char>(text[plain]);
        if (c >= 0x80) {
            output::put("\xEF\xBF\xBD");
        } else if (c == '"' || c == '\\') {
            const char escaped[] = {'\\', static_cast<char>(c)};
            output::put({escaped, 2});
        } else {
            char escaped[7];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
            output::put({escaped, 6});
        }
        text.remove_prefix(plain + 1);
    }
    output::put("\"");
}

bool json_number(std::string_view text) {
    auto digits = [&] {
        std::size_t n = 0;
        while (n < text.size() && text[n] >= '0' && text[n] <= '9') ++n;
        text.remove_prefix(n);
        return n;
    };
    if (text.starts_with('-')) text.remove_prefix(1);
    const bool zero = text.starts_with('0');
    const std::size_t whole = digits();
    if (whole == 0 || (zero && whole > 1)) return false;
    if (text.starts_with('.')) {
        text.remove_prefix(1);
        if (digits() == 0) return false;
    }
    return text.empty();
}

void put_json_value(std::string_view value) {
    if (json_number(value)) output::put(value);
    else put_json_string(value);
}

}  // namespace table
