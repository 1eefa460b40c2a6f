#include "base/textfile.h"

#include <QFile>
#include <QRegularExpression>
#include <QStringDecoder>

#include "base/filereplacement.h"

namespace TextFile {

namespace {

// Windows-1252 positions 0x80..0x9F; the undefined ones map to the C1 control of the same value.
constexpr char16_t s_cp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

QString decodeWindows1252(const QByteArray &bytes)
{
    QString text(bytes.size(), Qt::Uninitialized);
    QChar *out = text.data();
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        *out++ = (b >= 0x80 && b <= 0x9F) ? QChar(s_cp1252High[b - 0x80]) : QChar(b);
    }
    return text;
}

// Empty: the built-in Windows-1252.
QByteArray s_legacyCodePage;

bool isAscii(const QByteArray &bytes)
{
    for (const char c : bytes) {
        if (static_cast<unsigned char>(c) >= 0x80) {
            return false;
        }
    }
    return true;
}

} // namespace

bool setLegacyCodePage(const QString &name)
{
    s_legacyCodePage.clear();
    QString codePage = name.trimmed();
    // A bare number is a Windows code page, as such files usually come from Windows.
    static const QRegularExpression number(QStringLiteral("^\\d+$"));
    if (number.match(codePage).hasMatch()) {
        codePage = QStringLiteral("windows-") + codePage;
    }
    if (codePage.isEmpty() || codePage.compare(QLatin1String("windows-1252"), Qt::CaseInsensitive) == 0) {
        return true;
    }
    const QByteArray encoded = codePage.toLatin1();
    if (!QStringDecoder(encoded.constData()).isValid()) {
        return false;
    }
    s_legacyCodePage = encoded;
    return true;
}

QString decodeLine(const QByteArray &bytes)
{
    if (isAscii(bytes)) {
        return QString::fromLatin1(bytes);
    }
    // Only a mark at the very start of a file is a byte-order mark; splitLines() drops that one itself. On any
    // other line U+FEFF is the text's own character.
    QStringDecoder utf8(QStringDecoder::Utf8,
                        QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
    QString text = utf8.decode(bytes);
    if (!utf8.hasError()) {
        return text;
    }
    if (s_legacyCodePage.isEmpty()) {
        return decodeWindows1252(bytes);
    }
    QStringDecoder legacy(s_legacyCodePage.constData(), QStringDecoder::Flag::Stateless);
    return legacy.decode(bytes);
}

QStringList splitLines(const QByteArray &bytes)
{
    QStringList lines;
    qsizetype start = 0;
    // A byte-order mark left by some editors is not part of the first line.
    if (bytes.startsWith("\xEF\xBB\xBF")) {
        start = 3;
    }
    const qsizetype size = bytes.size();
    qsizetype i = start;
    while (i < size) {
        const char c = bytes.at(i);
        if (c == '\r' || c == '\n') {
            lines.append(decodeLine(bytes.mid(start, i - start)));
            if (c == '\r' && i + 1 < size && bytes.at(i + 1) == '\n') {
                ++i;
            }
            start = i + 1;
        }
        ++i;
    }
    if (start < size) {
        lines.append(decodeLine(bytes.mid(start)));
    }
    return lines;
}

QByteArray encode(const QString &text)
{
    if (text.startsWith(QChar(0xFEFF))) {
        return QByteArrayLiteral("\xEF\xBB\xBF") + text.toUtf8();
    }
    return text.toUtf8();
}

QStringList readLines(const QString &path, bool *ok, QString *reason)
{
    QFile file(path);
    const bool opened = file.open(QIODevice::ReadOnly);
    const QByteArray bytes = opened ? file.readAll() : QByteArray();
    const bool read = opened && file.error() == QFileDevice::NoError;
    if (ok) {
        *ok = read;
    }
    if (!read) {
        if (reason) {
            *reason = file.errorString();
        }
        // Part of a file is not the file: nobody may take it for the whole.
        return {};
    }
    return splitLines(bytes);
}

bool writeAtomic(const QString &path, const QString &text, QString *error, bool ownerOnly)
{
    WriteFailure failure;
    if (replaceFile(path, encode(text), {ownerOnly, true}, &failure)) {
        return true;
    }
    if (error) {
        *error = failure.description;
    }
    return false;
}

bool append(const QString &path, const QByteArray &bytes, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append) || file.write(bytes) != bytes.size()) {
        if (error) {
            *error = file.errorString();
        }
        return false;
    }
    file.close();
    if (file.error() != QFileDevice::NoError) {
        if (error) {
            *error = file.errorString();
        }
        return false;
    }
    return true;
}

} // namespace TextFile
