#include "lines.hpp"

#include "typed_lines.hpp"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdint>
#include <cstring>
#include <unistd.h>
#ifdef __x86_64__
#include <immintrin.h>
#endif

namespace filters {

namespace {

// Whether the phrase starts at `at`.
inline bool matches(const char* at, std::string_view phrase)
{
    return std::memcmp(at, phrase.data(), phrase.size() - 1) == 0;
}

// Which byte of the phrase, before its last, the search looks for next to the last: the one
// least common in a report's text, by the rank of blanks and lower-case letters in English
// (" error" is looked for by its two r's, which rarely stand so far apart otherwise).
std::size_t anchor(std::string_view phrase)
{
    static constexpr std::string_view common = " etaoinsrhldcumfpgwybvkxjqz";
    std::size_t best = 0, best_rank = 0;
    for (std::size_t i = 0; i + 1 < phrase.size(); ++i) {
        std::size_t rank = common.find(phrase[i]);  // npos, the greatest, when not common
        if (i == 0 || rank > best_rank) {
            best = i;
            best_rank = rank;
        }
    }
    return best;
}

// The first place in [begin, limit) where `phrase` (of two bytes or more) starts, or nullptr.
// The places where its anchor byte and its last byte both stand are found 64 at a time, and
// only there is the rest compared.  The loads reach up to 63 bytes past `limit`; what they
// find there is masked off.
#ifdef __x86_64__
const char* find_sse2(const char* begin, const char* limit, std::string_view phrase)
{
    const std::size_t last = phrase.size() - 1, at = anchor(phrase);
    const __m128i anchor_byte = _mm_set1_epi8(phrase[at]);
    const __m128i last_byte = _mm_set1_epi8(phrase.back());
    const char* end = limit - last;  // where the phrase may still start
    for (const char* p = begin; p < end; p += 64) {
        std::uint64_t candidates = 0;
        for (int i = 0; i < 4; ++i) {
            __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16 * i + at));
            __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16 * i + last));
            __m128i both =
                _mm_and_si128(_mm_cmpeq_epi8(a, anchor_byte), _mm_cmpeq_epi8(b, last_byte));
            candidates |= static_cast<std::uint64_t>(_mm_movemask_epi8(both)) << (16 * i);
        }
        if (end - p < 64) candidates &= (std::uint64_t{1} << (end - p)) - 1;
        for (; candidates; candidates &= candidates - 1) {
            const char* start = p + __builtin_ctzll(candidates);
            if (matches(start, phrase)) return start;
        }
    }
    return nullptr;
}

[[gnu::target("avx2"), gnu::always_inline]] inline __m256i load32(const char* at)
{
    return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(at));
}

[[gnu::target("avx2"), gnu::always_inline]] inline std::uint64_t bits(__m256i found)
{
    return static_cast<std::uint32_t>(_mm256_movemask_epi8(found));
}

[[gnu::target("avx2")]] const char* find_avx2(const char* begin, const char* limit,
                                              std::string_view phrase)
{
    const std::size_t last = phrase.size() - 1, at = anchor(phrase);
    const __m256i anchor_byte = _mm256_set1_epi8(phrase[at]);
    const __m256i last_byte = _mm256_set1_epi8(phrase.back());
    const char* end = limit - last;
    for (const char* p = begin; p < end; p += 64) {
        __m256i low = _mm256_and_si256(_mm256_cmpeq_epi8(load32(p + at), anchor_byte),
                                       _mm256_cmpeq_epi8(load32(p + last), last_byte));
        __m256i high = _mm256_and_si256(_mm256_cmpeq_epi8(load32(p + 32 + at), anchor_byte),
                                        _mm256_cmpeq_epi8(load32(p + 32 + last), last_byte));
        __m256i any = _mm256_or_si256(low, high);
        if (_mm256_testz_si256(any, any)) continue;
        std::uint64_t candidates = bits(low) | bits(high) << 32;
        if (end - p < 64) candidates &= (std::uint64_t{1} << (end - p)) - 1;
        for (; candidates; candidates &= candidates - 1) {
            const char* start = p + __builtin_ctzll(candidates);
            if (matches(start, phrase)) return start;
        }
    }
    return nullptr;
}
#else
const char* find_plain(const char* begin, const char* limit, std::string_view phrase)
{
    const std::size_t last = phrase.size() - 1, at = anchor(phrase);
    const char* end = limit - last;
    for (const char* p = begin; p < end; ++p) {
        auto found = static_cast<const char*>(std::memchr(p + at, phrase[at], end - p));
        if (!found) return nullptr;
        p = found - at;
        if (p[last] == phrase.back() && matches(p, phrase)) return p;
    }
    return nullptr;
}
#endif

const char* find_phrase(const char* begin, const char* limit, std::string_view phrase,
                        bool portable)
{
    if (phrase.size() < 2 || limit - begin < static_cast<std::ptrdiff_t>(phrase.size()))
        return static_cast<const char*>(
            memmem(begin, limit - begin, phrase.data(), phrase.size()));
#ifdef __x86_64__
    static const bool avx2 = __builtin_cpu_supports("avx2");
    return avx2 && !portable ? find_avx2(begin, limit, phrase) : find_sse2(begin, limit, phrase);
#else
    (void)portable;
    return find_plain(begin, limit, phrase);
#endif
}

}  // namespace

const char* phrase_line(const char* begin, const char* limit, const char*& start,
                        std::string_view phrase, bool portable)
{
    const char* found = find_phrase(begin, limit, phrase, portable);
    auto before = static_cast<const char*>(memrchr(begin, '\n', (found ? found : limit) - begin));
    start = before ? before + 1 : begin;
    return found ? static_cast<const char*>(std::memchr(found, '\n', limit - found)) : nullptr;
}

std::size_t copy_squeezing_nuls(const char*& from, const char* from_end, char* to,
                                std::size_t size)
{
    static constexpr char zeros[256] = {};
    char* const to_begin = to;
    char* const to_end = to + size;
    while (from < from_end && to < to_end) {
        auto n = static_cast<std::size_t>(std::min(from_end - from, to_end - to));
        auto nul = static_cast<const char*>(std::memchr(from, '\0', n));
        std::size_t k = nul ? static_cast<std::size_t>(nul - from) + 1 : n;
        std::memcpy(to, from, k);
        to += k;
        from += k;
        if (!nul) continue;
        while (from_end - from >= 256 && std::memcmp(from, zeros, 256) == 0) from += 256;
        while (from < from_end && *from == '\0') ++from;
    }
    return static_cast<std::size_t>(to - to_begin);
}

long Blocks::read(char* buffer, unsigned long size)
{
    std::size_t filled = 0;
    while (filled < size) {
        if (pending_ == 0 && !next_stretch(filled == 0 || buffer[filled - 1] != '\n')) break;
        const char* from = next_;
        filled += copy_squeezing_nuls(from, next_ + pending_, buffer + filled, size - filled);
        pending_ -= static_cast<std::size_t>(from - next_);
        next_ = from;
    }
    if (filled == 0 && error_ != 0) {
        errno = error_;
        return -1;
    }
    return static_cast<long>(filled);
}

void Blocks::hand_over(const char* from, const char* to)
{
    next_ = from;
    pending_ = static_cast<std::size_t>(to - from);
    begin_ = static_cast<std::size_t>(to - data_);
}

// Finds the next stretch the scanner must see; false at end of input, on a read error, or when
// it would have to read on and may not wait.
bool Blocks::next_stretch(bool may_wait)
{
    for (;;) {
        char* b = data_ + begin_;
        char* e = data_ + end_;
        if (passing_ && b != e) {
            auto nl = static_cast<char*>(std::memchr(b, '\n', e - b));
            passing_ = nl == nullptr;
            hand_over(b, nl ? nl + 1 : e);
            return true;
        }
        if (!passing_) {
            const char* start;
            if (const char* nl = search_(b, e, start)) {
                hand_over(start, nl + 1);
                return true;
            }
            begin_ = static_cast<std::size_t>(start - data_);
            // data_[begin_, end_) is now the start of a line whose end is still unread.
            if (eof_) {
                if (begin_ == end_) return false;
                hand_over(data_ + begin_, e);
                return true;
            }
        }
        if (!may_wait || !fill()) return false;
    }
}

// Reads more after what is left of the block; false at end of input or on a read error.
bool Blocks::fill()
{
    std::memmove(data_, data_ + begin_, end_ - begin_);
    end_ -= begin_;
    begin_ = 0;
    if (end_ == capacity) {
        passing_ = true;
        return true;
    }
    if (eof_) return false;
    for (;;) {
        ssize_t n = ::read(fd_, data_ + end_, capacity - end_);
        if (n > 0) {
            end_ += static_cast<std::size_t>(n);
            return true;
        }
        if (n == 0) {
            eof_ = true;
            return !passing_;
        }
        if (errno != EINTR) {
            error_ = errno;
            return false;
        }
    }
}

long TerminalLines::read(char* buffer, unsigned long size)
{
    return typed_lines::read(terminal_, buffer, static_cast<long>(size));
}

long EveryLine::read(char* buffer, unsigned long size)
{
    for (;;) {
        ssize_t n = ::read(fd_, buffer, size);
        if (n >= 0 || errno != EINTR) return static_cast<long>(n < 0 ? -1 : n);
    }
}

}  // namespace filters
