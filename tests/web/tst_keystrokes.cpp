#include <QTest>

#include "web/keystrokes.h"

Q_DECLARE_METATYPE(QList<KeyStroke>)

class tst_KeyStrokes : public QObject
{
    Q_OBJECT

private slots:
    void strokes_data();
    void strokes();
};

namespace {

KeyStroke ret()
{
    return {Qt::Key_Return, QStringLiteral("\r")};
}

} // namespace

void tst_KeyStrokes::strokes_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QList<KeyStroke>>("expected");

    QTest::newRow("empty") << QString() << QList<KeyStroke>{};
    QTest::newRow("letters-keep-case") << "aZ"
                                       << QList<KeyStroke>{{Qt::Key_A, "a"}, {Qt::Key_Z, "Z"}};
    QTest::newRow("key-command-characters-are-text")
        << "+^%~({"
        << QList<KeyStroke>{{Qt::Key_Plus, "+"},        {Qt::Key_AsciiCircum, "^"}, {Qt::Key_Percent, "%"},
                            {Qt::Key_AsciiTilde, "~"}, {Qt::Key_ParenLeft, "("},   {Qt::Key_BraceLeft, "{"}};
    QTest::newRow("crlf-is-one-return") << "a\r\nb" << QList<KeyStroke>{{Qt::Key_A, "a"}, ret(), {Qt::Key_B, "b"}};
    QTest::newRow("lone-cr-and-lone-lf") << "\r\n\n\r" << QList<KeyStroke>{ret(), ret(), ret()};
    QTest::newRow("lf-cr-is-two-breaks") << "\n\r" << QList<KeyStroke>{ret(), ret()};
    QTest::newRow("non-ascii-upper-key") << QString::fromUtf8("\xC3\xA9")
                                         << QList<KeyStroke>{{0xC9, QString::fromUtf8("\xC3\xA9")}};
    QTest::newRow("outside-bmp-a-press-per-half")
        << QString::fromUtf8("\xF0\x9F\x98\x80")
        << QList<KeyStroke>{{Qt::Key_unknown, QString(QChar(0xD83D))}, {Qt::Key_unknown, QString(QChar(0xDE00))}};
    QTest::newRow("lone-surrogate-kept") << QString(QChar(0xD83D))
                                         << QList<KeyStroke>{{0xD83D, QString(QChar(0xD83D))}};
}

void tst_KeyStrokes::strokes()
{
    QFETCH(QString, text);
    QFETCH(QList<KeyStroke>, expected);
    const QList<KeyStroke> strokes = keyStrokesForText(text);
    QCOMPARE(strokes.size(), expected.size());
    for (qsizetype i = 0; i < strokes.size(); ++i) {
        QCOMPARE(strokes.at(i).text, expected.at(i).text);
        QCOMPARE(strokes.at(i).key, expected.at(i).key);
    }
}

QTEST_GUILESS_MAIN(tst_KeyStrokes)
#include "tst_keystrokes.moc"
