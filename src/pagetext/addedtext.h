#pragma once

#include <QByteArrayView>
#include <QList>
#include <QStringList>

#include <limits>

#include "pagetext/textlines.h"

// What a later fetch of a page added to its text, without what changes on every visit (counters, times,
// "users online"): added lines that only moved a number, or that changed between two fetches of the page
// when nothing was added, are left out, and so are added runs too short to be a reply.
namespace AddedText {

inline constexpr int minimumWords = 3;
// New text kept of one page, in characters.
inline constexpr qsizetype maximumLength = 4000;
// Shapes of noise lines remembered per page.
inline constexpr qsizetype maximumNoise = 400;

// Longest label of a status line ("Users online:"), in characters and in words.
inline constexpr qsizetype labelLength = 32;
inline constexpr int labelWords = 4;

// The line with each run of digits as "#", and only its label when it starts with a short one and a colon: a
// counter, a time or a list of who is online has one shape whatever its value.
QString shapeOf(QStringView line);
// Words with at least one letter or digit, counted up to enough: a reply's length does not matter past that.
int wordCount(QStringView text, int enough = std::numeric_limits<int>::max());

// The shapes of the lines a later fetch of a page that gained nothing has in place of lines the earlier had (a
// page that lost a post loses lines, and one that gained a short post gains lines: neither is noise).
QStringList noiseBetween(const TextLines &earlier, const TextLines &later);
// Lines in UTF-8, as TextLines has them.
QStringList noiseBetween(const QList<QByteArrayView> &earlier, const QList<QByteArrayView> &later);
QStringList noiseBetween(const QStringList &earlier, const QStringList &later);
// found first, then the known shapes not among them, at most maximumNoise.
QStringList mergedNoise(const QStringList &known, const QStringList &found);

// The runs of consecutive lines that later added to earlier, each one text with "\n" between its lines, in
// page order, at most maximumLength characters together.
QStringList runs(const TextLines &earlier, const TextLines &later, const QStringList &noise);
QStringList runs(const QList<QByteArrayView> &earlier, const QList<QByteArrayView> &later, const QStringList &noise);
QStringList runs(const QStringList &earlier, const QStringList &later, const QStringList &noise);

} // namespace AddedText
