#pragma once

#include <QElapsedTimer>
#include <QMainWindow>
#include <QPointer>
#include <array>
#include <memory>

#include "base/appcontext.h"
#include "forums/forumpanel.h"
#include "forums/forums.h"
#include "forums/ownposts.h"
#include "messages/messagepanel.h"
#include "replies/postspanel.h"
#include "replies/replymonitor.h"
#include "replies/replynotice.h"
#include "web/autoinsertcontroller.h"
#include "web/browserpane.h"
#include "web/postedmessagewatcher.h"

class QAction;
class QComboBox;
class QLabel;
class QMenu;
class QTabBar;
class QTimer;
class QToolButton;
class AboutWindow;
class CheckSchedule;
class DesktopNotifier;
class HelpWindow;
class ListAutosave;
class ListStore;
class OptionsDialog;
class TrayPresence;

// The main window: composes the picture-button row, the message editor, the browser pane, the forum and
// own-post panels, the menus and the status bar, runs start-up and shut-down, and wires the panels together.
class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    // probePort: the port the page size probes connect to (80; tests point it at their own server).
    explicit MainWindow(AppContext &context, QWidget *parent = nullptr, quint16 probePort = 80);
    ~MainWindow() override;

    // Start-up in its fixed order. Returns false when the program cannot go on (the data folder cannot be
    // written); the user has been told why.
    bool startUp();
    // Shut-down: writes the lists and settings back; every step runs even when an earlier one failed.
    void shutDown();
    // Size, place, maximised state and splitters as the last run left them, fitted to the screens of now; on
    // the first start, a size that suits the screen.
    void restorePlacement();

    // The message box text with CR LF line ends, as stored and sent out.
    QString messageText() const;
    void setMessageText(const QString &text);
    // The message followed by CR LF CR LF, converted with the format selected at this moment.
    QString convertedOutgoingText() const;

    QString panelText(int panel) const;
    void setPanelText(int panel, const QString &text);

    // Refills the format selector from the link formats and selects "text".
    void updateInterface();

    AppContext &context() const { return m_context; }

    // The initial twelve-line message shown until a stored message replaces it.
    static QString initialMessageText();

    void navigate(const QString &address);
    QString currentAddress() const;
    // The same address as it is kept among the own posts: fully encoded.
    QString currentPostAddress() const;

    // Windows opened from here
    void showHelpWindow();
    void showAboutWindow();

    // The splash window that loaded this one; the shut-down closes it first.
    void setSplash(QWidget *splash) { m_splash = splash; }

    // The lists the panels show; the list files hold them between runs.
    OwnPosts ownPosts;
    Forums forums;

    // The picture-button row.
    QToolButton *autoInsertButton = nullptr;
    QComboBox *formatSelector = nullptr;
    QToolButton *previewButton = nullptr;
    QToolButton *copyButton = nullptr;
    QToolButton *saveButton = nullptr;
    QToolButton *loadButton = nullptr;
    QToolButton *optionsButton = nullptr;
    QToolButton *visitButton = nullptr;

    MessagePanel *messagePanel = nullptr;
    BrowserPane *browserPane = nullptr;
    // The forums and own posts, on the two tabs below the editor.
    QTabBar *listTabs = nullptr;
    ForumPanel *forumPanel = nullptr;
    PostsPanel *postsPanel = nullptr;
    ReplyMonitor *replyMonitor = nullptr;
    AutoInsertController *autoInserter = nullptr;
    PostedMessageWatcher *postWatcher = nullptr;
    std::array<QLabel *, 3> statusPanels{};
    // Reply checks on a timer, the desktop notification of new replies, and the tray icon while checks run.
    CheckSchedule *checkSchedule = nullptr;
    DesktopNotifier *notifier = nullptr;
    TrayPresence *trayPresence = nullptr;

    // Menus and their items by position ("&Help" holds helpMenuItem, "About" holds aboutMenuItem).
    QMenu *fileMenu = nullptr;
    QMenu *toolsMenu = nullptr;
    QMenu *viewMenu = nullptr;
    QMenu *helpMenu = nullptr;
    QMenu *aboutMenu = nullptr;
    std::array<QAction *, 4> fileMenuItem{};
    std::array<QAction *, 8> toolsMenuItem{};
    std::array<QAction *, 4> viewMenuItem{};
    std::array<QAction *, 1> helpMenuItem{};
    std::array<QAction *, 1> aboutMenuItem{};

signals:
    // The shut-down has finished and the program should end.
    void programEnded();
    // An Auto-Insert has ended: the text is in the field, or the user has been told it could not be.
    void autoInsertFinished(bool ok);

protected:
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;

private slots:
    void autoInsert();
    void previewMessage();
    void copyMessage();
    void showOptions();
    void visitWebsite();
    void switchListTab();
    void openPost(const QString &address);
    void pasteConvertedMessage();
    bool saveForums();
    // Shows the window, from the tray or from under others.
    void bringUp();
    // Brings the window up on the new replies, as a click on a notification asks.
    void showNewReplies();

    // Menus, one handler per menu, told the item's position
    void fileMenuItemChosen(int index);
    void toolsMenuItemChosen(int index);
    void viewMenuItemChosen(int index);
    void helpMenuItemChosen(int index);
    void aboutMenuItemChosen(int index);

private:
    void createControls();
    void connectPanels();
    void setTabOrderByLayout();
    void layoutMainWindow();
    void createMenus();
    // Icons, the design size and the smallest size the window can be given.
    void setUpDesign();
    void updateMinimumSize();
    void loadLists();
    void saveLists();
    // Tells the user that a file could not be written, and why.
    void showWriteFailure(const WriteFailure &failure);
    void createReplyWatch();
    void savePlacement();
    // Shows the start page of the program's own if the first load (the website) fails.
    void offerStartPage();
    void showStartPage();
    // Checks every so many minutes (0: off) from now on.
    void applyCheckInterval(int minutes);
    void replyCheckFinished(int newReplyCount, int notCheckedCount, const QStringList &newReplyAddresses);

    AppContext &m_context;
    std::unique_ptr<ListStore> m_lists;
    ListAutosave *m_autosave = nullptr;
    QPointer<OptionsDialog> m_options;
    QPointer<HelpWindow> m_help;
    QPointer<AboutWindow> m_about;
    quint16 m_probePort = 80;
    QPointer<QWidget> m_splash;
    // The run going now was started by the timer.
    bool m_timedRun = false;
    ReplyNotice::ToldPosts m_toldPosts;

    // Status panels: the texts as last written, and when the labels last showed them.
    void showPanelTexts();
    std::array<QString, 3> m_panelTexts;
    QTimer *m_panelRefresh = nullptr;
    QElapsedTimer m_panelsShown;
};
