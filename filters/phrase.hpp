// The phrases a filter's line search looks for, and the search itself.
#pragma once

#include <cstddef>
#include <string_view>

namespace filters {

// A phrase that every line a filter recognises holds, with the two of its bytes that the search
// compares first: the two least common in a prover's report.  Their rank, most common first:
// blanks, digits, the punctuation of numbers and formulas, the lower-case letters in the order
// of English text down to 'b' (with x and y, the names of unknowns, among the common ones),
// then capital letters (each stands for a point, so none is common), then the rarest
// lower-case letters.
struct Phrase {
    // Implicit, so that a phrase is written as its text.
    consteval Phrase(const char* phrase)
        : text(phrase), rarest(rarest_but(npos)), second(text.size() > 1 ? rarest_but(rarest) : 0)
    {
    }

    std::string_view text;
    std::size_t rarest, second;  // offsets into the text; both 0 for a phrase of one byte

private:
    static constexpr std::size_t npos = std::string_view::npos;

    // The offset of the rarest byte but the one at `skip`; the first of equally rare ones.
    consteval std::size_t rarest_but(std::size_t skip) const
    {
        std::size_t found = npos;
        for (std::size_t i = 0; i < text.size(); ++i)
            if (i != skip && (found == npos || rank(text[i]) > rank(text[found]))) found = i;
        return found;
    }

    static consteval std::size_t rank(char byte)
    {
        constexpr std::string_view common =
            " \t\n0123456789.,:;()[]{}=+-*/'_etaoinsrhldcumfpgwxyb";
        constexpr std::string_view rare = "vkjqz";
        if (std::size_t at = common.find(byte); at != common.npos) return at;
        if (std::size_t at = rare.find(byte); at != rare.npos) return common.size() + 1 + at;
        return common.size();  // capital letters and every other byte
    }
};

// The search of a filter each of whose recognised lines holds `phrase`: a line search as
// recogniser.hpp describes.  It compares the phrase's rarest and second rarest bytes at 128
// places at a time, with AVX2 where the processor has it, otherwise (and always when
// `portable`: the tests' -portable builds) with SSE2, and plain C++ off x86-64; the whole
// phrase only where both match.
const char* phrase_line(const char* begin, const char* limit, const char*& start,
                        const Phrase& phrase, bool portable);

// Whether the processor runs AVX2 code: read from what the C library found as the program
// started, where it can be.  The compiler's own check would first ask the processor itself,
// which costs a program on a small input a few per cent of its run under a hypervisor.
bool processor_has_avx2();

// That search as a filter's LineSearch.
template <const Phrase& phrase, bool portable>
const char* phrase_search(const char* begin, const char* limit, const char*& start)
{
    return phrase_line(begin, limit, start, phrase, portable);
}

}  // namespace filters
