#include <QTest>

#include "base/charscan.h"

Q_DECLARE_METATYPE(CharScan::Encoding)

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
    void encoding_data();
    void encoding();
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

void tst_CharScan::encoding_data()
{
    QTest::addColumn<int>("at"); // where the bytes go in 130 ASCII bytes
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<CharScan::Encoding>("encoding");
    using CharScan::Encoding;
    QTest::newRow("ascii") << 0 << QByteArray() << Encoding::Ascii;
    QTest::newRow("two-bytes-first") << 0 << QByteArray("\xC3\xA9") << Encoding::Utf8;
    QTest::newRow("three-bytes-across-a-step") << 15 << QByteArray("\xE2\x80\x99") << Encoding::Utf8;
    QTest::newRow("four-bytes-across-a-block") << 62 << QByteArray("\xF0\x9F\x98\x80") << Encoding::Utf8;
    QTest::newRow("after-the-blocks") << 128 << QByteArray("\xC3\xA9") << Encoding::Utf8;
    QTest::newRow("cut-at-the-end") << 129 << QByteArray("\xC3") << Encoding::Other;
    QTest::newRow("latin1") << 64 << QByteArray("caf\xE9 x") << Encoding::Other;
    QTest::newRow("lone-continuation") << 3 << QByteArray("\x80") << Encoding::Other;
    QTest::newRow("overlong-two") << 3 << QByteArray("\xC1\xBF") << Encoding::Other;
    QTest::newRow("overlong-three") << 3 << QByteArray("\xE0\x9F\xBF") << Encoding::Other;
    QTest::newRow("surrogate") << 3 << QByteArray("\xED\xA0\x80") << Encoding::Other;
    QTest::newRow("past-u10ffff") << 3 << QByteArray("\xF4\x90\x80\x80") << Encoding::Other;
    QTest::newRow("continuation-missing") << 3 << QByteArray("\xE2\x80z") << Encoding::Other;
}

void tst_CharScan::encoding()
{
    QFETCH(int, at);
    QFETCH(QByteArray, bytes);
    QFETCH(CharScan::Encoding, encoding);
    QByteArray text(130, 'a');
    text.replace(at, bytes.size(), bytes);
    const char *const end = text.constData() + text.size();
    QCOMPARE(CharScan::encodingOf(text.constData(), end), encoding);
    QCOMPARE(CharScan::isAscii(text.constData(), end), encoding == CharScan::Encoding::Ascii);
    // What the scan calls UTF-8 decodes without a replacement character.
    QCOMPARE(encoding != CharScan::Encoding::Other, !QString::fromUtf8(text).contains(QChar::ReplacementCharacter));
}

QTEST_GUILESS_MAIN(tst_CharScan)
#include "tst_charscan.moc"
