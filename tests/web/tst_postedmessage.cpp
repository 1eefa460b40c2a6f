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
    QTest::newRow("entity-rendered-not-found") << "<body><p>Tom &amp; Jerry say &quot;hi&quot;</p></body>"
                                               << "<p>Tom &amp; Jerry say &quot;hi&quot;</p>"
                                               << "Tom & Jerry say \"hi\"" << false;
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
