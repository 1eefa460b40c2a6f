#pragma once

#include <QString>

// The version as the about window shows it: major number, a full stop and the minor number, nothing more.
QString majorMinorVersion(int major, int minor);

// The same from a dotted version ("2.3.0.0" gives "2.3"); a missing or non-numeric part counts as 0.
QString majorMinorVersion(const QString &dottedVersion);
