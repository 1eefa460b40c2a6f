#include "web/startpage.h"

#include <QCoreApplication>
#include <QUrl>

namespace {

QString translated(const char *text)
{
    return QCoreApplication::translate("StartPage", text);
}

QString escaped(const QString &text)
{
    return text.toHtmlEscaped();
}

// A link for web addresses alone: a "javascript:" or "file:" entry in a list file must not become clickable.
QString linkTo(const QString &address, const QString &cssClass)
{
    const QUrl url = QUrl::fromUserInput(address.trimmed());
    const QString scheme = url.scheme();
    if (!url.isValid() || (scheme != QLatin1String("http") && scheme != QLatin1String("https"))) {
        return escaped(address);
    }
    return QStringLiteral("<a class=\"") + cssClass + QStringLiteral("\" href=\"")
        + escaped(url.toString(QUrl::FullyEncoded)) + QStringLiteral("\">") + escaped(address) + QStringLiteral("</a>");
}

QString list(const QStringList &addresses, const QString &cssClass, const QString &whenEmpty)
{
    if (addresses.isEmpty()) {
        return QStringLiteral("<p class=\"none\">") + escaped(whenEmpty) + QStringLiteral("</p>");
    }
    QString html = QStringLiteral("<ul>");
    for (const QString &address : addresses) {
        html += QStringLiteral("<li>") + linkTo(address, cssClass) + QStringLiteral("</li>");
    }
    return html + QStringLiteral("</ul>");
}

} // namespace

QString startPageHtml(const StartPageContent &content)
{
    const QStringList steps = {
        translated(QT_TRANSLATE_NOOP("StartPage",
            "Type a subject and your message in the editor on the left. Put http:// in front of every web address.")),
        translated(QT_TRANSLATE_NOOP("StartPage",
            "Choose the forum's markup in the format selector at the top, and press Preview to see what the forum "
            "will receive.")),
        translated(QT_TRANSLATE_NOOP("StartPage", "Type the forum's address in the URL: box above this page and press Go.")),
        translated(QT_TRANSLATE_NOOP("StartPage",
            "On the Your Forums tab press Add Current URL, then type your user name and password below the list.")),
        translated(QT_TRANSLATE_NOOP("StartPage",
            "Open the forum's page for a new post and press Auto-Insert. Submit the form: Postavo adds your new post "
            "to Your Posts by itself.")),
    };
    QString stepList = QStringLiteral("<ol>");
    for (const QString &step : steps) {
        stepList += QStringLiteral("<li>") + escaped(step) + QStringLiteral("</li>");
    }
    stepList += QStringLiteral("</ol>");

    const QString title = translated(QT_TRANSLATE_NOOP("StartPage", "Welcome to %1")).arg(content.programName);
    return QStringLiteral("<!DOCTYPE html><html><head><meta charset=\"utf-8\">"
                          // Nothing on this page runs or loads anything.
                          "<meta http-equiv=\"Content-Security-Policy\" content=\"default-src 'none'; "
                          "style-src 'unsafe-inline'\">"
                          "<title>")
        + escaped(title)
        + QStringLiteral("</title><style>"
                         "body{font-family:sans-serif;margin:1.2em 1.6em;color:#222;background:#fff;line-height:1.4}"
                         "h1{font-size:1.5em;margin:0 0 .3em}h2{font-size:1.1em;margin:1.2em 0 .3em}"
                         "li{margin:.2em 0}a{color:#1558b0}.none{color:#666}.offline{color:#666;margin:0}"
                         "</style></head><body><h1>")
        + escaped(title) + QStringLiteral("</h1><p class=\"offline\">")
        + escaped(translated(QT_TRANSLATE_NOOP(
            "StartPage", "The website could not be reached, so this page comes with the program and works offline.")))
        + QStringLiteral("</p><h2>") + escaped(translated(QT_TRANSLATE_NOOP("StartPage", "How to begin")))
        + QStringLiteral("</h2>") + stepList + QStringLiteral("<p>")
        + escaped(translated(QT_TRANSLATE_NOOP("StartPage", "The whole guide is under Help in the menu.")))
        + QStringLiteral("</p><h2>") + escaped(translated(QT_TRANSLATE_NOOP("StartPage", "Your forums")))
        + QStringLiteral("</h2>")
        + list(content.forums, QStringLiteral("forum"),
            translated(QT_TRANSLATE_NOOP(
                "StartPage", "No forums yet: open a forum and press Add Current URL on the Your Forums tab.")))
        + QStringLiteral("<h2>") + escaped(translated(QT_TRANSLATE_NOOP("StartPage", "Posts with new replies")))
        + QStringLiteral("</h2>")
        + list(content.newReplies, QStringLiteral("reply"),
            translated(QT_TRANSLATE_NOOP("StartPage", "None found yet: press Check for replies on the Your Posts tab.")))
        + QStringLiteral("<h2>") + escaped(translated(QT_TRANSLATE_NOOP("StartPage", "Website"))) + QStringLiteral("</h2><p>")
        + linkTo(content.website, QStringLiteral("website")) + QStringLiteral("</p></body></html>");
}
