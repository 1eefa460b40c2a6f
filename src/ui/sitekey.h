#pragma once

#include <QString>

// The one key the launcher knows: the maker's website from the branding record.
inline const QString websiteSiteKey = QStringLiteral("Website");

// Puts "http://" in front of an address that mentions neither "http://" nor "https://" (in any letter case,
// anywhere in the text), so the system browser gets an address it can open.
QString withWebScheme(const QString &address);

// The address the launcher opens for a key, scheme rule applied; empty when the key names nothing to open
// (an unknown or empty key, or an empty website).
QString launcherAddress(const QString &key, const QString &website);
