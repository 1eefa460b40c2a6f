#include "replies/replytexts.h"

#include "pagetext/addedtext.h"
#include "pagetext/kepttextstore.h"
#include "pagetext/pagelikeness.h"
#include "pagetext/pagemarkup.h"
#include "pagetext/pagetext.h"

#include <QUrl>

#include <algorithm>

namespace ReplyTexts {

namespace {

PageMarkup::Facts markupOf(
    const QString &address, QByteArrayView contentType, QByteArrayView body, const LegacyCodePage &legacy)
{
    return PageMarkup::read(PageText::decoded(contentType, body, legacy), QUrl(address));
}

// The runs without the user's own post: the line that shows its beginning, the short lines just before it (its
// author and time) and the lines after it up to the next short one (the next post's author).
QStringList withoutOwnText(const QStringList &runs, const QString &ownText)
{
    const auto isShort = [](const QString &line) { return AddedText::wordCount(line) < AddedText::minimumWords; };
    QStringList others;
    for (const QString &run : runs) {
        QStringList lines = run.split(u'\n');
        const qsizetype own = std::find_if(lines.cbegin(), lines.cend(),
                                  [&ownText](const QString &line) { return PageLikeness::shows({ line }, ownText); })
            - lines.cbegin();
        if (own < lines.size()) {
            qsizetype from = own;
            while (from > 0 && isShort(lines.at(from - 1))) {
                --from;
            }
            qsizetype to = own + 1;
            while (to < lines.size() && !isShort(lines.at(to))) {
                ++to;
            }
            lines.remove(from, to - from);
        }
        const QString rest = lines.join(u'\n');
        if (AddedText::wordCount(rest, AddedText::minimumWords) >= AddedText::minimumWords) {
            others.append(rest);
        }
    }
    return others;
}

} // namespace

Baseline keepBaseline(KeptTextStore &store, const QString &address, QByteArrayView contentType, QByteArrayView body,
    const LegacyCodePage &legacy)
{
    const std::optional<KeptText> kept = store.read(address);
    KeptText text;
    text.lines = PageText::textLines(contentType, body, legacy);
    // What changes on every visit still does after the user has read the replies.
    text.noise = kept ? kept->noise : QStringList();
    const PageMarkup::Facts markup = markupOf(address, contentType, body, legacy);
    text.nextPage = markup.nextPage;
    store.write(address, text);
    Baseline baseline;
    baseline.lines = text.lines.toList();
    baseline.nextPage = text.nextPage;
    baseline.asksForPassword = markup.asksForPassword;
    const bool gained = kept && !text.nextPage.isEmpty() && text.nextPage != kept->nextPage;
    baseline.goesOn = kept && !text.nextPage.isEmpty() && (gained || !kept->following.isEmpty());
    return baseline;
}

QString keepFollowing(KeptTextStore &store, const QString &page, QByteArrayView contentType, QByteArrayView body,
    const LegacyCodePage &legacy)
{
    KeptText text;
    text.lines = PageText::textLines(contentType, body, legacy);
    text.nextPage = markupOf(page, contentType, body, legacy).nextPage;
    store.write(page, text);
    return text.nextPage;
}

void setFollowing(KeptTextStore &store, const QString &address, const QStringList &following)
{
    std::optional<KeptText> kept = store.read(address);
    if (kept && kept->following != following) {
        kept->following = following;
        store.write(address, *kept);
    }
}

Judgement afterCheck(KeptTextStore &store, const QString &address, const PostResult &sized, const PostFacts &facts,
    QByteArrayView contentType, QByteArrayView body, const LegacyCodePage &legacy)
{
    Judgement judged { sized, QString() };
    PostResult &result = judged.result;
    if (!sized.wasChecked()) {
        return judged;
    }
    const TextLines lines = PageText::textLines(contentType, body, legacy);
    const QStringList shown = lines.toList();
    if (!facts.ownText.isEmpty()) {
        result.ownPostShown = PageLikeness::shows(shown, facts.ownText);
    }
    const std::optional<KeptText> kept = store.read(address);
    const PageMarkup::Facts markup = kept ? markupOf(address, contentType, body, legacy) : PageMarkup::Facts();
    const bool samePage = kept && !PageLikeness::isOtherPage(kept->lines.toList(), shown, markup.asksForPassword);
    if (sized.outcome == PostOutcome::Baseline) {
        keepBaseline(store, address, contentType, body, legacy);
        return judged;
    }
    // A size stored as another client got the page (a sign-in page, a check page) tells nothing now: measured
    // afresh, claiming nothing. The same page grown still counts; a page of which that one was little is another.
    const bool sameAsStored = samePage
        && !(PageLikeness::coverage(kept->lines.toList(), shown) < 0.5
            && PageLikeness::coverage(shown, kept->lines.toList()) < 0.2);
    if (!facts.measuredAsBrowser && !sameAsStored) {
        keepBaseline(store, address, contentType, body, legacy);
        result.outcome = PostOutcome::Remeasured;
        return judged;
    }
    if (!kept) {
        keepBaseline(store, address, contentType, body, legacy);
        return judged;
    }
    if (!samePage) {
        result.outcome = PostOutcome::NotChecked;
        result.failure = PageFailure::NotThePage;
        return judged;
    }
    if (facts.ownTextShown && result.ownPostShown == false) {
        result.outcome = PostOutcome::PostGone;
        return judged;
    }
    const QStringList added = AddedText::runs(kept->lines, lines, kept->noise);
    if (!facts.ownTextShown && result.ownPostShown == true && result.growth > 0
        && withoutOwnText(added, facts.ownText).isEmpty()) {
        // A held comment let through: the page is the thread as others see it now.
        keepBaseline(store, address, contentType, body, legacy);
        result.outcome = PostOutcome::OwnPostShown;
        return judged;
    }
    // The thread goes on to another page: once it went on from the kept page, or when a next page was gained.
    if (!markup.nextPage.isEmpty() && (!kept->following.isEmpty() || markup.nextPage != kept->nextPage)) {
        judged.follow = markup.nextPage;
    }
    if (result.outcome == PostOutcome::NewReplies) {
        result.newText = facts.ownText.isEmpty() ? added : withoutOwnText(added, facts.ownText);
    } else if (result.outcome == PostOutcome::Unchanged && qAbs(result.growth) <= noiseGrowthLimit) {
        const QStringList noise = AddedText::mergedNoise(kept->noise, AddedText::noiseBetween(kept->lines, lines));
        if (noise != kept->noise) {
            KeptText changed = *kept;
            changed.noise = noise;
            store.write(address, changed);
        }
    }
    return judged;
}

Following afterFollowing(KeptTextStore &store, const QString &address, const QString &page,
    QByteArrayView contentType, QByteArrayView body, const LegacyCodePage &legacy)
{
    Following following;
    following.nextPage = markupOf(page, contentType, body, legacy).nextPage;
    const std::optional<KeptText> post = store.read(address);
    if (!post) {
        return following;
    }
    // A page read with the post's baseline is compared with itself then; one that came since is all new, but for
    // what it shares with the post's page (the forum's header, menus and footer).
    const std::optional<KeptText> keptPage
        = post->following.contains(page) ? store.read(page) : std::optional<KeptText>();
    const KeptText &earlier = keptPage ? *keptPage : *post;
    following.newText = AddedText::runs(earlier.lines, PageText::textLines(contentType, body, legacy),
        AddedText::mergedNoise(post->noise, earlier.noise));
    return following;
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
