#include "replies/pagelikeness.h"

#include <QSet>

#include "base/foldedtext.h"

namespace PageLikeness {

namespace {

// Each run of three words (letter case and spelling folded), hashed; a text of fewer words counts as one run.
QSet<size_t> wordRuns(const QStringList &lines)
{
    QStringList words;
    for (const QString &line : lines) {
        words += FoldedText::folded(line).toCaseFolded().split(QLatin1Char(' '), Qt::SkipEmptyParts);
    }
    QSet<size_t> runs;
    if (words.isEmpty()) {
        return runs;
    }
    if (words.size() < 3) {
        runs.insert(qHash(words.join(QLatin1Char(' '))));
        return runs;
    }
    runs.reserve(words.size());
    for (qsizetype i = 0; i + 2 < words.size(); ++i) {
        runs.insert(qHashMulti(0, words.at(i), words.at(i + 1), words.at(i + 2)));
    }
    return runs;
}

QString spaced(const QString &text)
{
    return FoldedText::folded(text).simplified();
}

} // namespace

double coverage(const QStringList &reference, const QStringList &other)
{
    const QSet<size_t> wanted = wordRuns(reference);
    if (wanted.isEmpty()) {
        return 1.0;
    }
    const QSet<size_t> found = wordRuns(other);
    qsizetype shared = 0;
    for (const size_t run : wanted) {
        shared += found.contains(run) ? 1 : 0;
    }
    return double(shared) / double(wanted.size());
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
