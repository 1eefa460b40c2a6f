// Reply checks while the program runs, told to the desktop through a session bus of the test's own with a
// notification service of its own; pages served on loopback; minutes a few milliseconds long.
#include <QAction>
#include <QApplication>
#include <QFile>
#include <QComboBox>
#include <QLabel>
#include <QListView>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QSystemTrayIcon>
#include <QTabBar>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>
#include <QWebEnginePage>
#include <QToolButton>
#include <QtTest/qtestspontaneevent.h>

#include "app/mainwindow.h"
#include "ui/traypresence.h"
#include "options/optionsdialog.h"
#include "replies/checkschedule.h"
#include "ui/desktopnotifier.h"
#include "support/notificationserver.h"
#include "forums/ownposts.h"
#include "replies/postspanel.h"
#include "replies/replymonitor.h"
#include "support/controls.h"
#include "support/pageserver.h"
#include "support/programstate.h"
#include "support/sessionbus.h"
#include "support/mainwindowparts.h"

using namespace std::chrono_literals;

namespace {

// Answers every message box with the given button, counting the boxes.
class BoxAnswerer
{
public:
    explicit BoxAnswerer(QMessageBox::StandardButton answer)
    {
        m_timer.setInterval(10);
        QObject::connect(&m_timer, &QTimer::timeout, &m_timer, [this, answer] {
            if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
                ++boxes;
                texts.append(box->text());
                if (QAbstractButton *button = box->button(answer)) {
                    button->click();
                } else {
                    box->reject();
                }
            }
        });
        m_timer.start();
    }
    int boxes = 0;
    QStringList texts;

private:
    QTimer m_timer;
};

OptionsDialog *visibleOptions()
{
    for (QWidget *w : QApplication::topLevelWidgets()) {
        if (auto *dialog = qobject_cast<OptionsDialog *>(w); dialog && dialog->isVisible()) {
            return dialog;
        }
    }
    return nullptr;
}

// The user's own close of the window: the window manager's close control sends a spontaneous event.
// sendEvent() would mark it as the program's own, so it goes to the window's handler directly.
bool closeByUser(QWidget *window)
{
    QCloseEvent event;
    QSpontaneKeyEvent::setSpontaneous(&event);
    static_cast<QObject *>(window)->event(&event);
    return event.isAccepted();
}

} // namespace

class tst_ReplyWatch : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void timedCheckTellsOnceOfAGrownPage_data();
    void timedCheckTellsOnceOfAGrownPage();
    void timedCheckWithNothingGrownTellsNothing();
    void noTimedRunWhileOneIsGoing();
    void pressDuringATimedRunIsTheUsersOwn();
    void clickOnTheNotificationShowsNewReplies();
    void withoutServiceOnlyTheStatusTells();
    void choiceSurvivesARestart();
    void closeAsksOnceToKeepRunningInTheTray_data();
    void closeAsksOnceToKeepRunningInTheTray();

private:
    void startProgram(int checkEvery);
    void addPost(const QString &path, int size, const QString &storedSize);

    PageServer m_pages;
    std::unique_ptr<NotificationServer> m_notifications;
    std::unique_ptr<ProgramState> m_state;
    std::unique_ptr<MainWindow> m_window;
};

void tst_ReplyWatch::init()
{
    m_notifications = std::make_unique<NotificationServer>();
    QVERIFY2(m_notifications->start(), "the notification service could not take its name on the test's bus");
    m_state = std::make_unique<ProgramState>();
    m_pages.bodies.clear();
    m_pages.holding = false;
}

void tst_ReplyWatch::cleanup()
{
    // Through the shut-down, which also closes the options dialog (a window of its own).
    if (m_window) {
        m_window->close();
    }
    m_window.reset();
    m_state.reset();
    m_notifications.reset();
}

void tst_ReplyWatch::startProgram(int checkEvery)
{
    m_state->settings.write("data", "checkEvery", QString::number(checkEvery));
    m_window = std::make_unique<MainWindow>(m_state->context, nullptr, m_pages.port());
    control<DesktopNotifier>(m_window, {})->setTrayAvailable([] { return false; });
    control<TrayPresence>(m_window, {})->setTrayAvailable([] { return false; });
    QVERIFY(m_window->startUp());
    m_window->show();
    // The website cannot be reached from a test, so the start page takes its place: whatever a test looks at
    // comes after that.
    QTRY_COMPARE_WITH_TIMEOUT(currentAddress(*m_window), QStringLiteral("about:blank"), 20000);
    QTRY_COMPARE_WITH_TIMEOUT(panelText(*m_window, 1), QStringLiteral("Complete"), 20000);
}

void tst_ReplyWatch::addPost(const QString &path, int size, const QString &storedSize)
{
    m_pages.bodies.insert(path.toUtf8(), QByteArray(size, 'x'));
    control<OwnPosts>(m_window, {})->add(m_pages.address(path));
    control<OwnPosts>(m_window, {})->storeSize(control<OwnPosts>(m_window, {})->count() - 1, m_pages.address(path), storedSize);
}

void tst_ReplyWatch::timedCheckTellsOnceOfAGrownPage_data()
{
    QTest::addColumn<QStringList>("capabilities");
    QTest::addColumn<QString>("grown");
    QTest::addColumn<QString>("body");
    QTest::newRow("plain-text-service") << QStringList{"body", "actions"} << "/grown?t=1&p=2"
                                        << "http://127.0.0.1/grown?t=1&p=2";
    // A service that reads markup would take "&p" for the start of an entity.
    QTest::newRow("markup-service") << QStringList{"body", "body-markup", "actions"} << "/grown?t=1&p=2"
                                    << "http://127.0.0.1/grown?t=1&amp;p=2";
}

void tst_ReplyWatch::timedCheckTellsOnceOfAGrownPage()
{
    QFETCH(QStringList, capabilities);
    QFETCH(QString, grown);
    QFETCH(QString, body);
    m_notifications.reset();
    m_notifications = std::make_unique<NotificationServer>(capabilities);
    QVERIFY(m_notifications->start());
    startProgram(15);
    addPost("/same", 1000, "1000");
    addPost(grown, 1600, "1000");
    addPost("/shrunk", 500, "1000");
    const QString address = currentAddress(*m_window);
    BoxAnswerer boxes(QMessageBox::Ok);
    QSignalSpy runs(control<ReplyMonitor>(m_window, {}), &ReplyMonitor::checkFinished);
    control<CheckSchedule>(m_window, {})->setMinuteLength(5ms);

    QTRY_COMPARE_WITH_TIMEOUT(m_notifications->calls.size(), 1, 10000);
    const NotificationServer::Call call = m_notifications->calls.first();
    QCOMPARE(call.appName, QStringLiteral("Postavo"));
    QCOMPARE(call.summary, QStringLiteral("New replies to 1 of your posts"));
    QCOMPARE(call.body, body);
    QCOMPARE(call.actions.value(0), QStringLiteral("default"));
    QCOMPARE(rowCount(control<QListView>(m_window, "newRepliesList")), 1);

    // Later runs find the same grown page again: the user has been told of it already.
    QTRY_VERIFY(runs.count() >= 4);
    QTest::qWait(100);
    QCOMPARE(m_notifications->calls.size(), 1);
    // It did not disturb: no box, the same tabs, the same page.
    QCOMPARE(boxes.boxes, 0);
    QCOMPARE(control<QTabBar>(m_window, "listTabs")->currentIndex(), 0);
    QCOMPARE(control<QTabBar>(m_window, "postTabs")->currentIndex(), 0);
    QCOMPARE(currentAddress(*m_window), address);
}

void tst_ReplyWatch::timedCheckWithNothingGrownTellsNothing()
{
    startProgram(30);
    addPost("/same", 1000, "1000");
    addPost("/little", 1400, "1000");
    // Nothing listens on port 1 of loopback: the connection is refused, and a timed run shows no box for it.
    control<OwnPosts>(m_window, {})->add(QStringLiteral("http://127.0.0.1:1/gone"));
    control<OwnPosts>(m_window, {})->storeSize(2, QStringLiteral("http://127.0.0.1:1/gone"), QStringLiteral("1000"));
    BoxAnswerer boxes(QMessageBox::Ok);
    QSignalSpy runs(control<ReplyMonitor>(m_window, {}), &ReplyMonitor::checkFinished);
    control<CheckSchedule>(m_window, {})->setMinuteLength(5ms);
    QTRY_VERIFY(runs.count() >= 3);
    QTest::qWait(100);
    QCOMPARE(m_notifications->calls.size(), 0);
    QCOMPARE(boxes.boxes, 0);
    QCOMPARE(runs.first(), (QVariantList{0, 1, QStringList()}));
}

void tst_ReplyWatch::noTimedRunWhileOneIsGoing()
{
    startProgram(15);
    addPost("/slow", 5000, "1000");
    m_pages.holding = true;
    QSignalSpy due(control<CheckSchedule>(m_window, {}), &CheckSchedule::due);
    QSignalSpy runs(control<ReplyMonitor>(m_window, {}), &ReplyMonitor::checkFinished);
    control<CheckSchedule>(m_window, {})->setMinuteLength(2ms); // due every 30 ms
    QTRY_COMPARE(due.count(), 1);
    QVERIFY(control<ReplyMonitor>(m_window, {})->isChecking());
    QTest::qWait(300);
    QCOMPARE(due.count(), 1);
    QCOMPARE(runs.count(), 0);

    // The page never answers here; the button's run takes over and ends, and the timer goes on.
    m_pages.holding = false;
    control<QPushButton>(m_window, "checkRepliesButton")->click();
    QTRY_VERIFY(runs.count() >= 1);
    QTRY_VERIFY(due.count() >= 2);
}

void tst_ReplyWatch::pressDuringATimedRunIsTheUsersOwn()
{
    startProgram(15);
    addPost("/slow", 5000, "1000");
    m_pages.holding = true;
    QSignalSpy due(control<CheckSchedule>(m_window, {}), &CheckSchedule::due);
    QSignalSpy runs(control<ReplyMonitor>(m_window, {}), &ReplyMonitor::checkFinished);
    control<CheckSchedule>(m_window, {})->setMinuteLength(2ms);
    QTRY_COMPARE(due.count(), 1);
    control<CheckSchedule>(m_window, {})->setMinuteLength(1h);
    m_window->activateWindow();
    QTRY_VERIFY(m_window->isActiveWindow());
    m_pages.holding = false;
    control<QPushButton>(m_window, "checkRepliesButton")->click();
    QTRY_COMPARE(runs.count(), 1);
    QCOMPARE(runs.first().first().toInt(), 1);
    // The user's own run with the window in front: the list shows the post, the desktop is not told (a
    // notification would take a moment to cross the bus).
    QTest::qWait(500);
    QCOMPARE(m_notifications->calls.size(), 0);
}

void tst_ReplyWatch::clickOnTheNotificationShowsNewReplies()
{
    startProgram(15);
    addPost("/grown", 1600, "1000");
    m_window->hide();
    control<CheckSchedule>(m_window, {})->setMinuteLength(5ms);
    QTRY_COMPARE_WITH_TIMEOUT(m_notifications->calls.size(), 1, 10000);
    control<CheckSchedule>(m_window, {})->setMinutes(0);
    QVERIFY(!m_window->isVisible());
    QCOMPARE(control<QTabBar>(m_window, "listTabs")->currentIndex(), 0);

    m_notifications->click(1);
    QTRY_VERIFY(m_window->isVisible());
    QCOMPARE(control<QTabBar>(m_window, "listTabs")->currentIndex(), 1);
    QVERIFY(control<PostsPanel>(m_window, "postsFrame")->isVisible());
    QCOMPARE(control<QTabBar>(m_window, "postTabs")->tabText(control<QTabBar>(m_window, "postTabs")->currentIndex()),
             QStringLiteral("New Replies "));
    QVERIFY(control<QListView>(m_window, "newRepliesList")->isVisible());
    // It lands on the post's replies, in the reading pane, with the keyboard there.
    QCOMPARE(currentRow(control<QListView>(m_window, "newRepliesList")), 0);
    auto *reader = control<QTextBrowser>(m_window, "replyReader");
    QVERIFY(reader->isVisible());
    QVERIFY2(reader->toPlainText().contains(QStringLiteral("/grown")), qPrintable(reader->toPlainText()));
    QTRY_COMPARE(m_window->focusWidget(), static_cast<QWidget *>(reader));
}

void tst_ReplyWatch::withoutServiceOnlyTheStatusTells()
{
    m_notifications->stop();
    startProgram(15);
    addPost("/grown", 1600, "1000");
    QSignalSpy delivered(control<DesktopNotifier>(m_window, {}), &DesktopNotifier::delivered);
    control<CheckSchedule>(m_window, {})->setMinuteLength(5ms);
    QTRY_COMPARE_WITH_TIMEOUT(delivered.count(), 1, 10000);
    control<CheckSchedule>(m_window, {})->setMinutes(0);
    QCOMPARE(delivered.first().first().value<DesktopNotifier::Route>(), DesktopNotifier::Route::None);
    QCOMPARE(m_notifications->calls.size(), 0);
    QCOMPARE(panelText(*m_window, 1), QStringLiteral("finished - 1 new replies found"));

    // With a tray, its icon shows the message.
    control<DesktopNotifier>(m_window, {})->setTrayAvailable([] { return true; });
    control<DesktopNotifier>(m_window, {})->notify("New replies to 1 of your posts", m_pages.address("/grown"));
    QTRY_COMPARE(delivered.count(), 2);
    QCOMPARE(delivered.last().first().value<DesktopNotifier::Route>(), DesktopNotifier::Route::Tray);
    auto *icon = control<DesktopNotifier>(m_window, {})->findChild<QSystemTrayIcon *>();
    QVERIFY(icon);
    QVERIFY(icon->isVisible());
    m_window->hide();
    emit icon->messageClicked();
    QVERIFY(m_window->isVisible());
    QCOMPARE(control<QTabBar>(m_window, "listTabs")->currentIndex(), 1);
    QVERIFY(control<QListView>(m_window, "newRepliesList")->isVisible());
    QVERIFY(!icon->isVisible());
}

void tst_ReplyWatch::choiceSurvivesARestart()
{
    m_window = std::make_unique<MainWindow>(m_state->context, nullptr, m_pages.port());
    QVERIFY(m_window->startUp());
    m_window->show();
    QCOMPARE(control<CheckSchedule>(m_window, {})->minutes(), 0);
    control<QToolButton>(m_window, "optionsButton")->click();
    OptionsDialog *options = visibleOptions();
    QVERIFY(options);
    QComboBox *box = control<QComboBox>(options, "checkEveryBox");
    QCOMPARE(box->currentData().toInt(), 0);
    QCOMPARE(box->accessibleName(), QStringLiteral("Check for new replies while Postavo runs"));
    QCOMPARE(options->findChild<QLabel *>("checkEveryLabel")->buddy(), box);
    QStringList entries;
    for (int i = 0; i < box->count(); ++i) {
        entries.append(box->itemText(i));
    }
    QCOMPARE(entries, (QStringList{"Never (only when asked)", "Every 15 minutes", "Every 30 minutes", "Every hour",
                                   "Every 2 hours"}));
    box->setCurrentIndex(box->findData(60));
    control<QPushButton>(options, "saveAndCloseButton")->click();
    QCOMPARE(control<CheckSchedule>(m_window, {})->minutes(), 60);
    QCOMPARE(m_state->settings.read("data", "checkEvery", QString()), QStringLiteral("60"));
    m_window->close();
    m_window.reset();

    m_window = std::make_unique<MainWindow>(m_state->context, nullptr, m_pages.port());
    QVERIFY(m_window->startUp());
    m_window->show();
    QCOMPARE(control<CheckSchedule>(m_window, {})->minutes(), 60);
    control<QToolButton>(m_window, "optionsButton")->click();
    options = visibleOptions();
    QVERIFY(options);
    QCOMPARE(control<QComboBox>(options, "checkEveryBox")->currentText(), QStringLiteral("Every hour"));
}

void tst_ReplyWatch::closeAsksOnceToKeepRunningInTheTray_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("keeps");
    QTest::addColumn<bool>("exitInTray"); // else File > Exit
    QTest::newRow("yes-tray-exit") << int(QMessageBox::Yes) << true << true;
    QTest::newRow("yes-file-exit") << int(QMessageBox::Yes) << true << false;
    QTest::newRow("no") << int(QMessageBox::No) << false << false;
}

void tst_ReplyWatch::closeAsksOnceToKeepRunningInTheTray()
{
    QFETCH(int, answer);
    QFETCH(bool, keeps);
    QFETCH(bool, exitInTray);
    m_window = std::make_unique<MainWindow>(m_state->context, nullptr, m_pages.port());
    control<TrayPresence>(m_window, {})->setTrayAvailable([] { return true; });
    m_state->settings.write("data", "checkEvery", "15");
    QVERIFY(m_window->startUp());
    m_window->show();
    QVERIFY(control<TrayPresence>(m_window, {})->icon());
    QSignalSpy ended(m_window.get(), &MainWindow::programEnded);
    BoxAnswerer boxes{QMessageBox::StandardButton(answer)};

    QCOMPARE(closeByUser(m_window.get()), !keeps);
    QCOMPARE(boxes.boxes, 1);
    QCOMPARE(m_state->settings.read("Settings", "keepInTray", QString()), keeps ? QStringLiteral("1") : QStringLiteral("0"));
    if (!keeps) {
        QTRY_COMPARE(ended.count(), 1);
        return;
    }
    QVERIFY(!m_window->isVisible());
    QCOMPARE(ended.count(), 0);

    // In the tray no web page is kept.
    QVERIFY(m_window->findChildren<QWebEnginePage *>().isEmpty());

    // Asked once: the next close goes to the tray at once, the page the user had open released.
    m_window->show();
    m_pages.bodies.insert("/thread", "<html><body><p>A thread</p></body></html>");
    navigate(*m_window, "http://127.0.0.1:" + QString::number(m_pages.port()) + "/thread");
    QTRY_COMPARE(panelText(*m_window, 1), QStringLiteral("Complete"));
    QVERIFY(!closeByUser(m_window.get()));
    QCOMPARE(boxes.boxes, 1);
    QVERIFY(!m_window->isVisible());
    QCOMPARE(ended.count(), 0);
    QVERIFY(m_window->findChildren<QWebEnginePage *>().isEmpty());

    // A click on the tray icon brings the window back as it was, at the page the user had.
    emit control<TrayPresence>(m_window, {})->icon()->activated(QSystemTrayIcon::Trigger);
    QVERIFY(m_window->isVisible());
    QCOMPARE(control<QTabBar>(m_window, "listTabs")->currentIndex(), 0);
    QTRY_COMPARE(currentAddress(*m_window), "http://127.0.0.1:" + QString::number(m_pages.port()) + "/thread");

    // Exit ends the program through the shut-down, which writes the lists back.
    QFile::remove(m_state->dir.filePath("posts.txt"));
    if (exitInTray) {
        QMenu *menu = control<TrayPresence>(m_window, {})->icon()->contextMenu();
        QVERIFY(menu);
        QCOMPARE(menu->actions().size(), 2);
        menu->actions().at(1)->trigger();
    } else {
        m_window->show();
        control<QAction>(m_window, "fileMenuItem3")->trigger();
    }
    QTRY_COMPARE(ended.count(), 1);
    QVERIFY(QFile::exists(m_state->dir.filePath("posts.txt")));
    QCOMPARE(boxes.boxes, 1);
}

int main(int argc, char **argv)
{
    // The bus must be in place before anything in the process connects to one.
    PrivateSessionBus bus;
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    app.setAttribute(Qt::AA_Use96Dpi, true);
    if (bus.error()) {
        qCritical("No session bus for the test: %s", bus.error());
        return 1;
    }
    tst_ReplyWatch test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_replywatch.moc"
