#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include "app/mainwindow.h"
#include "base/settingsstore.h"
#include "links/linkconversion.h"
#include "links/linkformats.h"
#include "support/webtestutil.h"
#include "support/controls.h"
#include "support/mainwindowparts.h"

class tst_MessageCommands : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void captionsAndTooltips_data();
    void captionsAndTooltips();
    void previewAndCopy_data();
    void previewAndCopy();
    void selectionChangeAffectsOnlyLaterCopy();

private:
    QTemporaryDir m_dir;
    std::unique_ptr<SettingsStore> m_settings;
    LinkFormatTable m_formats;
    std::unique_ptr<ProgramContext> m_context;
    std::unique_ptr<MainWindow> m_window;
};

void tst_MessageCommands::initTestCase()
{
    QVERIFY(m_dir.isValid());
    m_settings = std::make_unique<SettingsStore>(m_dir.filePath("Postavo.ini"));
    m_context = std::make_unique<ProgramContext>(ProgramContext{{DataFolder(m_dir.path()), m_settings.get()}, &m_formats});
    m_window = std::make_unique<MainWindow>(*m_context);
    QVERIFY(m_window->startUp());
    m_window->show();
}

void tst_MessageCommands::captionsAndTooltips_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("tooltip");

    QTest::newRow("save") << "saveButton" << "Save" << "Save the current message";
    QTest::newRow("load") << "loadButton" << "Load" << "Load a saved message";
    QTest::newRow("preview") << "previewButton" << "Preview"
                             << "See a preview of your message in the currently selected format";
    QTest::newRow("copy") << "copyButton" << "Copy" << "Copy your message to the clipboard in the selected format";
    QTest::newRow("auto-insert") << "autoInsertButton" << "Auto-Insert"
                                 << "Once you are on the page where you can post your message, click here to insert it.";
    QTest::newRow("paste-subject")
        << "pasteSubjectButton" << "Paste" << "Click within the Subject field on the form you want to paste into, then click here.";
    QTest::newRow("paste-username")
        << "pasteUsernameButton" << "Paste" << "Click within the Username field on the form you want to paste into, then click here.";
    QTest::newRow("paste-password")
        << "pastePasswordButton" << "Paste" << "Click within the Password field on the form you want to paste into, then click here.";
    QTest::newRow("paste-message")
        << "pasteMessageButton" << "Paste Message"
        << "Click within the message area on the form you want to paste into, then click here.";
}

void tst_MessageCommands::captionsAndTooltips()
{
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QFETCH(QString, tooltip);
    auto *button = m_window->findChild<QAbstractButton *>(name);
    QVERIFY(button);
    QCOMPARE(button->text(), caption);
    QCOMPARE(button->toolTip(), tooltip);
}

void tst_MessageCommands::previewAndCopy_data()
{
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("format");
    QTest::addColumn<QString>("expected");

    QTest::newRow("text-unchanged") << "see http://x.y\r\nsecond line" << "text"
                                    << "see http://x.y\r\nsecond line\r\n\r\n";
    QTest::newRow("ubb") << "see http://x.y" << "ubb" << "see [url=http://x.y]http://x.y[/url]\r\n\r\n";
    QTest::newRow("empty") << "" << "text" << "\r\n\r\n";
    QTest::newRow("empty-ubb") << "" << "ubb" << "\r\n\r\n";
    QTest::newRow("markup-stays-text") << "<b>bold</b></script><script>x=1</script>&amp;" << "text"
                                       << "<b>bold</b></script><script>x=1</script>&amp;\r\n\r\n";
}

void tst_MessageCommands::previewAndCopy()
{
    QFETCH(QString, message);
    QFETCH(QString, format);
    QFETCH(QString, expected);

    MainWindow &w = *m_window;
    control<QComboBox>(w, "formatSelector")->setCurrentText(format);
    QCOMPARE(control<QComboBox>(w, "formatSelector")->currentText(), format);
    setMessageText(w, message);

    MessageBoxCatcher boxes;
    control<QToolButton>(w, "previewButton")->click();
    QCOMPARE(boxes.titles, QStringList{QStringLiteral("message preview")});
    QCOMPARE(boxes.texts, QStringList{expected});
    QCOMPARE(boxes.buttonCounts, QList<int>{1});
    QCOMPARE(boxes.textFormats, QList<Qt::TextFormat>{Qt::PlainText});

    QGuiApplication::clipboard()->setText(QStringLiteral("before"));
    control<QToolButton>(w, "copyButton")->click();
    QCOMPARE(QGuiApplication::clipboard()->text(), expected);
    QCOMPARE(messageText(w), message);
}

void tst_MessageCommands::selectionChangeAffectsOnlyLaterCopy()
{
    MainWindow &w = *m_window;
    const QString message = QStringLiteral("visit http://x.y today");
    setMessageText(w, message);
    control<QComboBox>(w, "formatSelector")->setCurrentText(QStringLiteral("text"));
    control<QToolButton>(w, "copyButton")->click();
    const QString first = QGuiApplication::clipboard()->text();
    control<QComboBox>(w, "formatSelector")->setCurrentText(QStringLiteral("ubb"));
    QCOMPARE(QGuiApplication::clipboard()->text(), first);
    control<QToolButton>(w, "copyButton")->click();
    const QString second = QGuiApplication::clipboard()->text();

    QCOMPARE(first, message + "\r\n\r\n");
    QCOMPARE(second, convertMessage(message + "\r\n\r\n", QStringLiteral("ubb"), m_formats));
    QCOMPARE(messageText(w), message);
    QCOMPARE(second, QStringLiteral("visit [url=http://x.y]http://x.y[/url] today\r\n\r\n"));
}

POSTAVO_WEBTEST_MAIN(tst_MessageCommands)
#include "tst_messagecommands.moc"
