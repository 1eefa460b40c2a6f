#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include "app/form1.h"
#include "app/settingsstore.h"
#include "app/textfile.h"
#include "links/linkformats.h"
#include "messages/form3.h"
#include "support/webtestutil.h"

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
    void unloadClosesPicker();

private:
    Form3 *openPicker();
    QListWidgetItem *itemAt(Form3 *picker, int row);
    void click(Form3 *picker, int row);
    void doubleClick(Form3 *picker, int row);
    void writeLibrary(const QStringList &lines);
    QStringList libraryLines() const;
    static QStringList listEntries(Form3 *picker);

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<SettingsStore> m_settings;
    LinkFormatTable m_formats;
    std::unique_ptr<AppContext> m_context;
    std::unique_ptr<Form1> m_window;
};

void tst_MessagePicker::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_settings = std::make_unique<SettingsStore>(m_dir->filePath("Postavo.ini"));
    m_context = std::make_unique<AppContext>(AppContext{DataFolder(m_dir->path()), m_settings.get(), &m_formats});
    m_window = std::make_unique<Form1>(*m_context);
    QVERIFY(m_window->Form_Load());
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

QStringList tst_MessagePicker::listEntries(Form3 *picker)
{
    QStringList entries;
    for (int i = 0; i < picker->List1->count(); ++i) {
        entries << picker->List1->item(i)->text();
    }
    return entries;
}

Form3 *tst_MessagePicker::openPicker()
{
    m_window->cmdLoad->click();
    auto *picker = m_window->findChild<Form3 *>();
    if (picker) {
        (void)QTest::qWaitForWindowExposed(picker);
    }
    return picker;
}

QListWidgetItem *tst_MessagePicker::itemAt(Form3 *picker, int row)
{
    QListWidgetItem *item = picker->List1->item(row);
    picker->List1->scrollToItem(item);
    return item;
}

void tst_MessagePicker::click(Form3 *picker, int row)
{
    QListWidgetItem *item = itemAt(picker, row);
    QTest::mouseClick(picker->List1->viewport(), Qt::LeftButton, {}, picker->List1->visualItemRect(item).center());
    QCOMPARE(picker->List1->currentRow(), row);
}

void tst_MessagePicker::doubleClick(Form3 *picker, int row)
{
    QListWidgetItem *item = itemAt(picker, row);
    const QPoint at = picker->List1->visualItemRect(item).center();
    QTest::mouseClick(picker->List1->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(picker->List1->viewport(), Qt::LeftButton, {}, at);
}

void tst_MessagePicker::windowAndList()
{
    Form3 *picker = openPicker();
    QVERIFY(picker);
    QVERIFY(picker->isVisible());
    QVERIFY(picker->isWindow());
    QVERIFY(!picker->isModal());
    QCOMPARE(picker->windowTitle(), QStringLiteral("load a saved message"));
    QCOMPARE(picker->Command1->text(), QStringLiteral("delete message"));
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
    QVERIFY(picker->Text1->isReadOnly());
}

void tst_MessagePicker::clickShowsEntry()
{
    Form3 *picker = openPicker();
    QVERIFY(picker);
    click(picker, 0);
    QCOMPARE(picker->Text1->toPlainText(), QStringLiteral("first\nline"));
    QCOMPARE(picker->txtSubject->text(), QStringLiteral("Subject one"));

    // No "|": the body shows, the subject box keeps what it had.
    click(picker, 2);
    QCOMPARE(picker->Text1->toPlainText(), QStringLiteral("no bar here"));
    QCOMPARE(picker->txtSubject->text(), QStringLiteral("Subject one"));

    // Empty body, subject S.
    click(picker, 3);
    QCOMPARE(picker->Text1->toPlainText(), QString());
    QCOMPARE(picker->txtSubject->text(), QStringLiteral("only subject"));

    // The empty entry changes nothing.
    click(picker, 5);
    click(picker, 1);
    QCOMPARE(picker->Text1->toPlainText(), QStringLiteral("upper\ncase"));
    QCOMPARE(picker->txtSubject->text(), QStringLiteral("U"));

    // Markup and script are text.
    click(picker, 7);
    QCOMPARE(picker->Text1->toPlainText(), s_hostile);
    QCOMPARE(picker->txtSubject->text(), QStringLiteral("<i>s</i>"));
}

void tst_MessagePicker::doubleClickTakesMessageOver()
{
    Form1 &w = *m_window;
    Form3 *picker = openPicker();
    QVERIFY(picker);
    MessageBoxCatcher boxes;

    doubleClick(picker, 5);
    QCOMPARE(w.messageText(), QStringLiteral("upper\r\ncase"));
    QCOMPARE(w.txtSubject->text(), QStringLiteral("U"));
    QCOMPARE(m_settings->read("data", "lastSubject", QString()), QStringLiteral("U"));

    // Without a subject piece only the message changes.
    doubleClick(picker, 2);
    QCOMPARE(w.messageText(), QStringLiteral("no bar here"));
    QCOMPARE(w.txtSubject->text(), QStringLiteral("U"));

    doubleClick(picker, 7);
    QCOMPARE(w.messageText(), s_hostile);
    QCOMPARE(w.txtSubject->text(), QStringLiteral("<i>s</i>"));

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
    Form1 &w = *m_window;
    w.setMessageText(QStringLiteral("kept\r\nmessage"));
    w.txtSubject->setText(QStringLiteral("kept subject"));
    Form3 *picker = openPicker();
    QVERIFY(picker);

    MessageBoxCatcher boxes;
    doubleClick(picker, row);
    QTRY_COMPARE(boxes.texts, QStringList{QStringLiteral("cannot insert a blank message")});
    QCOMPARE(boxes.buttonCounts, QList<int>{1});
    QCOMPARE(w.messageText(), QStringLiteral("kept\r\nmessage"));
    QCOMPARE(w.txtSubject->text(), QStringLiteral("kept subject"));
    QVERIFY(picker->isVisible());
}

void tst_MessagePicker::deleteRemovesEveryCopy()
{
    Form3 *picker = openPicker();
    QVERIFY(picker);
    click(picker, 0);
    click(picker, 4);
    QCOMPARE(picker->List1->currentItem()->text(), QStringLiteral("dup|D"));
    QTest::mouseClick(picker->Command1, Qt::LeftButton);

    QStringList expected = s_library;
    expected.removeAll(QStringLiteral("dup|D"));
    QCOMPARE(libraryLines(), expected);
    QCOMPARE(listEntries(picker), expected);
    // The last shown message stays in view.
    QCOMPARE(picker->Text1->toPlainText(), QStringLiteral("dup"));
    QCOMPARE(picker->txtSubject->text(), QStringLiteral("D"));
}

void tst_MessagePicker::deleteWithoutSelectionDropsBlankLines()
{
    writeLibrary({QStringLiteral("a|A"), QString(), QString(), QStringLiteral("b|B"), QString()});
    Form3 *picker = openPicker();
    QVERIFY(picker);
    QCOMPARE(picker->List1->count(), 5);
    picker->Command1->click();
    const QStringList expected{QStringLiteral("a|A"), QStringLiteral("b|B")};
    QCOMPARE(libraryLines(), expected);
    QCOMPARE(listEntries(picker), expected);
}

void tst_MessagePicker::missingLibrary()
{
    QVERIFY(QFile::remove(m_dir->filePath("messages.txt")));
    MessageBoxCatcher boxes;
    m_window->cmdLoad->click();
    QTRY_COMPARE(boxes.texts, QStringList{QStringLiteral("you must first save a message before you can load one")});
    QCOMPARE(boxes.buttonCounts, QList<int>{1});
    QCOMPARE(m_window->findChild<Form3 *>(), nullptr);
    QVERIFY(!QFile::exists(m_dir->filePath("messages.txt")));
}

void tst_MessagePicker::loadAgainBringsToFrontWithoutRereading()
{
    Form3 *picker = openPicker();
    QVERIFY(picker);
    picker->showMinimized();
    m_window->activateWindow();
    writeLibrary({QStringLiteral("changed|C")});

    m_window->cmdLoad->click();
    QCOMPARE(m_window->findChildren<Form3 *>().size(), 1);
    QCOMPARE(m_window->findChild<Form3 *>(), picker);
    QVERIFY(picker->isVisible());
    QVERIFY(!picker->isMinimized());
    QTRY_COMPARE(QApplication::activeWindow(), picker);
    QCOMPARE(listEntries(picker), s_library);

    // Once closed, the next Load reads the file afresh.
    QPointer<Form3> guard(picker);
    picker->close();
    QTRY_VERIFY(guard.isNull());
    Form3 *fresh = openPicker();
    QVERIFY(fresh);
    QCOMPARE(listEntries(fresh), QStringList{QStringLiteral("changed|C")});
}

void tst_MessagePicker::unloadClosesPicker()
{
    QPointer<Form3> picker = openPicker();
    QVERIFY(picker);
    m_window->Form_Unload();
    QTRY_VERIFY(picker.isNull());
}

POSTAVO_WEBTEST_MAIN(tst_MessagePicker)
#include "tst_messagepicker.moc"
