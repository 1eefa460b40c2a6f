#include <QRandomGenerator>
#include <QTest>

#include "web/postedmessage.h"

using namespace PostedMessage;

class tst_PostedMessage : public QObject
{
    Q_OBJECT

private slots:
    void key_data();
    void key();
    void contains_data();
    void contains();
    void typography_data();
    void typography();
    void jointSearchAgreesWithJoinedText();
    void messageStartingWithLineBreakMatchesAnyPage();
};

void tst_PostedMessage::key_data()
{
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("key");
    QTest::newRow("empty") << ""
                           << "";
    QTest::newRow("no-marker-whole-text") << "Just one line"
                                          << "Just one line";
    QTest::newRow("first-line") << "Hello world\r\nSecond line\r\n\r\n"
                                << "Hello world";
    QTest::newRow("lone-cr") << "ab\rcd"
                             << "ab";
    QTest::newRow("lone-lf") << "ab\ncd"
                             << "ab";
    QTest::newRow("earliest-marker-wins") << "a\nb\r\nc<d"
                                          << "a";
    QTest::newRow("markup-ends-key") << "See <a href='http://x.y'>x</a>\r\n"
                                     << "See ";
    QTest::newRow("lt-at-start-ignored") << "<b>Bold</b> news\r\nmore"
                                         << "<b>Bold</b> news";
    QTest::newRow("begins-with-crlf-gives-cr") << "\r\nHello\r\n\r\n"
                                               << "\r";
    QTest::newRow("begins-with-lf-ignored") << "\nabc"
                                            << "\nabc";
    // Only the first occurrence of a marker is looked at; at position 0 it is ignored altogether.
    QTest::newRow("first-lt-at-start-hides-later-lt") << "<a<b"
                                                      << "<a<b";
    QTest::newRow("non-ascii") << QString::fromUtf8("Grüße 😀 an alle\r\n") << QString::fromUtf8("Grüße 😀 an alle");
}

void tst_PostedMessage::key()
{
    QFETCH(QString, message);
    QFETCH(QString, key);
    QCOMPARE(postedMessageKey(message), key);
}

void tst_PostedMessage::contains_data()
{
    QTest::addColumn<QString>("outer");
    QTest::addColumn<QString>("inner");
    QTest::addColumn<QString>("key");
    QTest::addColumn<bool>("contained");
    QTest::newRow("in-outer") << "<body><p>Hello world</p></body>"
                              << "<p>x</p>"
                              << "Hello world" << true;
    QTest::newRow("in-inner-only") << "<body></body>"
                                   << "<p>Hello world</p>"
                                   << "Hello world" << true;
    QTest::newRow("ignores-case") << "<body>HELLO World</body>"
                                  << ""
                                  << "hello wORLD" << true;
    QTest::newRow("ignores-case-non-ascii")
        << QString::fromUtf8("<p>ÄPFEL</p>") << "" << QString::fromUtf8("äpfel") << true;
    QTest::newRow("absent") << "<body><p>Goodbye</p></body>"
                            << "<p>Goodbye</p>"
                            << "Hello" << false;
    QTest::newRow("entity-rendered-found") << "<body><p>Tom &amp; Jerry say &quot;hi&quot;</p></body>"
                                           << "<p>Tom &amp; Jerry say &quot;hi&quot;</p>"
                                           << "Tom & Jerry say \"hi\"" << true;
    QTest::newRow("empty-key-empty-page") << ""
                                          << ""
                                          << "" << true;
    QTest::newRow("empty-key") << "<body></body>"
                               << ""
                               << "" << true;
    QTest::newRow("cr-from-joint") << "<body></body>"
                                   << ""
                                   << "\r" << true;
    QTest::newRow("crlf-from-joint") << "a"
                                     << "b"
                                     << "A\r\nB" << true;
    QTest::newRow("spans-joint") << "<body>the end"
                                 << "start of it"
                                 << "END\r\nSTART" << true;
    QTest::newRow("spans-joint-into-empty-inner") << "xyz"
                                                  << ""
                                                  << "z\r\n"
                                                  << true;
    QTest::newRow("near-joint-but-not-there") << "the end"
                                              << "start"
                                              << "end\r\nstop" << false;
    QTest::newRow("longer-than-page") << "ab"
                                      << "cd"
                                      << "ab\r\ncdx" << false;
}

void tst_PostedMessage::contains()
{
    QFETCH(QString, outer);
    QFETCH(QString, inner);
    QFETCH(QString, key);
    QFETCH(bool, contained);
    QCOMPARE(pageTextContainsKey(outer, inner, key), contained);
}

// What was typed against what blog and forum software shows for it, as characters and as the references
// the markup holds.
void tst_PostedMessage::typography_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<bool>("found");
    const struct
    {
        const char *name;
        const char *typed;
        char16_t shown;
        const char *named;
    } forms[] = {
        { "left-single-quote", "'", 0x2018, "lsquo" }, { "right-single-quote", "'", 0x2019, "rsquo" },
        { "low-single-quote", "'", 0x201A, "sbquo" }, { "reversed-single-quote", "'", 0x201B, nullptr },
        { "prime", "'", 0x2032, "prime" }, { "left-double-quote", "\"", 0x201C, "ldquo" },
        { "right-double-quote", "\"", 0x201D, "rdquo" }, { "low-double-quote", "\"", 0x201E, "bdquo" },
        { "double-prime", "\"", 0x2033, "Prime" }, { "en-dash-for-hyphen", " - ", 0x2013, "ndash" },
        { "en-dash-for-two-hyphens", "--", 0x2013, "ndash" }, { "em-dash-for-two-hyphens", " -- ", 0x2014, "mdash" },
        { "em-dash-for-three-hyphens", "---", 0x2014, "mdash" }, { "ellipsis", "...", 0x2026, "hellip" },
        { "non-breaking-space", " ", 0x00A0, "nbsp" },
    };
    for (const auto &form : forms) {
        const QLatin1String typed(form.typed);
        const bool spaced = typed.startsWith(u' ') && form.shown != 0x00A0;
        const auto sentence = [&](const char *before, const QString &middle, const char *after) -> QString {
            const QString space = spaced ? QStringLiteral(" ") : QString();
            return QLatin1String(before) + space + middle + space + QLatin1String(after);
        };
        const QString message = QLatin1String("It") + typed + QLatin1String("s the best");
        const QByteArray name(form.name);
        QTest::newRow(QByteArray(name + "-character").constData()) << message << sentence("<p>IT", QChar(form.shown), "S THE BEST</p>") << true;
        QTest::newRow(QByteArray(name + "-decimal").constData()) << message
                                         << sentence("<p>IT", QStringLiteral("&#%1;").arg(int(form.shown)), "S THE BEST")
                                         << true;
        QTest::newRow(QByteArray(name + "-hexadecimal").constData())
            << message << sentence("<p>it", QStringLiteral("&#X%1;").arg(int(form.shown), 0, 16), "s the best") << true;
        if (form.named) {
            QTest::newRow(QByteArray(name + "-named").constData())
                << message << sentence("<p>It", QLatin1Char('&') + QLatin1String(form.named) + u';', "s the best")
                << true;
        }
        // Both sides are read the same way: a message holding the character matches a page holding what was typed.
        QTest::newRow(QByteArray(name + "-typed-as-character").constData())
            << sentence("It", QChar(form.shown), "s the best") << QLatin1String("<p>It") + typed + QLatin1String("s the best")
            << true;
    }
    QTest::newRow("typed-reference-shown-character") << "Fish &amp; chips" << "<p>Fish &amp; chips</p>" << true;
    QTest::newRow("one-letter-apart") << "It's the best" << "<p>It's the bust</p>" << false;
    QTest::newRow("apostrophe-left-out") << "It's the best" << "<p>Its the best</p>" << false;
    QTest::newRow("acute-accent-is-no-apostrophe") << "It's the best" << "<p>It&#180;s the best</p>" << false;
    QTest::newRow("two-dots-are-no-ellipsis") << "Wait... what" << "<p>Wait.. what</p>" << false;
    QTest::newRow("spaced-hyphens-are-no-dash") << "a -- b" << "<p>a - - b</p>" << false;
    QTest::newRow("space-is-not-left-out") << "a b" << "<p>ab</p>" << false;
}

void tst_PostedMessage::typography()
{
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    QFETCH(bool, found);
    QCOMPARE(pageTextContainsKey(shown, shown, postedMessageKey(typed)), found);
}

void tst_PostedMessage::jointSearchAgreesWithJoinedText()
{
    // Small texts over an alphabet rich in case pairs and line breaks hit every way a key can meet the joint.
    const QString alphabet = QStringLiteral("aAbB\r\n");
    QRandomGenerator random(20240517);
    const auto randomText = [&](int maxLength) {
        QString text;
        const int length = random.bounded(maxLength + 1);
        for (int i = 0; i < length; ++i) {
            text.append(alphabet.at(random.bounded(alphabet.size())));
        }
        return text;
    };
    for (int round = 0; round < 20000; ++round) {
        const QString outer = randomText(6);
        const QString inner = randomText(6);
        const QString key = randomText(5);
        const bool expected = QString(outer + QStringLiteral("\r\n") + inner).contains(key, Qt::CaseInsensitive);
        if (pageTextContainsKey(outer, inner, key) != expected) {
            QFAIL(qPrintable(QStringLiteral("outer %1 inner %2 key %3")
                                 .arg(outer.toUtf8().toPercentEncoding(), inner.toUtf8().toPercentEncoding(),
                                     key.toUtf8().toPercentEncoding())));
        }
    }
}

void tst_PostedMessage::messageStartingWithLineBreakMatchesAnyPage()
{
    const QString key = postedMessageKey(QStringLiteral("\r\nFirst line\r\n\r\n"));
    QCOMPARE(key, QStringLiteral("\r"));
    QVERIFY(
        pageTextContainsKey(QStringLiteral("<body><p>unrelated</p></body>"), QStringLiteral("<p>unrelated</p>"), key));
}

QTEST_GUILESS_MAIN(tst_PostedMessage)
#include "tst_postedmessage.moc"
