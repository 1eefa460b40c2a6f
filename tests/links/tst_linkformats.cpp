#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "base/settingsstore.h"
#include "links/linkconversion.h"
#include "links/linkformats.h"

class tst_LinkFormats : public QObject
{
    Q_OBJECT

private slots:
    void freshStoreGivesDefaults();
    void freshStoreListsPredefinedFormats();
    void emptyStoredValueIsNotReplacedByDefault();
    void emptiedPredefinedNameStaysGoneAfterRestart();
    void customNameTakesItsRowPosition();
    void saveWritesEveryKeyInOrder();
    void savedValuesRoundTripExactly_data();
    void savedValuesRoundTripExactly();
    void duplicateNamesPickTheLowerRow();
    void rowNamedTextMatchesTheTextEntry();
    void emptySelectorTextMatchesRowWithEmptyName();
};

void tst_LinkFormats::freshStoreGivesDefaults()
{
    QTemporaryDir dir;
    SettingsStore settings(dir.filePath("Postavo.ini"));
    LinkFormatTable table;
    for (int row = 0; row < LinkFormatTable::rowCount; ++row) {
        table[row].Name = QStringLiteral("junk");
    }
    table.load(settings);

    QCOMPARE(table[0].Name, QStringLiteral("html"));
    QCOMPARE(table[0].LinkOpen01, QStringLiteral("<a href='"));
    QCOMPARE(table[0].LinkOpen02, QStringLiteral("'>"));
    QCOMPARE(table[0].LinkClose01, QStringLiteral("</a>"));
    QCOMPARE(table[0].MailCall01, QStringLiteral("mailto:"));
    QCOMPARE(table[1].Name, QStringLiteral("ubb"));
    QCOMPARE(table[1].LinkOpen01, QStringLiteral("[url="));
    QCOMPARE(table[1].LinkOpen02, QStringLiteral("]"));
    QCOMPARE(table[1].LinkClose01, QStringLiteral("[/url]"));
    QCOMPARE(table[1].MailCall01, QStringLiteral("mailto:"));
    QCOMPARE(table[2].Name, QStringLiteral("ezboard"));
    QCOMPARE(table[2].LinkOpen01, QStringLiteral("[link="));
    QCOMPARE(table[2].LinkOpen02, QStringLiteral("]"));
    QCOMPARE(table[2].LinkClose01, QStringLiteral("[/link]"));
    QCOMPARE(table[2].MailCall01, QStringLiteral("mailto:"));
    for (int row = 3; row < LinkFormatTable::rowCount; ++row) {
        QCOMPARE(table[row].Name, QString());
        QCOMPARE(table[row].LinkOpen01, QString());
        QCOMPARE(table[row].LinkOpen02, QString());
        QCOMPARE(table[row].LinkClose01, QString());
        QCOMPARE(table[row].MailCall01, QString());
    }
    // Loading only reads.
    QVERIFY(!QFile::exists(dir.filePath("Postavo.ini")));
}

void tst_LinkFormats::freshStoreListsPredefinedFormats()
{
    QTemporaryDir dir;
    SettingsStore settings(dir.filePath("Postavo.ini"));
    LinkFormatTable table;
    table.load(settings);
    QCOMPARE(table.selectorEntries(), QStringList({ "text", "html", "ubb", "ezboard" }));
}

void tst_LinkFormats::emptyStoredValueIsNotReplacedByDefault()
{
    QTemporaryDir dir;
    SettingsStore settings(dir.filePath("Postavo.ini"));
    settings.write("data", "ubbLinkOpen01", "");
    settings.write("data", "htmlMailCall01", "");
    LinkFormatTable table;
    table.load(settings);
    QCOMPARE(table[1].LinkOpen01, QString());
    QCOMPARE(table[0].MailCall01, QString());
    QCOMPARE(table[1].LinkOpen02, QStringLiteral("]"));
}

void tst_LinkFormats::emptiedPredefinedNameStaysGoneAfterRestart()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("Postavo.ini");
    {
        SettingsStore settings(path);
        LinkFormatTable table;
        table.load(settings);
        table[1].Name.clear();
        table.save(settings);
        QCOMPARE(table.selectorEntries(), QStringList({ "text", "html", "ezboard" }));
    }
    SettingsStore settings(path);
    LinkFormatTable table;
    table.load(settings);
    QCOMPARE(table[1].Name, QString());
    QCOMPARE(table[1].LinkOpen01, QStringLiteral("[url="));
    QCOMPARE(table.selectorEntries(), QStringList({ "text", "html", "ezboard" }));
}

void tst_LinkFormats::customNameTakesItsRowPosition()
{
    QTemporaryDir dir;
    SettingsStore settings(dir.filePath("Postavo.ini"));
    settings.write("data", "cust05Name", "five");
    settings.write("data", "cust03Name", "three");
    LinkFormatTable table;
    table.load(settings);
    QCOMPARE(table.selectorEntries(), QStringList({ "text", "html", "ubb", "ezboard", "three", "five" }));
    settings.write("data", "cust01Name", "one");
    table.load(settings);
    QCOMPARE(table.selectorEntries(), QStringList({ "text", "html", "ubb", "ezboard", "one", "three", "five" }));
}

void tst_LinkFormats::saveWritesEveryKeyInOrder()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("Postavo.ini");
    SettingsStore settings(path);
    LinkFormatTable table;
    table.load(settings);
    for (int row = 3; row < LinkFormatTable::rowCount; ++row) {
        table[row].LinkOpen02 = QStringLiteral("row%1").arg(row);
    }

    // clang-format off
    const QStringList expectedKeys = {
        "htmlName", "htmlLinkOpen01", "htmlLinkOpen02", "htmlLinkClose01", "htmlMailCall01",
        "ubbName", "ubbLinkOpen01", "ubbLinkOpen02", "ubbLinkClose01", "ubbMailCall01",
        "ezName", "ezLinkOpen01", "ezLinkOpen02", "ezLinkClose01", "ezMailCall01",
        "cust01Name", "cust01LinkOpen01", "cust01LinkOpen02", "cust01LinkClose01", "cust01MailCall01",
        "cust02Name", "cust02LinkOpen01", "cust02LinkOpen02", "cust02LinkClose01", "cust02MailCall01",
        "cust03Name", "cust03LinkOpen01", "cust03LinkOpen02", "cust03LinkClose01", "cust03MailCall01",
        "cust04Name", "cust04LinkOpen01", "cust04LinkOpen02", "cust04LinkClose01", "cust04MailCall01",
        "cust05Name", "cust05LinkOpen01", "cust05LinkOpen02", "cust05LinkClose01", "cust05MailCall01"};
    // clang-format on
    const auto values = table.storedValues();
    QStringList keys;
    for (const auto &value : values) {
        keys.append(value.first);
    }
    QCOMPARE(keys, expectedKeys);
    QCOMPARE(values.at(expectedKeys.indexOf("cust03LinkOpen02")).second, QStringLiteral("row5"));
    QCOMPARE(values.at(expectedKeys.indexOf("ezName")).second, QStringLiteral("ezboard"));

    // Unchanged defaults and empty custom fields are written too.
    table.save(settings);
    SettingsStore reread(path);
    for (const auto &[key, value] : values) {
        QCOMPARE(reread.read("data", key, QStringLiteral("<absent>")), value);
    }
}

void tst_LinkFormats::savedValuesRoundTripExactly_data()
{
    QTest::addColumn<QString>("value");
    QTest::newRow("leading-and-trailing-blanks") << " <a href=' ";
    QTest::newRow("comma-list") << "a, b,c";
    QTest::newRow("at-sign-first") << "@mail";
    QTest::newRow("quotes-and-backslash") << "\"x\" \\ 'y'";
    QTest::newRow("line-break") << "[url]\r\n";
    QTest::newRow("ini-syntax") << "[data]\nx=1;#";
}

void tst_LinkFormats::savedValuesRoundTripExactly()
{
    QFETCH(QString, value);
    QTemporaryDir dir;
    const QString path = dir.filePath("Postavo.ini");
    {
        SettingsStore settings(path);
        LinkFormatTable table;
        table.load(settings);
        table[4].Name = value;
        table[0].LinkOpen01 = value;
        table.save(settings);
    }
    SettingsStore settings(path);
    LinkFormatTable table;
    table.load(settings);
    QCOMPARE(table[4].Name, value);
    QCOMPARE(table[0].LinkOpen01, value);
    QCOMPARE(table[0].LinkOpen02, QStringLiteral("'>"));
}

void tst_LinkFormats::duplicateNamesPickTheLowerRow()
{
    LinkFormatTable table;
    table[6].Name = QStringLiteral("forum");
    table[6].LinkOpen01 = QStringLiteral("six");
    table[4].Name = QStringLiteral("forum");
    table[4].LinkOpen01 = QStringLiteral("four");
    QCOMPARE(table.selectorEntries(), QStringList({ "text", "html", "ubb", "ezboard", "forum", "forum" }));
    QCOMPARE(table.findByName(QStringLiteral("forum")), &table[4]);
    QCOMPARE(table.findByName(QStringLiteral("Forum")), nullptr);

    table[1].Name = QStringLiteral("html");
    QCOMPARE(table.findByName(QStringLiteral("html")), &table[0]);
}

void tst_LinkFormats::rowNamedTextMatchesTheTextEntry()
{
    LinkFormatTable table;
    QCOMPARE(table.findByName(QStringLiteral("text")), nullptr);
    QCOMPARE(convertMessage(QStringLiteral("see http://x.y"), QStringLiteral("text"), table),
        QStringLiteral("see http://x.y"));

    table[5].Name = QStringLiteral("text");
    table[5].LinkOpen01 = QStringLiteral("<");
    table[5].LinkOpen02 = QStringLiteral("|");
    table[5].LinkClose01 = QStringLiteral(">");
    QCOMPARE(table.findByName(QStringLiteral("text")), &table[5]);
    QCOMPARE(table.selectorEntries(), QStringList({ "text", "html", "ubb", "ezboard", "text" }));
    QCOMPARE(convertMessage(QStringLiteral("see http://x.y"), QStringLiteral("text"), table),
        QStringLiteral("see <http://x.y|http://x.y>"));
}

void tst_LinkFormats::emptySelectorTextMatchesRowWithEmptyName()
{
    LinkFormatTable table;
    QCOMPARE(table.findByName(QString()), &table[3]);
    table[3].LinkOpen01 = QStringLiteral("[");
    table[3].LinkClose01 = QStringLiteral("]");
    QCOMPARE(convertMessage(QStringLiteral("http://x.y"), QString(), table), QStringLiteral("[http://x.yhttp://x.y]"));

    for (int row = 3; row < LinkFormatTable::rowCount; ++row) {
        table[row].Name = QStringLiteral("named");
    }
    QCOMPARE(table.findByName(QString()), nullptr);
    QCOMPARE(convertMessage(QStringLiteral("http://x.y"), QString(), table), QStringLiteral("http://x.y"));
}

QTEST_GUILESS_MAIN(tst_LinkFormats)
#include "tst_linkformats.moc"
