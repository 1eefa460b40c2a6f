#include "links/editorcontent.h"

#include "links/linkformats.h"

#include <algorithm>

namespace {

// Longer targets are left as text: it bounds the work a failed match can cost at each position.
constexpr qsizetype s_maxTarget = 4096;

bool endsLink(QChar c)
{
    return c == u'\r' || c == u'\n' || c == u'?' || c == u',' || c == u'!' || c == u' ';
}

class Builder
{
public:
    void character(QChar c)
    {
        if (c == u' ') {
            // Runs of spaces and spaces at a line's start would collapse in an editor; alternate them with
            // no-break spaces so that the text keeps its look.
            const bool plain = !m_lastWasSpace && !m_lineStart;
            m_html += plain ? QStringLiteral(" ") : QStringLiteral("&nbsp;");
            m_lastWasSpace = plain;
            m_lineStart = false;
            m_text += c;
            return;
        }
        m_lastWasSpace = false;
        m_lineStart = false;
        shownInto(m_html, c);
        m_text += c;
    }

    void lineBreak()
    {
        closeSpaceRun();
        m_html += QStringLiteral("<br>");
        m_text += u'\n';
        m_lineStart = true;
        m_lastWasSpace = false;
    }

    void link(QStringView href, QStringView visible)
    {
        m_html += QStringLiteral("<a href=\"");
        for (const QChar c : href) {
            escapeInto(m_html, c);
        }
        m_html += QStringLiteral("\">");
        for (const QChar c : visible) {
            shownInto(m_html, c);
        }
        m_html += QStringLiteral("</a>");
        m_text += visible;
        m_links = true;
        m_lastWasSpace = false;
        m_lineStart = false;
    }

    EditorContent finish()
    {
        closeSpaceRun();
        return { m_html, m_text, m_links };
    }

private:
    // A plain space that ends a line would vanish: make it a no-break one.
    void closeSpaceRun()
    {
        if (m_lastWasSpace && m_html.endsWith(u' ')) {
            m_html.chop(1);
            m_html += QStringLiteral("&nbsp;");
        }
    }

    static void shownInto(QString &out, QChar c)
    {
        if (c == u'\t') {
            // A bare tab would collapse into a single blank, and editors strip the styles that keep one.
            out += QStringLiteral("&nbsp;&nbsp;&nbsp;&nbsp;");
        } else {
            escapeInto(out, c);
        }
    }

    static void escapeInto(QString &out, QChar c)
    {
        switch (c.unicode()) {
        case u'&':
            out += QStringLiteral("&amp;");
            break;
        case u'<':
            out += QStringLiteral("&lt;");
            break;
        case u'>':
            out += QStringLiteral("&gt;");
            break;
        case u'"':
            out += QStringLiteral("&quot;");
            break;
        case u'\'':
            out += QStringLiteral("&#39;");
            break;
        case 0:
            out += QChar(0xFFFD);
            break;
        default:
            out += c;
        }
    }

    QString m_html;
    QString m_text;
    bool m_lastWasSpace = false;
    bool m_lineStart = true;
    bool m_links = false;
};

// The length of the link the conversion wrote at `at`, or 0; sets href and visible.
qsizetype matchLink(QStringView text, qsizetype at, const LinkFormat &format, QString &href, QStringView &visible)
{
    const QStringView open1 = format.LinkOpen01;
    const QStringView open2 = format.LinkOpen02;
    const QStringView close1 = format.LinkClose01;
    const QStringView mail = format.MailCall01;
    qsizetype p = at + open1.size();
    bool isMail = false;
    if (!mail.isEmpty() && text.sliced(p).startsWith(mail)) {
        isMail = true;
        p += mail.size();
    }
    // The target runs to the first LinkOpen02, and holds no character that ends a link.
    const qsizetype limit = std::min(text.size(), p + s_maxTarget);
    qsizetype end = p;
    while (end < limit && !text.sliced(end).startsWith(open2)) {
        if (endsLink(text[end])) {
            return 0;
        }
        ++end;
    }
    if (end == p || end >= limit) {
        return 0;
    }
    const QStringView target = text.sliced(p, end - p);
    const QStringView rest = text.sliced(end + open2.size());
    if (!rest.startsWith(target) || !rest.sliced(target.size()).startsWith(close1)) {
        return 0;
    }
    if (isMail) {
        if (!target.contains(u'@')) {
            return 0;
        }
        href = mail.toString() + target;
    } else {
        href = target.toString();
    }
    if (!href.startsWith(QLatin1String("http://"), Qt::CaseInsensitive)
        && !href.startsWith(QLatin1String("mailto:"), Qt::CaseInsensitive)) {
        return 0;
    }
    visible = target;
    return end + open2.size() + target.size() + close1.size() - at;
}

} // namespace

bool writesHtmlLinks(const LinkFormat &format)
{
    return format.LinkOpen01.contains(QLatin1String("<a"), Qt::CaseInsensitive)
        && format.LinkClose01.contains(QLatin1String("</a"), Qt::CaseInsensitive) && !format.LinkOpen02.isEmpty();
}

EditorContent editorContent(const QString &converted, const LinkFormat *format)
{
    const bool links = format && writesHtmlLinks(*format);
    const QStringView text = converted;
    Builder out;
    qsizetype i = 0;
    while (i < text.size()) {
        const QChar c = text[i];
        if (c == u'\r' || c == u'\n') {
            out.lineBreak();
            i += c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n' ? 2 : 1;
            continue;
        }
        if (links && text.sliced(i).startsWith(format->LinkOpen01)) {
            QString href;
            QStringView visible;
            if (const qsizetype length = matchLink(text, i, *format, href, visible)) {
                out.link(href, visible);
                i += length;
                continue;
            }
        }
        out.character(c);
        ++i;
    }
    return out.finish();
}
