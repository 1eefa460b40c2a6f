#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "ui/skinfile.h"

class TestSkinFile : public QObject
{
    Q_OBJECT

private slots:
    void colour_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<uint>("rgb");
        QTest::newRow("hash") << "#12abEF" << true << 0x12abefu;
        QTest::newRow("no-hash") << "ff0000" << true << 0xff0000u;
        QTest::newRow("trailing-comment") << "#000080   navy" << true << 0x000080u;
        QTest::newRow("short-form-rejected") << "#fff" << false << 0u;
        QTest::newRow("not-hex") << "#gg0000" << false << 0u;
        QTest::newRow("too-long") << "#1234567" << false << 0u;
        QTest::newRow("sign-rejected") << "+12345" << false << 0u;
        QTest::newRow("empty") << "" << false << 0u;
    }

    void colourDigit_data()
    {
        QTest::addColumn<QChar>("c");
        QTest::addColumn<bool>("digit");
        QTest::newRow("zero") << QChar(u'0') << true;
        QTest::newRow("nine") << QChar(u'9') << true;
        QTest::newRow("lower-f") << QChar(u'f') << true;
        QTest::newRow("upper-a") << QChar(u'A') << true;
        QTest::newRow("g") << QChar(u'g') << false;
        QTest::newRow("hash") << QChar(u'#') << false;
        QTest::newRow("latin-small-ae") << QChar(0xE6) << false;
        // The C library's table, read beyond its 256 entries, claims this one.
        QTest::newRow("u374c-beyond-byte-range") << QChar(0x374C) << false;
        QTest::newRow("fullwidth-one") << QChar(0xFF11) << false;
        QTest::newRow("arabic-indic-five") << QChar(0x0665) << false;
    }

    void colourDigit()
    {
        QFETCH(QChar, c);
        QTEST(isSkinColourDigit(c), "digit");
    }

    void colour()
    {
        QFETCH(QString, text);
        QFETCH(bool, valid);
        QFETCH(uint, rgb);
        const std::optional<quint32> parsed = parseSkinColour(text);
        QCOMPARE(parsed.has_value(), valid);
        if (valid) {
            QCOMPARE(*parsed, quint32(rgb));
        }
    }

    void fullFile()
    {
        const std::optional<SkinFile> skin = parseSkinText(QStringLiteral("; a comment\r\n"
                                                                          "# another\r\n"
                                                                          "[other]\r\n"
                                                                          "colour2=#ffffff\r\n"
                                                                          "  [ Skin ]  \r\n"
                                                                          "Name = Harbour\r\n"
                                                                          "COLOUR2=#010203\r\n"
                                                                          "colour3 = #040506\r\n"
                                                                          "colour4=#070809\r\n"
                                                                          "colour5=#0a0b0c\r\n"
                                                                          "colour6=#0d0e0f\r\n"
                                                                          "window=#101112\r\n"
                                                                          "windowText=#131415\r\n"));
        QVERIFY(skin);
        QCOMPARE(skin->name, QStringLiteral("Harbour"));
        QCOMPARE(skin->colour(2), std::optional<quint32>(0x010203));
        QCOMPARE(skin->colour(3), std::optional<quint32>(0x040506));
        QCOMPARE(skin->colour(4), std::optional<quint32>(0x070809));
        QCOMPARE(skin->colour(5), std::optional<quint32>(0x0a0b0c));
        QVERIFY(!skin->colour(1));
        QVERIFY(!skin->colour(6));
        QCOMPARE(skin->window, std::optional<quint32>(0x101112));
        QCOMPARE(skin->windowText, std::optional<quint32>(0x131415));
    }

    void missingAndBadMembersStayUnset()
    {
        const std::optional<SkinFile> skin = parseSkinText(QStringLiteral("[skin]\ncolour2=#010203\ncolour3=blue\n"));
        QVERIFY(skin);
        QCOMPARE(skin->colour(2), std::optional<quint32>(0x010203));
        QVERIFY(!skin->colour(3));
        QVERIFY(!skin->colour(4));
        QVERIFY(!skin->window);
    }

    void keysOutsideTheSkinSectionAreSkipped()
    {
        const std::optional<SkinFile> skin = parseSkinText(QStringLiteral("[skin]\n[colours]\ncolour2=#010203\n"));
        QVERIFY(skin);
        QVERIFY(!skin->colour(2));
    }

    void textWithoutSkinSectionIsNoSkin()
    {
        QVERIFY(!parseSkinText(QStringLiteral("colour2=#010203\n")));
        QVERIFY(!parseSkinText(QString()));
        QVERIFY(!parseSkinText(QString::fromLatin1(QByteArray(300, '\xff'))));
    }

    void readsFiles()
    {
        QTemporaryDir tmp;
        QVERIFY(tmp.isValid());
        const QString path = tmp.filePath(QStringLiteral("test.skin"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("[skin]\nname=T\ncolour4=#abcdef\n");
        file.close();

        QString error;
        const std::optional<SkinFile> skin = readSkinFile(path, &error);
        QVERIFY2(skin, qPrintable(error));
        QCOMPARE(skin->colour(4), std::optional<quint32>(0xabcdef));

        QVERIFY(!readSkinFile(tmp.filePath(QStringLiteral("missing.skin")), &error));
        QVERIFY(!error.isEmpty());
    }

    void oversizedFileIsRefused()
    {
        QTemporaryDir tmp;
        const QString path = tmp.filePath(QStringLiteral("big.skin"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("[skin]\ncolour2=#010203\n");
        file.write(QByteArray(maxSkinFileSize, ';'));
        file.close();
        QString error;
        QVERIFY(!readSkinFile(path, &error));
        QVERIFY(!error.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestSkinFile)
#include "tst_skinfile.moc"
