// The skin file reader over any text. Checks that a colour is only ever read from six ASCII hex digits and
// that what was read, written back in the documented format, reads back the same.
#include <QFile>

#include "fuzzcheck.h"
#include "ui/skinfile.h"

namespace {

QString colourText(quint32 rgb)
{
    return QStringLiteral("#%1").arg(rgb, 6, 16, QLatin1Char('0'));
}

void checkColour(const QString &value)
{
    const std::optional<quint32> rgb = parseSkinColour(value);
    if (!rgb) {
        return;
    }
    FUZZ_CHECK(*rgb <= 0xFFFFFFu);
    QString digits = value.trimmed().section(QLatin1Char(' '), 0, 0);
    if (digits.startsWith(QLatin1Char('#'))) {
        digits.remove(0, 1);
    }
    FUZZ_CHECK(digits.size() == 6);
    for (const QChar c : digits) {
        FUZZ_CHECK(c.unicode() < 0x80 && QByteArrayView("0123456789abcdefABCDEF").contains(char(c.unicode())));
    }
    FUZZ_CHECK(parseSkinColour(colourText(*rgb)) == rgb);
}

QString skinText(const SkinFile &skin)
{
    QString text = QStringLiteral("[skin]\nname=") + skin.name + QLatin1Char('\n');
    for (int member = 2; member <= 5; ++member) {
        if (const std::optional<quint32> rgb = skin.colour(member)) {
            text += QStringLiteral("colour%1=").arg(member) + colourText(*rgb) + QLatin1Char('\n');
        }
    }
    if (skin.window) {
        text += QStringLiteral("window=") + colourText(*skin.window) + QLatin1Char('\n');
    }
    if (skin.windowText) {
        text += QStringLiteral("windowText=") + colourText(*skin.windowText) + QLatin1Char('\n');
    }
    return text;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = Fuzz::text(data, size);
    checkColour(text);
    const std::optional<SkinFile> skin = parseSkinText(text);
    if (!skin) {
        return 0;
    }
    const std::optional<SkinFile> again = parseSkinText(skinText(*skin));
    FUZZ_CHECK(again);
    FUZZ_CHECK(again->name == skin->name);
    FUZZ_CHECK(again->colours == skin->colours);
    FUZZ_CHECK(again->window == skin->window);
    FUZZ_CHECK(again->windowText == skin->windowText);

    // The file reader gives what the text reader gives.
    const QString path = Fuzz::scratchFolder() + QStringLiteral("/fuzz.skin");
    QFile file(path);
    FUZZ_CHECK(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    const QByteArray bytes = text.toUtf8();
    FUZZ_CHECK(file.write(bytes) == bytes.size());
    file.close();
    const std::optional<SkinFile> read = readSkinFile(path);
    FUZZ_CHECK(read.has_value() == (bytes.size() <= maxSkinFileSize));
    if (read) {
        FUZZ_CHECK(read->name == skin->name && read->colours == skin->colours && read->window == skin->window
                   && read->windowText == skin->windowText);
    }
    return 0;
}
