// Fast searches for the few bytes a pass cares about, sixteen bytes at a time where the processor allows.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

#if !defined(QMK_PORTABLE_SCANS) && (defined(__SSE2__) || defined(_M_X64))
#include <emmintrin.h>
#define QMK_HAVE_SSE2 1
#endif
#if !defined(QMK_NO_AVX2_SCANS) && defined(__GNUC__) && defined(__x86_64__)
#include <immintrin.h>
#define QMK_HAVE_AVX2_DISPATCH 1
#endif

namespace qm::passes {

// Moves data[from, to) down to the write position w <= from and advances w;
// the in-place passes only ever shrink the text. Short moves, the usual
// case, are done inline: a library call costs more than the bytes.
inline void MoveDown(char* data, std::size_t& w, std::size_t from, std::size_t to)
{
    const std::size_t count = to - from;
    if (w != from) {
        char* out = data + w;
        const char* in = data + from;
        // Both ends are read before either is written, so overlapping is safe.
        if (count >= 16 && count <= 32) {
            char head[16], tail[16];
            std::memcpy(head, in, 16);
            std::memcpy(tail, in + count - 16, 16);
            std::memcpy(out, head, 16);
            std::memcpy(out + count - 16, tail, 16);
        } else if (count >= 8 && count < 16) {
            std::uint64_t head, tail;
            std::memcpy(&head, in, 8);
            std::memcpy(&tail, in + count - 8, 8);
            std::memcpy(out, &head, 8);
            std::memcpy(out + count - 8, &tail, 8);
        } else if (count >= 4 && count < 8) {
            std::uint32_t head, tail;
            std::memcpy(&head, in, 4);
            std::memcpy(&tail, in + count - 4, 4);
            std::memcpy(out, &head, 4);
            std::memcpy(out + count - 4, &tail, 4);
        } else if (count < 4) {
            for (std::size_t k = 0; k < count; ++k) out[k] = in[k];
        } else {
            std::memmove(out, in, count);
        }
    }
    w += count;
}

// The first position in [from, end) holding one of the given bytes, or end.
template<char... Bytes> inline std::size_t FindAny(const char* data, std::size_t from, std::size_t end)
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
        int mask =
            _mm_movemask_epi8(_mm_cmpeq_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(data + i)), wanted));
        if (mask) return i + static_cast<std::size_t>(std::countr_zero(static_cast<unsigned>(mask)));
    }
#endif
    for (; i < end; ++i)
        if (data[i] == byte) return i;
    return end;
}

// The first position in [from, end) where two spaces stand together, or end.
inline std::size_t FindSpacePair(const char* data, std::size_t from, std::size_t end)
{
    std::size_t i = from;
#ifdef QMK_HAVE_SSE2
    const __m128i space = _mm_set1_epi8(' ');
    for (; i + 17 <= end; i += 16) {
        __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + i));
        __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + i + 1));
        int mask = _mm_movemask_epi8(_mm_and_si128(_mm_cmpeq_epi8(a, space), _mm_cmpeq_epi8(b, space)));
        if (mask) return i + static_cast<std::size_t>(std::countr_zero(static_cast<unsigned>(mask)));
    }
#endif
    for (; i + 1 < end; ++i)
        if (data[i] == ' ' && data[i + 1] == ' ') return i;
    return end;
}

// The first position in [from, end) of a ">" with a space and a "<" after it, or end.
inline std::size_t FindSpaceBetweenTags(const char* data, std::size_t from, std::size_t end)
{
    std::size_t i = from;
#ifdef QMK_HAVE_SSE2
    for (; i + 18 <= end; i += 16) {
        __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + i));
        __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + i + 1));
        __m128i c = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + i + 2));
        int mask = _mm_movemask_epi8(_mm_and_si128(_mm_cmpeq_epi8(a, _mm_set1_epi8('>')),
            _mm_and_si128(_mm_cmpeq_epi8(b, _mm_set1_epi8(' ')), _mm_cmpeq_epi8(c, _mm_set1_epi8('<')))));
        if (mask) return i + static_cast<std::size_t>(std::countr_zero(static_cast<unsigned>(mask)));
    }
#endif
    for (; i + 2 < end; ++i)
        if (data[i] == '>' && data[i + 1] == ' ' && data[i + 2] == '<') return i;
    return end;
}

#ifdef QMK_HAVE_AVX2_DISPATCH
inline bool HaveAvx2()
{
    static const bool has = __builtin_cpu_supports("avx2");
    return has;
}

// Thirty-two positions at a time; returns the first candidate or the first position not examined.
__attribute__((target("avx2"))) inline std::size_t FindFoldedPairWide(
    const char* data, std::size_t from, std::size_t last, char first, char final, std::size_t distance, bool& found)
{
    const __m256i fold1 = _mm256_set1_epi8((first >= 'a' && first <= 'z') ? 0x20 : 0);
    const __m256i fold2 = _mm256_set1_epi8((final >= 'a' && final <= 'z') ? 0x20 : 0);
    const __m256i want1 = _mm256_set1_epi8(first);
    const __m256i want2 = _mm256_set1_epi8(final);
    std::size_t i = from;
    for (; i + 32 <= last + 1; i += 32) {
        __m256i a = _mm256_or_si256(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(data + i)), fold1);
        __m256i b = _mm256_or_si256(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(data + i + distance)), fold2);
        unsigned mask = static_cast<unsigned>(
            _mm256_movemask_epi8(_mm256_and_si256(_mm256_cmpeq_epi8(a, want1), _mm256_cmpeq_epi8(b, want2))));
        if (mask) {
            found = true;
            return i + static_cast<std::size_t>(std::countr_zero(mask));
        }
    }
    found = false;
    return i;
}
#endif

// Candidates for a lower-case ASCII needle ignoring the case of A to Z: its
// first and last bytes, with the 0x20 bit folded, match. The caller checks
// the whole needle at every candidate.
inline std::size_t FindFoldedPair(
    const char* data, std::size_t from, std::size_t last, char first, char final, std::size_t distance)
{
    // `last` is the last position a candidate may start at.
    std::size_t i = from;
#ifdef QMK_HAVE_AVX2_DISPATCH
    if (HaveAvx2()) {
        bool found = false;
        i = FindFoldedPairWide(data, i, last, first, final, distance, found);
        if (found) return i;
    }
#endif
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

// The first position in [from, end) of a space that the tag space pass may
// drop with its run: one right after "=", right before ">" or "=", or alone
// between ">" and "<". `before` is the character in front of `from` as the
// text stands (0 for none); the bytes from `from` on are read as they are.
inline bool IsTagSpace(char c, char previous, char next)
{
    return c == ' ' && (previous == '=' || next == '>' || next == '=' || (previous == '>' && next == '<'));
}

#ifdef QMK_HAVE_AVX2_DISPATCH
// Thirty-two positions at a time; returns the first hit, or the first position not examined.
__attribute__((target("avx2"))) inline std::size_t FindTagSpaceWide(
    const char* data, std::size_t i, std::size_t end, bool& found)
{
    // No lambdas here: they would not take the function's target.
    for (; i + 33 <= end; i += 32) {
        const __m256i here = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(data + i));
        const __m256i prev = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(data + i - 1));
        const __m256i next = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(data + i + 1));
        const __m256i around = _mm256_or_si256(_mm256_or_si256(_mm256_cmpeq_epi8(prev, _mm256_set1_epi8('=')),
                                                   _mm256_cmpeq_epi8(next, _mm256_set1_epi8('>'))),
            _mm256_or_si256(_mm256_cmpeq_epi8(next, _mm256_set1_epi8('=')),
                _mm256_and_si256(
                    _mm256_cmpeq_epi8(prev, _mm256_set1_epi8('>')), _mm256_cmpeq_epi8(next, _mm256_set1_epi8('<')))));
        const __m256i hits = _mm256_and_si256(_mm256_cmpeq_epi8(here, _mm256_set1_epi8(' ')), around);
        const unsigned mask = static_cast<unsigned>(_mm256_movemask_epi8(hits));
        if (mask) {
            found = true;
            return i + static_cast<std::size_t>(std::countr_zero(mask));
        }
    }
    found = false;
    return i;
}
#endif

inline std::size_t FindTagSpace(const char* data, std::size_t from, std::size_t end, char before)
{
    if (from >= end) return end;
    if (IsTagSpace(data[from], before, from + 1 < end ? data[from + 1] : '\0')) return from;
    std::size_t i = from + 1;
#ifdef QMK_HAVE_AVX2_DISPATCH
    if (HaveAvx2()) {
        bool found = false;
        i = FindTagSpaceWide(data, i, end, found);
        if (found) return i;
    }
#endif
#ifdef QMK_HAVE_SSE2
    for (; i + 17 <= end; i += 16) {
        const __m128i here = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + i));
        const __m128i prev = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + i - 1));
        const __m128i next = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + i + 1));
        const __m128i around = _mm_or_si128(
            _mm_or_si128(_mm_cmpeq_epi8(prev, _mm_set1_epi8('=')), _mm_cmpeq_epi8(next, _mm_set1_epi8('>'))),
            _mm_or_si128(_mm_cmpeq_epi8(next, _mm_set1_epi8('=')),
                _mm_and_si128(_mm_cmpeq_epi8(prev, _mm_set1_epi8('>')), _mm_cmpeq_epi8(next, _mm_set1_epi8('<')))));
        const int mask = _mm_movemask_epi8(_mm_and_si128(_mm_cmpeq_epi8(here, _mm_set1_epi8(' ')), around));
        if (mask) return i + static_cast<std::size_t>(std::countr_zero(static_cast<unsigned>(mask)));
    }
#endif
    for (; i < end; ++i)
        if (IsTagSpace(data[i], data[i - 1], i + 1 < end ? data[i + 1] : '\0')) return i;
    return end;
}

// The parities of the double quotes in data[from, to): of all of them, and
// of those that count for quoted values (not right after a single
// backslash). `before1` and `before2` are the two characters in front of
// `from` as the text stands (0 for none). Sixteen bytes at a time; a block
// with a backslash in or just before it is counted one by one.
struct QuoteParity {
    bool all = false;
    bool counting = false;
};

#ifdef QMK_HAVE_AVX2_DISPATCH
// Blocks of thirty-two whose quotes all count at once; from `i` on, the two
// bytes before any block are in the data. Returns the first position not counted.
__attribute__((target("avx2"))) inline std::size_t QuoteParitiesWide(
    const char* data, std::size_t i, std::size_t to, QuoteParity& parity)
{
    const __m256i quote = _mm256_set1_epi8('"');
    const __m256i backslash = _mm256_set1_epi8('\\');
    for (; i + 32 <= to; i += 32) {
        const __m256i block = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(data + i));
        const unsigned quotes = static_cast<unsigned>(_mm256_movemask_epi8(_mm256_cmpeq_epi8(block, quote)));
        if (!quotes) continue;
        const unsigned slashes = static_cast<unsigned>(_mm256_movemask_epi8(_mm256_cmpeq_epi8(block, backslash)));
        if (slashes || data[i - 1] == '\\' || data[i - 2] == '\\') break; // counted one by one
        const bool odd = std::popcount(quotes) & 1;
        parity.all ^= odd;
        parity.counting ^= odd;
    }
    return i;
}
#endif

inline QuoteParity QuoteParities(const char* data, std::size_t from, std::size_t to, char before1, char before2)
{
    QuoteParity parity;
    auto at = [&](std::size_t i, std::size_t back) -> char {
        if (i >= from + back) return data[i - back];
        std::size_t outside = back - (i - from);
        return outside == 1 ? before1 : outside == 2 ? before2 : 0;
    };
    auto one = [&](std::size_t i) {
        if (data[i] != '"') return;
        parity.all = !parity.all;
        if (!(at(i, 1) == '\\' && at(i, 2) != '\\')) parity.counting = !parity.counting;
    };
    std::size_t i = from;
    // The first two bytes one by one: the bytes before them may not be the data's.
    for (; i < to && i < from + 2; ++i) one(i);
#ifdef QMK_HAVE_AVX2_DISPATCH
    if (HaveAvx2()) {
        for (;;) {
            i = QuoteParitiesWide(data, i, to, parity);
            if (i + 32 > to) break;
            for (const std::size_t stop = i + 32; i < stop; ++i) one(i); // a block with a backslash
        }
    }
#endif
#ifdef QMK_HAVE_SSE2
    const __m128i quote = _mm_set1_epi8('"');
    const __m128i backslash = _mm_set1_epi8('\\');
    for (; i + 16 <= to; i += 16) {
        __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + i));
        unsigned quotes = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(block, quote)));
        if (!quotes) continue;
        unsigned slashes = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(block, backslash)));
        if (slashes || data[i - 1] == '\\' || data[i - 2] == '\\') {
            for (std::size_t k = i; k < i + 16; ++k) one(k);
            continue;
        }
        bool odd = std::popcount(quotes) & 1;
        parity.all ^= odd;
        parity.counting ^= odd;
    }
#endif
    for (; i < to; ++i) one(i);
    return parity;
}

// For 64 bytes at data (all readable): bit k of `before` is set when data[k]
// may stand before an accepted tag text (backspace, LF, CR, space, "<"), and
// of `neighbour` when it may stand before or after one (those and ">").
struct NeighbourMasks {
    std::uint64_t before = 0;
    std::uint64_t neighbour = 0;
};

inline NeighbourMasks NeighboursOf64(const char* data)
{
    NeighbourMasks masks;
#ifdef QMK_HAVE_SSE2
    for (int part = 0; part < 4; ++part) {
        __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + 16 * part));
        __m128i before = _mm_or_si128(
            _mm_or_si128(_mm_cmpeq_epi8(block, _mm_set1_epi8(8)), _mm_cmpeq_epi8(block, _mm_set1_epi8('\n'))),
            _mm_or_si128(
                _mm_or_si128(_mm_cmpeq_epi8(block, _mm_set1_epi8('\r')), _mm_cmpeq_epi8(block, _mm_set1_epi8(' '))),
                _mm_cmpeq_epi8(block, _mm_set1_epi8('<'))));
        __m128i neighbour = _mm_or_si128(before, _mm_cmpeq_epi8(block, _mm_set1_epi8('>')));
        masks.before |= static_cast<std::uint64_t>(static_cast<std::uint16_t>(_mm_movemask_epi8(before)))
            << (16 * part);
        masks.neighbour |= static_cast<std::uint64_t>(static_cast<std::uint16_t>(_mm_movemask_epi8(neighbour)))
            << (16 * part);
    }
#else
    for (int k = 0; k < 64; ++k) {
        char c = data[k];
        bool before = c == 8 || c == '\n' || c == '\r' || c == ' ' || c == '<';
        if (before) masks.before |= std::uint64_t {1} << k;
        if (before || c == '>') masks.neighbour |= std::uint64_t {1} << k;
    }
#endif
    return masks;
}

// For 64 bytes at data (all readable): one bit per byte for each class of
// byte the tag sweep looks at.
struct TagMasks {
    std::uint64_t quote = 0;
    std::uint64_t backslash = 0;
    std::uint64_t less = 0;
    std::uint64_t greater = 0;
    std::uint64_t before = 0; // may stand before a tag text: backspace, LF, CR, space, "<"
    std::uint64_t neighbour = 0; // those and ">": a tag text holds none of them
};

inline TagMasks TagMasksOf64Portable(const char* data)
{
    TagMasks m;
    for (int k = 0; k < 64; ++k) {
        const char c = data[k];
        const std::uint64_t bit = std::uint64_t {1} << k;
        if (c == '"') m.quote |= bit;
        if (c == '\\') m.backslash |= bit;
        if (c == '<') m.less |= bit;
        if (c == '>') m.greater |= bit;
        if (c == 8 || c == '\n' || c == '\r' || c == ' ' || c == '<') m.before |= bit;
    }
    m.neighbour = m.before | m.greater;
    return m;
}

#ifdef QMK_HAVE_SSE2
inline TagMasks TagMasksOf64Sse2(const char* data)
{
    TagMasks m;
    for (int part = 0; part < 4; ++part) {
        const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + 16 * part));
        auto bits = [&](__m128i v) {
            return static_cast<std::uint64_t>(static_cast<std::uint16_t>(_mm_movemask_epi8(v))) << (16 * part);
        };
        auto is = [&](char c) { return _mm_cmpeq_epi8(block, _mm_set1_epi8(c)); };
        const __m128i less = is('<');
        const __m128i white = _mm_or_si128(_mm_or_si128(is(8), is('\n')), _mm_or_si128(is('\r'), is(' ')));
        m.quote |= bits(is('"'));
        m.backslash |= bits(is('\\'));
        m.less |= bits(less);
        m.greater |= bits(is('>'));
        m.before |= bits(_mm_or_si128(white, less));
    }
    m.neighbour = m.before | m.greater;
    return m;
}
#endif

#ifdef QMK_HAVE_AVX2_DISPATCH
__attribute__((target("avx2"))) inline TagMasks TagMasksOf64Avx2(const char* data)
{
    // No lambdas here: they would not take the function's target.
    TagMasks m;
    for (int part = 0; part < 2; ++part) {
        const __m256i block = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(data + 32 * part));
        const __m256i less = _mm256_cmpeq_epi8(block, _mm256_set1_epi8('<'));
        const __m256i white = _mm256_or_si256(_mm256_or_si256(_mm256_cmpeq_epi8(block, _mm256_set1_epi8(8)),
                                                  _mm256_cmpeq_epi8(block, _mm256_set1_epi8('\n'))),
            _mm256_or_si256(
                _mm256_cmpeq_epi8(block, _mm256_set1_epi8('\r')), _mm256_cmpeq_epi8(block, _mm256_set1_epi8(' '))));
        const int shift = 32 * part;
        m.quote |= std::uint64_t {static_cast<std::uint32_t>(
                       _mm256_movemask_epi8(_mm256_cmpeq_epi8(block, _mm256_set1_epi8('"'))))}
            << shift;
        m.backslash |= std::uint64_t {static_cast<std::uint32_t>(
                           _mm256_movemask_epi8(_mm256_cmpeq_epi8(block, _mm256_set1_epi8('\\'))))}
            << shift;
        m.less |= std::uint64_t {static_cast<std::uint32_t>(_mm256_movemask_epi8(less))} << shift;
        m.greater |= std::uint64_t {static_cast<std::uint32_t>(
                         _mm256_movemask_epi8(_mm256_cmpeq_epi8(block, _mm256_set1_epi8('>'))))}
            << shift;
        m.before |= std::uint64_t {static_cast<std::uint32_t>(_mm256_movemask_epi8(_mm256_or_si256(white, less)))}
            << shift;
    }
    m.neighbour = m.before | m.greater;
    return m;
}
#endif

// The masks of 64 bytes by the widest means the processor has.
inline TagMasks TagMasksOf64(const char* data)
{
#ifdef QMK_HAVE_AVX2_DISPATCH
    if (HaveAvx2()) return TagMasksOf64Avx2(data);
#endif
#ifdef QMK_HAVE_SSE2
    return TagMasksOf64Sse2(data);
#else
    return TagMasksOf64Portable(data);
#endif
}

// Bit k of the result is the parity of the set bits of m below k, flipped when `before` is set.
inline std::uint64_t ParityBelow(std::uint64_t m, bool before)
{
    m ^= m << 1;
    m ^= m << 2;
    m ^= m << 4;
    m ^= m << 8;
    m ^= m << 16;
    m ^= m << 32;
    return (m << 1) ^ (before ? ~std::uint64_t {0} : 0);
}

} // namespace qm::passes
