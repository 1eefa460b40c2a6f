#include "base/characterreferences.h"

#include <algorithm>

#include "base/namedreferences.h"

namespace CharacterReferences {

namespace {

// What browsers show for the numbers 128 to 159, which name C1 controls nobody means.
constexpr char16_t s_windows1252High[32] = { 0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6,
    0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013,
    0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178 };

bool isAsciiAlphanumeric(char16_t c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

int digitValue(char16_t c, int base)
{
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    const char16_t lower = c | 0x20;
    return base == 16 && lower >= 'a' && lower <= 'f' ? lower - 'a' + 10 : -1;
}

Reference numericReference(QStringView text)
{
    qsizetype i = 2;
    const int base = i < text.size() && (text[i] == u'x' || text[i] == u'X') ? 16 : 10;
    i += base == 16 ? 1 : 0;
    const qsizetype digitsStart = i;
    char32_t value = 0;
    for (int digit; i < text.size() && (digit = digitValue(text[i].unicode(), base)) >= 0; ++i) {
        // Past the range it stays past, however many digits follow.
        value = std::min<char32_t>(value * base + digit, 0x110000);
    }
    if (i == digitsStart) {
        return {};
    }
    if (value == 0 || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) {
        value = 0xFFFD;
    } else if (value >= 0x80 && value <= 0x9F) {
        value = s_windows1252High[value - 0x80];
    }
    return { i + (i < text.size() && text[i] == u';' ? 1 : 0), value };
}

// The longest name of the list that text starts with; nullptr when none is.
const NamedReference *longestName(QStringView text)
{
    // The names that start with text's first k characters are a range of the sorted list, narrowed a character at
    // a time; the one exactly k long, if any, comes first in it.
    auto first = namedReferences.begin();
    auto last = namedReferences.end();
    const NamedReference *found = nullptr;
    for (size_t k = 0; k < size_t(text.size()) && first != last; ++k) {
        const char16_t c = text[qsizetype(k)].unicode();
        const auto charAt = [k](const NamedReference &reference) {
            return k < reference.name.size() ? char16_t(reference.name[k]) : char16_t(0);
        };
        first = std::partition_point(first, last, [&](const NamedReference &r) { return charAt(r) < c; });
        last = std::partition_point(first, last, [&](const NamedReference &r) { return charAt(r) == c; });
        if (first != last && first->name.size() == k + 1) {
            found = &*first;
        }
    }
    return found;
}

} // namespace

Reference referenceAt(QStringView text, Place place)
{
    if (text.size() < 2) {
        return {};
    }
    if (text[1] == u'#') {
        return numericReference(text);
    }
    const NamedReference *reference = longestName(text.sliced(1));
    if (reference == nullptr) {
        return {};
    }
    const qsizetype length = 1 + qsizetype(reference->name.size());
    if (place == Place::AttributeValue && reference->name.back() != ';' && length < text.size()
        && (text[length] == u'=' || isAsciiAlphanumeric(text[length].unicode()))) {
        return {};
    }
    return { length, reference->first, reference->second };
}

QString decoded(QStringView text, Place place)
{
    QString out;
    out.reserve(text.size());
    qsizetype done = 0;
    for (qsizetype at = text.indexOf(u'&'); at >= 0; at = text.indexOf(u'&', done)) {
        out += text.sliced(done, at - done);
        const Reference reference = referenceAt(text.sliced(at), place);
        if (reference.length == 0) {
            out += u'&';
            done = at + 1;
            continue;
        }
        for (const char32_t c : { reference.first, reference.second }) {
            if (c != 0) {
                out += QStringView(QChar::fromUcs4(c));
            }
        }
        done = at + reference.length;
    }
    out += text.sliced(done);
    return out;
}

} // namespace CharacterReferences
