#include "phrase.hpp"

#include <cstdint>
#include <cstring>
#include <string.h>
#ifdef __x86_64__
#include <immintrin.h>
#if __has_include(<sys/platform/x86.h>)
#include <sys/platform/x86.h>
#endif
#endif

namespace filters {

namespace {

// The first of the places [p, p + 64) that `found` marks where the phrase starts, or nullptr.
[[gnu::noinline]] const char* confirm(const char* p, std::uint64_t found, const Phrase& phrase)
{
    for (; found; found &= found - 1) {
        const char* at = p + __builtin_ctzll(found);
        if (std::memcmp(at, phrase.text.data(), phrase.text.size()) == 0) return at;
    }
    return nullptr;
}

#ifdef __x86_64__
namespace sse2 {

using Bytes = __m128i;
constexpr int width = 16;
inline Bytes load(const char* at) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(at)); }
inline Bytes splat(char byte) { return _mm_set1_epi8(byte); }
inline Bytes equal(Bytes a, Bytes b) { return _mm_cmpeq_epi8(a, b); }
inline Bytes either(Bytes a, Bytes b) { return _mm_or_si128(a, b); }
inline Bytes both(Bytes a, Bytes b) { return _mm_and_si128(a, b); }
inline bool none(Bytes a) { return _mm_movemask_epi8(a) == 0; }
inline std::uint64_t bits(Bytes a) { return static_cast<std::uint32_t>(_mm_movemask_epi8(a)); }

#include "phrase-search.inc"

}  // namespace sse2

#pragma GCC push_options
#pragma GCC target("avx2")
namespace avx2 {

using Bytes = __m256i;
constexpr int width = 32;
inline Bytes load(const char* at)
{
    return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(at));
}
inline Bytes splat(char byte) { return _mm256_set1_epi8(byte); }
inline Bytes equal(Bytes a, Bytes b) { return _mm256_cmpeq_epi8(a, b); }
inline Bytes either(Bytes a, Bytes b) { return _mm256_or_si256(a, b); }
inline Bytes both(Bytes a, Bytes b) { return _mm256_and_si256(a, b); }
inline bool none(Bytes a) { return _mm256_testz_si256(a, a); }
inline std::uint64_t bits(Bytes a) { return static_cast<std::uint32_t>(_mm256_movemask_epi8(a)); }

#include "phrase-search.inc"

}  // namespace avx2
#pragma GCC pop_options

const char* search(const char* begin, const char* limit, const Phrase& phrase, bool portable)
{
    static const bool has_avx2 = processor_has_avx2();
    return has_avx2 && !portable ? avx2::search(begin, limit, phrase)
                                 : sse2::search(begin, limit, phrase);
}
#else
// Off x86-64: a byte at a time, the two rare bytes first.
const char* search(const char* begin, const char* limit, const Phrase& phrase, bool)
{
    const auto length = static_cast<std::ptrdiff_t>(phrase.text.size());
    for (const char* p = begin; limit - p >= length; ++p)
        if (p[phrase.rarest] == phrase.text[phrase.rarest] &&
            p[phrase.second] == phrase.text[phrase.second] &&
            std::memcmp(p, phrase.text.data(), phrase.text.size()) == 0)
            return p;
    return nullptr;
}
#endif

}  // namespace

const char* phrase_line(const char* begin, const char* limit, const char*& start,
                        const Phrase& phrase, bool portable)
{
    const char* found = search(begin, limit, phrase, portable);
    auto before = static_cast<const char*>(memrchr(begin, '\n', (found ? found : limit) - begin));
    start = before ? before + 1 : begin;
    return found ? static_cast<const char*>(std::memchr(found, '\n', limit - found)) : nullptr;
}

bool processor_has_avx2()
{
#if defined(__x86_64__) && defined(CPU_FEATURE_ACTIVE)
    return CPU_FEATURE_ACTIVE(AVX2);
#elif defined(__x86_64__)
    return __builtin_cpu_supports("avx2");
#else
    return false;
#endif
}

}  // namespace filters
