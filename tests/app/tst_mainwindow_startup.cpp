#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include "app/appcontext.h"
#include "app/form1.h"
#include "app/settingsstore.h"
#include "links/linkformats.h"
#include "support/modalwatcher.h"

// One program's worth of state in a temporary folder: data files, settings and link formats.
struct Workspace
{
    QTemporaryDir dir;
    SettingsStore settings{dir.filePath("Postavo.ini")};
    LinkFormatTable formats;
    AppContext context{DataFolder(dir.filePath("data")), &settings, &formats};

    Workspace() { QDir(dir.path()).mkdir("data"); }
    QString dataFile(const QString &name) const { return dir.filePath("data/" + name); }
};

static QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

class tst_Form1Startup : public QObject
{
    Q_OBJECT

private slots:
    void firstRun();
    void storedMessageReplacesInitialText_data();
    void storedMessageReplacesInitialText();
    void rememberedFormat_data();
    void rememberedFormat();
    void unloadWritesMessageAndFormat();
    void unwritableDataFolderEndsStartUp();
    void saveMessageRecreatesRemovedFile();
    void subjectIsStoredAsTyped();
};

void tst_Form1Startup::firstRun()
{
    Workspace ws;
    Form1 window(ws.context);
    QVERIFY(window.Form_Load());

    for (const char *name : {"htmltemp.txt", "messages.txt", "posts.txt", "posts2.txt", "sizes.txt"}) {
        QCOMPARE(fileBytes(ws.dataFile(QLatin1String(name))), QByteArray("\r\n"));
    }
    QCOMPARE(window.windowTitle(), QStringLiteral("Postavo by Lantern Hill Software"));
    QCOMPARE(window.Command1->text(), QStringLiteral("Visit www.postavo.example.com"));
    QCOMPARE(window.txtSubject->text(), QStringLiteral("Type Subject Here"));
    QCOMPARE(window.messageText(), Form1::initialMessageText());
    QVERIFY(window.messageText().startsWith("Type your first message here.  \r\n\r\nUse plain-text"));
    QVERIFY(window.messageText().contains("and hit the \"Insert Message\" button \r\n"));
    QVERIFY(window.messageText().endsWith("value in the drop down box above.\r\n"));
    QCOMPARE(Form1::initialMessageText().count("\r\n"), 12);
    QCOMPARE(window.cmbConvert->currentIndex(), 0);
    QCOMPARE(window.cmbConvert->currentText(), QStringLiteral("text"));
    QCOMPARE(window.cmbConvert->count(), 4);
}

void tst_Form1Startup::storedMessageReplacesInitialText_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<bool>("replaces");
    QTest::newRow("one-blank-keeps-initial") << " " << false;
    QTest::newRow("empty-keeps-initial") << "" << false;
    QTest::newRow("two-blanks-replace") << "  " << true;
    QTest::newRow("multi-line") << "hello\r\nworld\r\n" << true;
}

void tst_Form1Startup::storedMessageReplacesInitialText()
{
    QFETCH(QString, stored);
    QFETCH(bool, replaces);
    Workspace ws;
    ws.settings.write("data", "lastMessage", stored);
    ws.settings.write("data", "lastSubject", "My subject");
    Form1 window(ws.context);
    QVERIFY(window.Form_Load());
    QCOMPARE(window.messageText(), replaces ? stored : Form1::initialMessageText());
    QCOMPARE(window.txtSubject->text(), QStringLiteral("My subject"));
}

void tst_Form1Startup::rememberedFormat_data()
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

void tst_Form1Startup::rememberedFormat()
{
    QFETCH(QString, stored);
    QFETCH(QString, selected);
    Workspace ws;
    ws.settings.write("data", "lastConvert", stored);
    Form1 window(ws.context);
    QVERIFY(window.Form_Load());
    QCOMPARE(window.cmbConvert->currentText(), selected);
}

void tst_Form1Startup::unloadWritesMessageAndFormat()
{
    Workspace ws;
    {
        Form1 window(ws.context);
        QVERIFY(window.Form_Load());
        window.setMessageText("line one\r\nline two");
        window.cmbConvert->setCurrentIndex(1);
        window.show();
        window.close();
    }
    QCOMPARE(ws.settings.read("data", "lastMessage", "?"), QStringLiteral("line one\r\nline two"));
    QCOMPARE(ws.settings.read("data", "lastConvert", "?"), QStringLiteral("1"));

    Form1 again(ws.context);
    QVERIFY(again.Form_Load());
    QCOMPARE(again.messageText(), QStringLiteral("line one\r\nline two"));
    QCOMPARE(again.cmbConvert->currentText(), QStringLiteral("html"));
}

void tst_Form1Startup::unwritableDataFolderEndsStartUp()
{
    QTemporaryDir dir;
    SettingsStore settings(dir.filePath("Postavo.ini"));
    LinkFormatTable formats;
    AppContext context{DataFolder(dir.filePath("no/such/folder")), &settings, &formats};
    ModalWatcher watcher;
    Form1 window(context);
    QVERIFY(!window.Form_Load());
    QCOMPARE(watcher.texts.size(), 1);
    QVERIFY(watcher.texts.first().contains(dir.filePath("no/such/folder")));
}

void tst_Form1Startup::saveMessageRecreatesRemovedFile()
{
    Workspace ws;
    Form1 window(ws.context);
    QVERIFY(window.Form_Load());
    QVERIFY(QFile::remove(ws.dataFile("messages.txt")));
    window.setMessageText("a\r\nb");
    window.txtSubject->setText("subj");
    window.cmdSave->click();
    QCOMPARE(window.panelText(1), QStringLiteral("MESSAGE SAVED"));
    QCOMPARE(fileBytes(ws.dataFile("messages.txt")), QByteArray("a[br]b|subj\r\n"));
}

void tst_Form1Startup::subjectIsStoredAsTyped()
{
    Workspace ws;
    Form1 window(ws.context);
    QVERIFY(window.Form_Load());
    window.txtSubject->clear();
    QTest::keyClicks(window.txtSubject, "Hi");
    QCOMPARE(ws.settings.read("data", "lastSubject", "?"), QStringLiteral("Hi"));
}

QTEST_MAIN(tst_Form1Startup)
#include "tst_form1_startup.moc"
