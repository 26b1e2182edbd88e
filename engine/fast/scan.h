// Fast searches for the few bytes a pass cares about, sixteen bytes at a time where the processor allows.
#pragma once

#include <bit>
#include <cstddef>
#include <cstring>
#include <string_view>

#if defined(__SSE2__) || defined(_M_X64)
#include <emmintrin.h>
#define QMK_HAVE_SSE2 1
#endif

namespace qm::fast {

// The first position in [from, end) holding one of the given bytes, or end.
template <char... Bytes> inline std::size_t FindAny(const char* data, std::size_t from, std::size_t end)
{
    std::size_t i = from;
#ifdef QMK_HAVE_SSE2
    for (; i + 16 <= end; i += 16) {
        __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + i));
        __m128i hits = _mm_setzero_si128();
        ((hits = _mm_or_si128(hits, _mm_cmpeq_epi8(block, _mm_set1_epi8(Bytes)))), ...);
        int mask = _mm_movemask_epi8(hits);
        if (mask) return i + static_cast<std::size_t>(std::countr_zero(static_cast<unsigned>(mask)));
    }
#endif
    for (; i < end; ++i) {
        char c = data[i];
        if (((c == Bytes) || ...)) return i;
    }
    return end;
}

// Inline rather than memchr: the bytes sought are often only a few positions apart.
inline std::size_t FindByte(const char* data, std::size_t from, std::size_t end, char byte)
{
    std::size_t i = from;
#ifdef QMK_HAVE_SSE2
    const __m128i wanted = _mm_set1_epi8(byte);
    for (; i + 16 <= end; i += 16) {
        int mask = _mm_movemask_epi8(
            _mm_cmpeq_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(data + i)), wanted));
        if (mask) return i + static_cast<std::size_t>(std::countr_zero(static_cast<unsigned>(mask)));
    }
#endif
    for (; i < end; ++i)
        if (data[i] == byte) return i;
    return end;
}

// The first position in [from, end) where two spaces stand together or a double quote stands, or end.
inline std::size_t FindSpacePairOrQuote(const char* data, std::size_t from, std::size_t end)
{
    std::size_t i = from;
#ifdef QMK_HAVE_SSE2
    const __m128i space = _mm_set1_epi8(' ');
    const __m128i quote = _mm_set1_epi8('"');
    for (; i + 17 <= end; i += 16) {
        __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + i));
        __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + i + 1));
        __m128i hits = _mm_or_si128(_mm_and_si128(_mm_cmpeq_epi8(a, space), _mm_cmpeq_epi8(b, space)),
            _mm_cmpeq_epi8(a, quote));
        int mask = _mm_movemask_epi8(hits);
        if (mask) return i + static_cast<std::size_t>(std::countr_zero(static_cast<unsigned>(mask)));
    }
#endif
    for (; i < end; ++i)
        if (data[i] == '"' || (data[i] == ' ' && i + 1 < end && data[i + 1] == ' ')) return i;
    return end;
}

// Candidates for a lower-case ASCII needle ignoring the case of A to Z: its
// first and last bytes, with the 0x20 bit folded, match. The caller checks
// the whole needle at every candidate.
inline std::size_t FindFoldedPair(const char* data, std::size_t from, std::size_t last, char first, char final,
    std::size_t distance)
{
    // `last` is the last position a candidate may start at.
    std::size_t i = from;
#ifdef QMK_HAVE_SSE2
    const bool foldFirst = first >= 'a' && first <= 'z';
    const bool foldFinal = final >= 'a' && final <= 'z';
    const __m128i fold1 = _mm_set1_epi8(foldFirst ? 0x20 : 0);
    const __m128i fold2 = _mm_set1_epi8(foldFinal ? 0x20 : 0);
    const __m128i want1 = _mm_set1_epi8(first);
    const __m128i want2 = _mm_set1_epi8(final);
    for (; i + 16 <= last + 1; i += 16) {
        __m128i a = _mm_or_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(data + i)), fold1);
        __m128i b = _mm_or_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(data + i + distance)), fold2);
        int mask = _mm_movemask_epi8(_mm_and_si128(_mm_cmpeq_epi8(a, want1), _mm_cmpeq_epi8(b, want2)));
        if (mask) return i + static_cast<std::size_t>(std::countr_zero(static_cast<unsigned>(mask)));
    }
#endif
    for (; i <= last; ++i) {
        char a = data[i], b = data[i + distance];
        if (first >= 'a' && first <= 'z') a = static_cast<char>(a | 0x20);
        if (final >= 'a' && final <= 'z') b = static_cast<char>(b | 0x20);
        if (a == first && b == final) return i;
    }
    return last + 1;
}

} // namespace qm::fast
