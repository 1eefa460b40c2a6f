#include "replies/replytexts.h"

#include "replies/addedtext.h"
#include "replies/kepttextstore.h"
#include "replies/pagetext.h"

namespace ReplyTexts {

void keepBaseline(KeptTextStore &store, const QString &address, QByteArrayView contentType, QByteArrayView body)
{
    const std::optional<KeptText> kept = store.read(address);
    // What changes on every visit still does after the user has read the replies.
    store.write(address, { PageText::textLines(contentType, body), kept ? kept->noise : QStringList() });
}

QStringList afterCheck(KeptTextStore &store, const QString &address, const PostResult &result,
    QByteArrayView contentType, QByteArrayView body)
{
    if (!result.wasChecked()) {
        return {};
    }
    const std::optional<KeptText> kept = store.read(address);
    if (!kept || result.outcome == PostOutcome::Baseline) {
        keepBaseline(store, address, contentType, body);
        return {};
    }
    const TextLines lines = PageText::textLines(contentType, body);
    if (result.outcome == PostOutcome::NewReplies) {
        return AddedText::runs(kept->lines, lines, kept->noise);
    }
    if (result.outcome == PostOutcome::Unchanged && qAbs(result.growth) <= noiseGrowthLimit) {
        const QStringList noise = AddedText::mergedNoise(kept->noise, AddedText::noiseBetween(kept->lines, lines));
        if (noise != kept->noise) {
            store.write(address, { kept->lines, noise });
        }
    }
    return {};
}

QString excerpt(const QStringList &newText, qsizetype length)
{
    QStringList lines;
    qsizetype used = 0;
    for (const QString &run : newText) {
        for (const QString &line : run.split(u'\n')) {
            if (used + line.size() <= length) {
                lines.append(line);
                used += line.size() + 1;
                continue;
            }
            const qsizetype room = length - used;
            if (room >= 20) {
                const qsizetype cut = line.lastIndexOf(u' ', room);
                lines.append(line.left(cut > room / 2 ? cut : room) + QChar(0x2026));
            } else if (!lines.isEmpty()) {
                lines.last() += QChar(0x2026);
            }
            return lines.join(u'\n');
        }
    }
    return lines.join(u'\n');
}

} // namespace ReplyTexts
