#pragma once

#include <QByteArray>
#include <QFileDevice>
#include <QString>
#include <QStringList>
#include <optional>

class SettingsStore;

// The code page of lines that are not UTF-8 (files of older versions, pages that declare no character set):
// Windows-1252 unless the setting legacyCodePage of section "Settings" names another, which only this class reads.
class LegacyCodePage
{
public:
    // Windows-1252.
    LegacyCodePage() = default;
    // A number such as "1251" (a Windows code page) or a name such as "windows-1251" or "KOI8-R"; empty means
    // Windows-1252. None for a name no converter knows.
    static std::optional<LegacyCodePage> named(const QString &name);
    // The setting; an unknown name reads as Windows-1252, with a warning.
    static LegacyCodePage fromSettings(const SettingsStore &settings);

    QString decode(const QByteArray &bytes) const;
    bool operator==(const LegacyCodePage &other) const = default;

private:
    QByteArray m_name; // empty: the built-in Windows-1252
};

// Reading and writing the program's plain-text data files.
//
// Files are written as UTF-8 with CR LF line ends. Older files may hold an 8-bit code page; a line that is
// not valid UTF-8 is read in the legacy code page (Windows-1252 unless set otherwise) so that no character is
// lost.
namespace TextFile {

// Splits raw file contents into lines. CR LF, a lone CR and a lone LF each end a line; a final line without
// a line end is kept; a file that ends with a line end has no empty line after it.
QStringList splitLines(const QByteArray &bytes, const LegacyCodePage &legacy = {});

// One line's bytes as text: UTF-8 when valid, the legacy code page otherwise.
QString decodeLine(const QByteArray &bytes, const LegacyCodePage &legacy = {});

// File bytes for a text: UTF-8, with a byte-order mark in front only when the text itself starts with U+FEFF,
// so that reading drops the mark and keeps the character.
QByteArray encode(const QString &text);

// All lines of the file. A missing or unreadable file yields no lines, *ok false and *reason why.
QStringList readLines(
    const QString &path, bool *ok = nullptr, QString *reason = nullptr, const LegacyCodePage &legacy = {});

// Replaces the file's contents in one step (a temporary file renamed over it), so a crash or a full disk
// never leaves a half-written file. With ownerOnly the file is readable and writable by its owner alone.
bool writeAtomic(const QString &path, const QString &text, QString *error = nullptr, bool ownerOnly = false);

// Appends raw bytes, creating the file when it is missing.
bool append(const QString &path, const QByteArray &bytes, QString *error = nullptr);

inline const QString crlf = QStringLiteral("\r\n");

} // namespace TextFile
