#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTest>

#include "ui/rtfreader.h"

// The documents in data/ were written once by two real word processors from data/sample.md.
class tst_RtfReader : public QObject
{
    Q_OBJECT

private slots:
    void realDocumentText_data();
    void realDocumentText();
    void realDocumentFormatting_data();
    void realDocumentFormatting();
    void helpFileReads();

    void plainText_data();
    void plainText();
    void html_data();
    void html();
    void documentTextNeverBecomesMarkup();
    void onlyWebAndMailLinks();

    void everyTruncation_data();
    void everyTruncation();
    void unbalancedBraces_data();
    void unbalancedBraces();
    void deepNesting();
    void hugeNumbersAndNames();
    void hugeBinaryLength();
    void randomBytes();

private:
    static QByteArray readData(const QString &name);
    static QString controlWordLeak(const QString &text);
};

QByteArray tst_RtfReader::readData(const QString &name)
{
    QFile file(QStringLiteral(POSTAVO_RTF_TEST_DATA "/") + name);
    if (!file.open(QIODevice::ReadOnly)) {
        return QByteArray();
    }
    return file.readAll();
}

// The first thing in the text that looks like RTF syntax rather than document text.
QString tst_RtfReader::controlWordLeak(const QString &text)
{
    static const QRegularExpression syntax(QStringLiteral("\\\\[a-zA-Z']|\\\\\\*|fonttbl|colortbl|stylesheet|"
                                                          "HYPERLINK|Helvetica|Courier|Liberation|Times New Roman|"
                                                          "Default Page Style|bkmk|\\brtf1\\b"));
    const QRegularExpressionMatch match = syntax.match(text);
    return match.hasMatch() ? text.mid(std::max<qsizetype>(0, match.capturedStart() - 20), 60) : QString();
}

void tst_RtfReader::realDocumentText_data()
{
    QTest::addColumn<QString>("file");
    QTest::newRow("pandoc") << "pandoc.rtf";
    QTest::newRow("libreoffice-from-odt") << "libreoffice-odt.rtf";
    QTest::newRow("libreoffice-from-docx") << "libreoffice-docx.rtf";
}

void tst_RtfReader::realDocumentText()
{
    QFETCH(QString, file);
    const QByteArray rtf = readData(file);
    QVERIFY2(!rtf.isEmpty(), qPrintable(file));
    QVERIFY(looksLikeRtf(rtf));
    const QString text = rtfToPlainText(rtf);

    const QStringList expected = {
        "Posting Guide",
        "This guide is bold text, italic text and underlined text in one paragraph.",
        "Accents and symbols",
        QString::fromUtf8("Caf\u00e9 cr\u00e8me, na\u00efve Zo\u00eb, M\u00fcller \u00fcber Stra\u00dfe, price 12 "
                          "\u20ac and \u201ccurly quotes\u201d."),
        QString::fromUtf8("\u0395\u03bb\u03bb\u03b7\u03bd\u03b9\u03ba\u03ac \u03b3\u03c1\u03ac\u03bc\u03bc\u03b1"
                          "\u03c4\u03b1: \u03b1\u03b2\u03b3 \u0394\u03a3\u03a9."),
        QString::fromUtf8("\u041f\u0440\u0438\u0432\u0435\u0442, \u043c\u0438\u0440!"),
        "First bullet item",
        "Second bullet item with bold inside",
        "Numbered one",
        "Numbered two",
        "A line\nbroken in two.",
        "Visit the website for news.",
        "Braces {like these} and a backslash \\ stay as text.",
    };
    for (const QString &piece : expected) {
        QVERIFY2(text.contains(piece), qPrintable(QStringLiteral("missing: ") + piece + QStringLiteral("\nin:\n") + text));
    }
    QCOMPARE(controlWordLeak(text), QString());
    // Fallback characters written for older readers are skipped, never shown beside the real ones.
    QVERIFY(!text.contains(QLatin1Char('?')));
    // Bullets and numbers of the lists come through as text in front of their items.
    QVERIFY(text.contains(QRegularExpression(QStringLiteral("(\\x{2022}|\\x{25cf}|\\x{b7})\\s*First bullet item"))));
    QVERIFY(text.contains(QRegularExpression(QStringLiteral("1\\.\\s*Numbered one"))));
}

void tst_RtfReader::realDocumentFormatting_data()
{
    realDocumentText_data();
}

void tst_RtfReader::realDocumentFormatting()
{
    QFETCH(QString, file);
    const QString html = rtfToHtml(readData(file));
    QVERIFY(html.contains(QLatin1String("<b>bold text</b>")));
    QVERIFY(html.contains(QLatin1String("<i>italic text</i>")));
    QVERIFY(html.contains(QLatin1String("<u>underlined text</u>")));
    QVERIFY(html.contains(QLatin1String("<b>bold</b>")));
    QVERIFY(html.contains(QLatin1String("<a href=\"http://www.postavo.example.com/\">")));

    // The main heading is bold and larger than the body text.
    static const QRegularExpression heading(QStringLiteral("font-size:([0-9.]+)pt;[^>]*\"><b>Posting Guide</b>"));
    const QRegularExpressionMatch match = heading.match(html);
    QVERIFY2(match.hasMatch(), qPrintable(html.left(3000)));
    QVERIFY(match.captured(1).toDouble() > 12.0);

    // Text inside the markup is escaped text, never tags.
    QVERIFY(html.contains(QLatin1String("Braces {like these} and a backslash \\ stay as text.")));
    QCOMPARE(controlWordLeak(html), QString());
}

void tst_RtfReader::helpFileReads()
{
    QFile file(QStringLiteral(POSTAVO_HELP_RTF));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray rtf = file.readAll();
    QVERIFY(looksLikeRtf(rtf));
    const QString text = rtfToPlainText(rtf);
    QCOMPARE(controlWordLeak(text), QString());
    QVERIFY2(!text.contains(QLatin1Char('\\')), qPrintable(text.mid(text.indexOf(QLatin1Char('\\')) - 30, 60)));
    for (const char *phrase : {"Auto-Insert", "Your Forums", "Your Posts", "Watch This Post", "Check for replies",
                               "New Replies", "Show at Startup", "messages.txt", "posts.txt", "posts2.txt",
                               "sizes.txt", "htmltemp.txt", "Postavo.ini", "Custom Message Templates",
                               "Paste Message", "View Help"}) {
        QVERIFY2(text.contains(QLatin1String(phrase)), phrase);
    }
    const QString html = rtfToHtml(rtf);
    QVERIFY(html.contains(QLatin1String("<b>")));
}

void tst_RtfReader::plainText_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("text");

    QTest::newRow("empty-input") << QByteArray() << QString();
    QTest::newRow("empty-document") << QByteArray("{\\rtf1}") << QString();
    QTest::newRow("last-paragraph-without-par") << QByteArray("{\\rtf1 hello}") << "hello\n";
    QTest::newRow("escaped-braces-and-backslash") << QByteArray("{\\rtf1 a\\{b\\}c\\\\d}") << "a{b}c\\d\n";
    QTest::newRow("delimiting-space-eaten") << QByteArray("{\\rtf1\\b  two}") << " two\n";
    QTest::newRow("line-ends-in-source-ignored") << QByteArray("{\\rtf1 a\r\nb\nc}") << "abc\n";
    QTest::newRow("par-line-tab") << QByteArray("{\\rtf1 a\\par b\\line c\\tab d}") << "a\nb\nc\td\n";
    QTest::newRow("backslash-newline-is-par") << QByteArray("{\\rtf1 a\\\nb}") << "a\nb\n";
    QTest::newRow("special-spaces-and-hyphens")
        << QByteArray("{\\rtf1 a\\~b\\-c\\_d}") << QString::fromUtf8("a\u00a0bc\u2011d\n");
    QTest::newRow("typographic-words") << QByteArray("{\\rtf1 \\lquote a\\rquote  \\ldblquote b\\rdblquote  x\\emdash "
                                                     "y\\endash z\\bullet}")
                                       << QString::fromUtf8("\u2018a\u2019 \u201cb\u201d x\u2014y\u2013z\u2022\n");
    QTest::newRow("hex-windows-1252") << QByteArray("{\\rtf1\\ansi caf\\'e9 \\'80 \\'93q\\'94}")
                                      << QString::fromUtf8("caf\u00e9 \u20ac \u201cq\u201d\n");
    QTest::newRow("hex-upper-case-digits") << QByteArray("{\\rtf1\\ansi \\'C9t\\'E9}")
                                           << QString::fromUtf8("\u00c9t\u00e9\n");
    QTest::newRow("raw-high-bytes-windows-1252") << QByteArray("{\\rtf1\\ansi caf\xe9}")
                                                 << QString::fromUtf8("caf\u00e9\n");
    QTest::newRow("ansicpg-1251") << QByteArray("{\\rtf1\\ansi\\ansicpg1251 \\'cf\\'f0\\'e8}")
                                  << QString::fromUtf8("\u041f\u0440\u0438\n");
    QTest::newRow("font-charset-greek") << QByteArray("{\\rtf1\\ansi{\\fonttbl{\\f0\\fcharset0 Arial;}"
                                                      "{\\f1\\fcharset161 Arial Greek;}}\\f1 \\'e1\\'e2\\f0 \\'e1}")
                                        << QString::fromUtf8("\u03b1\u03b2\u00e1\n");
    QTest::newRow("unicode-default-skip-one") << QByteArray("{\\rtf1 \\u233?t\\u233?}")
                                              << QString::fromUtf8("\u00e9t\u00e9\n");
    QTest::newRow("unicode-skips-hex-fallback") << QByteArray("{\\rtf1\\u8220\\'93quoted\\u8221\\'94}")
                                                << QString::fromUtf8("\u201cquoted\u201d\n");
    QTest::newRow("unicode-negative-surrogates") << QByteArray("{\\rtf1 \\u-10179?\\u-8704?!}")
                                                 << QString::fromUtf8("\U0001F600!\n");
    QTest::newRow("unicode-negative-bmp") << QByteArray("{\\rtf1 \\u-4064?}") << QString(QChar(0xF020)) + "\n";
    QTest::newRow("uc2") << QByteArray("{\\rtf1\\uc2 \\u8364\\'80\\'80x}") << QString::fromUtf8("\u20acx\n");
    QTest::newRow("uc0") << QByteArray("{\\rtf1\\uc0 \\u233 x}") << QString::fromUtf8("\u00e9x\n");
    QTest::newRow("uc-is-scoped-to-its-group") << QByteArray("{\\rtf1 {\\uc2 \\u233 ab}\\u233 cd}")
                                               << QString::fromUtf8("\u00e9\u00e9d\n");
    QTest::newRow("skipping-stops-at-group") << QByteArray("{\\rtf1\\uc3 \\u233{x}yz}")
                                             << QString::fromUtf8("\u00e9xyz\n");
    QTest::newRow("unpaired-surrogate-replaced") << QByteArray("{\\rtf1 a\\u-10179?b}")
                                                 << QString::fromUtf8("a\ufffdb\n");
    QTest::newRow("skipped-destinations")
        << QByteArray("{\\rtf1{\\fonttbl{\\f0 Arial;}}{\\colortbl;\\red1\\green2\\blue3;}{\\stylesheet{\\s0 Normal;}}"
                      "{\\info{\\title T}{\\author A}}{\\header H}{\\footer F}{\\*\\generator G;}"
                      "{\\pict\\pngblip 89504e47}{\\object{\\objdata 0102}}text}")
        << "text\n";
    QTest::newRow("ignorable-destination") << QByteArray("{\\rtf1 a{\\*\\foo hidden {nested \\par}}b}") << "ab\n";
    QTest::newRow("hidden-text") << QByteArray("{\\rtf1 a{\\v secret}b\\v hid\\v0 c}") << "abc\n";
    QTest::newRow("list-text-shown") << QByteArray("{\\rtf1{\\listtext \\u8226\\'95\\tab}item}")
                                     << QString::fromUtf8("\u2022\titem\n");
    QTest::newRow("table-cells") << QByteArray("{\\rtf1\\trowd a\\cell b\\cell\\row c}") << "a\tb\t\nc\n";
    QTest::newRow("bin-data-skipped") << QByteArray("{\\rtf1 a\\bin3 }{\\z c}") << "az c\n";
    QTest::newRow("bin-negative-length") << QByteArray("{\\rtf1 a\\bin-5 b}") << "ab\n";
    QTest::newRow("control-characters-dropped") << QByteArray("{\\rtf1 a\x01\x7f" "b}") << "ab\n";
    QTest::newRow("nul-bytes") << QByteArray("{\\rtf1 a\0b}", 11) << "ab\n";
    QTest::newRow("text-after-last-brace") << QByteArray("{\\rtf1 a}b") << "ab\n";
    QTest::newRow("hex-at-end") << QByteArray("{\\rtf1 a\\'") << "a\n";
    QTest::newRow("hex-one-digit-at-end") << QByteArray("{\\rtf1 a\\'4") << "a\n";
    QTest::newRow("hex-invalid-digits") << QByteArray("{\\rtf1 a\\'zzb}") << "azzb\n";
    QTest::newRow("backslash-at-end") << QByteArray("{\\rtf1 a\\") << "a\n";
    QTest::newRow("unicode-control-characters-dropped") << QByteArray("{\\rtf1\\uc0 a\\u10 \\u0 \\u9 b}") << "a\tb\n";
    QTest::newRow("unicode-out-of-range") << QByteArray("{\\rtf1 a\\u99999999999?b}") << "ab\n";
}

void tst_RtfReader::plainText()
{
    QFETCH(QByteArray, rtf);
    QFETCH(QString, text);
    QCOMPARE(rtfToPlainText(rtf), text);
}

void tst_RtfReader::html_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QStringList>("contains");
    QTest::addColumn<QStringList>("lacks");

    QTest::newRow("bold-italic-underline")
        << QByteArray("{\\rtf1 {\\b B}{\\i I}{\\ul U}{\\strike S}}")
        << QStringList{"<b>B</b>", "<i>I</i>", "<u>U</u>", "<s>S</s>"} << QStringList();
    QTest::newRow("toggles-with-zero") << QByteArray("{\\rtf1\\b a\\b0 b\\i c\\i0 d\\ul e\\ulnone f\\ulw g\\ul0 h}")
                                       << QStringList{"<b>a</b>b<i>c</i>d<u>e</u>f<u>g</u>h"} << QStringList();
    QTest::newRow("plain-resets-character-format") << QByteArray("{\\rtf1\\b\\i\\fs40 x\\plain y}")
                                                   << QStringList{"<i>x</i></b></span>y"} << QStringList();
    QTest::newRow("group-restores-format") << QByteArray("{\\rtf1 {\\b a}b}") << QStringList{"<b>a</b>b"}
                                           << QStringList();
    QTest::newRow("font-size-half-points") << QByteArray("{\\rtf1\\fs40 big\\fs21 odd}")
                                           << QStringList{"font-size:20pt;\">big", "font-size:10.5pt;\">odd"}
                                           << QStringList();
    QTest::newRow("absurd-font-size-clamped") << QByteArray("{\\rtf1\\fs99999999 x}")
                                              << QStringList{"font-size:400pt;"} << QStringList();
    QTest::newRow("fixed-pitch-font") << QByteArray("{\\rtf1{\\fonttbl{\\f0\\fswiss Arial;}{\\f1\\fmodern Courier;}}"
                                                    "a{\\f1 code}b\\f1 c\\plain d}")
                                      << QStringList{"a<span style=\"font-family:monospace;\">code</span>b<span style="
                                                     "\"font-family:monospace;\">c</span>d</p>"}
                                      << QStringList{"Arial", "Courier"};
    QTest::newRow("colour-from-table") << QByteArray("{\\rtf1{\\colortbl;\\red255\\green0\\blue16;}\\cf1 red\\cf7 x}")
                                       << QStringList{"color:#ff0010;\">red</span>x"} << QStringList();
    QTest::newRow("super-and-subscript") << QByteArray("{\\rtf1 x{\\super 2}H{\\sub 2}O}")
                                         << QStringList{"<sup>2</sup>", "<sub>2</sub>"} << QStringList();
    QTest::newRow("alignment-and-pard") << QByteArray("{\\rtf1\\qc a\\par\\pard b\\par}")
                                        << QStringList{"text-align:center;\">a</p>", "pre-wrap;\">b</p>"}
                                        << QStringList();
    QTest::newRow("indents-in-pixels") << QByteArray("{\\rtf1\\li720\\fi-360\\sb120\\sa240 a}")
                                       << QStringList{"margin-top:8px; margin-bottom:16px; margin-left:48px; "
                                                      "margin-right:0px; text-indent:-24px;"}
                                       << QStringList();
    QTest::newRow("line-break") << QByteArray("{\\rtf1 a\\line b}") << QStringList{"a<br />b"} << QStringList();
    QTest::newRow("empty-paragraph-keeps-height") << QByteArray("{\\rtf1 a\\par\\par b}")
                                                  << QStringList{">&nbsp;</p>"} << QStringList();
    QTest::newRow("hyperlink") << QByteArray("{\\rtf1{\\field{\\*\\fldinst{HYPERLINK \"http://example.com/a?b=1&c=2\"}}"
                                             "{\\fldrslt{\\ul link}}} after}")
                               << QStringList{"<a href=\"http://example.com/a?b=1&amp;c=2\"><u>link</u></a> after"}
                               << QStringList{"HYPERLINK"};
    QTest::newRow("mail-link") << QByteArray("{\\rtf1{\\field{\\*\\fldinst HYPERLINK mailto:help@example.com }"
                                             "{\\fldrslt write}}}")
                               << QStringList{"<a href=\"mailto:help@example.com\">write</a>"} << QStringList();
    QTest::newRow("plain-keeps-link") << QByteArray("{\\rtf1{\\field{\\*\\fldinst{HYPERLINK \"https://x.example/\"}}"
                                                    "{\\fldrslt\\plain here}}}")
                                      << QStringList{"<a href=\"https://x.example/\">here</a>"} << QStringList();
}

void tst_RtfReader::html()
{
    QFETCH(QByteArray, rtf);
    QFETCH(QStringList, contains);
    QFETCH(QStringList, lacks);
    const QString html = rtfToHtml(rtf);
    for (const QString &piece : contains) {
        QVERIFY2(html.contains(piece), qPrintable(piece + QStringLiteral("\nnot in:\n") + html));
    }
    for (const QString &piece : lacks) {
        QVERIFY2(!html.contains(piece), qPrintable(piece + QStringLiteral("\nfound in:\n") + html));
    }
}

void tst_RtfReader::documentTextNeverBecomesMarkup()
{
    const QByteArray rtf = "{\\rtf1 <script>alert(\"x\")</script> & <img src=x onerror=y> \\'3cb\\'3e \\u60?i>}";
    const QString html = rtfToHtml(rtf);
    QVERIFY(!html.contains(QLatin1String("<script")));
    QVERIFY(!html.contains(QLatin1String("<img")));
    QVERIFY(!html.contains(QLatin1String("<i>")));
    QVERIFY(html.contains(QLatin1String("&lt;script&gt;alert(&quot;x&quot;)&lt;/script&gt; &amp; &lt;img")));
    QVERIFY(html.contains(QLatin1String("&lt;b&gt; &lt;i&gt;")));
    QCOMPARE(rtfToPlainText(rtf), QStringLiteral("<script>alert(\"x\")</script> & <img src=x onerror=y> <b> <i>\n"));
}

void tst_RtfReader::onlyWebAndMailLinks()
{
    for (const char *target : {"javascript:alert(1)", "file:///etc/passwd", "\\\\l \\\"bookmark\\\"", "",
                               "http://exa mple.com/\\\"><b>x"}) {
        const QByteArray rtf = QByteArray("{\\rtf1{\\field{\\*\\fldinst{HYPERLINK \"") + target
            + "\"}}{\\fldrslt text}}}";
        const QString html = rtfToHtml(rtf);
        QVERIFY2(!html.contains(QLatin1String("<a ")), target);
        QVERIFY2(!html.contains(QLatin1String("<b>")), target);
        QVERIFY(html.contains(QLatin1String(">text</p>")));
    }
}

void tst_RtfReader::everyTruncation_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("stride");
    QTest::newRow("pandoc-every-prefix") << "pandoc.rtf" << 1;
    QTest::newRow("libreoffice-odt") << "libreoffice-odt.rtf" << 3;
    QTest::newRow("libreoffice-docx") << "libreoffice-docx.rtf" << 5;
}

void tst_RtfReader::everyTruncation()
{
    QFETCH(QString, file);
    QFETCH(int, stride);
    const QByteArray rtf = readData(file);
    QVERIFY(!rtf.isEmpty());
    const QString full = rtfToPlainText(rtf);
    for (qsizetype length = 0; length <= rtf.size(); length += stride) {
        const QByteArray prefix = rtf.left(length);
        const QString html = rtfToHtml(prefix);
        QVERIFY(html.endsWith(QLatin1String("</body></html>")));
        const QString text = rtfToPlainText(prefix);
        // A cut can only change the paragraph it falls in; the ones before it stay as they were.
        const QString stable =
            text.size() < 2 ? QString() : text.left(text.lastIndexOf(QLatin1Char('\n'), text.size() - 2) + 1);
        QVERIFY2(full.startsWith(stable), qPrintable(QStringLiteral("cut at %1").arg(length)));
    }
}

void tst_RtfReader::unbalancedBraces_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("text");
    QTest::newRow("closing-first") << QByteArray("}}}}{\\rtf1 a}}}}b") << "ab\n";
    QTest::newRow("never-closed") << QByteArray("{{{{{{{a") << "a\n";
    QTest::newRow("bold-never-closed") << QByteArray("{\\rtf1 {\\b bold") << "bold\n";
    QTest::newRow("skipped-never-closed") << QByteArray("{\\rtf1 a{\\fonttbl{\\f0 Arial;}") << "a\n";
    QTest::newRow("close-inside-skipped") << QByteArray("{\\rtf1 {\\info}}}}x") << "x\n";
}

void tst_RtfReader::unbalancedBraces()
{
    QFETCH(QByteArray, rtf);
    QFETCH(QString, text);
    QCOMPARE(rtfToPlainText(rtf), text);
    QVERIFY(rtfToHtml(rtf).endsWith(QLatin1String("</body></html>")));
}

void tst_RtfReader::deepNesting()
{
    const int depth = 200000;
    const QByteArray rtf = "{\\rtf1 " + QByteArray(depth, '{') + "\\b deep" + QByteArray(depth, '}') + " out}";
    QCOMPARE(rtfToPlainText(rtf), QStringLiteral("deep out\n"));
    QVERIFY(rtfToHtml(rtf).contains(QLatin1String("deep")));

    const QByteArray unclosed = "{\\rtf1 " + QByteArray(depth, '{') + "x";
    QCOMPARE(rtfToPlainText(unclosed), QStringLiteral("x\n"));
}

void tst_RtfReader::hugeNumbersAndNames()
{
    const QByteArray digits(1000000, '9');
    QCOMPARE(rtfToPlainText("{\\rtf1 \\fs" + digits + " x}"), QStringLiteral("x\n"));
    QCOMPARE(rtfToPlainText("{\\rtf1 \\u-" + digits + " ?y}"), QStringLiteral("y\n"));
    QCOMPARE(rtfToPlainText("{\\rtf1 \\uc" + digits + "\\u233 abc}"), QStringLiteral("\u00e9\n"));
    QCOMPARE(rtfToPlainText("{\\rtf1 \\" + QByteArray(1000000, 'a') + " z}"), QStringLiteral("z\n"));
    QCOMPARE(rtfToPlainText("{\\rtf1 \\li-" + digits + " w}"), QStringLiteral("w\n"));
}

void tst_RtfReader::hugeBinaryLength()
{
    QCOMPARE(rtfToPlainText("{\\rtf1 a\\bin99999999999 xyz}"), QStringLiteral("a\n"));
    QCOMPARE(rtfToPlainText("{\\rtf1 a{\\pict\\bin2147483647 xyz}b}"), QStringLiteral("a\n"));
}

void tst_RtfReader::randomBytes()
{
    QRandomGenerator random(20240611);
    static const char soup[] = "{}\\\\\\'*uc0123456789-abfilnprstv ;\"\r\n\xe9\x80";
    QElapsedTimer timer;
    timer.start();
    for (int round = 0; round < 400; ++round) {
        QByteArray bytes(qsizetype(random.bounded(1, 6000)), Qt::Uninitialized);
        const bool rtfLike = round % 2 == 0;
        for (char &b : bytes) {
            b = rtfLike ? soup[random.bounded(int(sizeof(soup) - 1))] : char(random.bounded(256));
        }
        if (rtfLike) {
            bytes.prepend("{\\rtf1\\ansi ");
        }
        const QString html = rtfToHtml(bytes);
        QVERIFY(html.endsWith(QLatin1String("</body></html>")));
        rtfToPlainText(bytes);
    }
    qDebug() << "400 random documents read in" << timer.elapsed() << "ms";
}

QTEST_GUILESS_MAIN(tst_RtfReader)
#include "tst_rtfreader.moc"
