#pragma once

#include <QString>
#include <optional>

#include "probe/postoutcome.h"
#include "replies/checksettings.h"

struct PageMeasurement;

// The comparison behind "Check for replies": a page has new replies when it grew by more than the threshold
// since its size was stored.
namespace ReplyCheck {

// The threshold setting as a 16-bit whole number: rounded to the nearest whole number (halves to the even
// neighbour) and clamped to the 16-bit range, so an odd setting never stops a run. Text that is no number
// at all gives the default; a number too long for a double is clamped too, as the options dialog accepts it.
qint32 thresholdFromSetting(const QString &setting);

// A stored size, when the entry holds a usable number (a post never measured holds none).
std::optional<double> storedSize(const QString &entry);

// Strictly more growth than the threshold counts; a post without a usable stored size never counts.
bool hasNewReplies(qint32 newSize, const std::optional<double> &stored, qint32 threshold);

// The outcome of a measured (or failed) page against the entry stored for it, by hasNewReplies().
PostResult resultOf(const PageMeasurement &measurement, const QString &storedSizeEntry, qint32 threshold);

} // namespace ReplyCheck
