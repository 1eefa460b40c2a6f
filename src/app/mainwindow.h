#pragma once

#include <QElapsedTimer>
#include <QMainWindow>
#include <QPointer>
#include <array>

#include "app/appcontext.h"

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
class Form3;
class frmCustom;
class Form8;
class frmAbout;
class KeyTyper;

// The main window: the message editor, the browser pane, the forum and own-post lists, the reply monitor and
// the status bar. Its handlers read the controls, call the core and write the controls back; the work itself
// lives in the core library.
class Form1 : public QMainWindow
{
    Q_OBJECT

public:
    // probePort: the port the page size probes connect to (80; tests point it at their own server).
    explicit Form1(AppContext &context, QWidget *parent = nullptr, quint16 probePort = 80);
    ~Form1() override;

    // Start-up in its fixed order. Returns false when the program cannot go on (the data folder cannot be
    // written); the user has been told why.
    bool Form_Load();
    // Shut-down: writes the lists and settings back; every step runs even when an earlier one failed.
    void Form_Unload();

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
    void cmdLoad_Click();
    void cmdPreview_Click();
    void cmdCopy_Click();
    void cmdPaste_Click(int index);
    void cmdMessage_Click();
    void cmdOptions_Click();
    void Command1_Click();
    void txtSubject_Change();

    // Browser pane
    void Command3_Click();
    void Command4_Click();
    void Command5_Click();
    void Command6_Click();
    void Command7_Click();
    void WebBrowser1_DownloadBegin();
    void WebBrowser1_DownloadComplete(bool ok);
    void WebBrowser1_StatusTextChange(const QString &text);
    void WebBrowser1_TitleChange();

    // Forum and own-post lists, logins
    void cmdAdd_Click();
    void cmdDel_Click();
    void cmdAdd2_Click();
    void cmdDel2_Click();
    void lstPosts_Click();
    void lstPosts_DblClick();
    void lstPosts2_Click();
    void lstPosts2_DblClick();
    void TabStrip2_Click();
    void txtUsername_Change();
    void txtPassword_Change();

    // Reply monitor
    void wscSizes_Close();
    void wscPosts_Close();
    void cmdReplies_Click();
    void TabStrip1_Click();
    void lstNew_Click();
    void lstNew_DblClick();
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
    QToolButton *cmdMessage = nullptr;
    QComboBox *cmbConvert = nullptr;
    QToolButton *cmdPreview = nullptr;
    QToolButton *cmdCopy = nullptr;
    QToolButton *cmdSave = nullptr;
    QToolButton *cmdLoad = nullptr;
    QToolButton *cmdOptions = nullptr;
    QToolButton *Command1 = nullptr;

    QGroupBox *Frame1 = nullptr;
    QLabel *lblSubject = nullptr;
    QLineEdit *txtSubject = nullptr;
    QLabel *lblMessage = nullptr;
    QPlainTextEdit *txtMessage = nullptr;
    std::array<QPushButton *, 4> cmdPaste{};

    QGroupBox *Frame2 = nullptr;
    QLabel *lblUrl = nullptr;
    QLineEdit *Text5 = nullptr;
    QPushButton *Command3 = nullptr;
    QPushButton *Command4 = nullptr;
    QPushButton *Command5 = nullptr;
    QPushButton *Command6 = nullptr;
    QPushButton *Command7 = nullptr;
    QCheckBox *Check1 = nullptr;
    QWebEngineView *WebBrowser1 = nullptr;
    QListWidget *lstLogins = nullptr;

    QTabBar *TabStrip2 = nullptr;
    QGroupBox *Frame4 = nullptr;
    QPushButton *cmdAdd2 = nullptr;
    QPushButton *cmdDel2 = nullptr;
    QListWidget *lstPosts2 = nullptr;
    QLabel *lblUsername = nullptr;
    QLineEdit *txtUsername = nullptr;
    QLabel *lblPassword = nullptr;
    QLineEdit *txtPassword = nullptr;

    QGroupBox *Frame3 = nullptr;
    QPushButton *cmdAdd = nullptr;
    QPushButton *cmdDel = nullptr;
    QPushButton *cmdReplies = nullptr;
    QTabBar *TabStrip1 = nullptr;
    QListWidget *lstPosts = nullptr;
    QListWidget *lstNew = nullptr;

    QListWidget *lstSizes = nullptr;
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

    PageSizeProbe *wscSizes = nullptr;
    PageSizeProbe *wscPosts = nullptr;

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
    QPointer<Form3> m_picker;
    QPointer<frmCustom> m_options;
    QPointer<Form8> m_help;
    QPointer<frmAbout> m_about;
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
