#include <QTest>

#include "base/charscan.h"

// The scans look at sixteen bytes at a time, eight characters of UTF-16: each row puts what they look for at the
// edges of a step.
class tst_CharScan : public QObject
{
    Q_OBJECT

private slots:
    void findAny_data();
    void findAny();
    void plainStretch_data();
    void plainStretch();
    void isAscii_data();
    void isAscii();
};

void tst_CharScan::findAny_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QList<int>>("positions"); // of every '>', '"' or '\''
    QTest::newRow("none") << "abcdefghijklmnopq" << QList<int> {};
    QTest::newRow("first-and-last-of-eight") << ">bcdefg\"ijklmno'" << QList<int> { 0, 7, 15 };
    QTest::newRow("after-the-last-eight") << "abcdefghij>" << QList<int> { 10 };
    QTest::newRow("edges-of-sixteen") << "'bcdefghijklmnop>r" << QList<int> { 0, 16 };
    QTest::newRow("shorter-than-eight") << "a'>" << QList<int> { 1, 2 };
}

void tst_CharScan::findAny()
{
    QFETCH(QString, text);
    QFETCH(QList<int>, positions);
    const auto *const begin = reinterpret_cast<const char16_t *>(text.utf16());
    const char16_t *const end = begin + text.size();
    QList<int> found;
    for (const char16_t *p = begin; (p = CharScan::findAny(p, end, u'>', u'"', u'\'')) != end; ++p) {
        found.append(int(p - begin));
    }
    QCOMPARE(found, positions);
    QList<int> newlines;
    const QString lines = QString(text).replace(u'>', u'\n').replace(u'"', u'\n').replace(u'\'', u'\n');
    const auto *const linesBegin = reinterpret_cast<const char16_t *>(lines.utf16());
    CharScan::forEach(
        linesBegin, linesBegin + lines.size(), u'\n', [&](const char16_t *p) { newlines.append(int(p - linesBegin)); });
    QCOMPARE(newlines, positions);

    const QByteArray bytes = text.toLatin1();
    found.clear();
    for (const char *p = bytes.constData(), *end = p + bytes.size();
         (p = CharScan::findAny(p, end, '>', '"', '\'')) != end; ++p) {
        found.append(int(p - bytes.constData()));
    }
    QCOMPARE(found, positions);
}

void tst_CharScan::plainStretch_data()
{
    QTest::addColumn<QString>("sixteen");
    QTest::addColumn<int>("inUtf16"); // of the first eight
    QTest::addColumn<int>("inBytes"); // of all sixteen, in Latin-1
    QTest::newRow("all-plain") << "abcdefghijklmnop" << 8 << 16;
    QTest::newRow("single-blanks-inside") << "ab cd ef gh ijkl" << 8 << 16;
    QTest::newRow("blank-first") << " bcdefghijklmnop" << 0 << 0;
    QTest::newRow("blank-last-of-eight") << "abcdefg hijklmno" << 7 << 16;
    QTest::newRow("blank-last-of-sixteen") << "abcdefghijklmno " << 8 << 15;
    QTest::newRow("two-blanks") << "abc  fghijklmnop" << 3 << 3;
    QTest::newRow("tag") << "abc<efghijklmnop" << 3 << 3;
    QTest::newRow("reference") << "a&cdefghijklmnop" << 1 << 1;
    QTest::newRow("tab") << "abc\tefghijklmnop" << 3 << 3;
    QTest::newRow("outside-ascii") << QString::fromUtf8("abcdé fghijklmno") << 4 << 4;
    QTest::newRow("blank-before-outside-ascii") << QString::fromUtf8("abcd éfghijklmno") << 4 << 4;
}

void tst_CharScan::plainStretch()
{
    QFETCH(QString, sixteen);
    QFETCH(int, inUtf16);
    QFETCH(int, inBytes);
    char out[16];
    QCOMPARE(CharScan::plainStretch(reinterpret_cast<const char16_t *>(sixteen.utf16()), out), inUtf16);
    QCOMPARE(QByteArray(out, inUtf16), sixteen.left(inUtf16).toLatin1());
    const QByteArray bytes = sixteen.toLatin1();
    QCOMPARE(CharScan::plainStretch(bytes.constData(), out), inBytes);
    QCOMPARE(QByteArray(out, inBytes), bytes.left(inBytes));
}

void tst_CharScan::isAscii_data()
{
    QTest::addColumn<int>("highByteAt"); // -1: none
    QTest::newRow("none") << -1;
    QTest::newRow("first-block") << 0;
    QTest::newRow("end-of-a-block") << 63;
    QTest::newRow("second-block") << 64;
    QTest::newRow("after-the-blocks") << 129;
}

void tst_CharScan::isAscii()
{
    QFETCH(int, highByteAt);
    QByteArray bytes(130, 'a');
    if (highByteAt >= 0) {
        bytes[highByteAt] = char(0xC3);
    }
    QCOMPARE(CharScan::isAscii(bytes.constData(), bytes.constData() + bytes.size()), highByteAt < 0);
}

QTEST_GUILESS_MAIN(tst_CharScan)
#include "tst_charscan.moc"
