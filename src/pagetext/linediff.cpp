#include "pagetext/linediff.h"

#include "pagetext/textlines.h"

#include <QHash>

#include <algorithm>
#include <cstring>

namespace LineDiff {

namespace {

// Lines left out of the search, by count: each later line beyond the earlier ones' count of it is added.
void matchByCount(
    const std::vector<int> &a, const std::vector<int> &b, int distinct, qsizetype offset, Changes *changes)
{
    std::vector<int> count(size_t(distinct), 0);
    for (const int id : a) {
        ++count[size_t(id)];
    }
    for (size_t j = 0; j < b.size(); ++j) {
        if (count[size_t(b[j])] > 0) {
            --count[size_t(b[j])];
        } else {
            changes->added.push_back(offset + qsizetype(j));
        }
    }
    std::fill(count.begin(), count.end(), 0);
    for (const int id : b) {
        ++count[size_t(id)];
    }
    for (size_t i = 0; i < a.size(); ++i) {
        if (count[size_t(a[i])] > 0) {
            --count[size_t(a[i])];
        } else {
            changes->removed.push_back(offset + qsizetype(i));
        }
    }
}

// Myers' search for the shortest edit script; false when it would take more than budget steps.
bool search(const std::vector<int> &a, const std::vector<int> &b, qint64 budget, qsizetype offset, Changes *changes)
{
    const qsizetype n = qsizetype(a.size());
    const qsizetype m = qsizetype(b.size());
    const qsizetype maxD = n + m;
    std::vector<qsizetype> v(size_t(2 * maxD + 3), 0);
    const qsizetype mid = maxD + 1;
    // Per edit count d, the furthest x on diagonals -d..d, for walking the path back.
    std::vector<std::vector<qsizetype>> trace;
    qint64 work = 0;
    qsizetype found = -1;
    for (qsizetype d = 0; d <= maxD && found < 0; ++d) {
        work += 2 * d + 1;
        if (work > budget) {
            return false;
        }
        trace.emplace_back(v.begin() + (mid - d - 1), v.begin() + (mid + d + 2));
        for (qsizetype k = -d; k <= d; k += 2) {
            qsizetype x = (k == -d || (k != d && v[size_t(mid + k - 1)] < v[size_t(mid + k + 1)]))
                ? v[size_t(mid + k + 1)]
                : v[size_t(mid + k - 1)] + 1;
            qsizetype y = x - k;
            const qsizetype start = x;
            while (x < n && y < m && a[size_t(x)] == b[size_t(y)]) {
                ++x;
                ++y;
            }
            work += x - start;
            v[size_t(mid + k)] = x;
            if (x >= n && y >= m) {
                found = d;
                break;
            }
        }
        if (work > budget) {
            return false;
        }
    }
    qsizetype x = n;
    qsizetype y = m;
    for (qsizetype d = found; d > 0; --d) {
        const std::vector<qsizetype> &before = trace[size_t(d)];
        // before holds v for diagonals -d-1..d+1 as it was when step d began.
        const auto at = [&](qsizetype k) { return before[size_t(k + d + 1)]; };
        const qsizetype k = x - y;
        const qsizetype previousK = (k == -d || (k != d && at(k - 1) < at(k + 1))) ? k + 1 : k - 1;
        const qsizetype previousX = at(previousK);
        const qsizetype previousY = previousX - previousK;
        while (x > previousX && y > previousY) {
            --x;
            --y;
        }
        if (x == previousX) {
            changes->added.push_back(offset + previousY);
        } else {
            changes->removed.push_back(offset + previousX);
        }
        x = previousX;
        y = previousY;
    }
    std::reverse(changes->added.begin(), changes->added.end());
    std::reverse(changes->removed.begin(), changes->removed.end());
    return true;
}

} // namespace

Changes between(const QStringList &earlier, const QStringList &later, qint64 budget)
{
    return between(TextLines(earlier).views(), TextLines(later).views(), budget);
}

namespace {

// Most lines of a page come again unchanged: compared here without a call into the library for each.
bool same(QByteArrayView a, QByteArrayView b)
{
    return a.size() == b.size() && std::memcmp(a.data(), b.data(), size_t(a.size())) == 0;
}

} // namespace

Changes between(const QList<QByteArrayView> &earlier, const QList<QByteArrayView> &later, qint64 budget)
{
    const qsizetype n = earlier.size();
    const qsizetype m = later.size();
    qsizetype prefix = 0;
    while (prefix < n && prefix < m && same(earlier.at(prefix), later.at(prefix))) {
        ++prefix;
    }
    qsizetype suffix = 0;
    while (suffix < n - prefix && suffix < m - prefix && same(earlier.at(n - 1 - suffix), later.at(m - 1 - suffix))) {
        ++suffix;
    }

    // Lines as numbers, so that the search compares integers.
    QHash<QByteArrayView, int> ids;
    const auto idsOf = [&ids](const QList<QByteArrayView> &lines, qsizetype from, qsizetype to) {
        std::vector<int> out;
        out.reserve(size_t(to - from));
        for (qsizetype i = from; i < to; ++i) {
            const QByteArrayView line = lines.at(i);
            auto id = ids.constFind(line);
            if (id == ids.constEnd()) {
                id = ids.insert(line, int(ids.size()));
            }
            out.push_back(id.value());
        }
        return out;
    };
    const std::vector<int> a = idsOf(earlier, prefix, n - suffix);
    const std::vector<int> b = idsOf(later, prefix, m - suffix);

    // Both lists share their common beginning, so one offset serves the indexes of either.
    Changes changes;
    if (a.empty() || b.empty() || !search(a, b, budget, prefix, &changes)) {
        changes = {};
        matchByCount(a, b, int(ids.size()), prefix, &changes);
    }
    return changes;
}

} // namespace LineDiff
