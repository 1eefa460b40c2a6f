#pragma once

// Looking through UTF-16 text eight characters at a time where the processor can, one at a time where it cannot:
// page texts are tens of kilobytes, and a loop of one character a step spends most of its time on its branches.

#include <bit>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace CharScan {

// The first character from p on that is a, b or c; end when none is.
inline const char16_t *findAny(const char16_t *p, const char16_t *end, char16_t a, char16_t b, char16_t c)
{
#if defined(__SSE2__)
    const __m128i wantA = _mm_set1_epi16(short(a));
    const __m128i wantB = _mm_set1_epi16(short(b));
    const __m128i wantC = _mm_set1_epi16(short(c));
    for (; end - p >= 8; p += 8) {
        const __m128i chars = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p));
        const __m128i hits = _mm_or_si128(
            _mm_or_si128(_mm_cmpeq_epi16(chars, wantA), _mm_cmpeq_epi16(chars, wantB)), _mm_cmpeq_epi16(chars, wantC));
        if (const unsigned mask = unsigned(_mm_movemask_epi8(hits))) {
            return p + std::countr_zero(mask) / 2;
        }
    }
#endif
    for (; p < end; ++p) {
        if (*p == a || *p == b || *p == c) {
            return p;
        }
    }
    return end;
}

inline const char16_t *find(const char16_t *p, const char16_t *end, char16_t c)
{
    return findAny(p, end, c, c, c);
}

// Calls found(q) for each q from p to end that is c, in order.
template <typename Found> void forEach(const char16_t *p, const char16_t *end, char16_t c, Found &&found)
{
#if defined(__SSE2__)
    const __m128i wanted = _mm_set1_epi16(short(c));
    for (; end - p >= 8; p += 8) {
        const __m128i chars = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p));
        // Two bits a character.
        for (unsigned mask = unsigned(_mm_movemask_epi8(_mm_cmpeq_epi16(chars, wanted))); mask != 0;) {
            const int bit = std::countr_zero(mask);
            found(p + bit / 2);
            mask &= ~(3u << bit);
        }
    }
#endif
    for (; p < end; ++p) {
        if (*p == c) {
            found(p);
        }
    }
}

// Whether the bytes from p to end are all ASCII: such text reads the same in UTF-8 and every code page like it.
inline bool isAscii(const char *p, const char *end)
{
#if defined(__SSE2__)
    for (; end - p >= 64; p += 64) {
        const auto *const block = reinterpret_cast<const __m128i *>(p);
        const __m128i any = _mm_or_si128(_mm_or_si128(_mm_loadu_si128(block), _mm_loadu_si128(block + 1)),
            _mm_or_si128(_mm_loadu_si128(block + 2), _mm_loadu_si128(block + 3)));
        if (_mm_movemask_epi8(any) != 0) {
            return false;
        }
    }
#endif
    for (; p < end; ++p) {
        if (static_cast<unsigned char>(*p) >= 0x80) {
            return false;
        }
    }
    return true;
}

// How many of the eight characters from p stand in running text as they are: printable ASCII other than "<" and
// "&", and single blanks between two such. Such a stretch starts and ends with a printable character.
inline int plainStretch(const char16_t *p)
{
#if defined(__SSE2__)
    const __m128i chars = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p));
    const __m128i printable
        = _mm_and_si128(_mm_cmpgt_epi16(chars, _mm_set1_epi16(0x20)), _mm_cmplt_epi16(chars, _mm_set1_epi16(0x7f)));
    const __m128i special
        = _mm_or_si128(_mm_cmpeq_epi16(chars, _mm_set1_epi16('<')), _mm_cmpeq_epi16(chars, _mm_set1_epi16('&')));
    // Two bits a character.
    const unsigned plain = unsigned(_mm_movemask_epi8(_mm_andnot_si128(special, printable)));
    const unsigned blank = unsigned(_mm_movemask_epi8(_mm_cmpeq_epi16(chars, _mm_set1_epi16(' '))));
    const unsigned kept = (plain | (blank & (plain << 2) & (plain >> 2))) & 0xffff;
    return kept == 0xffff ? 8 : std::countr_zero(~kept) / 2;
#else
    int count = 0;
    const auto plain = [p](int i) { return p[i] > 0x20 && p[i] < 0x7f && p[i] != u'<' && p[i] != u'&'; };
    const auto keptBlank = [p, plain](int i) { return p[i] == u' ' && i > 0 && i < 7 && plain(i - 1) && plain(i + 1); };
    while (count < 8 && (plain(count) || keptBlank(count))) {
        ++count;
    }
    return count;
#endif
}

} // namespace CharScan
