#include "pagetext/pagemarkup.h"

#include <QRegularExpression>
#include <QUrl>

#include "base/characterreferences.h"
#include "pagetext/markuptokenizer.h"

namespace PageMarkup {

namespace {

using Content = MarkupTokenizer::Content;

// What follows a start tag of that name in a page's markup.
Content contentAfter(QStringView name)
{
    if (name == u"script") {
        return Content::ScriptData;
    }
    if (name == u"style" || name == u"xmp" || name == u"iframe" || name == u"noembed" || name == u"noframes"
        || name == u"noscript") {
        return Content::RawText;
    }
    if (name == u"title" || name == u"textarea") {
        return Content::EscapableRawText;
    }
    return name == u"plaintext" ? Content::PlainText : Content::Markup;
}

QStringView attribute(const MarkupTokenizer::Token &tag, QLatin1StringView name, bool *found = nullptr)
{
    for (const MarkupTokenizer::Attribute &attribute : tag.attributes) {
        if (attribute.name.compare(name, Qt::CaseInsensitive) == 0) {
            if (found) {
                *found = true;
            }
            return attribute.value;
        }
    }
    return {};
}

bool saysNext(QStringView rel)
{
    for (const QStringView word : rel.split(u' ', Qt::SkipEmptyParts)) {
        if (word.trimmed().compare(u"next", Qt::CaseInsensitive) == 0) {
            return true;
        }
    }
    return false;
}

// The address's path and query, cut into runs of digits and runs of the rest.
QStringList pieces(const QUrl &url)
{
    static const QRegularExpression runs(QStringLiteral("\\d+|\\D+"));
    const QString text = url.toString(QUrl::RemoveScheme | QUrl::RemoveAuthority | QUrl::RemoveFragment);
    QStringList list;
    for (auto match = runs.globalMatch(text); match.hasNext();) {
        list.append(match.next().captured());
    }
    return list;
}

bool isNumber(const QString &piece)
{
    return !piece.isEmpty() && piece.front().isDigit();
}

// The text before a number that makes it a page number rather than a thread's.
bool namesPage(const QString &before)
{
    static const QRegularExpression page(
        QStringLiteral("(?:^|[^a-z])(?:page|pg|p|pagina|seite|strona|страница)[=/_-]?$"),
        QRegularExpression::CaseInsensitiveOption);
    return page.match(before).hasMatch();
}

// Whether the link is the page after pageUrl by its page number.
bool isNumberedNext(const QUrl &pageUrl, const QUrl &link)
{
    const QStringList here = pieces(pageUrl);
    const QStringList there = pieces(link);
    if (here.size() == there.size()) {
        qsizetype differing = -1;
        for (qsizetype i = 0; i < here.size(); ++i) {
            if (here[i] != there[i]) {
                if (differing >= 0 || !isNumber(here[i]) || !isNumber(there[i])) {
                    return false;
                }
                differing = i;
            }
        }
        return differing > 0 && namesPage(here[differing - 1])
            && there[differing].toULongLong() == here[differing].toULongLong() + 1;
    }
    // The first page of a thread often has no number: the second names page 2 after its address.
    const QString first = here.join(QString());
    const QString second = there.join(QString());
    static const QRegularExpression secondPage(
        QStringLiteral("^(?:[?&;](?:page|pg|p|pagenumber)=|/?(?:page|pg)[/_-]?|[-_](?:page|p)[-_]?)2/?$"),
        QRegularExpression::CaseInsensitiveOption);
    return !first.isEmpty() && second.startsWith(first) && secondPage.match(second.mid(first.size())).hasMatch();
}

bool sameSite(const QUrl &a, const QUrl &b)
{
    return a.scheme() == b.scheme() && a.host().compare(b.host(), Qt::CaseInsensitive) == 0 && a.port() == b.port();
}

// Calls visit with each start tag of the page's markup (not those in scripts, styles and the like).
template <typename Visit> void forEachTag(QStringView page, Visit visit)
{
    MarkupTokenizer tokens(page);
    for (const MarkupTokenizer::Token *token = &tokens.next(); token->kind != MarkupTokenizer::Token::Kind::End;
         token = &tokens.next()) {
        if (token->kind != MarkupTokenizer::Token::Kind::StartTag) {
            continue;
        }
        const Content content = contentAfter(token->name);
        if (content != Content::Markup) {
            tokens.setContent(content);
        } else {
            visit(*token);
        }
    }
}

} // namespace

Facts read(QStringView page, const QUrl &pageUrl)
{
    const QUrl here = pageUrl.adjusted(QUrl::RemoveFragment);
    Facts facts;
    QString numbered;
    forEachTag(page, [&](const MarkupTokenizer::Token &tag) {
        if (tag.name == u"input") {
            facts.asksForPassword = facts.asksForPassword
                || attribute(tag, QLatin1StringView("type")).trimmed().compare(u"password", Qt::CaseInsensitive) == 0;
            return true;
        }
        if ((tag.name != u"a" && tag.name != u"link") || !facts.nextPage.isEmpty()) {
            return true;
        }
        bool hasHref = false;
        const QStringView href = attribute(tag, QLatin1StringView("href"), &hasHref);
        if (!hasHref) {
            return true;
        }
        const QUrl link = here.resolved(
            QUrl(CharacterReferences::decoded(href, CharacterReferences::Place::AttributeValue).trimmed()))
                              .adjusted(QUrl::RemoveFragment);
        if (!link.isValid() || !sameSite(here, link) || link == here) {
            return true;
        }
        if (saysNext(attribute(tag, QLatin1StringView("rel")))) {
            facts.nextPage = link.toString(QUrl::FullyEncoded);
        } else if (numbered.isEmpty() && tag.name == u"a" && isNumberedNext(here, link)) {
            numbered = link.toString(QUrl::FullyEncoded);
        }
        return true;
    });
    if (facts.nextPage.isEmpty()) {
        facts.nextPage = numbered;
    }
    return facts;
}

QString nextPage(QStringView page, const QUrl &pageUrl)
{
    return read(page, pageUrl).nextPage;
}

} // namespace PageMarkup
