// The texts of the parser's values: names, strings, numbers and the operands put together from
// them.  Nearly all of them live only until their statement is translated, so they are cut one
// after another from one block, which starts over whenever none of its texts is alive.  A text
// that does not fit, or comes while the block is full, is malloc'd.  Under AddressSanitizer every
// text is malloc'd, so that it checks each text is let go of once and not used after.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "tool.hpp"

namespace texts {

#ifdef __SANITIZE_ADDRESS__
constexpr bool sanitized = true;
#else
constexpr bool sanitized = false;
#endif

inline char block[1 << 16];
inline std::size_t used, alive;

inline bool in_block(const char* text) {
    auto at = reinterpret_cast<std::uintptr_t>(text);
    auto start = reinterpret_cast<std::uintptr_t>(block);
    return at >= start && at < start + sizeof block;
}

// A text, NUL-terminated, with its length in the bytes before it: its length is known without a
// look for its end, and the parser stacks no more than a pointer for it.
struct Text {
    char* data;
    std::size_t size() const {
        std::size_t length;
        std::memcpy(&length, data - sizeof length, sizeof length);
        return length;
    }
    operator std::string_view() const { return {data, size()}; }
};

// A copy of the `length` bytes of `text`, which hold no NUL byte.
inline Text copy(const char* text, std::size_t length) {
    const std::size_t size = sizeof length + length + 1;
    char* made;
    if (!sanitized && size <= sizeof block - used) {
        made = block + used;
        used += size;
        ++alive;
    } else {
        made = static_cast<char*>(tool::allocate(size));
    }
    std::memcpy(made, &length, sizeof length);
    made += sizeof length;
    std::memcpy(made, text, length);
    made[length] = '\0';
    return {made};
}

inline void release(Text text) {
    if (!in_block(text.data)) {
        std::free(text.data - sizeof(std::size_t));
    } else if (--alive == 0) {
        used = 0;
    }
}

}  // namespace texts
