#include <QTest>

#include "base/textfile.h"
#include "pagetext/pagemarkup.h"
#include "pagetext/pagetext.h"

#include <QUrl>

class tst_PageText : public QObject
{
    Q_OBJECT

private slots:
    void lines_data();
    void lines();
    void declaredCharset_data();
    void declaredCharset();
    void decodedAsReadAgain();
    void hostileMarkupTakesLinearTime_data();
    void hostileMarkupTakesLinearTime();
    void nextPageNamed_data();
    void nextPageNamed();
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
    // Past the bytes looked through first, a <meta> in the head makes a browser read the page again.
    QTest::newRow("meta-in-head-past-the-prescan")
        << "" << QByteArray() << QByteArray(5000, ' ') + "<title>t</title><meta charset=koi8-r><p>\xF0\xD2\xC9</p>"
        << QStringList { "t", QString::fromUtf8("При") };
    QTest::newRow("meta-in-body-past-the-prescan-ignored")
        << "" << QByteArray() << "<p>caf\xC3\xA9</p>" + QByteArray(2000, ' ') + "<meta charset=koi8-r>"
        << QStringList { cafe };
    QTest::newRow("meta-in-comment-ignored")
        << "" << QByteArray() << QByteArray("<!-- <meta charset=koi8-r> --><p>caf\xC3\xA9</p>") << QStringList { cafe };
    QTest::newRow("meta-in-attribute-value-ignored")
        << "" << QByteArray() << QByteArray("<a title='<meta charset=koi8-r>'>caf\xC3\xA9</a>") << QStringList { cafe };
    QTest::newRow("meta-of-unknown-charset-passed-by")
        << "" << QByteArray() << QByteArray("<meta charset=no-such><meta charset=koi8-r><p>\xF0\xD2\xC9</p>")
        << QStringList { QString::fromUtf8("При") };
    QTest::newRow("meta-utf16-reads-as-utf8")
        << "" << QByteArray() << QByteArray("<meta charset=utf-16><p>caf\xC3\xA9</p>") << QStringList { cafe };
    QTest::newRow("meta-content-needs-http-equiv")
        << "" << QByteArray() << QByteArray("<meta content=\"text/html; charset=koi8-r\"><p>caf\xC3\xA9</p>")
        << QStringList { cafe };
    QTest::newRow("meta-content-charset-unquoted-before-semicolon")
        << "" << QByteArray()
        << QByteArray("<meta http-equiv=Content-Type content='text/html;charset=koi8-r;x'><p>\xF0\xD2\xC9</p>")
        << QStringList { QString::fromUtf8("При") };
    // The first <meta> that names the encoding the page is read in makes it certain: a later one is ignored.
    QTest::newRow("later-meta-in-head-ignored")
        << "" << QByteArray() << QByteArray("<meta charset=utf-8><meta charset=koi8-r><p>caf\xC3\xA9</p>")
        << QStringList { cafe };
    QTest::newRow("unknown-header-charset-then-meta")
        << "" << QByteArray("text/html; charset=no-such") << QByteArray("<meta charset=koi8-r><p>\xF0\xD2\xC9</p>")
        << QStringList { QString::fromUtf8("При") };
    // The prescan knows no scripts, and nor does a browser's.
    QTest::newRow("meta-in-script-prescanned")
        << "" << QByteArray() << QByteArray("<script>var s = '<meta charset=koi8-r>';</script><p>\xF0\xD2\xC9</p>")
        << QStringList { QString::fromUtf8("При") };
    QTest::newRow("bom-beats-header") << "" << QByteArray("text/html; charset=iso-8859-1")
                                      << QByteArray("\xEF\xBB\xBF<p>caf\xC3\xA9</p>") << QStringList { cafe };
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
        << QStringList { "shown", "s" };
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
    QTest::newRow("html5-named-references")
        << "" << QByteArray()
        << QByteArray("<p>Thanks&comma; that fixed it&excl;</p><p>&copy2024 &notit; &lang;x&rang;</p>")
        << QStringList { "Thanks, that fixed it!", QString::fromUtf8("©2024 ¬it; \u27E8x\u27E9") };
    QTest::newRow("numeric-references") << "" << QByteArray() << QByteArray("<p>&#128;&#x9F;&#0;&#xD800;&#1114112;</p>")
                                        << QStringList { QString::fromUtf8("€Ÿ\uFFFD\uFFFD\uFFFD") };
    QTest::newRow("comment-ends-at-short-close")
        << "" << QByteArray() << QByteArray("<p>a<!-->b</p><p>c<!--->d</p><p>e<!-- x --!>f</p>")
        << QStringList { "ab", "cd", "ef" };
    QTest::newRow("bogus-comments") << "" << QByteArray()
                                    << QByteArray(
                                           "<!DOCTYPE html><p>a<!x>b<?php echo 1 ?>c</ x>d</>e<![CDATA[f]]>g</p>")
                                    << QStringList { "abcdeg" };
    QTest::newRow("doctype-and-bogus-comment-end-at-first-angle")
        << "" << QByteArray() << QByteArray("<!DOCTYPE x \"a>b\"><![CDATA[c>d]]>") << QStringList { "b\">d]]>" };
    QTest::newRow("cdata-in-svg-text-and-math")
        << "" << QByteArray() << QByteArray("<svg><text><![CDATA[a<b]]></text></svg><math><![CDATA[x<y]]></math>")
        << QStringList { "a<bx<y" };
    QTest::newRow("svg-shows-text-and-foreign-object")
        << "" << QByteArray()
        << QByteArray("<svg><title>tip</title><g>not drawn<text>drawn</text></g>"
                      "<foreignObject><div>html</div></foreignObject></svg>after")
        << QStringList { "drawn", "html", "after" };
    QTest::newRow("html-in-svg-ends-it") << "" << QByteArray()
                                         << QByteArray("<svg><path d=x><p>after</p><div><svg><g></div>too")
                                         << QStringList { "after", "too" };
    QTest::newRow("other-end-tag-in-svg-passed-by")
        << "" << QByteArray() << QByteArray("<svg></scripty><desc>no</desc></x><text>drawn</text></svg>")
        << QStringList { "drawn" };
    QTest::newRow("script-ends-only-at-its-end-tag")
        << "" << QByteArray()
        << QByteArray("<script>var a = \"</scripty>\";</script><style>a{}</styled>b{}</style><p>shown</p>")
        << QStringList { "shown" };
    QTest::newRow("script-escapes") << "" << QByteArray()
                                    << QByteArray("<script><!-- document.write(\"<script>x</script>\") --></script>"
                                                  "<p>shown</p><script><!--<script></script>--></script>too")
                                    << QStringList { "shown", "too" };
    QTest::newRow("script-never-self-closing")
        << "" << QByteArray() << QByteArray("<script src=x/>hidden</script><p>shown</p>") << QStringList { "shown" };
    QTest::newRow("title-and-textarea-read-tags-as-text")
        << "" << QByteArray() << QByteArray("<title>a <b> &amp; c</title><textarea><p>typed</textarea ><p>after")
        << QStringList { "a <b> & c", "<p>typed", "after" };
    QTest::newRow("raw-text-elements") << "" << QByteArray()
                                       << QByteArray("<xmp><b>shown</b></xmp><iframe><p>no</p></iframe>"
                                                     "<noembed>no</noembed><noframes>no</noframes>after")
                                       << QStringList { "<b>shown</b>", "after" };
    QTest::newRow("plaintext-takes-the-rest")
        << "" << QByteArray() << QByteArray("<p>a</p><plaintext><b>x</b></plaintext>")
        << QStringList { "a", "<b>x</b></plaintext>" };
    QTest::newRow("nested-template-stays-hidden")
        << "" << QByteArray() << QByteArray("<template><template>a</template>b</template>c") << QStringList { "c" };
    QTest::newRow("hidden-attribute")
        << "" << QByteArray()
        << QByteArray("<p>a<span hidden>b<span>c</span>d</span>e</p><div hidden>x</div><p hidden=until-found>y</p>z")
        << QStringList { "ae", "z" };
    QTest::newRow("hidden-content-ends-no-line")
        << "" << QByteArray() << QByteArray("a<span hidden><div>x</div></span>b<template><p>y</p></template>c")
        << QStringList { "abc" };
    QTest::newRow("search-and-hgroup-are-blocks")
        << "" << QByteArray() << QByteArray("<search>a</search><hgroup>b</hgroup>c") << QStringList { "a", "b", "c" };
    QTest::newRow("attribute-values-of-every-kind")
        << "" << QByteArray()
        << QByteArray("<a title = \"a>b\" alt='c>d' data=e>f</a><a href=x\"y>g</a><a title=>h</a><a b c=d/>i")
        << QStringList { "fghi" };
    QTest::newRow("end-tag-with-attributes")
        << "" << QByteArray() << QByteArray("<title>a</title x=\">\">b") << QStringList { "a", "b" };
    QTest::newRow("tag-name-takes-odd-characters")
        << "" << QByteArray() << QByteArray("x<p<q>y</p<q>z") << QStringList { "xyz" };
    QTest::newRow("lone-angle-brackets-are-text")
        << "" << QByteArray() << QByteArray("a < b <3 <> c ]]> d") << QStringList { "a < b <3 <> c ]]> d" };
    QTest::newRow("unclosed-cdata-in-svg-takes-the-rest")
        << "" << QByteArray() << QByteArray("<svg><text><![CDATA[abc</text>") << QStringList { "abc</text>" };
    QTest::newRow("comment-dashes-inside")
        << "" << QByteArray() << QByteArray("<!-- a -- b ---->c<!----!>d<!-- a --!-- b -->e<!-- <!-- -->f-->")
        << QStringList { "cdef-->" };
    QTest::newRow("script-escape-ends-at-its-end-tag")
        << "" << QByteArray() << QByteArray("<script><!--</script>a<script><!--<scripts></script>b")
        << QStringList { "ab" };
    QTest::newRow("script-double-escape-closed-then-ended")
        << "" << QByteArray() << QByteArray("<script><!--<script></script></script>a<script><!--<script>--></script>b")
        << QStringList { "ab" };
    QTest::newRow("script-end-tag-cut-off")
        << "" << QByteArray() << QByteArray("a<script>x</script") << QStringList { "a" };
    QTest::newRow("hidden-void-element-ignored")
        << "" << QByteArray() << QByteArray("a<br hidden>b<img hidden>c<DIV HIDDEN=\"\">x</DIV>d")
        << QStringList { "abcd" };
    QTest::newRow("font-with-color-leaves-svg")
        << "" << QByteArray() << QByteArray("<svg><font>no</font><font color=red>shown</font>")
        << QStringList { "shown" };
    QTest::newRow("mathml-text-and-annotations")
        << "" << QByteArray() << QByteArray("<math><mi>x</mi><annotation>no</annotation><mtext><b>y</b></mtext></math>")
        << QStringList { "xy" };
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
    const std::optional<LegacyCodePage> legacy = LegacyCodePage::named(legacyCodePage);
    QVERIFY(legacy);
    QCOMPARE(PageText::lines(contentType, body, *legacy), lines);
}

void tst_PageText::declaredCharset_data()
{
    QTest::addColumn<QByteArray>("contentType");
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<QByteArray>("charset");
    QTest::newRow("none") << QByteArray() << QByteArray("<p>x</p>") << QByteArray();
    QTest::newRow("bom-utf16le") << QByteArray("text/html; charset=koi8-r") << QByteArray("\xFF\xFE<\0p\0", 6)
                                 << QByteArray("utf-16le");
    QTest::newRow("bom-utf16be") << QByteArray() << QByteArray("\xFE\xFF\0<\0p", 6) << QByteArray("utf-16be");
    QTest::newRow("header-quoted-and-spaced")
        << QByteArray("text/html; charset=\" KOI8-R \"") << QByteArray() << QByteArray("koi8-r");
    QTest::newRow("header-latin1-as-windows-1252")
        << QByteArray("text/html; CHARSET=latin1") << QByteArray() << QByteArray("windows-1252");
    QTest::newRow("unknown-header-then-meta")
        << QByteArray("text/html; charset=no-such") << QByteArray("<meta charset=koi8-r>") << QByteArray("koi8-r");
    QTest::newRow("first-charset-attribute-wins")
        << QByteArray() << QByteArray("<meta charset=koi8-r charset=utf-8>") << QByteArray("koi8-r");
    QTest::newRow("charset-beats-content")
        << QByteArray() << QByteArray("<meta http-equiv=content-type content='charset=koi8-r' charset=iso-8859-2>")
        << QByteArray("iso-8859-2");
    QTest::newRow("x-user-defined-as-windows-1252")
        << QByteArray() << QByteArray("<META CHARSET=x-user-defined>") << QByteArray("windows-1252");
    QTest::newRow("utf16-in-meta-as-utf8")
        << QByteArray() << QByteArray("<meta charset=utf-16le>") << QByteArray("utf-8");
    QTest::newRow("past-the-prescan") << QByteArray() << QByteArray(1100, ' ') + "<meta charset=koi8-r>"
                                      << QByteArray();
    // The tag's ">" is the first byte past the prescan.
    QTest::newRow("cut-by-the-prescan") << QByteArray() << QByteArray(1004, ' ') + "<meta charset=koi8-r>"
                                        << QByteArray();
    QTest::newRow("comments-passed-by") << QByteArray()
                                        << QByteArray("<!-- <meta charset=utf-8> --><!--><meta charset=koi8-r>")
                                        << QByteArray("koi8-r");
    QTest::newRow("attribute-values-passed-by")
        << QByteArray() << QByteArray("<a title=\"<meta charset=koi8-r>\"><meta charset=iso-8859-2>")
        << QByteArray("iso-8859-2");
    QTest::newRow("meta-needs-a-blank") << QByteArray() << QByteArray("<metacharset=koi8-r>") << QByteArray();
}

void tst_PageText::declaredCharset()
{
    QFETCH(QByteArray, contentType);
    QFETCH(QByteArray, body);
    QFETCH(QByteArray, charset);
    QCOMPARE(PageText::declaredCharset(contentType, body), charset);
}

// The text is the one a <meta> in the head had the page read in again, though the page declared nothing first.
void tst_PageText::decodedAsReadAgain()
{
    const QByteArray page = QByteArray(2000, ' ') + "<meta charset=koi8-r>\xF0\xD2\xC9";
    QCOMPARE(PageText::declaredCharset({}, page), QByteArray());
    QVERIFY(PageText::decoded({}, page).endsWith(QString::fromUtf8("При")));
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
    QTest::newRow("nested-svg") << QByteArray("<svg><g>") << 0;
    QTest::newRow("unmatched-end-tags-in-svg") << QByteArray("<svg></x>") << 0;
    QTest::newRow("nested-templates") << QByteArray("<template>") << 0;
    QTest::newRow("nested-hidden-elements") << QByteArray("<b hidden>") << 0;
    QTest::newRow("script-escapes") << QByteArray("<script><!--<script>") << 0;
    QTest::newRow("long-reference-names") << QByteArray("&CounterClockwiseContourIntegra") << 1;
    QTest::newRow("metas-in-head") << QByteArray("<meta charset=koi8-r>") << 0;
}

// Far more than a scan slower than linear could get through in the test's time limit: 32 MB of each kind.
void tst_PageText::hostileMarkupTakesLinearTime()
{
    QFETCH(QByteArray, unit);
    QFETCH(int, lineCount);
    const QByteArray page = unit.repeated(32 * 1024 * 1024 / unit.size());
    QCOMPARE(PageText::lines(QByteArray(), page).size(), lineCount);
}

// The page a thread's page names as its next one: by rel, else by a page number one higher on the same thread.
void tst_PageText::nextPageNamed_data()
{
    QTest::addColumn<QString>("address");
    QTest::addColumn<QString>("markup");
    QTest::addColumn<QString>("next"); // empty: none
    QTest::addColumn<bool>("asksForPassword");
    const QString thread = QStringLiteral("https://forum.example/viewtopic.php?t=12&page=3");
    QTest::newRow("link-rel-next") << thread << "<head><link rel=\"prev next\" href=\"?t=12&amp;page=4\"></head>"
                                   << "https://forum.example/viewtopic.php?t=12&page=4" << false;
    QTest::newRow("anchor-rel-next-fragment-dropped")
        << thread << "<a rel=NEXT href=\"/viewtopic.php?t=12&start=75#p9\">Next</a>"
        << "https://forum.example/viewtopic.php?t=12&start=75" << false;
    QTest::newRow("page-number-one-higher") << thread << "<a href=\"?t=12&page=2\">2</a> 3 <a href=\"?t=12&page=4\">4</a>"
                                            << "https://forum.example/viewtopic.php?t=12&page=4" << false;
    QTest::newRow("first-page-to-page-2") << "https://forum.example/threads/tips.77/"
                                          << "<a href=\"/threads/tips.77/page-2\">2</a>"
                                          << "https://forum.example/threads/tips.77/page-2" << false;
    QTest::newRow("next-thread-is-no-page") << "https://forum.example/t/123"
                                            << "<a href=\"/t/124\">Next topic</a>" << "" << false;
    QTest::newRow("last-page-links-back-only") << thread << "<a href=\"?t=12&page=1\">1</a> <a href=\"?t=12&page=2\">2</a>"
                                               << "" << false;
    QTest::newRow("other-site-never") << thread << "<link rel=next href=\"https://elsewhere.example/p4\">" << ""
                                      << false;
    QTest::newRow("inside-a-script-no-link")
        << thread << "<script>document.write('<a rel=next href=\"?t=12&page=4\">');</script>" << "" << false;
    QTest::newRow("sign-in-form") << thread << "<form><input name=u><INPUT TYPE=\"Password \" name=p></form>" << ""
                                  << true;
}

void tst_PageText::nextPageNamed()
{
    QFETCH(QString, address);
    QFETCH(QString, markup);
    QFETCH(QString, next);
    QFETCH(bool, asksForPassword);
    const PageMarkup::Facts facts = PageMarkup::read(markup, QUrl(address));
    QCOMPARE(facts.nextPage, next);
    QCOMPARE(facts.asksForPassword, asksForPassword);
}

QTEST_GUILESS_MAIN(tst_PageText)
#include "tst_pagetext.moc"
