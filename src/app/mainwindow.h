#pragma once

#include <QElapsedTimer>
#include <QMainWindow>
#include <QPointer>
#include <array>

#include "base/appcontext.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QAction;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QTabBar;
class QToolButton;
class QTimer;
class QWebEngineView;
class PageSizeProbe;
class MessagePicker;
class OptionsDialog;
class HelpWindow;
class AboutWindow;
class KeyTyper;

// The main window: the message editor, the browser pane, the forum and own-post lists, the reply monitor and
// the status bar. Its handlers read the controls, call the core and write the controls back; the work itself
// lives in the core library.
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

    // Browser pane
    void navigate(const QString &address);
    QString currentAddress() const;

    // Own posts
    bool isPostWatched(const QString &address) const;
    // Precondition: isPostWatched(address).
    qint16 watchedPostIndex(const QString &address) const;

    // Page size probe
    void startSizeProbe(const QString &address, qint16 index);
    void startCheckProbe(const QString &address);

    // Windows opened from here
    void showHelpWindow();
    void showAboutWindow();

    // The splash window that loaded this one; the unload closes it first.
    void setSplash(QWidget *splash) { m_splash = splash; }

signals:
    // The unload sequence has finished and the program should end.
    void programEnded();
    // An Auto-Insert has ended: the text is in the field, or the user has been told it could not be.
    void autoInsertFinished(bool ok);

protected:
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;

private slots:
    // Message commands
    void cmdSave_Click();
    void openMessagePicker();
    void cmdPreview_Click();
    void copyMessage();
    void pasteInto(int index);
    void autoInsert();
    void showOptions();
    void visitWebsite();
    void storeSubject();

    // Browser pane
    void goToAddress();
    void goBack();
    void goForward();
    void stopLoading();
    void reloadPage();
    void loadStarted();
    void loadFinished(bool ok);
    void showStatusText(const QString &text);
    void showCurrentAddress();

    // Forum and own-post lists, logins
    void watchCurrentPage();
    void unwatchSelectedPost();
    void addCurrentForum();
    void removeSelectedForum();
    void showSelectedPost();
    void openSelectedPost();
    void showSelectedForum();
    void openSelectedForum();
    void switchListTab();
    void storeLogin();
    void storeLoginFromPassword();

    // Reply monitor
    void baselineMeasured();
    void checkMeasured();
    void checkForReplies();
    void switchPostView();
    void showSelectedReply();
    void openSelectedReply();
    void probeStartFailed(int errorNumber, const QString &description);
    void probeSocketFailed(int errorNumber, const QString &description);

    // Menus, one handler per menu, told the item's position
    void fileMenuItem_Click(int index);
    void toolsMenuItem_Click(int index);
    void viewMenuItem_Click(int index);
    void aboutMenuItem_Click(int index);
    void mnuAboutItem_Click(int index);

private:
    void createControls();
    void connectControls();
    void layoutMainWindow();
    void createMenus();
    // Icons, the design size and the smallest size the window can be given.
    void setUpDesign();
    void updateMinimumSize();
    // Gives the browser pane its page and wires its events.
    void connectBrowser();

    // Lists and their files
    void loadLists();
    void saveLists();
    bool saveLogins();

    // Reply check
    void checkNextPost();

    // Web form filling and posted-message detection
    void autoInsertMessage();
    void checkPostedMessage();
    void showAutoInsertError();

    // Message store
    void saveMessage();
    void previewMessage();

    AppContext &m_context;

public:
    // Controls, named as the window's design names them (also their objectNames).
    QToolButton *autoInsertButton = nullptr;
    QComboBox *formatSelector = nullptr;
    QToolButton *previewButton = nullptr;
    QToolButton *copyButton = nullptr;
    QToolButton *saveButton = nullptr;
    QToolButton *loadButton = nullptr;
    QToolButton *optionsButton = nullptr;
    QToolButton *visitButton = nullptr;

    QGroupBox *messageEditor = nullptr;
    QLabel *subjectLabel = nullptr;
    QLineEdit *subjectEdit = nullptr;
    QLabel *messageLabel = nullptr;
    QPlainTextEdit *messageEdit = nullptr;
    std::array<QPushButton *, 4> pasteButtons{};

    QGroupBox *browserFrame = nullptr;
    QLabel *addressLabel = nullptr;
    QLineEdit *addressEdit = nullptr;
    QPushButton *goButton = nullptr;
    QPushButton *backButton = nullptr;
    QPushButton *forwardButton = nullptr;
    QPushButton *stopButton = nullptr;
    QPushButton *reloadButton = nullptr;
    QCheckBox *noPopupsCheck = nullptr;
    QWebEngineView *webView = nullptr;
    QListWidget *loginList = nullptr;

    QTabBar *listTabs = nullptr;
    QGroupBox *forumsFrame = nullptr;
    QPushButton *addForumButton = nullptr;
    QPushButton *removeForumButton = nullptr;
    QListWidget *forumList = nullptr;
    QLabel *usernameLabel = nullptr;
    QLineEdit *usernameEdit = nullptr;
    QLabel *passwordLabel = nullptr;
    QLineEdit *passwordEdit = nullptr;

    QGroupBox *postsFrame = nullptr;
    QPushButton *watchButton = nullptr;
    QPushButton *unwatchButton = nullptr;
    QPushButton *checkRepliesButton = nullptr;
    QTabBar *postTabs = nullptr;
    QListWidget *postList = nullptr;
    QListWidget *newRepliesList = nullptr;

    QListWidget *sizeList = nullptr;
    std::array<QLabel *, 3> statusPanels{};

    // Menus and their items by position ("&Help" holds aboutMenuItem, "About" holds mnuAboutItem).
    QMenu *fileMenu = nullptr;
    QMenu *toolsMenu = nullptr;
    QMenu *viewMenu = nullptr;
    QMenu *helpMenu = nullptr;
    QMenu *aboutMenu = nullptr;
    std::array<QAction *, 4> fileMenuItem{};
    std::array<QAction *, 8> toolsMenuItem{};
    std::array<QAction *, 4> viewMenuItem{};
    std::array<QAction *, 1> aboutMenuItem{};
    std::array<QAction *, 1> mnuAboutItem{};

    PageSizeProbe *baselineProbe = nullptr;
    PageSizeProbe *checkProbe = nullptr;

    // Posted-message detection
    qint16 watchCountdown = 0;
    QString lastInsertedMessage;

    // Reply check
    qint16 checkIndex = 0;
    qint16 newReplyCount = 0;
    qint32 replyThreshold = 500;
    qint16 sizeProbeTargetIndex = -1;
    // The post the baseline probe measures, to find its entry again should the list change meanwhile.
    QString sizeProbeAddress;

private:
    QPointer<MessagePicker> m_picker;
    QPointer<OptionsDialog> m_options;
    QPointer<HelpWindow> m_help;
    QPointer<AboutWindow> m_about;
    quint16 m_probePort = 80;
    // List files that existed but could not be read at start-up: never written over, so nothing in them is lost.
    QStringList m_unreadableLists;
    QPointer<QWidget> m_splash;

    // Status panels: the texts as last written, and when the labels last showed them.
    void showPanelTexts();
    std::array<QString, 3> m_panelTexts;
    QTimer *m_panelRefresh = nullptr;
    QElapsedTimer m_panelsShown;
    KeyTyper *m_typer = nullptr;
};
