#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include "app/mainwindow.h"
#include "base/settingsstore.h"
#include "base/textfile.h"
#include "links/linkformats.h"
#include "messages/messagepicker.h"
#include "support/unreadablefile.h"
#include "support/controls.h"
#include "support/webtestutil.h"
#include "support/mainwindowparts.h"

namespace {

const QString s_hostile = QStringLiteral("<b>x</b></script><script>window.pwned=1</script>\\\"q\"");

const QStringList s_library = {
    QStringLiteral("first[br]line|Subject one"),
    QString(),
    QStringLiteral("no bar here"),
    QStringLiteral("|only subject"),
    QStringLiteral("dup|D"),
    QStringLiteral("upper[BR]case|U"),
    QStringLiteral("dup|D"),
    s_hostile + QStringLiteral("|<i>s</i>"),
};

} // namespace

class tst_MessagePicker : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void windowAndList();
    void clickShowsEntry();
    void doubleClickTakesMessageOver();
    void blankEntriesCannotBeInserted_data();
    void blankEntriesCannotBeInserted();
    void deleteRemovesEveryCopy();
    void deleteWithoutSelectionDropsBlankLines();
    void missingLibrary();
    void loadAgainBringsToFrontWithoutRereading();
    void shutDownClosesPicker();
    void unreadableLibraryIsKept();

private:
    MessagePicker *openPicker();
    void click(MessagePicker *picker, int row);
    void doubleClick(MessagePicker *picker, int row);
    void writeLibrary(const QStringList &lines);
    QStringList libraryLines() const;
    static QStringList listEntries(MessagePicker *picker);

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<SettingsStore> m_settings;
    LinkFormatTable m_formats;
    std::unique_ptr<ProgramContext> m_context;
    std::unique_ptr<MainWindow> m_window;
};

void tst_MessagePicker::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_settings = std::make_unique<SettingsStore>(m_dir->filePath("Postavo.ini"));
    m_context = std::make_unique<ProgramContext>(ProgramContext{{DataFolder(m_dir->path()), m_settings.get()}, &m_formats});
    m_window = std::make_unique<MainWindow>(*m_context);
    QVERIFY(m_window->startUp());
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    writeLibrary(s_library);
}

void tst_MessagePicker::cleanup()
{
    m_window.reset();
}

void tst_MessagePicker::writeLibrary(const QStringList &lines)
{
    QFile file(m_dir->filePath("messages.txt"));
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    for (const QString &line : lines) {
        file.write(line.toUtf8() + "\r\n");
    }
}

QStringList tst_MessagePicker::libraryLines() const
{
    return TextFile::readLines(m_dir->filePath("messages.txt"));
}

QStringList tst_MessagePicker::listEntries(MessagePicker *picker)
{
    return entries(control<QListView>(picker, "messageList"));
}

MessagePicker *tst_MessagePicker::openPicker()
{
    control<QToolButton>(m_window, "loadButton")->click();
    auto *picker = m_window->findChild<MessagePicker *>();
    if (picker) {
        (void)QTest::qWaitForWindowExposed(picker);
    }
    return picker;
}

void tst_MessagePicker::click(MessagePicker *picker, int row)
{
    auto *list = control<QListView>(picker, "messageList");
    clickRow(list, row);
    QCOMPARE(currentRow(list), row);
}

void tst_MessagePicker::doubleClick(MessagePicker *picker, int row)
{
    doubleClickRow(control<QListView>(picker, "messageList"), row);
}

void tst_MessagePicker::windowAndList()
{
    MessagePicker *picker = openPicker();
    QVERIFY(picker);
    QVERIFY(picker->isVisible());
    QVERIFY(picker->isWindow());
    QVERIFY(!picker->isModal());
    QCOMPARE(picker->windowTitle(), QStringLiteral("load a saved message"));
    QCOMPARE(control<QPushButton>(picker, "deleteButton")->text(), QStringLiteral("delete message"));
    QStringList labels;
    for (QLabel *label : picker->findChildren<QLabel *>()) {
        labels << label->text();
    }
    for (const char *text : {"Saved Messages", "double-click the message you wish to load:",
                             "click once to view the entire message", "Subject:"}) {
        QVERIFY2(labels.contains(QLatin1String(text)), text);
    }
    // Every line as stored, the blank one included.
    QCOMPARE(listEntries(picker), s_library);
    QVERIFY(control<QPlainTextEdit>(picker, "messageView")->isReadOnly());
}

void tst_MessagePicker::clickShowsEntry()
{
    MessagePicker *picker = openPicker();
    QVERIFY(picker);
    click(picker, 0);
    QCOMPARE(control<QPlainTextEdit>(picker, "messageView")->toPlainText(), QStringLiteral("first\nline"));
    QCOMPARE(control<QLineEdit>(picker, "subjectEdit")->text(), QStringLiteral("Subject one"));

    // No "|": the body shows, the subject box keeps what it had.
    click(picker, 2);
    QCOMPARE(control<QPlainTextEdit>(picker, "messageView")->toPlainText(), QStringLiteral("no bar here"));
    QCOMPARE(control<QLineEdit>(picker, "subjectEdit")->text(), QStringLiteral("Subject one"));

    // Empty body, subject S.
    click(picker, 3);
    QCOMPARE(control<QPlainTextEdit>(picker, "messageView")->toPlainText(), QString());
    QCOMPARE(control<QLineEdit>(picker, "subjectEdit")->text(), QStringLiteral("only subject"));

    // The empty entry changes nothing.
    click(picker, 5);
    click(picker, 1);
    QCOMPARE(control<QPlainTextEdit>(picker, "messageView")->toPlainText(), QStringLiteral("upper\ncase"));
    QCOMPARE(control<QLineEdit>(picker, "subjectEdit")->text(), QStringLiteral("U"));

    // Markup and script are text.
    click(picker, 7);
    QCOMPARE(control<QPlainTextEdit>(picker, "messageView")->toPlainText(), s_hostile);
    QCOMPARE(control<QLineEdit>(picker, "subjectEdit")->text(), QStringLiteral("<i>s</i>"));
}

void tst_MessagePicker::doubleClickTakesMessageOver()
{
    MainWindow &w = *m_window;
    MessagePicker *picker = openPicker();
    QVERIFY(picker);
    MessageBoxCatcher boxes;

    doubleClick(picker, 5);
    QCOMPARE(messageText(w), QStringLiteral("upper\r\ncase"));
    QCOMPARE(control<QLineEdit>(w, "messageEditor/subjectEdit")->text(), QStringLiteral("U"));
    QTRY_COMPARE(m_settings->read("data", "lastSubject", QString()), QStringLiteral("U"));

    // Without a subject piece only the message changes.
    doubleClick(picker, 2);
    QCOMPARE(messageText(w), QStringLiteral("no bar here"));
    QCOMPARE(control<QLineEdit>(w, "messageEditor/subjectEdit")->text(), QStringLiteral("U"));

    doubleClick(picker, 7);
    QCOMPARE(messageText(w), s_hostile);
    QCOMPARE(control<QLineEdit>(w, "messageEditor/subjectEdit")->text(), QStringLiteral("<i>s</i>"));

    QVERIFY(picker->isVisible());
    QCOMPARE(boxes.texts, QStringList());
}

void tst_MessagePicker::blankEntriesCannotBeInserted_data()
{
    QTest::addColumn<int>("row");
    QTest::newRow("empty-entry") << 1;
    QTest::newRow("empty-body-with-subject") << 3;
}

void tst_MessagePicker::blankEntriesCannotBeInserted()
{
    QFETCH(int, row);
    MainWindow &w = *m_window;
    setMessageText(w, QStringLiteral("kept\r\nmessage"));
    control<QLineEdit>(w, "messageEditor/subjectEdit")->setText(QStringLiteral("kept subject"));
    MessagePicker *picker = openPicker();
    QVERIFY(picker);

    MessageBoxCatcher boxes;
    doubleClick(picker, row);
    QTRY_COMPARE(boxes.texts, QStringList{QStringLiteral("cannot insert a blank message")});
    QCOMPARE(boxes.buttonCounts, QList<int>{1});
    QCOMPARE(messageText(w), QStringLiteral("kept\r\nmessage"));
    QCOMPARE(control<QLineEdit>(w, "messageEditor/subjectEdit")->text(), QStringLiteral("kept subject"));
    QVERIFY(picker->isVisible());
}

void tst_MessagePicker::deleteRemovesEveryCopy()
{
    MessagePicker *picker = openPicker();
    QVERIFY(picker);
    click(picker, 0);
    click(picker, 4);
    QCOMPARE(control<QListView>(picker, "messageList")->currentIndex().data().toString(), QStringLiteral("dup|D"));
    QTest::mouseClick(control<QPushButton>(picker, "deleteButton"), Qt::LeftButton);

    QStringList expected = s_library;
    expected.removeAll(QStringLiteral("dup|D"));
    QCOMPARE(libraryLines(), expected);
    QCOMPARE(listEntries(picker), expected);
    // The last shown message stays in view.
    QCOMPARE(control<QPlainTextEdit>(picker, "messageView")->toPlainText(), QStringLiteral("dup"));
    QCOMPARE(control<QLineEdit>(picker, "subjectEdit")->text(), QStringLiteral("D"));
}

void tst_MessagePicker::deleteWithoutSelectionDropsBlankLines()
{
    writeLibrary({QStringLiteral("a|A"), QString(), QString(), QStringLiteral("b|B"), QString()});
    MessagePicker *picker = openPicker();
    QVERIFY(picker);
    QCOMPARE(rowCount(control<QListView>(picker, "messageList")), 5);
    control<QPushButton>(picker, "deleteButton")->click();
    const QStringList expected{QStringLiteral("a|A"), QStringLiteral("b|B")};
    QCOMPARE(libraryLines(), expected);
    QCOMPARE(listEntries(picker), expected);
}

void tst_MessagePicker::missingLibrary()
{
    QVERIFY(QFile::remove(m_dir->filePath("messages.txt")));
    MessageBoxCatcher boxes;
    control<QToolButton>(m_window, "loadButton")->click();
    QTRY_COMPARE(boxes.texts, QStringList{QStringLiteral("you must first save a message before you can load one")});
    QCOMPARE(boxes.buttonCounts, QList<int>{1});
    QCOMPARE(m_window->findChild<MessagePicker *>(), nullptr);
    QVERIFY(!QFile::exists(m_dir->filePath("messages.txt")));
}

void tst_MessagePicker::loadAgainBringsToFrontWithoutRereading()
{
    MessagePicker *picker = openPicker();
    QVERIFY(picker);
    picker->showMinimized();
    m_window->activateWindow();
    writeLibrary({QStringLiteral("changed|C")});

    control<QToolButton>(m_window, "loadButton")->click();
    QCOMPARE(m_window->findChildren<MessagePicker *>().size(), 1);
    QCOMPARE(m_window->findChild<MessagePicker *>(), picker);
    QVERIFY(picker->isVisible());
    QVERIFY(!picker->isMinimized());
    QTRY_COMPARE(QApplication::activeWindow(), picker);
    QCOMPARE(listEntries(picker), s_library);

    // Once closed, the next Load reads the file afresh.
    QPointer<MessagePicker> guard(picker);
    picker->close();
    QTRY_VERIFY(guard.isNull());
    MessagePicker *fresh = openPicker();
    QVERIFY(fresh);
    QCOMPARE(listEntries(fresh), QStringList{QStringLiteral("changed|C")});
}

void tst_MessagePicker::shutDownClosesPicker()
{
    QPointer<MessagePicker> picker = openPicker();
    QVERIFY(picker);
    m_window->shutDown();
    QTRY_VERIFY(picker.isNull());
}

void tst_MessagePicker::unreadableLibraryIsKept()
{
    const QString path = m_dir->filePath("messages.txt");
    const QByteArray kept = [&path] {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }();
    QPointer<MessagePicker> picker = openPicker();
    QVERIFY(picker);
    click(picker, 4);
    {
        UnreadableFile unreadable(path);
        MessageBoxCatcher boxes;
        // Delete, Save and Load each refuse once, naming the file.
        QTest::mouseClick(control<QPushButton>(picker, "deleteButton"), Qt::LeftButton);
        QTRY_COMPARE(boxes.texts.size(), 1);
        QCOMPARE(listEntries(picker), s_library);
        picker->close();
        QTRY_VERIFY(picker.isNull());
        control<QToolButton>(m_window, "saveButton")->click();
        QTRY_COMPARE(boxes.texts.size(), 2);
        control<QToolButton>(m_window, "loadButton")->click();
        QTRY_COMPARE(boxes.texts.size(), 3);
        QTest::qWait(100);
        QCOMPARE(boxes.texts.size(), 3);
        for (const QString &text : std::as_const(boxes.texts)) {
            QVERIFY2(text.contains(path), qPrintable(text));
        }
        QCOMPARE(m_window->findChild<MessagePicker *>(), nullptr);
    }
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), kept);
}

POSTAVO_WEBTEST_MAIN(tst_MessagePicker)
#include "tst_messagepicker.moc"
