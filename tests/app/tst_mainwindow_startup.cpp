#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListView>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QRegularExpression>
#include <QTest>
#include <QToolButton>
#include <memory>

#include "app/programcontext.h"
#include "app/mainwindow.h"
#include "base/settingsstore.h"
#include "links/linkformats.h"
#include "support/modalwatcher.h"
#include "forums/ownposts.h"
#include "forums/forums.h"
#include "messages/messagepanel.h"
#include "support/controls.h"
#include "replies/checksettings.h"
#include "support/unreadablefile.h"
#include "support/mainwindowparts.h"

// One program's worth of state in a temporary folder: data files, settings and link formats.
struct Workspace
{
    QTemporaryDir dir;
    SettingsStore settings{dir.filePath("Postavo.ini")};
    LinkFormatTable formats;
    ProgramContext context{{DataFolder(dir.filePath("data")), &settings}, &formats};

    Workspace() { QDir(dir.path()).mkdir("data"); }
    QString dataFile(const QString &name) const { return dir.filePath("data/" + name); }
};

static QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

class tst_MainWindowStartup : public QObject
{
    Q_OBJECT

private slots:
    void firstRun();
    void storedMessageReplacesInitialText_data();
    void storedMessageReplacesInitialText();
    void rememberedFormat_data();
    void rememberedFormat();
    void shutDownWritesMessageAndFormat();
    void unwritableDataFolderEndsStartUp();
    void saveMessageRecreatesRemovedFile();
    void subjectIsStoredAsTyped();
    void keptFilesComeBackUnchanged();
    void legacyCodePageIsReadAtStartUp();
    void unreadableFilesToldOnceAtStartUp_data();
    void unreadableFilesToldOnceAtStartUp();
};

void tst_MainWindowStartup::firstRun()
{
    Workspace ws;
    MainWindow window(ws.context);
    QVERIFY(window.startUp());

    for (const char *name : {"htmltemp.txt", "messages.txt", "posts.txt", "posts2.txt", "sizes.txt"}) {
        QCOMPARE(fileBytes(ws.dataFile(QLatin1String(name))), QByteArray("\r\n"));
    }
    QCOMPARE(window.windowTitle(), QStringLiteral("Postavo by Lantern Hill Software"));
    QCOMPARE(control<QToolButton>(window, "visitButton")->text(), QStringLiteral("Visit www.postavo.example.com"));
    QCOMPARE(control<QLineEdit>(window, "messageEditor/subjectEdit")->text(), QStringLiteral("Type Subject Here"));
    QCOMPARE(messageText(window), MessagePanel::initialMessageText());
    QVERIFY(messageText(window).startsWith("Type your first message here.  \r\n\r\nUse plain-text"));
    QVERIFY(messageText(window).contains("and hit the \"Insert Message\" button \r\n"));
    QVERIFY(messageText(window).endsWith("value in the drop down box above.\r\n"));
    QCOMPARE(MessagePanel::initialMessageText().count("\r\n"), 12);
    QCOMPARE(control<QComboBox>(window, "formatSelector")->currentIndex(), 0);
    QCOMPARE(control<QComboBox>(window, "formatSelector")->currentText(), QStringLiteral("text"));
    QCOMPARE(control<QComboBox>(window, "formatSelector")->count(), 4);
}

void tst_MainWindowStartup::storedMessageReplacesInitialText_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<bool>("replaces");
    QTest::newRow("one-blank-keeps-initial") << " " << false;
    QTest::newRow("empty-keeps-initial") << "" << false;
    QTest::newRow("two-blanks-replace") << "  " << true;
    QTest::newRow("multi-line") << "hello\r\nworld\r\n" << true;
}

void tst_MainWindowStartup::storedMessageReplacesInitialText()
{
    QFETCH(QString, stored);
    QFETCH(bool, replaces);
    Workspace ws;
    ws.settings.write("data", "lastMessage", stored);
    ws.settings.write("data", "lastSubject", "My subject");
    MainWindow window(ws.context);
    QVERIFY(window.startUp());
    QCOMPARE(messageText(window), replaces ? stored : MessagePanel::initialMessageText());
    QCOMPARE(control<QLineEdit>(window, "messageEditor/subjectEdit")->text(), QStringLiteral("My subject"));
}

void tst_MainWindowStartup::rememberedFormat_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("selected");
    QTest::newRow("position-2") << "2" << "ubb";
    QTest::newRow("last-position") << "3" << "ezboard";
    QTest::newRow("beyond-the-list") << "7" << "text";
    QTest::newRow("negative") << "-1" << "text";
    QTest::newRow("not-a-number") << "html" << "text";
    QTest::newRow("empty") << "" << "text";
}

void tst_MainWindowStartup::rememberedFormat()
{
    QFETCH(QString, stored);
    QFETCH(QString, selected);
    Workspace ws;
    ws.settings.write("data", "lastConvert", stored);
    MainWindow window(ws.context);
    QVERIFY(window.startUp());
    QCOMPARE(control<QComboBox>(window, "formatSelector")->currentText(), selected);
}

void tst_MainWindowStartup::shutDownWritesMessageAndFormat()
{
    Workspace ws;
    {
        MainWindow window(ws.context);
        QVERIFY(window.startUp());
        setMessageText(window, "line one\r\nline two");
        control<QComboBox>(window, "formatSelector")->setCurrentIndex(1);
        window.show();
        window.close();
    }
    QCOMPARE(ws.settings.read("data", "lastMessage", "?"), QStringLiteral("line one\r\nline two"));
    QCOMPARE(ws.settings.read("data", "lastConvert", "?"), QStringLiteral("1"));

    MainWindow again(ws.context);
    QVERIFY(again.startUp());
    QCOMPARE(messageText(again), QStringLiteral("line one\r\nline two"));
    QCOMPARE(control<QComboBox>(again, "formatSelector")->currentText(), QStringLiteral("html"));
}

void tst_MainWindowStartup::unwritableDataFolderEndsStartUp()
{
    QTemporaryDir dir;
    SettingsStore settings(dir.filePath("Postavo.ini"));
    LinkFormatTable formats;
    ProgramContext context{{DataFolder(dir.filePath("no/such/folder")), &settings}, &formats};
    ModalWatcher watcher;
    MainWindow window(context);
    QVERIFY(!window.startUp());
    QCOMPARE(watcher.texts.size(), 1);
    QVERIFY(watcher.texts.first().contains(dir.filePath("no/such/folder")));
}

void tst_MainWindowStartup::saveMessageRecreatesRemovedFile()
{
    Workspace ws;
    MainWindow window(ws.context);
    QVERIFY(window.startUp());
    QVERIFY(QFile::remove(ws.dataFile("messages.txt")));
    setMessageText(window, "a\r\nb");
    control<QLineEdit>(window, "messageEditor/subjectEdit")->setText("subj");
    control<QToolButton>(window, "saveButton")->click();
    QCOMPARE(panelText(window, 1), QStringLiteral("MESSAGE SAVED"));
    QCOMPARE(fileBytes(ws.dataFile("messages.txt")), QByteArray("a[br]b|subj\r\n"));
}

void tst_MainWindowStartup::subjectIsStoredAsTyped()
{
    Workspace ws;
    MainWindow window(ws.context);
    QVERIFY(window.startUp());
    QTRY_COMPARE(ws.settings.read("data", "lastSubject", "?"), QStringLiteral("Type Subject Here"));
    control<QLineEdit>(window, "messageEditor/subjectEdit")->clear();
    // Keys come faster than the file is written: each one does not rewrite it, but the text reaches it soon.
    QTest::keyClicks(control<QLineEdit>(window, "messageEditor/subjectEdit"), "Hi there");
    QCOMPARE(ws.settings.read("data", "lastSubject", "?"), QStringLiteral("Type Subject Here"));
    QTRY_COMPARE_WITH_TIMEOUT(ws.settings.read("data", "lastSubject", "?"), QStringLiteral("Hi there"), 1000);
    // The last keys before the end reach the file with the shut-down.
    QTest::keyClicks(control<QLineEdit>(window, "messageEditor/subjectEdit"), "!");
    window.shutDown();
    QVERIFY(fileBytes(ws.dir.filePath("Postavo.ini")).contains("lastSubject=Hi there!"));
}

// Files as version 1.0.0 wrote them are read and written back byte for byte.
void tst_MainWindowStartup::keptFilesComeBackUnchanged()
{
    const QDir kept(QStringLiteral(POSTAVO_KEPT_DATA "/written-by-1.0"));
    const QStringList names{"Postavo.ini", "data/htmltemp.txt", "data/messages.txt", "data/posts.txt",
                            "data/posts2.txt", "data/sizes.txt"};
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir("data"));
    for (const QString &name : names) {
        QVERIFY2(QFile::copy(kept.filePath(name), dir.filePath(name)), qPrintable(name));
    }
    SettingsStore settings(dir.filePath("Postavo.ini"));
    LinkFormatTable formats;
    ProgramContext context{{DataFolder(dir.filePath("data")), &settings}, &formats};
    {
        MainWindow window(context);
        QVERIFY(window.startUp());
        QCOMPARE(control<MessagePanel>(window, "messageEditor")->subject(), QStringLiteral("Ein Betreff | mit Strich"));
        QCOMPARE(control<QComboBox>(window, "formatSelector")->currentText(), QStringLiteral("bbcode spezial"));
        QCOMPARE(control<OwnPosts>(window, {})->sizes(), (QStringList{"12345", "unmeasured", "unmeasured"}));
        QCOMPARE(control<Forums>(window, {})->count(), 3);
        QCOMPARE(rowCount(control<QListView>(window, "postList")), 3);
        setCurrentRow(control<QListView>(window, "forumList"), 2);
        QCOMPARE(control<QLineEdit>(window, "usernameEdit")->text(), QStringLiteral("bob|b"));
        QCOMPARE(control<QLineEdit>(window, "passwordEdit")->text(), QStringLiteral("pa|ss\r\nword%"));
        // What "Save and Close" in the options writes, in its order.
        CheckSettings::storeTimeValues(settings, CheckSettings::timeValues(settings));
        CheckSettings::storeThreshold(settings, CheckSettings::thresholdText(settings));
        formats.save(settings);
        window.shutDown();
    }
    for (const QString &name : names) {
        // The window's place joins the settings in a section of its own; every kept line stays as it was.
        const QByteArray now = QString::fromUtf8(fileBytes(dir.filePath(name)))
                                   .remove(QRegularExpression("\\[Window\\]\n(?:[^\n]+\n)*\n?"))
                                   .toUtf8();
        QCOMPARE(now, fileBytes(kept.filePath(name)));
    }
}

// A forum list from an old Cyrillic system, with the code page set: the login reads as it was typed.
void tst_MainWindowStartup::legacyCodePageIsReadAtStartUp()
{
    Workspace ws;
    QFile file(ws.dataFile("posts2.txt"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("http://forum.example/|\xCF\xF0\xE8\xE2\xE5\xF2|pw\r\n\r\n");
    file.close();
    ws.settings.write("Settings", "legacyCodePage", "1251");
    MainWindow window(ws.context);
    QVERIFY(window.startUp());
    QCOMPARE(control<Forums>(window, {})->logins(), QStringList{QString::fromUtf8("Привет|pw")});
    window.shutDown();
    QCOMPARE(fileBytes(ws.dataFile("posts2.txt")), QString::fromUtf8("http://forum.example/|Привет|pw\r\n\r\n").toUtf8());
}

// A data file that is there but cannot be read is named, with why, in one box as the window starts: the user
// learns it before typing a message that Save could not keep.
void tst_MainWindowStartup::unreadableFilesToldOnceAtStartUp_data()
{
    QTest::addColumn<QStringList>("unreadable");
    QTest::newRow("messages") << QStringList { "messages.txt" };
    QTest::newRow("posts") << QStringList { "posts.txt" };
    QTest::newRow("messages-and-forums") << QStringList { "messages.txt", "posts2.txt" };
}

void tst_MainWindowStartup::unreadableFilesToldOnceAtStartUp()
{
    QFETCH(QStringList, unreadable);
    Workspace ws;
    for (const QString &name : unreadable) {
        QFile file(ws.dataFile(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("kept line|kept\r\n");
    }
    // The settings beside the data folder stay writable for the ordinary user the files are denied to.
    QVERIFY(QFile::setPermissions(ws.dir.path(), QFileDevice::Permissions(0x7777)));
    QStringList paths;
    for (const QString &name : unreadable) {
        paths.append(ws.dataFile(name));
    }
    auto denied = std::make_unique<UnreadableFile>(paths);
    ModalWatcher boxes;
    MainWindow window(ws.context);
    QVERIFY(window.startUp());
    QTRY_COMPARE(boxes.texts.size(), 1);
    for (const QString &name : unreadable) {
        QVERIFY2(boxes.texts.first().contains(ws.dataFile(name) + ": "), qPrintable(boxes.texts.first()));
    }
    QTest::qWait(100);
    QCOMPARE(boxes.texts.size(), 1);
    denied.reset();
    for (const QString &name : unreadable) {
        QCOMPARE(fileBytes(ws.dataFile(name)), QByteArray("kept line|kept\r\n"));
    }
}

QTEST_MAIN(tst_MainWindowStartup)
#include "tst_mainwindow_startup.moc"
