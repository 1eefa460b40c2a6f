#include <QRandomGenerator>
#include <QTest>

#include <xxhash.h>

#include "base/bytehash.h"

// The hash is built twice, for AVX2 and for any processor, and chosen at run time: either must give what the
// library gives, or the chunks kept on one computer would not be found on another.
class tst_ByteHash : public QObject
{
    Q_OBJECT

private slots:
    void sameAsTheLibrary_data();
    void sameAsTheLibrary();
};

void tst_ByteHash::sameAsTheLibrary_data()
{
    QTest::addColumn<int>("offset"); // from an aligned start
    QTest::addColumn<int>("length");
    // Lengths at the edges of the ways XXH3 takes: up to 3, 8, 16, 128 and 240 bytes, stripes, blocks.
    for (const int length : { 0, 1, 3, 4, 8, 9, 16, 17, 128, 129, 240, 241, 1024, 1025, 2048, 100000 }) {
        for (const int offset : { 0, 7 }) {
            QTest::addRow("%d-bytes-at-%d", length, offset) << offset << length;
        }
    }
}

void tst_ByteHash::sameAsTheLibrary()
{
    QFETCH(int, offset);
    QFETCH(int, length);
    QByteArray bytes(offset + length + 4, 0);
    QRandomGenerator(quint32(length)).fillRange(reinterpret_cast<quint32 *>(bytes.data()), bytes.size() / 4);
    const char *const data = bytes.constData() + offset;
    QCOMPARE(ByteHash::of(data, length), quint64(XXH3_64bits(data, size_t(length))));
}

QTEST_GUILESS_MAIN(tst_ByteHash)
#include "tst_bytehash.moc"
