#include "app/mainwindow.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTabBar>
#include <QTimer>
#include <QToolButton>
#include <QWebEngineView>

#include "base/branding.h"
#include "ui/elidingtoolbutton.h"
#include "base/settingsstore.h"
#include "base/twips.h"
#include "links/linkconversion.h"
#include "links/optionsdialog.h"
#include "links/linkformats.h"
#include "messages/messagepicker.h"
#include "replies/pagesizeprobe.h"
#include "ui/helpwindow.h"
#include "ui/aboutwindow.h"
#include "ui/websitelauncher.h"
#include "ui/skin.h"
#include "ui/windowicon.h"

namespace {

const QString s_data = QStringLiteral("data");

template<typename W>
W *place(W *widget, const char *name, int left, int top, int width, int height)
{
    widget->setObjectName(QLatin1String(name));
    widget->setGeometry(twipsRect(left, top, width, height));
    return widget;
}

QToolButton *pictureButton(QWidget *parent, const char *name, const QString &caption, const QString &tip,
                           QToolButton *button = nullptr)
{
    if (!button) {
        button = new QToolButton(parent);
    }
    button->setObjectName(QLatin1String(name));
    button->setText(caption);
    button->setToolTip(tip);
    button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    button->setAutoRaise(false);
    return button;
}

QGroupBox *frame(QWidget *parent, const char *name, const QString &title)
{
    auto *box = new QGroupBox(title, parent);
    box->setObjectName(QLatin1String(name));
    return box;
}

} // namespace

MainWindow::MainWindow(AppContext &context, QWidget *parent, quint16 probePort)
    : QMainWindow(parent)
    , m_context(context)
    , m_probePort(probePort)
{
    setObjectName(QStringLiteral("MainWindow"));
    createControls();
    createMenus();
    connectControls();
    setUpDesign();
}

MainWindow::~MainWindow() = default;

QString MainWindow::initialMessageText()
{
    static const char *const lines[] = {
        "Type your first message here.  ",
        "",
        "Use plain-text, and be sure to put ",
        "http:// before your URLs.  Then go",
        "to a message forum's posting page ",
        "and hit the \"Insert Message\" button ",
        "to insert your message ",
        "automatically!  ",
        "",
        "You can switch between different ",
        "formatting types by changing the ",
        "value in the drop down box above.",
    };
    QString text;
    for (const char *line : lines) {
        text += QLatin1String(line) + QStringLiteral("\r\n");
    }
    return text;
}

void MainWindow::createControls()
{
    auto *client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    setCentralWidget(client);

    // The row of picture buttons and the format selector.
    autoInsertButton = pictureButton(client, "autoInsertButton", tr("Auto-Insert"),
                               tr("Once you are on the page where you can post your message, click here to insert it."));
    autoInsertButton->setGeometry(twipsRect(60, 60, 1600, 800));
    formatSelector = place(new QComboBox(client), "formatSelector", 2100, 480, 1635, 315);
    formatSelector->setToolTip(tr("Select the format you would like to use when your message is inserted."));
    previewButton = pictureButton(client, "previewButton", tr("Preview"),
                               tr("See a preview of your message in the currently selected format"));
    previewButton->setGeometry(twipsRect(3840, 60, 800, 800));
    copyButton = pictureButton(client, "copyButton", tr("Copy"), tr("Copy your message to the clipboard in the selected format"));
    copyButton->setGeometry(twipsRect(4680, 60, 800, 800));
    saveButton = pictureButton(client, "saveButton", tr("Save"), tr("Save the current message"));
    saveButton->setGeometry(twipsRect(5520, 60, 800, 800));
    loadButton = pictureButton(client, "loadButton", tr("Load"), tr("Load a saved message"));
    loadButton->setGeometry(twipsRect(6360, 60, 800, 800));
    optionsButton = pictureButton(client, "optionsButton", tr("Options"), tr("Options"));
    optionsButton->setGeometry(twipsRect(7200, 60, 800, 800));
    visitButton = pictureButton(client, "visitButton", tr("Visit"), tr("Visit us!"), new ElidingToolButton(client));
    visitButton->setGeometry(twipsRect(8040, 60, 2115, 795));

    // Message editor.
    messageEditor = place(frame(client, "messageEditor", tr("Message Editor")), "messageEditor", 60, 900, 3735, 4215);
    subjectLabel = place(new QLabel(tr("Subject:"), messageEditor), "subjectLabel", 120, 330, 780, 255);
    subjectEdit = place(new QLineEdit(messageEditor), "subjectEdit", 900, 300, 1995, 285);
    pasteButtons[0] = place(new QPushButton(tr("Paste"), messageEditor), "pasteSubjectButton", 2940, 285, 675, 315);
    pasteButtons[0]->setToolTip(tr("Click within the Subject field on the form you want to paste into, then click here."));
    messageLabel = place(new QLabel(tr("Message:"), messageEditor), "messageLabel", 120, 660, 1000, 240);
    // The message box fills the editor down to its paste button.
    messageEdit = place(new QPlainTextEdit(messageEditor), "messageEdit", 120, 900, 3495, 2715);
    pasteButtons[3] = place(new QPushButton(tr("Paste Message"), messageEditor), "pasteMessageButton", 120, 3705, 3495, 375);
    pasteButtons[3]->setToolTip(tr("Click within the message area on the form you want to paste into, then click here."));

    // Browser.
    browserFrame = place(frame(client, "browserFrame", tr("Browser")), "browserFrame", 3840, 900, 6375, 7395);
    addressLabel = place(new QLabel(tr("URL:"), browserFrame), "addressLabel", 75, 270, 450, 255);
    addressEdit = place(new QLineEdit(browserFrame), "addressEdit", 540, 240, 4875, 315);
    goButton = place(new QPushButton(tr("Go"), browserFrame), "goButton", 5460, 240, 795, 315);
    goButton->setToolTip(tr("browse the entered url"));
    backButton = place(new QPushButton(browserFrame), "backButton", 120, 630, 315, 330);
    backButton->setToolTip(tr("back"));
    forwardButton = place(new QPushButton(browserFrame), "forwardButton", 465, 630, 315, 330);
    forwardButton->setToolTip(tr("forward"));
    stopButton = place(new QPushButton(browserFrame), "stopButton", 810, 630, 315, 330);
    stopButton->setToolTip(tr("stop"));
    reloadButton = place(new QPushButton(browserFrame), "reloadButton", 1155, 630, 315, 330);
    reloadButton->setToolTip(tr("refresh"));
    noPopupsCheck = place(new QCheckBox(tr("No Popups"), browserFrame), "noPopupsCheck", 1530, 630, 1350, 330);
    webView = place(new QWebEngineView(browserFrame), "webView", 120, 1020, 6135, 5375);
    loginList = place(new QListWidget(browserFrame), "loginList", 120, 1020, 100, 100);
    loginList->hide();

    // Forums and own posts, on the two tabs below the editor.
    listTabs = place(new QTabBar(client), "listTabs", 60, 5215, 3735, 400);
    listTabs->addTab(tr("Your Forums"));
    listTabs->addTab(tr("Your Posts"));

    forumsFrame = place(frame(client, "forumsFrame", QString()), "forumsFrame", 120, 5520, 3615, 4335);
    addForumButton = place(new QPushButton(tr("Add Current URL"), forumsFrame), "addForumButton", 60, 180, 1695, 330);
    removeForumButton = place(new QPushButton(tr("Remove URL"), forumsFrame), "removeForumButton", 1800, 180, 1695, 330);
    usernameLabel = place(new QLabel(tr("Username:"), forumsFrame), "usernameLabel", 60, 570, 990, 255);
    usernameEdit = place(new QLineEdit(forumsFrame), "usernameEdit", 1065, 540, 1650, 285);
    pasteButtons[1] = place(new QPushButton(tr("Paste"), forumsFrame), "pasteUsernameButton", 2760, 540, 735, 285);
    pasteButtons[1]->setToolTip(tr("Click within the Username field on the form you want to paste into, then click here."));
    passwordLabel = place(new QLabel(tr("Password:"), forumsFrame), "passwordLabel", 60, 870, 990, 255);
    passwordEdit = place(new QLineEdit(forumsFrame), "passwordEdit", 1065, 840, 1650, 285);
    passwordEdit->setEchoMode(QLineEdit::Password);
    pasteButtons[2] = place(new QPushButton(tr("Paste"), forumsFrame), "pastePasswordButton", 2760, 840, 735, 285);
    pasteButtons[2]->setToolTip(tr("Click within the Password field on the form you want to paste into, then click here."));
    forumList = place(new QListWidget(forumsFrame), "forumList", 60, 1140, 3435, 1425);
    usernameEdit->setEnabled(false);
    passwordEdit->setEnabled(false);

    postsFrame = place(frame(client, "postsFrame", QString()), "postsFrame", 120, 5520, 3615, 4335);
    watchButton = place(new QPushButton(tr("Watch This Post"), postsFrame), "watchButton", 60, 180, 1695, 375);
    unwatchButton = place(new QPushButton(tr("Remove Watch"), postsFrame), "unwatchButton", 1800, 180, 1695, 375);
    checkRepliesButton = place(new QPushButton(tr("Check for replies"), postsFrame), "checkRepliesButton", 60, 180, 3435, 375);
    postTabs = place(new QTabBar(postsFrame), "postTabs", 60, 900, 3435, 420);
    postTabs->addTab(tr("Show All"));
    postTabs->addTab(tr("New Replies "));
    postList = place(new QListWidget(postsFrame), "postList", 60, 1320, 3435, 1620);
    newRepliesList = place(new QListWidget(postsFrame), "newRepliesList", 60, 1320, 3435, 1230);
    postsFrame->hide();
    newRepliesList->hide();
    checkRepliesButton->hide();

    sizeList = place(new QListWidget(client), "sizeList", 0, 0, 100, 100);
    sizeList->hide();

    const char *const panelNames[3] = {"panel1", "panel2", "panel3"};
    for (int i = 0; i < 3; ++i) {
        auto *panel = new QLabel(this);
        panel->setObjectName(QLatin1String(panelNames[i]));
        panel->setFrameShape(QFrame::Panel);
        panel->setFrameShadow(QFrame::Sunken);
        panel->setTextFormat(Qt::PlainText);
        statusPanels[i] = panel;
    }
    statusBar()->setObjectName(QStringLiteral("statusBar"));
    m_panelRefresh = new QTimer(this);
    m_panelRefresh->setSingleShot(true);
    connect(m_panelRefresh, &QTimer::timeout, this, &MainWindow::showPanelTexts);

    baselineProbe = new PageSizeProbe(this, m_probePort);
    baselineProbe->setObjectName(QStringLiteral("baselineProbe"));
    checkProbe = new PageSizeProbe(this, m_probePort);
    checkProbe->setObjectName(QStringLiteral("checkProbe"));
}

void MainWindow::connectControls()
{
    connect(saveButton, &QToolButton::clicked, this, &MainWindow::cmdSave_Click);
    connect(loadButton, &QToolButton::clicked, this, &MainWindow::openMessagePicker);
    connect(previewButton, &QToolButton::clicked, this, &MainWindow::cmdPreview_Click);
    connect(copyButton, &QToolButton::clicked, this, &MainWindow::copyMessage);
    connect(autoInsertButton, &QToolButton::clicked, this, &MainWindow::autoInsert);
    connect(optionsButton, &QToolButton::clicked, this, &MainWindow::showOptions);
    connect(visitButton, &QToolButton::clicked, this, &MainWindow::visitWebsite);
    for (int i = 0; i < int(pasteButtons.size()); ++i) {
        connect(pasteButtons[i], &QPushButton::clicked, this, [this, i] { pasteInto(i); });
    }
    connect(subjectEdit, &QLineEdit::textChanged, this, &MainWindow::storeSubject);

    connect(goButton, &QPushButton::clicked, this, &MainWindow::goToAddress);
    connect(addressEdit, &QLineEdit::returnPressed, this, &MainWindow::goToAddress);
    connect(backButton, &QPushButton::clicked, this, &MainWindow::goBack);
    connect(forwardButton, &QPushButton::clicked, this, &MainWindow::goForward);
    connect(stopButton, &QPushButton::clicked, this, &MainWindow::stopLoading);
    connect(reloadButton, &QPushButton::clicked, this, &MainWindow::reloadPage);

    connect(watchButton, &QPushButton::clicked, this, &MainWindow::watchCurrentPage);
    connect(unwatchButton, &QPushButton::clicked, this, &MainWindow::unwatchSelectedPost);
    connect(addForumButton, &QPushButton::clicked, this, &MainWindow::addCurrentForum);
    connect(removeForumButton, &QPushButton::clicked, this, &MainWindow::removeSelectedForum);
    connect(postList, &QListWidget::itemClicked, this, &MainWindow::showSelectedPost);
    connect(postList, &QListWidget::itemDoubleClicked, this, &MainWindow::openSelectedPost);
    connect(forumList, &QListWidget::itemClicked, this, &MainWindow::showSelectedForum);
    connect(forumList, &QListWidget::itemDoubleClicked, this, &MainWindow::openSelectedForum);
    connect(listTabs, &QTabBar::currentChanged, this, &MainWindow::switchListTab);
    connect(usernameEdit, &QLineEdit::textChanged, this, &MainWindow::storeLogin);
    connect(passwordEdit, &QLineEdit::textChanged, this, &MainWindow::storeLoginFromPassword);
    // A selection made by keyboard or by code counts too: the login boxes must belong to the selected forum.
    connect(postList, &QListWidget::currentRowChanged, this, &MainWindow::showSelectedPost);
    connect(forumList, &QListWidget::currentRowChanged, this, &MainWindow::showSelectedForum);

    connect(checkRepliesButton, &QPushButton::clicked, this, &MainWindow::checkForReplies);
    connect(postTabs, &QTabBar::currentChanged, this, &MainWindow::switchPostView);
    connect(newRepliesList, &QListWidget::itemClicked, this, &MainWindow::showSelectedReply);
    connect(newRepliesList, &QListWidget::itemDoubleClicked, this, &MainWindow::openSelectedReply);

    connect(baselineProbe, &PageSizeProbe::completed, this, &MainWindow::baselineMeasured);
    connect(checkProbe, &PageSizeProbe::completed, this, &MainWindow::checkMeasured);
    for (PageSizeProbe *probe : {baselineProbe, checkProbe}) {
        connect(probe, &PageSizeProbe::panelText, this, &MainWindow::setPanelText);
        connect(probe, &PageSizeProbe::startFailed, this, &MainWindow::probeStartFailed);
        connect(probe, &PageSizeProbe::socketFailed, this, &MainWindow::probeSocketFailed);
    }
    connectBrowser();
}

bool MainWindow::startUp()
{
    SettingsStore &settings = *m_context.settings;

    loadBranding();
    ::setWindowIcon(this, QStringLiteral("AAA"), true);
    const BrandingInfo &branding = brandingInfo();
    setWindowTitle(branding.programName + QStringLiteral(" by ") + branding.companyName);
    visitButton->setText(QStringLiteral("Visit ") + branding.website);
    navigate(branding.website);

    for (QLabel *panel : statusPanels) {
        // The last panel takes what the first two leave.
        statusBar()->addWidget(panel, panel == statusPanels.back() ? 1 : 0);
    }

    QString reason;
    if (!m_context.dataFolder.isWritable(&reason) || !m_context.dataFolder.createMissingDataFiles(&reason)) {
        QMessageBox::critical(this, branding.programName,
                              tr("Postavo keeps its lists and messages in the folder\n%1\nbut cannot write there: "
                                 "%2.\n\nThe program will now close.")
                                  .arg(m_context.dataFolder.path(), reason));
        return false;
    }

    loadLists();

    m_context.linkFormats->load(settings);
    updateInterface();

    const QString lastMessage = settings.read(s_data, QStringLiteral("lastMessage"), QString());
    subjectEdit->setText(settings.read(s_data, QStringLiteral("lastSubject"), QStringLiteral("Type Subject Here")));
    if (lastMessage.isEmpty() || lastMessage == QLatin1String(" ")) {
        setMessageText(initialMessageText());
    } else {
        setMessageText(lastMessage);
    }

    // A remembered position that is not a number or no longer in the list leaves "text" selected.
    bool isNumber = false;
    const int lastConvert = settings.read(s_data, QStringLiteral("lastConvert"), QStringLiteral("0")).toInt(&isNumber);
    if (isNumber && lastConvert >= 0 && lastConvert < formatSelector->count()) {
        formatSelector->setCurrentIndex(lastConvert);
    }

    if (branding.skinEnabled) {
        skinMainWindow(this);
    }

    if (settings.read(QStringLiteral("Settings"), QStringLiteral("showHelp"), QStringLiteral("1"))
        == QLatin1String("1")) {
        showHelpWindow();
    }
    return true;
}

void MainWindow::shutDown()
{
    SettingsStore &settings = *m_context.settings;
    saveLists();
    settings.write(s_data, QStringLiteral("lastMessage"), messageText());
    settings.write(s_data, QStringLiteral("lastConvert"), QString::number(formatSelector->currentIndex()));
    // The other windows close in this order: splash, options, help, message picker.
    if (m_splash) {
        m_splash->close();
    }
    delete m_options.data();
    if (m_help) {
        m_help->close();
    }
    if (m_picker) {
        m_picker->close();
    }
    // A website launcher still on screen keeps the program alive until it has closed itself.
    WebsiteLauncher::whenNoneVisible(this, [this] {
        if (brandingInfo().skinEnabled) {
            stopSkinCompanion();
        }
        emit programEnded();
    });
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    shutDown();
    event->accept();
}

void MainWindow::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    layoutMainWindow();
    // Once more, as the repaint after a resize would: this run sizes the lower frames from their new top.
    layoutMainWindow();
}

void MainWindow::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange && !isMinimized()) {
        layoutMainWindow();
        layoutMainWindow();
    }
}

QString MainWindow::messageText() const
{
    QString text = messageEdit->toPlainText();
    text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return text;
}

void MainWindow::setMessageText(const QString &text)
{
    QString plain = text;
    plain.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    messageEdit->setPlainText(plain);
}

QString MainWindow::convertedOutgoingText() const
{
    return convertMessage(messageText() + QStringLiteral("\r\n\r\n"), formatSelector->currentText(), *m_context.linkFormats);
}

QString MainWindow::panelText(int panel) const
{
    return m_panelTexts.at(panel - 1);
}

void MainWindow::setPanelText(int panel, const QString &text)
{
    if (panel < 1 || panel > 3) {
        return;
    }
    m_panelTexts[panel - 1] = text;
    // A reply check writes several texts per page at thousands of pages a second, and laying out and painting
    // the status bar for each would cost more than the check itself. A text shows at once unless the panels
    // changed within the last frame; then it shows with the others at the end of that frame.
    constexpr qint64 frameMs = 40;
    if (m_panelRefresh->isActive()) {
        return;
    }
    if (!m_panelsShown.isValid() || m_panelsShown.hasExpired(frameMs)) {
        showPanelTexts();
    } else {
        m_panelRefresh->start(int(frameMs - m_panelsShown.elapsed()));
    }
}

void MainWindow::showPanelTexts()
{
    for (size_t i = 0; i < statusPanels.size(); ++i) {
        statusPanels[i]->setText(m_panelTexts[i]);
    }
    m_panelsShown.start();
}

void MainWindow::updateInterface()
{
    formatSelector->clear();
    formatSelector->addItems(m_context.linkFormats->selectorEntries());
    formatSelector->setCurrentIndex(0);
}

void MainWindow::showHelpWindow()
{
    if (!m_help) {
        m_help = new HelpWindow(m_context, this);
        m_help->setAttribute(Qt::WA_DeleteOnClose);
    }
    if (!m_help->isLoaded()) {
        // Without its guide the window stays hidden; the next request looks for the file again.
        m_help->deleteLater();
        return;
    }
    m_help->show();
    m_help->raise();
    m_help->activateWindow();
}

void MainWindow::showAboutWindow()
{
    if (!m_about) {
        m_about = new AboutWindow(this);
    }
    m_about->show();
    m_about->raise();
    m_about->activateWindow();
}

void MainWindow::visitWebsite()
{
    launchWebsite(false);
}
