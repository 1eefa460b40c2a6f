#pragma once

#include <QByteArrayView>
#include <QList>
#include <QStringList>

#include <vector>

// Which lines one text added to another and which it took away: a shortest edit script (Myers) between the
// two lists of lines, after their common beginning and end are set aside. Its work is bounded: past the
// budget, lines are matched by count instead of by order, so a hostile pair of pages costs linear time.
namespace LineDiff {

struct Changes
{
    std::vector<qsizetype> added; // indexes into the later lines, ascending
    std::vector<qsizetype> removed; // indexes into the earlier lines, ascending
};

// Steps of the edit search allowed before matching by count.
inline constexpr qint64 defaultBudget = 4'000'000;

// Lines in UTF-8, as TextLines has them.
Changes between(
    const QList<QByteArrayView> &earlier, const QList<QByteArrayView> &later, qint64 budget = defaultBudget);
Changes between(const QStringList &earlier, const QStringList &later, qint64 budget = defaultBudget);

} // namespace LineDiff
