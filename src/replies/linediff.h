#pragma once

#include <QStringList>
#include <QStringView>

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

Changes between(const QList<QStringView> &earlier, const QList<QStringView> &later, qint64 budget = defaultBudget);
Changes between(const QStringList &earlier, const QStringList &later, qint64 budget = defaultBudget);

// Views of the lines of a list, which must outlive them.
QList<QStringView> viewsOf(const QStringList &lines);

} // namespace LineDiff
