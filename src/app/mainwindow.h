#pragma once

#include <QMainWindow>
#include <QPointer>
#include <memory>

#include "app/programcontext.h"
#include "probe/requestidentity.h"

class QMenuBar;
class QStackedWidget;
class QTabBar;
class BrowserPane;
class ButtonRow;
class ForumPanel;
class ListKeeper;
class MessageCommands;
class MessagePanel;
class PostsPanel;
class ProgramWindows;
class ReplyMonitor;
class StatusPanels;
class TimedChecks;

// The main window: composes the picture-button row, the message editor, the browser pane, the forum and
// own-post panels, the menus and the status bar, and runs start-up and shut-down in their order.
class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    // probePort: the port the page size probes connect to (80; tests point it at their own server).
    explicit MainWindow(ProgramContext &context, QWidget *parent = nullptr, quint16 probePort = 80);
    ~MainWindow() override;

    // Start-up in its fixed order. Returns false when the program cannot go on (the data folder cannot be
    // written); the user has been told why.
    bool startUp();
    // Shut-down: writes the lists and settings back; every step runs even when an earlier one failed.
    void shutDown();
    // Size, place, maximised state and splitters as the last run left them, fitted to the screens of now; on
    // the first start, a size that suits the screen.
    void restorePlacement();

    // The splash window that loaded this one; the shut-down closes it first.
    void setSplash(QWidget *splash) { m_splash = splash; }

signals:
    // The shut-down has finished and the program should end.
    void programEnded();
    // An Auto-Insert has ended: the text is in the field, or the user has been told it could not be.
    void autoInsertFinished(bool ok);

protected:
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void createControls();
    void layOut();
    void connectPanels();
    void setTabOrderByLayout();
    void createMenus();
    void openPost(const QString &address);
    // One box at start-up for every data file that is there but cannot be read.
    void tellUnreadableFiles(const QStringList &problems);
    // Shows the window, from the tray or from under others; on the new replies when asked.
    void bringUp();
    void showNewReplies();
    // The own posts' tab, on the given view of the posts panel.
    void showPosts(int view);

    ProgramContext &m_context;
    quint16 m_probePort = 80;
    QPointer<QWidget> m_splash;

    ButtonRow *m_buttonRow = nullptr;
    MessagePanel *m_messagePanel = nullptr;
    BrowserPane *m_browserPane = nullptr;
    // The forums and own posts, on the two tabs below the editor.
    enum ListTab { ForumsTab = 0, OwnPostsTab = 1 };
    QTabBar *m_listTabs = nullptr;
    ForumPanel *m_forumPanel = nullptr;
    PostsPanel *m_postsPanel = nullptr;
    QStackedWidget *m_listStack = nullptr;

    ListKeeper *m_lists = nullptr;
    // Made before the monitor that asks it, gone after it.
    RequestIdentity m_identity;
    ReplyMonitor *m_replyMonitor = nullptr;
    MessageCommands *m_commands = nullptr;
    StatusPanels *m_status = nullptr;
    TimedChecks *m_timedChecks = nullptr;
    ProgramWindows *m_windows = nullptr;
};
