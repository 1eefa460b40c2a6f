#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "base/textfile.h"
#include "support/fullfilesystem.h"

class tst_TextFile : public QObject
{
    Q_OBJECT

private slots:
    void splitLines_data();
    void splitLines();
    void invalidUtf8ReadsAsWindows1252();
    void legacyCodePage_data();
    void legacyCodePage();
    void writeAtomicReplacesWholeFile();
    void writeAtomicReadsBack_data();
    void writeAtomicReadsBack();
    void writeAtomicOwnerOnly();
    void writeAtomicFailsInMissingFolder();
    void writeAtomicKeepsOldFileWhenRefused_data();
    void writeAtomicKeepsOldFileWhenRefused();
    void readMissingFile();
};

void tst_TextFile::splitLines_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("empty") << QByteArray() << QStringList();
    QTest::newRow("crlf-only") << QByteArray("\r\n") << QStringList{QString()};
    QTest::newRow("two-records-with-blank-lines") << QByteArray("a\r\n\r\nb\r\n\r\n")
                                                  << QStringList{"a", "", "b", ""};
    QTest::newRow("no-final-line-end") << QByteArray("a\r\nb") << QStringList{"a", "b"};
    QTest::newRow("lone-cr-and-lf-end-lines") << QByteArray("a\rb\nc") << QStringList{"a", "b", "c"};
    QTest::newRow("cr-cr-lf") << QByteArray("a\r\r\nb") << QStringList{"a", "", "b"};
    QTest::newRow("utf8-bom-dropped") << QByteArray("\xEF\xBB\xBFx\r\n") << QStringList{"x"};
    const QString zwnbsp(QChar(0xFEFF));
    QTest::newRow("feff-starting-later-line-kept") << QByteArray("a\r\n\xEF\xBB\xBF" "b")
                                                   << QStringList{"a", zwnbsp + "b"};
    QTest::newRow("feff-only-line-kept") << QByteArray("a\r\n\xEF\xBB\xBF\r\nc") << QStringList{"a", zwnbsp, "c"};
    QTest::newRow("feff-after-file-bom-kept") << QByteArray("\xEF\xBB\xBF\xEF\xBB\xBFx") << QStringList{zwnbsp + "x"};
    QTest::newRow("utf8") << QByteArray("caf\xC3\xA9\r\n") << QStringList{QString::fromUtf8("caf\xC3\xA9")};
    QTest::newRow("nul-kept") << QByteArray("a\0b", 3) << QStringList{QString(QStringLiteral("a")) + QChar(0) + "b"};
}

void tst_TextFile::splitLines()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, lines);
    QCOMPARE(TextFile::splitLines(bytes), lines);
}

void tst_TextFile::invalidUtf8ReadsAsWindows1252()
{
    // "café – ok" as an old 8-bit file would hold it: é = 0xE9, en dash = 0x96.
    const QStringList lines = TextFile::splitLines(QByteArray("caf\xE9 \x96 ok\r\nnext"));
    QCOMPARE(lines.size(), 2);
    QCOMPARE(lines[0], QString(QStringLiteral("caf") + QChar(0xE9) + QStringLiteral(" ") + QChar(0x2013) + " ok"));
    QCOMPARE(lines[1], QStringLiteral("next"));
}

void tst_TextFile::legacyCodePage_data()
{
    QTest::addColumn<QString>("setting");
    QTest::addColumn<bool>("known");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");
    const QByteArray utf8 = QString::fromUtf8("Grüße").toUtf8();
    QTest::newRow("1251") << "1251" << true << QByteArray("\xCF\xF0\xE8\xE2\xE5\xF2") << QString::fromUtf8("Привет");
    QTest::newRow("windows-1251") << "windows-1251" << true << QByteArray("\xEF\xF0\xE8") << QString::fromUtf8("при");
    QTest::newRow("1250") << " 1250 " << true << QByteArray("\x8A\xE8\xF8") << QString::fromUtf8("Ščř");
    QTest::newRow("koi8-r") << "KOI8-R" << true << QByteArray("\xF0\xD2\xC9") << QString::fromUtf8("При");
    QTest::newRow("utf8-unaffected") << "1251" << true << utf8 << QString::fromUtf8("Grüße");
    QTest::newRow("unset") << "" << true << QByteArray("caf\xE9") << QString::fromUtf8("café");
    QTest::newRow("unknown-keeps-1252") << "no-such-page" << false << QByteArray("caf\xE9") << QString::fromUtf8("café");
}

void tst_TextFile::legacyCodePage()
{
    QFETCH(QString, setting);
    QFETCH(bool, known);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    const std::optional<LegacyCodePage> named = LegacyCodePage::named(setting);
    QCOMPARE(named.has_value(), known);
    const QStringList lines = TextFile::splitLines(bytes + "\r\nnext", named.value_or(LegacyCodePage()));
    QCOMPARE(lines, (QStringList{text, "next"}));
}

void tst_TextFile::writeAtomicReplacesWholeFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("x.txt");
    QVERIFY(TextFile::writeAtomic(path, QStringLiteral("a long first version\r\n")));
    QVERIFY(TextFile::writeAtomic(path, QString::fromUtf8("b\xC3\xA9\r\n")));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("b\xC3\xA9\r\n"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"x.txt"});
}

void tst_TextFile::writeAtomicReadsBack_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");
    const QString zwnbsp(QChar(0xFEFF));
    QTest::newRow("plain") << "a\r\n" << QByteArray("a\r\n");
    QTest::newRow("feff-first-gets-a-mark-before-it")
        << zwnbsp + "a\r\n" << QByteArray("\xEF\xBB\xBF\xEF\xBB\xBF" "a\r\n");
    QTest::newRow("feff-later-written-as-is") << "a\r\n" + zwnbsp + "\r\n" << QByteArray("a\r\n\xEF\xBB\xBF\r\n");
}

void tst_TextFile::writeAtomicReadsBack()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    QTemporaryDir dir;
    const QString path = dir.filePath("x.txt");
    QVERIFY(TextFile::writeAtomic(path, text));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), bytes);
    QCOMPARE(TextFile::readLines(path), text.split(TextFile::crlf, Qt::SkipEmptyParts));
}

void tst_TextFile::writeAtomicOwnerOnly()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("secret.txt");
    QVERIFY(TextFile::append(path, "old\r\n"));
    QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadOther);
    QVERIFY(TextFile::writeAtomic(path, QStringLiteral("new\r\n"), nullptr, true));
    const QFileDevice::Permissions perms = QFile::permissions(path);
    QVERIFY(perms.testFlags(QFileDevice::ReadOwner | QFileDevice::WriteOwner));
    QCOMPARE(int(perms & 0x00FF), 0); // nothing for the group or others
}

void tst_TextFile::writeAtomicFailsInMissingFolder()
{
    QTemporaryDir dir;
    QString error;
    QVERIFY(!TextFile::writeAtomic(dir.filePath("missing/x.txt"), QStringLiteral("a"), &error));
    QVERIFY(!error.isEmpty());
}

void tst_TextFile::writeAtomicKeepsOldFileWhenRefused_data()
{
    QTest::addColumn<QString>("trouble");
    QTest::addColumn<QString>("reason");
    QTest::newRow("full-disk") << "full" << "No space left on device";
    QTest::newRow("read-only-disk") << "read-only" << "Read-only file system";
    QTest::newRow("file-size-limit") << "size-limit" << "File too large";
}

void tst_TextFile::writeAtomicKeepsOldFileWhenRefused()
{
    QFETCH(QString, trouble);
    QFETCH(QString, reason);
    FullFileSystem disk;
    QVERIFY(disk.isMounted());
    const QString path = disk.filePath("x.txt");
    const QByteArray old("the old contents\r\n");
    QVERIFY(TextFile::append(path, old));
    if (trouble == "full") {
        disk.fill();
    } else if (trouble == "read-only") {
        disk.makeReadOnly();
    } else {
        disk.limitFileSize();
    }
    QString error;
    QVERIFY(!TextFile::writeAtomic(path, QStringLiteral("new"), &error));
    QVERIFY2(error.contains(reason), qPrintable(error));
    disk.release();
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), old);
    // Nothing is left behind beside it.
    QCOMPARE(QDir(disk.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"x.txt"});
}

void tst_TextFile::readMissingFile()
{
    bool ok = true;
    QVERIFY(TextFile::readLines(QStringLiteral("/nonexistent/postavo/x.txt"), &ok).isEmpty());
    QVERIFY(!ok);
}

QTEST_GUILESS_MAIN(tst_TextFile)
#include "tst_textfile.moc"
