#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QPointer>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>

#include "support/controls.h"
#include "app/mainwindow.h"
#include "base/settingsstore.h"
#include "links/linkformats.h"
#include "ui/helpwindow.h"

// The main window's way of opening and closing the help window.
class tst_HelpWindow : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void missingGuideOpensNothingAndIsLookedForAgain();
    void secondRequestRaisesTheSameWindow();
    void shutDownClosesHelpWindow();
    void startUpOpensHelpAsSet_data();
    void startUpOpensHelpAsSet();

private:
    void writeGuide();
    QList<HelpWindow *> helpWindows() const;

    QTemporaryDir *m_dir = nullptr;
    SettingsStore *m_settings = nullptr;
    LinkFormatTable *m_formats = nullptr;
    ProgramContext *m_context = nullptr;
    MainWindow *m_main = nullptr;
};

void tst_HelpWindow::init()
{
    m_dir = new QTemporaryDir;
    QVERIFY(m_dir->isValid());
    m_settings = new SettingsStore(m_dir->filePath(QStringLiteral("Postavo.ini")));
    m_formats = new LinkFormatTable;
    m_context = new ProgramContext{{DataFolder(m_dir->path()), m_settings}, m_formats};
    m_main = new MainWindow(*m_context);
}

void tst_HelpWindow::cleanup()
{
    delete m_main;
    delete m_context;
    delete m_formats;
    delete m_settings;
    delete m_dir;
}

void tst_HelpWindow::writeGuide()
{
    QFile file(m_dir->filePath(QStringLiteral("Help.rtf")));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("{\\rtf1\\ansi {\\b Postavo} help}");
}

QList<HelpWindow *> tst_HelpWindow::helpWindows() const
{
    return m_main->findChildren<HelpWindow *>();
}

void tst_HelpWindow::missingGuideOpensNothingAndIsLookedForAgain()
{
    control<QAction>(m_main, "helpMenuItem0")->trigger();
    QTRY_COMPARE_WITH_TIMEOUT(helpWindows().size(), 0, 5000);

    writeGuide();
    control<QAction>(m_main, "helpMenuItem0")->trigger();
    QCOMPARE(helpWindows().size(), 1);
    HelpWindow *help = helpWindows().constFirst();
    QVERIFY(help->isVisible());
    QVERIFY(help->isWindow());
    QVERIFY(!help->isModal());
    QVERIFY(help->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    QCOMPARE(control<QTextBrowser>(help, "helpText")->toPlainText(), QStringLiteral("Postavo help"));
}

void tst_HelpWindow::secondRequestRaisesTheSameWindow()
{
    writeGuide();
    control<QAction>(m_main, "helpMenuItem0")->trigger();
    QPointer<HelpWindow> first = helpWindows().value(0);
    QVERIFY(first);
    first->hide();
    control<QAction>(m_main, "helpMenuItem0")->trigger();
    QCOMPARE(helpWindows().size(), 1);
    QCOMPARE(helpWindows().constFirst(), first.data());
    QVERIFY(first->isVisible());

    // Closed by the user, it is gone; the next request builds a fresh one.
    first->close();
    QTRY_VERIFY_WITH_TIMEOUT(first.isNull(), 5000);
    control<QAction>(m_main, "helpMenuItem0")->trigger();
    QCOMPARE(helpWindows().size(), 1);
    QVERIFY(helpWindows().constFirst()->isVisible());
}

void tst_HelpWindow::shutDownClosesHelpWindow()
{
    writeGuide();
    control<QAction>(m_main, "helpMenuItem0")->trigger();
    QPointer<HelpWindow> help = helpWindows().value(0);
    QVERIFY(help);
    QVERIFY(help->isVisible());
    m_main->shutDown();
    QTRY_VERIFY_WITH_TIMEOUT(help.isNull(), 5000);
}

void tst_HelpWindow::startUpOpensHelpAsSet_data()
{
    QTest::addColumn<QString>("stored"); // empty: not set
    QTest::addColumn<bool>("opened");
    QTest::newRow("unset") << "" << true;
    QTest::newRow("one") << "1" << true;
    QTest::newRow("zero") << "0" << false;
    QTest::newRow("other") << "yes" << false;
}

void tst_HelpWindow::startUpOpensHelpAsSet()
{
    QFETCH(QString, stored);
    QFETCH(bool, opened);
    writeGuide();
    if (!stored.isEmpty()) {
        m_settings->write(QStringLiteral("Settings"), QStringLiteral("showHelp"), stored);
    }
    QVERIFY(m_main->startUp());
    QCOMPARE(helpWindows().size(), opened ? 1 : 0);
    QCOMPARE(opened && helpWindows().constFirst()->isVisible(), opened);
}

QTEST_MAIN(tst_HelpWindow)
#include "tst_helpwindow.moc"
