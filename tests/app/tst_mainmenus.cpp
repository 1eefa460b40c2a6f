#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <memory>

#include "app/programcontext.h"
#include "app/mainwindow.h"
#include "base/settingsstore.h"
#include "options/optionsdialog.h"
#include "links/linkformats.h"
#include "support/programstate.h"
#include "forums/ownposts.h"
#include "forums/forums.h"
#include "forums/forumpanel.h"
#include "support/controls.h"
#include "support/programlanguage.h"
#include "support/mainwindowparts.h"
#include "ui/statuspanels.h"

class tst_MainMenus : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void captionsAndOrder();
    void newMessageEmptiesEditorAndStoresSubject();
    void saveMessageRunsEvenWhenButtonHidden();
    void checkRepliesShowsNewRepliesTab();
    void viewRepliesThenAllPosts();
    void newRepliesReachedInEveryLanguage_data();
    void newRepliesReachedInEveryLanguage();
    void optionsAndTemplatesOpenDialog_data();
    void optionsAndTemplatesOpenDialog();
    void exitRunsTheShutDown();

private:
    QAction *item(int menu, int position) const;
    static OptionsDialog *visibleOptions();

    std::unique_ptr<ProgramState> m_state;
    std::unique_ptr<MainWindow> m_window;
};

void tst_MainMenus::init()
{
    m_state = std::make_unique<ProgramState>();
    m_window = std::make_unique<MainWindow>(m_state->context);
    QVERIFY(m_window->startUp());
    m_window->show();
}

void tst_MainMenus::cleanup()
{
    m_window.reset();
    for (QWidget *w : QApplication::topLevelWidgets()) {
        if (qobject_cast<OptionsDialog *>(w)) {
            delete w;
        }
    }
    m_state.reset();
}

QAction *tst_MainMenus::item(int menu, int position) const
{
    const QList<QAction *> menus = m_window->menuBar()->actions();
    if (menu >= menus.size() || !menus[menu]->menu()) {
        return nullptr;
    }
    const QList<QAction *> items = menus[menu]->menu()->actions();
    return position < items.size() ? items[position] : nullptr;
}

OptionsDialog *tst_MainMenus::visibleOptions()
{
    for (QWidget *w : QApplication::topLevelWidgets()) {
        if (auto *dialog = qobject_cast<OptionsDialog *>(w); dialog && dialog->isVisible()) {
            return dialog;
        }
    }
    return nullptr;
}

void tst_MainMenus::captionsAndOrder()
{
    const QList<QAction *> menus = m_window->menuBar()->actions();
    const QStringList titles { "&File", "&Tools", "&View", "&Help", "About" };
    QCOMPARE(menus.size(), titles.size());
    const QList<QStringList> captions {
        { "&New Message", "&Save Message", "&Load Message", "E&xit" },
        { "&Preview", "Auto &Insert", "&Check Replies", "&Options", "Paste Message", "Paste Subject", "Paste Username",
            "Paste Password" },
        { "&Saved Messages", "&All posts", "&Replies", "&Templates" },
        { "View &Help" },
        { "About this software" },
    };
    for (int m = 0; m < titles.size(); ++m) {
        QCOMPARE(menus[m]->text(), titles[m]);
        QVERIFY(menus[m]->menu());
        QStringList actual;
        for (QAction *a : menus[m]->menu()->actions()) {
            actual.append(a->text());
        }
        QCOMPARE(actual, captions[m]);
    }
    QCOMPARE(item(0, 3), control<QAction>(m_window, "fileMenuItem3"));
    QCOMPARE(item(3, 0), control<QAction>(m_window, "helpMenuItem0"));
    QCOMPARE(item(4, 0), control<QAction>(m_window, "aboutMenuItem0"));
}

void tst_MainMenus::newMessageEmptiesEditorAndStoresSubject()
{
    control<QLineEdit>(m_window, "messageEditor/subjectEdit")->setText("Hello forum");
    QTRY_COMPARE(m_state->settings.read("data", "lastSubject", "<missing>"), QStringLiteral("Hello forum"));
    QVERIFY(!control<QPlainTextEdit>(m_window, "messageEdit")->toPlainText().isEmpty());
    item(0, 0)->trigger();
    QCOMPARE(control<QPlainTextEdit>(m_window, "messageEdit")->toPlainText(), QString());
    QCOMPARE(control<QLineEdit>(m_window, "messageEditor/subjectEdit")->text(), QString());
    QTRY_COMPARE(m_state->settings.read("data", "lastSubject", "<missing>"), QString());
}

void tst_MainMenus::saveMessageRunsEvenWhenButtonHidden()
{
    control<QToolButton>(m_window, "saveButton")->setEnabled(false);
    control<QToolButton>(m_window, "saveButton")->hide();
    setMessageText(*m_window, "Body line");
    control<QLineEdit>(m_window, "messageEditor/subjectEdit")->setText("Subject line");
    item(0, 1)->trigger();
    QFile messages(m_state->dir.filePath("messages.txt"));
    QVERIFY(messages.open(QIODevice::ReadOnly));
    const QByteArray content = messages.readAll();
    QVERIFY(content.contains("Body line"));
    QVERIFY(content.contains("Subject line"));
    QCOMPARE(panelText(*m_window, 1), QStringLiteral("MESSAGE SAVED"));
}

void tst_MainMenus::checkRepliesShowsNewRepliesTab()
{
    QSignalSpy tabClicks(control<QTabBar>(m_window, "postTabs"), &QTabBar::currentChanged);
    QCOMPARE(control<QTabBar>(m_window, "listTabs")->currentIndex(), 0);
    item(1, 2)->trigger();
    QCOMPARE(control<QTabBar>(m_window, "postTabs")->currentIndex(), 1);
    QCOMPARE(tabClicks.size(), 1);
    QCOMPARE(tabClicks.first().first().toInt(), 1);
    // Brought to view from the forums tab: the user sees the list fill.
    QCOMPARE(control<QTabBar>(m_window, "listTabs")->currentIndex(), 1);
    QVERIFY(control<QListView>(m_window, "newRepliesList")->isVisible());
    QVERIFY(!control<ForumPanel>(m_window, "forumsFrame")->isVisible());
}

void tst_MainMenus::viewRepliesThenAllPosts()
{
    QSignalSpy tabClicks(control<QTabBar>(m_window, "postTabs"), &QTabBar::currentChanged);
    item(2, 2)->trigger();
    QCOMPARE(control<QTabBar>(m_window, "postTabs")->currentIndex(), 1);
    item(2, 1)->trigger();
    QCOMPARE(control<QTabBar>(m_window, "postTabs")->currentIndex(), 0);
    QCOMPARE(control<QTabBar>(m_window, "postTabs")->tabText(control<QTabBar>(m_window, "postTabs")->currentIndex()), QStringLiteral("Show All"));
    QCOMPARE(tabClicks.size(), 2);
    QVERIFY(control<QListView>(m_window, "postList")->isVisibleTo(m_window.get()));
    QVERIFY(!control<QListView>(m_window, "newRepliesList")->isVisibleTo(m_window.get()));
}

// The views are told apart by their tabs' places, never by their captions, which are translated.
void tst_MainMenus::newRepliesReachedInEveryLanguage_data()
{
    QTest::addColumn<QString>("language");
    QCOMPARE(shippedLanguages().size(), 3);
    for (const QString &language : shippedLanguages()) {
        QTest::newRow(qPrintable(language)) << language;
    }
}

void tst_MainMenus::newRepliesReachedInEveryLanguage()
{
    QFETCH(QString, language);
    const ProgramLanguage translated(language);
    QVERIFY2(translated.isLoaded(), qPrintable(language));
    ProgramState state;
    MainWindow window(state.context);
    QVERIFY(window.startUp());
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    auto *listTabs = control<QTabBar>(window, "listTabs");
    auto *postTabs = control<QTabBar>(window, "postTabs");
    QCOMPARE(postTabs->tabText(1) == QLatin1String("New Replies "), language == QLatin1String("en"));
    auto *check = control<QPushButton>(window, "checkRepliesButton");

    for (const QString way : { "tab-click", "tab-keys", "tools-menu", "view-menu" }) {
        // From the forums, as the window starts.
        control<QAction>(window, "viewMenuItem1")->trigger();
        listTabs->setCurrentIndex(0);
        if (way.startsWith(QLatin1String("tab-"))) {
            QTest::mouseClick(listTabs, Qt::LeftButton, {}, listTabs->tabRect(1).center());
            QVERIFY(postTabs->isVisible());
            if (way == QLatin1String("tab-click")) {
                QTest::mouseClick(postTabs, Qt::LeftButton, {}, postTabs->tabRect(1).center());
            } else {
                postTabs->setFocus();
                QTest::keyClick(postTabs, Qt::Key_Right);
            }
        } else {
            control<QAction>(window, way == QLatin1String("tools-menu") ? "toolsMenuItem2" : "viewMenuItem2")->trigger();
        }
        QCOMPARE(postTabs->currentIndex(), 1);
        QVERIFY2(control<QListView>(window, "newRepliesList")->isVisible(), qPrintable(way));
        QVERIFY(!control<QListView>(window, "postList")->isVisible());
        QVERIFY2(check->isVisible(), qPrintable(way));
        setPanelText(window, 1, QString());
        QTest::mouseClick(check, Qt::LeftButton);
        QCOMPARE(panelText(window, 1), QStringLiteral("finished - 0 new replies found"));
    }
    // And back to all posts, as its menu item does.
    control<QAction>(window, "viewMenuItem1")->trigger();
    QCOMPARE(postTabs->currentIndex(), 0);
    QVERIFY(control<QListView>(window, "postList")->isVisible());
    QVERIFY(!check->isVisible());
}

void tst_MainMenus::optionsAndTemplatesOpenDialog_data()
{
    QTest::addColumn<int>("menu");
    QTest::addColumn<int>("position");
    QTest::newRow("tools-options") << 1 << 3;
    QTest::newRow("view-templates") << 2 << 3;
}

void tst_MainMenus::optionsAndTemplatesOpenDialog()
{
    QFETCH(int, menu);
    QFETCH(int, position);
    control<QToolButton>(m_window, "optionsButton")->setEnabled(false);
    QVERIFY(!visibleOptions());
    item(menu, position)->trigger();
    OptionsDialog *dialog = visibleOptions();
    QVERIFY(dialog);
    // A second opening raises the same dialog.
    item(menu, position)->trigger();
    QCOMPARE(visibleOptions(), dialog);
}

void tst_MainMenus::exitRunsTheShutDown()
{
    QSignalSpy ended(m_window.get(), &MainWindow::programEnded);
    setMessageText(*m_window, "Last words\r\nsecond line");
    control<QComboBox>(m_window, "formatSelector")->setCurrentIndex(2);
    control<QLineEdit>(m_window, "messageEditor/subjectEdit")->clear();
    QTest::keyClicks(control<QLineEdit>(m_window, "messageEditor/subjectEdit"), "Last subject");
    QVERIFY(control<OwnPosts>(m_window, {})->add("http://forum.example/t/1"));
    QVERIFY(control<Forums>(m_window, {})->add("http://forum.example/post", "me|pw"));
    for (const char *file : { "posts.txt", "posts2.txt", "sizes.txt" }) {
        QVERIFY(QFile::remove(m_state->dir.filePath(QLatin1String(file))));
    }
    item(1, 3)->trigger();
    QPointer<OptionsDialog> dialog = visibleOptions();
    QVERIFY(dialog);

    item(0, 3)->trigger();
    QCOMPARE(ended.size(), 1);
    QVERIFY(!m_window->isVisible());
    QCOMPARE(m_state->settings.read("data", "lastMessage", "<missing>"), QStringLiteral("Last words\r\nsecond line"));
    QCOMPARE(m_state->settings.read("data", "lastConvert", "<missing>"), QStringLiteral("2"));
    QCOMPARE(m_state->settings.read("data", "lastSubject", "<missing>"), QStringLiteral("Last subject"));
    QVERIFY(dialog.isNull());
    const auto bytes = [this](const char *file) {
        QFile data(m_state->dir.filePath(QLatin1String(file)));
        return data.open(QIODevice::ReadOnly) ? data.readAll() : QByteArray("<missing>");
    };
    QCOMPARE(bytes("posts.txt"), QByteArray("http://forum.example/t/1\r\n\r\n"));
    QCOMPARE(bytes("sizes.txt"), QByteArray("unmeasured\r\n\r\n"));
    QCOMPARE(bytes("posts2.txt"), QByteArray("http://forum.example/post|me|pw\r\n\r\n"));
}

QTEST_MAIN(tst_MainMenus)
#include "tst_mainmenus.moc"
