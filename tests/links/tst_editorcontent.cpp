#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTest>

#include "links/editorcontent.h"
#include "links/linkconversion.h"
#include "links/linkformats.h"

namespace {

const LinkFormat s_html = LinkFormatTable::defaultRow(0);

// The text an HTML parser would show for the markup editorContent() builds: tags dropped, <br> as LF, the
// entities it writes decoded.
QString shownText(QString html)
{
    html.replace(QStringLiteral("<br>"), QStringLiteral("\n"));
    static const QRegularExpression tag(QStringLiteral("<[^>]*>"));
    html.remove(tag);
    html.replace(QStringLiteral("&nbsp;"), QStringLiteral(" "));
    html.replace(QStringLiteral("&lt;"), QStringLiteral("<"));
    html.replace(QStringLiteral("&gt;"), QStringLiteral(">"));
    html.replace(QStringLiteral("&quot;"), QStringLiteral("\""));
    html.replace(QStringLiteral("&#39;"), QStringLiteral("'"));
    html.replace(QStringLiteral("&amp;"), QStringLiteral("&"));
    return html;
}

// Every tag in the markup: only line breaks and the anchors of links may be there.
QStringList tags(const QString &html)
{
    QStringList found;
    static const QRegularExpression tag(QStringLiteral("<[^>]*>"));
    for (auto match = tag.globalMatch(html); match.hasNext();) {
        found.append(match.next().captured());
    }
    return found;
}

bool onlyExpectedTags(const QString &html)
{
    static const QRegularExpression allowed(
        QStringLiteral("^(<br>|</a>|<a href=\"(http://|mailto:)[^\"<>' \\r\\n]*\">)$"),
        QRegularExpression::CaseInsensitiveOption);
    for (const QString &tag : tags(html)) {
        if (!allowed.match(tag).hasMatch()) {
            qWarning() << "unexpected tag" << tag;
            return false;
        }
    }
    return true;
}

} // namespace

class tst_EditorContent : public QObject
{
    Q_OBJECT

private slots:
    void content_data();
    void content();
    void htmlLinksFormats_data();
    void htmlLinksFormats();
    void typedLinksStayText_data();
    void typedLinksStayText();
    void randomTextsStayText();
};

void tst_EditorContent::content_data()
{
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("formatRow"); // -1: no conversion ("text")
    QTest::addColumn<QString>("html");
    QTest::addColumn<QString>("text");

    QTest::newRow("html-link-and-lines") << "Hi\r\nsee http://x.y/p now\r\n\r\n"
                                         << 0 << "Hi<br>see <a href=\"http://x.y/p\">http://x.y/p</a> now<br><br>"
                                         << "Hi\nsee http://x.y/p now\n\n";
    QTest::newRow("html-mail") << "mail u@x.y." << 0 << "mail <a href=\"mailto:u@x.y\">u@x.y</a>."
                               << "mail u@x.y.";
    QTest::newRow("html-user-markup-stays-text")
        << "<b>bold</b> & <a href='javascript:alert(1)'>x</a>" << 0
        << "&lt;b&gt;bold&lt;/b&gt; &amp; &lt;a href=&#39;javascript:alert(1)&#39;&gt;x&lt;/a&gt;"
        << "<b>bold</b> & <a href='javascript:alert(1)'>x</a>";
    QTest::newRow("html-quote-in-url-is-escaped")
        << "go http://x.y/\"onmouseover=\"a ok" << 0
        << "go <a href=\"http://x.y/&quot;onmouseover=&quot;a\">http://x.y/&quot;onmouseover=&quot;a</a> ok"
        << "go http://x.y/\"onmouseover=\"a ok";
    QTest::newRow("ubb-literal") << "see http://x.y\n"
                                 << 1 << "see [url=http://x.y]http://x.y[/url]<br>"
                                 << "see [url=http://x.y]http://x.y[/url]\n";
    QTest::newRow("text-literal") << "a <i>b</i>\rc" << -1 << "a &lt;i&gt;b&lt;/i&gt;<br>c"
                                  << "a <i>b</i>\nc";
    QTest::newRow("spaces-keep-their-look") << "  two  three   end " << -1 << "&nbsp; two &nbsp;three &nbsp; end&nbsp;"
                                            << "  two  three   end ";
    QTest::newRow("tab-keeps-its-width") << "a\tb" << -1 << "a&nbsp;&nbsp;&nbsp;&nbsp;b"
                                         << "a\tb";
    QTest::newRow("nul-is-replaced") << QString(QStringLiteral("a") + QChar(0) + u'b') << -1
                                     << QString(QStringLiteral("a") + QChar(0xFFFD) + u'b')
                                     << QString(QStringLiteral("a") + QChar(0) + u'b');
    QTest::newRow("empty") << "" << 0 << ""
                           << "";
}

void tst_EditorContent::content()
{
    QFETCH(QString, message);
    QFETCH(int, formatRow);
    QFETCH(QString, html);
    QFETCH(QString, text);
    LinkFormatTable table;
    const LinkFormat *format = formatRow >= 0 ? &table[formatRow] : nullptr;
    const QString converted = format
        ? convertLinks(message, format->LinkOpen01, format->LinkOpen02, format->LinkClose01, format->MailCall01)
        : message;
    const EditorContent content = editorContent(converted, format);
    QCOMPARE(content.html, html);
    QCOMPARE(content.text, text);
    QCOMPARE(content.links, html.contains(QStringLiteral("<a ")));
    QVERIFY(onlyExpectedTags(content.html));
    QCOMPARE(shownText(content.html), QString(content.text).replace(QChar(0), QChar(0xFFFD)).replace("\t", "    "));
}

void tst_EditorContent::htmlLinksFormats_data()
{
    QTest::addColumn<QString>("open1");
    QTest::addColumn<QString>("open2");
    QTest::addColumn<QString>("close1");
    QTest::addColumn<bool>("links");
    QTest::newRow("html") << "<a href='"
                          << "'>"
                          << "</a>" << true;
    QTest::newRow("custom-double-quotes") << "<A target=\"_blank\" HREF=\""
                                          << "\">"
                                          << "</A>" << true;
    QTest::newRow("ubb") << "[url="
                         << "]"
                         << "[/url]" << false;
    QTest::newRow("empty") << ""
                           << ""
                           << "" << false;
    QTest::newRow("opening-tag-only") << "<a href='"
                                      << "'>"
                                      << "" << false;
}

void tst_EditorContent::htmlLinksFormats()
{
    QFETCH(QString, open1);
    QFETCH(QString, open2);
    QFETCH(QString, close1);
    QFETCH(bool, links);
    const LinkFormat format { QStringLiteral("custom"), open1, open2, close1, QStringLiteral("mailto:") };
    QCOMPARE(writesHtmlLinks(format), links);
    const QString converted
        = convertLinks(QStringLiteral("at http://x.y or u@x.y"), open1, open2, close1, format.MailCall01);
    const EditorContent content = editorContent(converted, &format);
    QCOMPARE(content.html.count(QStringLiteral("<a href=")), links ? 2 : 0);
    QCOMPARE(content.text, links ? QStringLiteral("at http://x.y or u@x.y") : converted);
}

void tst_EditorContent::typedLinksStayText_data()
{
    QTest::addColumn<QString>("message");
    // Links the user wrote as markup, which the conversion then wraps in its own: what comes out is no link
    // the conversion wrote in the form it writes them, so it is all text.
    QTest::newRow("typed-mail-link") << "<a href='mailto:u@x'>u@x</a>";
    QTest::newRow("url-holding-an-at") << "see http://u@x.y";
    QTest::newRow("typed-script-link") << "<a href='javascript:alert(1)'>javascript:alert(1)</a>";
}

void tst_EditorContent::typedLinksStayText()
{
    QFETCH(QString, message);
    const QString converted
        = convertLinks(message, s_html.LinkOpen01, s_html.LinkOpen02, s_html.LinkClose01, s_html.MailCall01);
    const EditorContent content = editorContent(converted, &s_html);
    QVERIFY2(!content.html.contains(QStringLiteral("<a")), qPrintable(content.html));
    QCOMPARE(content.text, converted);
}

// Random texts made of the characters that matter to links and markup: whatever the conversion makes of
// them, the markup holds only line breaks and well-formed anchors, and shows exactly the text.
void tst_EditorContent::randomTextsStayText()
{
    const QString alphabet = QStringLiteral("ahtp:/@.<>'\"& \r\n?,!=[]x");
    QRandomGenerator random(12);
    LinkFormatTable table;
    for (int round = 0; round < 3000; ++round) {
        QString message;
        const int length = random.bounded(40);
        for (int i = 0; i < length; ++i) {
            message += random.bounded(4) == 0 ? QStringLiteral("http://")
                                              : QString(alphabet[random.bounded(alphabet.size())]);
        }
        for (const int row : { 0, 1 }) {
            const LinkFormat &format = table[row];
            const QString converted
                = convertLinks(message, format.LinkOpen01, format.LinkOpen02, format.LinkClose01, format.MailCall01);
            const EditorContent content = editorContent(converted, &format);
            QVERIFY2(onlyExpectedTags(content.html), qPrintable(message));
            QCOMPARE(shownText(content.html), content.text);
            if (row == 1) {
                QCOMPARE(QString(content.text).replace(QStringLiteral("\n"), QString()),
                    QString(converted).remove(u'\r').remove(u'\n'));
            }
        }
    }
}

QTEST_GUILESS_MAIN(tst_EditorContent)
#include "tst_editorcontent.moc"
