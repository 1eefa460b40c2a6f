#include <QRandomGenerator>
#include <QTest>

#include "links/linkconversion.h"
#include "links/linkformats.h"

namespace {
const QString CRLF = QStringLiteral("\r\n");

QString html(const QString &target, const QString &visible)
{
    return QStringLiteral("<a href='") + target + QStringLiteral("'>") + visible + QStringLiteral("</a>");
}

QString htmlUrl(const QString &url)
{
    return html(url, url);
}

QString htmlMail(const QString &address)
{
    return html(QStringLiteral("mailto:") + address, address);
}
bool isEndChar(QChar c)
{
    return c == u'\r' || c == u'\n' || c == u'?' || c == u',' || c == u'!' || c == u' ';
}

// The conversion written plainly, step by step on the growing text; slow, but easy to check by eye.
QString referenceConversion(
    QString t, const QString &open1, const QString &open2, const QString &close1, const QString &mail)
{
    qsizetype s = 0;
    for (;;) {
        const qsizetype p = t.indexOf(QStringLiteral("http://"), s, Qt::CaseInsensitive);
        if (p < 0) {
            break;
        }
        qsizetype e = p + 7;
        while (e < t.size() && !isEndChar(t[e])) {
            ++e;
        }
        if (e == t.size() && t.endsWith(u'.')) {
            --e;
        }
        const QString url = t.mid(p, e - p);
        const QString markup = open1 + url + open2 + url + close1;
        t.replace(p, e - p, markup);
        s = p + markup.size();
    }
    s = 0;
    for (;;) {
        const qsizetype a = t.indexOf(u'@', s);
        if (a < 0) {
            break;
        }
        qsizetype b = a;
        while (b > s && t[b - 1] != u'\r' && t[b - 1] != u'\n' && t[b - 1] != u' ') {
            --b;
        }
        for (qsizetype q = a - 1; q >= b; --q) {
            if (t[q] == u'?' || t[q] == u',' || t[q] == u'!') {
                b = q + 1;
                break;
            }
        }
        qsizetype e = b;
        while (e < t.size() && !isEndChar(t[e])) {
            ++e;
        }
        if (e == t.size() && t.endsWith(u'.')) {
            --e;
        }
        const QString address = t.mid(b, e - b);
        const QString markup = open1 + mail + address + open2 + address + close1;
        t.replace(b, e - b, markup);
        s = b + markup.size();
    }
    return t;
}

} // namespace

class tst_LinkConversion : public QObject
{
    Q_OBJECT

private slots:
    void convert_data();
    void convert();
    void agreesWithPlainStepByStepConversion();
    void inputIsLeftUnchanged();
    void messageUsesSelectedFormat();
    void pathologicalInputsFinish_data();
    void pathologicalInputsFinish();
};

void tst_LinkConversion::convert_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("expected");

    // Worked examples.
    QTest::newRow("url-between-words") << "html"
                                       << "see http://x.y now"
                                       << "see <a href='http://x.y'>http://x.y</a> now";
    QTest::newRow("url-before-comma") << "html"
                                      << "see http://x.y, now"
                                      << "see <a href='http://x.y'>http://x.y</a>, now";
    QTest::newRow("url-at-end-keeps-dot-outside") << "html"
                                                  << "end http://x.y."
                                                  << "end <a href='http://x.y'>http://x.y</a>.";
    QTest::newRow("dot-before-space-stays-inside") << "html"
                                                   << "see http://x.y. Now"
                                                   << "see <a href='http://x.y.'>http://x.y.</a> Now";
    QTest::newRow("query-cut-at-question-mark") << "html"
                                                << "go http://x.y/p?id=5 ok"
                                                << "go <a href='http://x.y/p'>http://x.y/p</a>?id=5 ok";
    QTest::newRow("capital-scheme-keeps-case") << "html"
                                               << "HTTP://X.Y ok"
                                               << "<a href='HTTP://X.Y'>HTTP://X.Y</a> ok";
    QTest::newRow("https-left-alone") << "html"
                                      << "go https://x.y ok"
                                      << "go https://x.y ok";
    QTest::newRow("two-urls") << "html"
                              << "a http://x.y b http://z.y"
                              << "a <a href='http://x.y'>http://x.y</a> b <a href='http://z.y'>http://z.y</a>";
    QTest::newRow("address-between-words") << "html"
                                           << "mail u@x.y now"
                                           << "mail <a href='mailto:u@x.y'>u@x.y</a> now";
    QTest::newRow("address-at-end-keeps-dot-outside") << "html"
                                                      << "mail u@x.y."
                                                      << "mail <a href='mailto:u@x.y'>u@x.y</a>.";
    QTest::newRow("address-on-own-line") << "html"
                                         << "hi" + CRLF + "u@x.y" + CRLF + "bye"
                                         << "hi" + CRLF + "<a href='mailto:u@x.y'>u@x.y</a>" + CRLF + "bye";
    QTest::newRow("lone-at-sign") << "html"
                                  << "a @ b"
                                  << "a <a href='mailto:@'>@</a> b";
    QTest::newRow("ubb-url") << "ubb"
                             << "see http://x.y"
                             << "see [url=http://x.y]http://x.y[/url]";
    QTest::newRow("ezboard-address") << "ezboard"
                                     << "u@x.y"
                                     << "[link=mailto:u@x.y]u@x.y[/link]";
    QTest::newRow("all-strings-empty") << "empty"
                                       << "http://x.y"
                                       << "http://x.yhttp://x.y";

    // The "@" of a URL is found again by the address pass, which reaches back into the URL's markup.
    QTest::newRow("url-holding-at-sign")
        << "html"
        << "http://u@x.y"
        << "<a <a href='mailto:href='http://u@x.y'>http://u@x.y</a>'>href='http://u@x.y'>http://u@x.y</a></a>";

    // Scheme and letter case.
    QTest::newRow("mixed-case-scheme") << "html"
                                       << "Http://A.b/C" << htmlUrl("Http://A.b/C");
    QTest::newRow("scheme-inside-word") << "html"
                                        << "xhttp://a.b"
                                        << "x" + htmlUrl("http://a.b");
    QTest::newRow("bare-scheme-at-end") << "html"
                                        << "go http://"
                                        << "go " + htmlUrl("http://");
    QTest::newRow("bare-scheme-then-dot-at-end") << "html"
                                                 << "go http://."
                                                 << "go " + htmlUrl("http://") + ".";
    QTest::newRow("incomplete-scheme") << "html"
                                       << "http:/ http: ttp:// ://"
                                       << "http:/ http: ttp:// ://";
    QTest::newRow("scheme-repeated-without-break") << "html"
                                                   << "http://http://a" << htmlUrl("http://http://a");
    QTest::newRow("https-and-http-together") << "html"
                                             << "https://a http://b"
                                             << "https://a " + htmlUrl("http://b");

    // What ends a URL and what does not.
    QTest::newRow("url-ends-at-exclamation") << "html"
                                             << "http://a!" << htmlUrl("http://a") + "!";
    QTest::newRow("url-ends-at-crlf") << "html"
                                      << "http://a" + CRLF + "b" << htmlUrl("http://a") + CRLF + "b";
    QTest::newRow("url-ends-at-lone-lf") << "html"
                                         << "http://a\nb" << htmlUrl("http://a") + "\nb";
    QTest::newRow("url-ends-at-lone-cr") << "html"
                                         << "http://a\rb" << htmlUrl("http://a") + "\rb";
    QTest::newRow("tab-quote-bracket-semicolon-inside") << "html"
                                                        << "(http://a/b;c\t\"d')] e"
                                                        << "(" + htmlUrl("http://a/b;c\t\"d')]") + " e";
    QTest::newRow("dot-in-middle-of-text-stays") << "html"
                                                 << "http://a. b." << htmlUrl("http://a.") + " b.";
    QTest::newRow("only-last-dot-left-out") << "html"
                                            << "see http://a.."
                                            << "see " + htmlUrl("http://a.") + ".";

    // Outgoing text ends with CR LF CR LF, so a final "." of the message stays inside the link.
    QTest::newRow("outgoing-url-keeps-final-dot")
        << "html"
        << "see http://x.y." + CRLF + CRLF << "see " + htmlUrl("http://x.y.") + CRLF + CRLF;
    QTest::newRow("outgoing-address-keeps-final-dot")
        << "html"
        << "mail u@x.y." + CRLF + CRLF << "mail " + htmlMail("u@x.y.") + CRLF + CRLF;

    // Addresses.
    QTest::newRow("address-at-start") << "html"
                                      << "u@x.y is me" << htmlMail("u@x.y") + " is me";
    QTest::newRow("address-with-paren") << "html"
                                        << "(u@x.y)" << htmlMail("(u@x.y)");
    QTest::newRow("address-after-mailto") << "html"
                                          << "mailto:u@x.y" << htmlMail("mailto:u@x.y");
    QTest::newRow("address-query-cut") << "html"
                                       << "u@x.y?subject=hi" << htmlMail("u@x.y") + "?subject=hi";
    QTest::newRow("at-sign-at-end") << "html"
                                    << "me@" << htmlMail("me@");
    QTest::newRow("at-sign-first") << "html"
                                   << "@home now" << htmlMail("@home") + " now";
    QTest::newRow("two-at-signs-one-address") << "html"
                                              << "a@b@c d" << htmlMail("a@b@c") + " d";
    QTest::newRow("two-addresses") << "html"
                                   << "a@b c@d" << htmlMail("a@b") + " " + htmlMail("c@d");
    QTest::newRow("address-after-tab") << "html"
                                       << "x\tu@v" << htmlMail("x\tu@v");

    // An end-set character between an address's start and its "@": the address begins after it.
    QTest::newRow("comma-before-at") << "html"
                                     << "x,y@z.com"
                                     << "x," + htmlMail("y@z.com");
    QTest::newRow("question-before-at") << "html"
                                        << "why?me@z ok"
                                        << "why?" + htmlMail("me@z") + " ok";
    QTest::newRow("exclamation-before-at") << "html"
                                           << "hey!me@z"
                                           << "hey!" + htmlMail("me@z");
    QTest::newRow("comma-right-before-at") << "html"
                                           << "x,@z"
                                           << "x," + htmlMail("@z");
    QTest::newRow("several-commas-before-at") << "html"
                                              << "a,b,c@d"
                                              << "a,b," + htmlMail("c@d");
    QTest::newRow("lone-at-between-commas") << "html"
                                            << "@,@,@" << htmlMail("@") + "," + htmlMail("@") + "," + htmlMail("@");

    // Addresses joined by a comma: the second does not reach back into the first one's markup.
    QTest::newRow("addresses-joined-by-comma") << "html"
                                               << "a@b.c,d@e.f" << htmlMail("a@b.c") + "," + htmlMail("d@e.f");
    QTest::newRow("addresses-joined-by-question") << "ubb"
                                                  << "a@b?d@e"
                                                  << "[url=mailto:a@b]a@b[/url]?[url=mailto:d@e]d@e[/url]";
    QTest::newRow("custom-addresses-joined-by-comma") << "custom"
                                                      << "a@b,c@d"
                                                      << "{@a@b|a@b},{@c@d|c@d}";
    // URL markup is not a bound: the address reaches back to the space inside it.
    QTest::newRow("address-after-url-markup") << "ubb"
                                              << "http://a,u@v"
                                              << "[url=http://a]http://a[/url]," + QString("[url=mailto:u@v]u@v[/url]");
    QTest::newRow("addresses-after-url-markup") << "custom"
                                                << "http://a u@v http://b!w@x"
                                                << "{http://a|http://a} {@u@v|u@v} {http://b|http://b}!{@w@x|w@x}";
    QTest::newRow("address-reaches-into-url-markup") << "custom"
                                                     << "http://a@b"
                                                     << "{@{http://a@b|http://a@b}|{http://a@b|http://a@b}}";

    QTest::newRow("address-glued-before-url") << "html"
                                              << "u@vhttp://a." << htmlMail("u@v<a") + " href='http://a'>http://a</a>.";
    QTest::newRow("address-spanning-url-markup-keeps-final-dot-outside")
        << "custom"
        << "u@vhttp://a."
        << "{@u@v{http://a|http://a}|u@v{http://a|http://a}}.";
    QTest::newRow("at-sign-in-format-markup") << "spaced"
                                              << "http://a"
                                              << "[http://a [@ @ @] http://a]";

    // Formats.
    QTest::newRow("ubb-address") << "ubb"
                                 << "mail u@x.y"
                                 << "mail [url=mailto:u@x.y]u@x.y[/url]";
    QTest::newRow("ezboard-url") << "ezboard"
                                 << "see http://x.y, ok"
                                 << "see [link=http://x.y]http://x.y[/link], ok";
    QTest::newRow("custom-url-and-address") << "custom"
                                            << "http://a b@c"
                                            << "{http://a|http://a} {@b@c|b@c}";
    QTest::newRow("empty-strings-address") << "empty"
                                           << "u@v"
                                           << "u@vu@v";
    QTest::newRow("markup-containing-scheme-not-reconverted") << "scheme"
                                                              << "http://a"
                                                              << "<http://here>http://a|http://a</>";

    // Plain text.
    QTest::newRow("empty-text") << "html"
                                << ""
                                << "";
    QTest::newRow("plain-text") << "html"
                                << "nothing to see here. Really!"
                                << "nothing to see here. Really!";
    QTest::newRow("crlf-preserved") << "html"
                                    << "a" + CRLF + CRLF + "b http://c" + CRLF + "d" + CRLF
                                    << "a" + CRLF + CRLF + "b " + htmlUrl("http://c") + CRLF + "d" + CRLF;
    QTest::newRow("non-ascii-around-links")
        << "html" << QString::fromUtf8("\xC3\xA9t\xC3\xA9 http://\xC3\xA9.fr \xE2\x82\xAC@x")
        << QString::fromUtf8("\xC3\xA9t\xC3\xA9 ") + htmlUrl(QString::fromUtf8("http://\xC3\xA9.fr")) + " "
            + htmlMail(QString::fromUtf8("\xE2\x82\xAC@x"));
}

static LinkFormat formatNamed(const QString &name)
{
    if (name == QLatin1String("html")) {
        return LinkFormatTable::defaultRow(0);
    }
    if (name == QLatin1String("ubb")) {
        return LinkFormatTable::defaultRow(1);
    }
    if (name == QLatin1String("ezboard")) {
        return LinkFormatTable::defaultRow(2);
    }
    if (name == QLatin1String("custom")) {
        return { name, QStringLiteral("{"), QStringLiteral("|"), QStringLiteral("}"), QStringLiteral("@") };
    }
    if (name == QLatin1String("spaced")) {
        return { name, QStringLiteral("["), QStringLiteral(" @ "), QStringLiteral("]"), QString() };
    }
    if (name == QLatin1String("scheme")) {
        return { name, QStringLiteral("<http://here>"), QStringLiteral("|"), QStringLiteral("</>"), QString() };
    }
    return {};
}

void tst_LinkConversion::convert()
{
    QFETCH(QString, format);
    QFETCH(QString, input);
    QFETCH(QString, expected);
    const LinkFormat f = formatNamed(format);
    QCOMPARE(convertLinks(input, f.LinkOpen01, f.LinkOpen02, f.LinkClose01, f.MailCall01), expected);
}

void tst_LinkConversion::agreesWithPlainStepByStepConversion()
{
    const QStringList pieces = { "http://", "HtTp://", "http:/", "h", "t", "p", ":", "/", "@", ".", ",", "?", "!", " ",
        "\r", "\n", "\r\n", "a", "b", "(", "'", "\t", "mailto:" };
    const QStringList markups = { "", "<a href='", "'>", "</a>", "[", "]", "@", " ", ",", "x@y", "http://q", "." };
    QRandomGenerator random(4711);
    for (int round = 0; round < 20000; ++round) {
        QString input;
        const int length = random.bounded(14);
        for (int i = 0; i < length; ++i) {
            input += pieces.at(random.bounded(pieces.size()));
        }
        QString format[4];
        for (QString &markup : format) {
            markup = markups.at(random.bounded(markups.size()));
        }
        const QString expected = referenceConversion(input, format[0], format[1], format[2], format[3]);
        const QString actual = convertLinks(input, format[0], format[1], format[2], format[3]);
        if (actual != expected) {
            qWarning() << "input" << input << "format" << format[0] << format[1] << format[2] << format[3];
        }
        QCOMPARE(actual, expected);
    }
}

void tst_LinkConversion::inputIsLeftUnchanged()
{
    const QString input = QStringLiteral("see http://x.y and u@x.y");
    const QString copy = input;
    const QString output = convertLinks(input, "<", "|", ">", "m:");
    QCOMPARE(input, copy);
    QCOMPARE(output, QStringLiteral("see <http://x.y|http://x.y> and <m:u@x.y|u@x.y>"));
}

void tst_LinkConversion::messageUsesSelectedFormat()
{
    LinkFormatTable table;
    const QString outgoing = "see http://x.y." + CRLF + CRLF;
    QCOMPARE(
        convertMessage(outgoing, QStringLiteral("ubb"), table), "see [url=http://x.y.]http://x.y.[/url]" + CRLF + CRLF);
    QCOMPARE(convertMessage(outgoing, QStringLiteral("UBB"), table), outgoing);
    QCOMPARE(convertMessage(outgoing, QStringLiteral("text"), table), outgoing);
}

void tst_LinkConversion::pathologicalInputsFinish_data()
{
    QTest::addColumn<QString>("input");
    QTest::addColumn<qsizetype>("expectedLength");
    QTest::addColumn<QString>("expectedStart");

    const qsizetype mega = 1 << 20;
    // html markup around an address: "<a href='mailto:" + a + "'>" + a + "</a>" adds 22 characters.
    QTest::newRow("one-megabyte-of-at-signs") << QString(mega, u'@') << 2 * mega + 22 << "<a href='mailto:@@@";
    QTest::newRow("at-signs-between-spaces")
        << QString(" @").repeated(mega / 2) << mega / 2 * (1 + 24) << " <a href='mailto:@'>@</a> <a";
    QTest::newRow("at-signs-between-commas")
        << QString(",@").repeated(mega / 2) << mega / 2 * (1 + 24) << ",<a href='mailto:@'>@</a>,<a";
    QTest::newRow("word-then-many-at-signs")
        << QString(mega, u'x') + QString("@,").repeated(mega / 2) << 2 * (mega + 1) + 22 + 1 + (mega / 2 - 1) * (24 + 1)
        << "<a href='mailto:xxx";
    // URL markup adds 15 characters.
    QTest::newRow("scheme-repeated") << QString("http://").repeated(mega / 7) << 2 * (mega / 7 * 7) + 15
                                     << "<a href='http://http://";
    QTest::newRow("schemes-between-spaces")
        << QString("http:// ").repeated(mega / 8) << mega / 8 * (8 + 7 + 15) << "<a href='http://'>http://</a> <a";
    QTest::newRow("one-huge-url") << "http://" + QString(mega, u'a') << 2 * (mega + 7) + 15 << "<a href='http://aaa";
    QTest::newRow("one-huge-url-with-at-sign") << "http://" + QString(mega, u'a') + "@b"
                                               << 2 * (2 * (mega + 9) + 15 - 3) + 22 + 3 << "<a <a href='mailto:href=";
    QTest::newRow("many-colons") << QString(mega, u':') << mega << ":::";
}

void tst_LinkConversion::pathologicalInputsFinish()
{
    QFETCH(QString, input);
    QFETCH(qsizetype, expectedLength);
    QFETCH(QString, expectedStart);
    const LinkFormat f = LinkFormatTable::defaultRow(0);
    const QString output = convertLinks(input, f.LinkOpen01, f.LinkOpen02, f.LinkClose01, f.MailCall01);
    QCOMPARE(output.size(), expectedLength);
    QCOMPARE(output.first(expectedStart.size()), expectedStart);
}

QTEST_GUILESS_MAIN(tst_LinkConversion)
#include "tst_linkconversion.moc"
