#include "pagetext/addedtext.h"

#include <QSet>

#include "pagetext/linediff.h"

namespace AddedText {

int wordCount(QStringView text, int enough)
{
    int words = 0;
    bool inWord = false;
    bool counted = false;
    for (const QChar c : text) {
        if (words >= enough) {
            break;
        }
        if (c.isSpace()) {
            inWord = false;
            continue;
        }
        if (!inWord) {
            inWord = true;
            counted = false;
        }
        if (!counted && c.isLetterOrNumber()) {
            ++words;
            counted = true;
        }
    }
    return words;
}

QString shapeOf(QStringView line)
{
    // A short label and a colon: a status line ("Online now: carol, dave") whatever its value.
    const qsizetype colon = line.indexOf(u':');
    if (colon > 0 && colon <= labelLength && wordCount(line.first(colon)) <= labelWords) {
        line = line.first(colon + 1);
    }
    // Written in place: appending a character at a time costs a call each, and replies are long lines.
    QString shape(line.size(), Qt::Uninitialized);
    QChar *out = shape.data();
    bool inNumber = false;
    for (const QChar c : line) {
        if (c.isDigit()) {
            if (!inNumber) {
                *out++ = u'#';
            }
            inNumber = true;
        } else {
            *out++ = c;
            inNumber = false;
        }
    }
    shape.truncate(out - shape.constData());
    return shape;
}

QStringList noiseBetween(const QStringList &earlier, const QStringList &later)
{
    return noiseBetween(TextLines(earlier), TextLines(later));
}

QStringList noiseBetween(const TextLines &earlier, const TextLines &later)
{
    // The lines both pages begin and end with took no one's place.
    const TextLines::DifferingPart part = TextLines::differingPart(earlier, later);
    return noiseBetween(part.earlier, part.later);
}

QStringList noiseBetween(const QList<QByteArrayView> &earlier, const QList<QByteArrayView> &later)
{
    const LineDiff::Changes changes = LineDiff::between(earlier, later);
    QStringList shapes;
    QSet<QString> seen;
    const auto add = [&](QByteArrayView line) {
        const QString shape = shapeOf(TextLines::textOf(line));
        if (!seen.contains(shape)) {
            seen.insert(shape);
            shapes.append(shape);
        }
    };
    // Only lines that took the place of others count: a line merely added is a post too short to be news yet,
    // and news once the page has grown enough. Where a place has more lines added than taken away, only those
    // of a shape taken away there replaced one.
    size_t removed = 0;
    size_t added = 0;
    for (qsizetype i = 0, j = 0; i < earlier.size() || j < later.size(); ++i, ++j) {
        // One place where the pages differ, up to the next line both have (at i and j).
        QSet<QString> removedShapes;
        const qsizetype firstRemoved = i;
        for (; removed < changes.removed.size() && changes.removed[removed] == i; ++removed, ++i) {
            removedShapes.insert(shapeOf(TextLines::textOf(earlier.at(i))));
        }
        const qsizetype firstAdded = j;
        while (added < changes.added.size() && changes.added[added] == j) {
            ++added;
            ++j;
        }
        const bool sameCount = j - firstAdded <= i - firstRemoved;
        for (qsizetype k = firstAdded; k < j && !removedShapes.isEmpty(); ++k) {
            if (sameCount || removedShapes.contains(shapeOf(TextLines::textOf(later.at(k))))) {
                add(later.at(k));
            }
        }
    }
    return shapes;
}

QStringList mergedNoise(const QStringList &known, const QStringList &found)
{
    QStringList merged;
    QSet<QString> seen;
    for (const QStringList *list : { &found, &known }) {
        for (const QString &shape : *list) {
            if (merged.size() >= maximumNoise) {
                return merged;
            }
            if (!seen.contains(shape)) {
                seen.insert(shape);
                merged.append(shape);
            }
        }
    }
    return merged;
}

QStringList runs(const QStringList &earlier, const QStringList &later, const QStringList &noise)
{
    return runs(TextLines(earlier), TextLines(later), noise);
}

QStringList runs(const TextLines &earlier, const TextLines &later, const QStringList &noise)
{
    // The lines both pages begin and end with added nothing.
    const TextLines::DifferingPart part = TextLines::differingPart(earlier, later);
    return runs(part.earlier, part.later, noise);
}

QStringList runs(const QList<QByteArrayView> &earlier, const QList<QByteArrayView> &later, const QStringList &noise)
{
    const LineDiff::Changes changes = LineDiff::between(earlier, later);
    // A line taken away and one of its shape added is a number that moved, not something new.
    QSet<QString> skipped(noise.cbegin(), noise.cend());
    for (const qsizetype i : changes.removed) {
        skipped.insert(shapeOf(TextLines::textOf(earlier.at(i))));
    }

    QStringList found;
    qsizetype length = 0;
    QStringList run;
    const auto endRun = [&] {
        const QString text = run.join(u'\n');
        run.clear();
        if (wordCount(text, minimumWords) < minimumWords || length >= maximumLength) {
            return;
        }
        found.append(text.left(maximumLength - length));
        length += found.last().size();
    };
    qsizetype previous = -2;
    for (const qsizetype i : changes.added) {
        if (i != previous + 1) {
            endRun();
        }
        previous = i;
        QString line = TextLines::textOf(later.at(i));
        if (skipped.isEmpty() || !skipped.contains(shapeOf(line))) {
            run.append(std::move(line));
        }
    }
    endRun();
    return found;
}

} // namespace AddedText
