#include <QTest>

#include "base/textfile.h"
#include "replies/pagetext.h"

class tst_PageText : public QObject
{
    Q_OBJECT

private slots:
    void lines_data();
    void lines();
    void hostileMarkupTakesLinearTime_data();
    void hostileMarkupTakesLinearTime();
};

void tst_PageText::lines_data()
{
    QTest::addColumn<QString>("legacyCodePage");
    QTest::addColumn<QByteArray>("contentType");
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<QStringList>("lines");
    const QString cafe = QString::fromUtf8("café");
    QTest::newRow("header-charset-latin1")
        << "" << QByteArray("text/html; charset=ISO-8859-1") << QByteArray("<p>caf\xE9 \x93quoted\x94</p>")
        << QStringList { QString::fromUtf8("café “quoted”") };
    QTest::newRow("header-beats-meta") << "" << QByteArray("text/html;charset=\"utf-8\"")
                                       << QByteArray("<meta charset=iso-8859-1><p>caf\xC3\xA9</p>")
                                       << QStringList { cafe };
    QTest::newRow("meta-charset") << "" << QByteArray("text/html")
                                  << QByteArray("<head><meta charset='windows-1251'></head><p>\xCF\xF0\xE8</p>")
                                  << QStringList { QString::fromUtf8("При") };
    QTest::newRow("meta-http-equiv") << "" << QByteArray()
                                     << QByteArray("<meta content=\"text/html; charset=koi8-r\" "
                                                   "http-equiv=\"Content-Type\"><p>\xF0\xD2\xC9</p>")
                                     << QStringList { QString::fromUtf8("При") };
    QTest::newRow("meta-past-the-scan-ignored")
        << "" << QByteArray() << QByteArray(5000, ' ') + "<meta charset=koi8-r><p>caf\xC3\xA9</p>"
        << QStringList { cafe };
    QTest::newRow("undeclared-utf8") << "1251" << QByteArray() << QByteArray("<p>caf\xC3\xA9</p>")
                                     << QStringList { cafe };
    QTest::newRow("undeclared-legacy") << "1251" << QByteArray() << QByteArray("<p>\xCF\xF0\xE8</p>")
                                       << QStringList { QString::fromUtf8("При") };
    QTest::newRow("unknown-charset-as-undeclared")
        << "" << QByteArray("text/html; charset=no-such") << QByteArray("<p>caf\xE9</p>") << QStringList { cafe };
    // Read as its bytes: a leading byte-order mark goes, spaces past ASCII are blanks, controls go.
    QTest::newRow("utf8-characters-as-bytes") << "" << QByteArray("text/html; charset=utf-8")
                                              << QByteArray("\xEF\xBB\xBF<p>a\xC2\xA0\xC2\xA0"
                                                            "b\xE3\x80\x80"
                                                            "c \xC2\x80"
                                                            "d\xC2\x85"
                                                            "e \xF0\x9F\x98\x80 caf\xC3\xA9&nbsp;\xE2\x80\x99s</p>")
                                              << QStringList { QString::fromUtf8("a b c d e \U0001F600 café ’s") };
    QTest::newRow("utf8-cut-inside-a-character")
        << "" << QByteArray() << QByteArray("<p>caf\xC3\xA9 caf\xC3") << QStringList { cafe + " caf" };
    QTest::newRow("hidden-elements-and-comments")
        << "" << QByteArray()
        << QByteArray("<script>if (a<b) document.write('<p>x</p>')</script><STYLE>p{}</STYLE><!-- <p>gone</p> -->"
                      "<p>shown</p><noscript>no</noscript><svg><text>s</text></svg><!DOCTYPE html><?xml?>")
        << QStringList { "shown" };
    QTest::newRow("blocks-and-inline") << "" << QByteArray()
                                       << QByteArray("<div>one <b>bold</b><i>it</i></div>two<br/>three<table><tr>"
                                                     "<td>cell a</td><td>cell b</td></tr></table><li>item"
                                                     "<BlockQuote>quoted</blockquote>in<figcaptions>line")
                                       << QStringList { "one boldit", "two", "three", "cell a", "cell b", "item",
                                              "quoted", "inline" };
    QTest::newRow("white-space-collapsed")
        << "" << QByteArray() << QByteArray("<p>  a \t\r\n b&nbsp;&nbsp;c  </p>\n\n<p> </p>")
        << QStringList { "a b c" };
    QTest::newRow("references") << "" << QByteArray() << QByteArray("<p>&lt;b&gt; &amp; &#8217; &eacute; &x</p>")
                                << QStringList { QString::fromUtf8("<b> & ’ é &x") };
    QTest::newRow("quoted-angle-in-attribute")
        << "" << QByteArray() << QByteArray("<a title=\"a>b\" href='x>y'>link</a> a < b")
        << QStringList { "link a < b" };
    // Text is taken eight characters at a time where it can be: blanks at either end of eight, runs of blanks,
    // a reference or a letter outside ASCII among them, and fewer than eight left at the end of the page.
    QTest::newRow("text-eight-at-a-time")
        << "" << QByteArray()
        << QByteArray("<p>abcdefg h  ijklmnop\tqrstuvw&amp;xyz caf\xC3\xA9 abcdefgh </p> ending after the last tag")
        << QStringList { QString::fromUtf8("abcdefg h ijklmnop qrstuvw&xyz café abcdefgh"),
               "ending after the last tag" };
    QTest::newRow("attribute-quotes-after-blanks")
        << "" << QByteArray()
        << QByteArray("<a href = \"x>y\" title= 'p>q' data-x=a\"b>text</a><SCRIPT>x<y</ScRiPt >after")
        << QStringList { "textafter" };
    // Only markup's white space may stand between "=" and a quoted value: a no-break space is part of the value.
    QTest::newRow("quote-after-no-break-space-utf8")
        << "" << QByteArray("text/html; charset=utf-8") << QByteArray("<a title=\xC2\xA0\"x>y\">text</a>")
        << QStringList { "y\">text" };
    QTest::newRow("quote-after-no-break-space-latin1")
        << "" << QByteArray("text/html; charset=iso-8859-1") << QByteArray("<a title=\xA0\"x>y\">text</a>")
        << QStringList { "y\">text" };
    QTest::newRow("unclosed-comment-drops-rest")
        << "" << QByteArray() << QByteArray("<p>kept</p><!-- <p>never") << QStringList { "kept" };
    QTest::newRow("unclosed-script-drops-rest")
        << "" << QByteArray() << QByteArray("<p>kept</p><script>var s = '</scrip'") << QStringList { "kept" };
    QTest::newRow("unclosed-tag-drops-rest")
        << "" << QByteArray() << QByteArray("kept<a href=\"x>lost") << QStringList { "kept" };
}

void tst_PageText::lines()
{
    QFETCH(QString, legacyCodePage);
    QFETCH(QByteArray, contentType);
    QFETCH(QByteArray, body);
    QFETCH(QStringList, lines);
    TextFile::setLegacyCodePage(legacyCodePage);
    const QStringList found = PageText::lines(contentType, body);
    TextFile::setLegacyCodePage(QString());
    QCOMPARE(found, lines);
}

void tst_PageText::hostileMarkupTakesLinearTime_data()
{
    QTest::addColumn<QByteArray>("unit");
    QTest::addColumn<int>("lineCount");
    QTest::newRow("unclosed-comments") << QByteArray("<!--") << 0;
    QTest::newRow("unclosed-script-ends") << QByteArray("<script></scrip") << 0;
    QTest::newRow("unclosed-quotes") << QByteArray("<a b=\"") << 0;
    QTest::newRow("lone-brackets") << QByteArray("< <! ") << 1;
    QTest::newRow("references") << QByteArray("&#x41&amp;&") << 1;
    QTest::newRow("blocks") << QByteArray("<div>a line of text in a block</div>") << 32 * 1024 * 1024 / 36;
}

// Far more than a scan slower than linear could get through in the test's time limit: 32 MB of each kind.
void tst_PageText::hostileMarkupTakesLinearTime()
{
    QFETCH(QByteArray, unit);
    QFETCH(int, lineCount);
    const QByteArray page = unit.repeated(32 * 1024 * 1024 / unit.size());
    QCOMPARE(PageText::lines(QByteArray(), page).size(), lineCount);
}

QTEST_GUILESS_MAIN(tst_PageText)
#include "tst_pagetext.moc"
