#include "base/textfile.h"

#include <QFile>
#include <QRegularExpression>
#include <QStringDecoder>

#include "base/filereplacement.h"
#include "base/settingsstore.h"

namespace TextFile {

namespace {

// Windows-1252 positions 0x80..0x9F; the undefined ones map to the C1 control of the same value.
constexpr char16_t s_cp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

} // namespace

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

namespace {

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

QString decodeLine(const QByteArray &bytes, const LegacyCodePage &legacy)
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
    return legacy.decode(bytes);
}

QStringList splitLines(const QByteArray &bytes, const LegacyCodePage &legacy)
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
            lines.append(decodeLine(bytes.mid(start, i - start), legacy));
            if (c == '\r' && i + 1 < size && bytes.at(i + 1) == '\n') {
                ++i;
            }
            start = i + 1;
        }
        ++i;
    }
    if (start < size) {
        lines.append(decodeLine(bytes.mid(start), legacy));
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

QStringList readLines(const QString &path, bool *ok, QString *reason, const LegacyCodePage &legacy)
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
    return splitLines(bytes, legacy);
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

std::optional<LegacyCodePage> LegacyCodePage::named(const QString &name)
{
    LegacyCodePage page;
    QString codePage = name.trimmed();
    // A bare number is a Windows code page, as such files usually come from Windows.
    static const QRegularExpression number(QStringLiteral("^\\d+$"));
    if (number.match(codePage).hasMatch()) {
        codePage = QStringLiteral("windows-") + codePage;
    }
    if (codePage.isEmpty() || codePage.compare(QLatin1String("windows-1252"), Qt::CaseInsensitive) == 0) {
        return page;
    }
    page.m_name = codePage.toLatin1();
    if (!QStringDecoder(page.m_name.constData()).isValid()) {
        return std::nullopt;
    }
    return page;
}

LegacyCodePage LegacyCodePage::fromSettings(const SettingsStore &settings)
{
    const QString name = settings.read(QStringLiteral("Settings"), QStringLiteral("legacyCodePage"), QString());
    const std::optional<LegacyCodePage> page = named(name);
    if (!page) {
        qWarning("Unknown code page \"%s\" in the setting legacyCodePage; reading Windows-1252", qUtf8Printable(name));
    }
    return page.value_or(LegacyCodePage());
}

QString LegacyCodePage::decode(const QByteArray &bytes) const
{
    if (m_name.isEmpty()) {
        return TextFile::decodeWindows1252(bytes);
    }
    QStringDecoder decoder(m_name.constData(), QStringDecoder::Flag::Stateless);
    return decoder.decode(bytes);
}
