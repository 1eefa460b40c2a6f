#include "ui/skinfile.h"

#include <QFile>
#include <QStringList>

#include <algorithm>

std::optional<quint32> SkinFile::colour(int member) const
{
    if (member < 2 || member > 5) {
        return std::nullopt;
    }
    return colours.at(member - 2);
}

bool isSkinColourDigit(QChar c)
{
    // Not isxdigit(): it takes only byte values, and most characters lie beyond them.
    const char16_t u = c.unicode();
    return (u >= u'0' && u <= u'9') || (u >= u'a' && u <= u'f') || (u >= u'A' && u <= u'F');
}

std::optional<quint32> parseSkinColour(const QString &value)
{
    QString text = value.trimmed();
    const qsizetype end = text.indexOf(QLatin1Char(' '));
    if (end >= 0) {
        text.truncate(end);
    }
    if (text.startsWith(QLatin1Char('#'))) {
        text.remove(0, 1);
    }
    // toUInt() would also take a sign or blanks; a colour is six hex digits and nothing else.
    const bool hexDigits = std::all_of(text.cbegin(), text.cend(), isSkinColourDigit);
    if (text.size() != 6 || !hexDigits) {
        return std::nullopt;
    }
    bool ok = false;
    const uint rgb = text.toUInt(&ok, 16);
    if (!ok) {
        return std::nullopt;
    }
    return quint32(rgb);
}

std::optional<SkinFile> parseSkinText(const QString &text)
{
    SkinFile skin;
    bool inSkin = false;
    bool sawSkin = false;
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (const QString &rawLine : lines) {
        const QString line = rawLine.trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char(';')) || line.startsWith(QLatin1Char('#'))) {
            continue;
        }
        if (line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']'))) {
            inSkin = line.mid(1, line.size() - 2).trimmed().compare(QLatin1String("skin"), Qt::CaseInsensitive) == 0;
            sawSkin = sawSkin || inSkin;
            continue;
        }
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (!inSkin || equals <= 0) {
            continue;
        }
        const QString key = line.left(equals).trimmed().toLower();
        const QString value = line.mid(equals + 1).trimmed();
        if (key == QLatin1String("name")) {
            skin.name = value;
        } else if (key == QLatin1String("window")) {
            skin.window = parseSkinColour(value);
        } else if (key == QLatin1String("windowtext")) {
            skin.windowText = parseSkinColour(value);
        } else if (key.size() == 7 && key.startsWith(QLatin1String("colour"))) {
            const int member = key.at(6).digitValue();
            if (member >= 2 && member <= 5) {
                skin.colours[member - 2] = parseSkinColour(value);
            }
        }
    }
    if (!sawSkin) {
        return std::nullopt;
    }
    return skin;
}

std::optional<SkinFile> readSkinFile(const QString &path, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error) {
            *error = file.errorString();
        }
        return std::nullopt;
    }
    if (file.size() > maxSkinFileSize) {
        if (error) {
            *error = QStringLiteral("the file is too large for a skin");
        }
        return std::nullopt;
    }
    std::optional<SkinFile> skin = parseSkinText(QString::fromUtf8(file.read(maxSkinFileSize)));
    if (!skin && error) {
        *error = QStringLiteral("the file has no [skin] section");
    }
    return skin;
}
