#pragma once

// Looking through text sixteen bytes at a time where the processor can, a character at a time where it cannot:
// page texts are tens of kilobytes, and a loop of one character a step spends most of its time on its branches.
// Always inlined: they are called for nearly every tag and line, and their constants stay in registers.
// Char is char for bytes (ASCII or UTF-8) and char16_t for UTF-16.

#include <QtGlobal>

#include <bit>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace CharScan {

// Characters looked at in one step.
template <typename Char> inline constexpr int lanes = 16 / int(sizeof(Char));

#if defined(__SSE2__)
namespace Detail {

template <typename Char> __m128i load(const Char *p)
{
    return _mm_loadu_si128(reinterpret_cast<const __m128i *>(p));
}

template <typename Char> __m128i equal(__m128i chars, Char c)
{
    if constexpr (sizeof(Char) == 1) {
        return _mm_cmpeq_epi8(chars, _mm_set1_epi8(char(c)));
    } else {
        return _mm_cmpeq_epi16(chars, _mm_set1_epi16(short(c)));
    }
}

// One bit a byte: two a character for UTF-16, the lower of which counts.
inline unsigned maskOf(__m128i lanesSet)
{
    return unsigned(_mm_movemask_epi8(lanesSet));
}

} // namespace Detail
#endif

// The first character from p on that is a, b or c; end when none is.
template <typename Char>
[[gnu::always_inline]] inline const Char *findAny(const Char *p, const Char *end, Char a, Char b, Char c)
{
#if defined(__SSE2__)
    for (; end - p >= lanes<Char>; p += lanes<Char>) {
        const __m128i chars = Detail::load(p);
        const __m128i hits
            = _mm_or_si128(_mm_or_si128(Detail::equal(chars, a), Detail::equal(chars, b)), Detail::equal(chars, c));
        if (const unsigned mask = Detail::maskOf(hits)) {
            return p + std::countr_zero(mask) / int(sizeof(Char));
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

template <typename Char> [[gnu::always_inline]] inline const Char *find(const Char *p, const Char *end, Char c)
{
    return findAny(p, end, c, c, c);
}

// Calls found(q) for each q from p to end that is c, in order.
template <typename Char, typename Found>
[[gnu::always_inline]] inline void forEach(const Char *p, const Char *end, Char c, Found &&found)
{
#if defined(__SSE2__)
    for (; end - p >= lanes<Char>; p += lanes<Char>) {
        for (unsigned mask = Detail::maskOf(Detail::equal(Detail::load(p), c)); mask != 0;) {
            const int bit = std::countr_zero(mask);
            found(p + bit / int(sizeof(Char)));
            mask &= ~((sizeof(Char) == 1 ? 1u : 3u) << bit);
        }
    }
#endif
    for (; p < end; ++p) {
        if (*p == c) {
            found(p);
        }
    }
}

// How many bytes from p to end are c.
inline qsizetype count(const char *p, const char *end, char c)
{
    qsizetype found = 0;
#if defined(__SSE2__)
    const __m128i wanted = _mm_set1_epi8(c);
    while (end - p >= 16) {
        // Each byte of the sum counts its lane's finds, up to 255 of them.
        __m128i sums = _mm_setzero_si128();
        for (int steps = 0; steps < 255 && end - p >= 16; ++steps, p += 16) {
            sums = _mm_sub_epi8(sums, _mm_cmpeq_epi8(Detail::load(p), wanted));
        }
        const __m128i halves = _mm_sad_epu8(sums, _mm_setzero_si128());
        found += _mm_cvtsi128_si32(halves) + _mm_extract_epi16(halves, 4);
    }
#endif
    for (; p < end; ++p) {
        found += *p == c ? 1 : 0;
    }
    return found;
}

// The first byte from p on that is past ASCII; end when none is. Runs of ASCII are looked through 64 bytes, then
// 16, at a time: most pages have few such bytes or none.
inline const char *pastAscii(const char *p, const char *end)
{
#if defined(__SSE2__)
    for (; end - p >= 64; p += 64) {
        const __m128i any = _mm_or_si128(_mm_or_si128(Detail::load(p), Detail::load(p + 16)),
            _mm_or_si128(Detail::load(p + 32), Detail::load(p + 48)));
        if (Detail::maskOf(any) != 0) {
            break;
        }
    }
    for (; end - p >= 16; p += 16) {
        if (const unsigned high = Detail::maskOf(Detail::load(p))) {
            return p + std::countr_zero(high);
        }
    }
#endif
    for (; p < end; ++p) {
        if (static_cast<unsigned char>(*p) >= 0x80) {
            return p;
        }
    }
    return end;
}

// Whether the bytes from p to end are all ASCII: such text reads the same in UTF-8 and every code page like it.
inline bool isAscii(const char *p, const char *end)
{
    return pastAscii(p, end) == end;
}

// The length of the UTF-8 sequence that lead starts; 0 for a byte that starts none (ASCII, a continuation byte,
// or one of no valid sequence).
inline int utf8Length(unsigned char lead)
{
    return lead >= 0xc2 && lead <= 0xdf ? 2 : lead >= 0xe0 && lead <= 0xef ? 3 : lead >= 0xf0 && lead <= 0xf4 ? 4 : 0;
}

enum class Encoding { Ascii, Utf8, Other };

// Whether the bytes from p to end are all ASCII, valid UTF-8 with characters past ASCII (none overlong, no
// surrogate, none past U+10FFFF: what decodes without a replacement character), or neither.
inline Encoding encodingOf(const char *p, const char *end)
{
    bool ascii = true;
    while ((p = pastAscii(p, end)) != end) {
        ascii = false;
        const auto byte = [p](int i) { return static_cast<unsigned char>(p[i]); };
        const unsigned char lead = byte(0);
        const int length = utf8Length(lead);
        if (length == 0 || end - p < length) {
            return Encoding::Other;
        }
        // The second byte's range shuts out overlong forms, surrogates and what lies past U+10FFFF.
        const unsigned char low = lead == 0xe0 ? 0xa0 : lead == 0xf0 ? 0x90 : 0x80;
        const unsigned char high = lead == 0xed ? 0x9f : lead == 0xf4 ? 0x8f : 0xbf;
        if (byte(1) < low || byte(1) > high) {
            return Encoding::Other;
        }
        for (int i = 2; i < length; ++i) {
            if ((byte(i) & 0xc0) != 0x80) {
                return Encoding::Other;
            }
        }
        p += length;
    }
    return ascii ? Encoding::Ascii : Encoding::Utf8;
}

// How many of the lanes<Char> characters from p stand in running text as they are: printable ASCII other than
// "<" and "&", and single blanks between two such. Such a stretch starts and ends with a printable character.
// Its characters are written to out as bytes, and up to lanes<Char> bytes may be: out must have room for them.
template <typename Char> [[gnu::always_inline]] inline int plainStretch(const Char *p, char *out)
{
#if defined(__SSE2__)
    const __m128i chars = Detail::load(p);
    __m128i printable;
    if constexpr (sizeof(Char) == 1) {
        // Bytes past ASCII compare as negative, so they are not printable.
        printable
            = _mm_and_si128(_mm_cmpgt_epi8(chars, _mm_set1_epi8(0x20)), _mm_cmplt_epi8(chars, _mm_set1_epi8(0x7f)));
        _mm_storeu_si128(reinterpret_cast<__m128i *>(out), chars);
    } else {
        printable
            = _mm_and_si128(_mm_cmpgt_epi16(chars, _mm_set1_epi16(0x20)), _mm_cmplt_epi16(chars, _mm_set1_epi16(0x7f)));
        _mm_storel_epi64(reinterpret_cast<__m128i *>(out), _mm_packus_epi16(chars, chars));
    }
    const __m128i special = _mm_or_si128(Detail::equal(chars, Char('<')), Detail::equal(chars, Char('&')));
    const unsigned plain = Detail::maskOf(_mm_andnot_si128(special, printable));
    const unsigned blank = Detail::maskOf(Detail::equal(chars, Char(' ')));
    constexpr int step = int(sizeof(Char));
    const unsigned kept = (plain | (blank & (plain << step) & (plain >> step))) & 0xffff;
    return kept == 0xffff ? lanes<Char> : std::countr_zero(~kept) / step;
#else
    const auto plain = [p](int i) { return p[i] > 0x20 && p[i] < 0x7f && p[i] != '<' && p[i] != '&'; };
    const auto keptBlank
        = [p, plain](int i) { return p[i] == ' ' && i > 0 && i < lanes<Char> - 1 && plain(i - 1) && plain(i + 1); };
    int count = 0;
    while (count < lanes<Char> && (plain(count) || keptBlank(count))) {
        out[count] = char(p[count]);
        ++count;
    }
    return count;
#endif
}

} // namespace CharScan
