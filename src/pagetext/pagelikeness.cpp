#include "pagetext/pagelikeness.h"

#include <QRegularExpression>
#include <QSet>

#include "base/foldedtext.h"

namespace PageLikeness {

namespace {

// A text's words as compared: spelling and letter case folded, every run of digits one "#", so that counters
// and times do not make another page.
QStringList wordsOf(const QString &text)
{
    static const QRegularExpression digits(QStringLiteral("\\d+"));
    return FoldedText::folded(text).toCaseFolded().replace(digits, QStringLiteral("#")).split(
        QLatin1Char(' '), Qt::SkipEmptyParts);
}

size_t runOf(const QStringList &words, qsizetype at, qsizetype length)
{
    return qHashRange(words.begin() + at, words.begin() + at + length);
}

// The units a reference is made of, each with its weight in words: every run of three words within a line, and
// a shorter line whole.
QList<std::pair<size_t, int>> unitsOf(const QStringList &lines)
{
    QList<std::pair<size_t, int>> units;
    for (const QString &line : lines) {
        const QStringList words = wordsOf(line);
        if (words.size() < 3) {
            if (!words.isEmpty()) {
                units.append({ runOf(words, 0, words.size()), int(words.size()) });
            }
            continue;
        }
        for (qsizetype i = 0; i + 2 < words.size(); ++i) {
            units.append({ runOf(words, i, 3), 1 });
        }
    }
    return units;
}

// Everything a reference unit can be found as in another text: its runs of three words, across its lines too
// (another reader may break them elsewhere), and its lines of fewer words whole.
QSet<size_t> findable(const QStringList &lines)
{
    QSet<size_t> found;
    QStringList all;
    for (const QString &line : lines) {
        const QStringList words = wordsOf(line);
        if (!words.isEmpty() && words.size() < 3) {
            found.insert(runOf(words, 0, words.size()));
        }
        all += words;
    }
    for (qsizetype i = 0; i + 2 < all.size(); ++i) {
        found.insert(runOf(all, i, 3));
    }
    return found;
}

QString spaced(const QString &text)
{
    return FoldedText::folded(text).simplified();
}

} // namespace

double coverage(const QStringList &reference, const QStringList &other)
{
    const QList<std::pair<size_t, int>> units = unitsOf(reference);
    if (units.isEmpty()) {
        return 1.0;
    }
    const QSet<size_t> found = findable(other);
    qint64 shared = 0;
    qint64 total = 0;
    for (const auto &[unit, weight] : units) {
        total += weight;
        shared += found.contains(unit) ? weight : 0;
    }
    return double(shared) / double(total);
}

bool isOtherPage(const QStringList &reference, const QStringList &now, bool nowAsksForPassword)
{
    const double shared = coverage(reference, now);
    if (shared < 0.2) {
        return true;
    }
    const auto length = [](const QStringList &lines) {
        qsizetype characters = 0;
        for (const QString &line : lines) {
            characters += line.size();
        }
        return characters;
    };
    return shared < 0.5 && (nowAsksForPassword || 2 * length(now) < length(reference));
}

bool isOtherThanShown(const QStringList &shown, const QStringList &got, bool gotAsksForPassword)
{
    const double shared = coverage(shown, got);
    return shared < 0.2 || (shared < 0.5 && gotAsksForPassword);
}

bool shows(const QStringList &lines, const QString &text)
{
    const QString wanted = spaced(text);
    if (wanted.isEmpty()) {
        return false;
    }
    // Joined, so that a text a page breaks over two lines is still found.
    return spaced(lines.join(QLatin1Char(' '))).contains(wanted, Qt::CaseInsensitive);
}

} // namespace PageLikeness
