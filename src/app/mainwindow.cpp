#include "app/mainwindow.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QMessageBox>
#include <QStatusBar>
#include <QTabBar>
#include <QToolButton>

#include "app/mainlayout.h"
#include "base/branding.h"
#include "base/settingsstore.h"
#include "base/textfile.h"
#include "forums/forumpanel.h"
#include "forums/listkeeper.h"
#include "links/linkformats.h"
#include "messages/messagecommands.h"
#include "messages/messagepanel.h"
#include "messages/messagestore.h"
#include "replies/postaddress.h"
#include "replies/postspanel.h"
#include "replies/probetimeouts.h"
#include "replies/replycheck.h"
#include "replies/replymonitor.h"
#include "replies/timedchecks.h"
#include "ui/accessiblecombobox.h"
#include "ui/elidingtoolbutton.h"
#include "ui/picturebutton.h"
#include "ui/placement.h"
#include "ui/programwindows.h"
#include "ui/skin.h"
#include "ui/statuspanels.h"
#include "ui/websitelauncher.h"
#include "ui/windowplacement.h"
#include "ui/windowicon.h"
#include "web/autoinsertcontroller.h"
#include "web/browserpane.h"
#include "web/browserprofile.h"
#include "web/postedmessagewatcher.h"
#include "web/startpage.h"

using Placement::place;

MainWindow::MainWindow(AppContext &context, QWidget *parent, quint16 probePort)
    : QMainWindow(parent)
    , m_context(context)
    , m_probePort(probePort)
{
    setObjectName(QStringLiteral("MainWindow"));
    createControls();
    createMenus();
    connectPanels();
    m_layout = std::make_unique<MainLayout>(MainLayout::Areas { this, m_autoInsertButton, m_previewButton, m_copyButton,
        m_saveButton, m_loadButton, m_optionsButton, m_visitButton, m_messagePanel, m_browserPane, m_listTabs,
        m_forumPanel, m_postsPanel, m_status });
    m_layout->setUpDesign();
}

MainWindow::~MainWindow()
{
    m_context.settings->setFailureHandler(nullptr);
}

void MainWindow::createControls()
{
    auto *client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    setCentralWidget(client);

    // The row of picture buttons and the format selector.
    m_autoInsertButton = pictureButton(client, "autoInsertButton", tr("Auto-Insert"),
        tr("Once you are on the page where you can post your message, click here to insert it."),
        { 60, 60, 1600, 800 });
    m_formatSelector = place(new QComboBox(client), "formatSelector", 2100, 480, 1635, 315);
    m_formatSelector->setToolTip(tr("Select the format you would like to use when your message is inserted."));
    nameComboBoxesByTheirAccessibleName();
    m_formatSelector->setAccessibleName(tr("Format"));
    m_previewButton = pictureButton(client, "previewButton", tr("Preview"),
        tr("See a preview of your message in the currently selected format"), { 3840, 60, 800, 800 });
    m_copyButton = pictureButton(client, "copyButton", tr("Copy"),
        tr("Copy your message to the clipboard in the selected format"), { 4680, 60, 800, 800 });
    m_saveButton
        = pictureButton(client, "saveButton", tr("Save"), tr("Save the current message"), { 5520, 60, 800, 800 });
    m_loadButton = pictureButton(client, "loadButton", tr("Load"), tr("Load a saved message"), { 6360, 60, 800, 800 });
    m_optionsButton = pictureButton(client, "optionsButton", tr("Options"), tr("Options"), { 7200, 60, 800, 800 });
    m_visitButton = pictureButton(
        client, "visitButton", tr("Visit"), tr("Visit us!"), { 8040, 60, 2115, 795 }, new ElidingToolButton(client));

    m_messagePanel = place(new MessagePanel(m_context, client), "messageEditor", 60, 900, 3735, 4215);
    m_browserPane = place(new BrowserPane(m_context.dataFolder.filePath(DataFiles::htmlTemp), client), "browserFrame",
        3840, 900, 6375, 7395);
    m_commands = new MessageCommands(m_context, m_messagePanel, m_formatSelector, this);

    m_listTabs = place(new QTabBar(client), "listTabs", 60, 5215, 3735, 400);
    m_listTabs->addTab(tr("Your Forums"));
    m_listTabs->addTab(tr("Your Posts"));
    m_lists = new ListKeeper(m_context.dataFolder, this);
    const auto address = [this] { return currentAddress(); };
    m_forumPanel = place(new ForumPanel(m_lists->forums(), address, client), "forumsFrame", 120, 5520, 3615, 4335);
    const auto threshold = [this] {
        return ReplyCheck::thresholdFromSetting(
            m_context.settings->read(QStringLiteral("data"), QStringLiteral("size"), QStringLiteral("500")));
    };
    m_replyMonitor = new ReplyMonitor(threshold, m_probePort, this);
    m_replyMonitor->setTimeoutSource([this] { return ProbeTimeouts::fromSettings(*m_context.settings); });
    m_replyMonitor->setKeptTexts(m_context.keptTexts);
    // The check asks for each page as the browser pane would, signed in where the user signed in.
    shareIdentity(browserProfile(), &m_identity, this);
    m_replyMonitor->setIdentity(&m_identity);
    connect(m_replyMonitor, &ReplyMonitor::checkFinished, m_browserPane, &BrowserPane::refreshStartPage);
    PostsPanel::ShownPage shownPage;
    shownPage.address = [this] { return currentPostAddress(); };
    shownPage.selectedText = [this] { return m_browserPane->selectedText(); };
    shownPage.readText = [this](QObject *context, std::function<void(const QString &)> done) {
        m_browserPane->readShownText(context, std::move(done));
    };
    m_postsPanel = place(new PostsPanel(m_lists->posts(), m_replyMonitor, std::move(shownPage), client), "postsFrame",
        120, 5520, 3615, 4335);
    m_postsPanel->hide();

    statusBar()->setObjectName(QStringLiteral("statusBar"));
    m_status = new StatusPanels(statusBar());
    m_timedChecks = new TimedChecks(this, m_postsPanel, m_replyMonitor, *m_context.settings);
    m_windows = new ProgramWindows(m_context, this);
}

void MainWindow::connectPanels()
{
    connect(m_saveButton, &QToolButton::clicked, m_messagePanel, &MessagePanel::saveMessage);
    connect(m_loadButton, &QToolButton::clicked, m_messagePanel, &MessagePanel::openMessagePicker);
    connect(m_previewButton, &QToolButton::clicked, m_commands, &MessageCommands::preview);
    connect(m_copyButton, &QToolButton::clicked, m_commands, &MessageCommands::copy);
    connect(m_autoInsertButton, &QToolButton::clicked, m_commands, &MessageCommands::autoInsert);
    connect(m_optionsButton, &QToolButton::clicked, m_windows, &ProgramWindows::showOptions);
    connect(m_windows, &ProgramWindows::templatesStored, m_commands, &MessageCommands::refillFormats);
    connect(m_windows, &ProgramWindows::checkIntervalStored, m_timedChecks, &TimedChecks::setInterval);
    connect(m_visitButton, &QToolButton::clicked, this, [] { launchWebsite(false); });
    connect(m_listTabs, &QTabBar::currentChanged, this, [this](int tab) {
        m_forumPanel->setVisible(tab == ForumsTab);
        m_postsPanel->setVisible(tab == OwnPostsTab);
    });

    AutoInsertController *inserter = m_browserPane->autoInserter();
    PostedMessageWatcher *postWatcher = m_browserPane->postWatcher();
    connect(m_commands, &MessageCommands::insertMessage, inserter, &AutoInsertController::insert);
    connect(m_commands, &MessageCommands::typeText, m_browserPane, &BrowserPane::typeText);
    connect(inserter, &AutoInsertController::textInserted, postWatcher, &PostedMessageWatcher::armFor);
    connect(inserter, &AutoInsertController::finished, this, &MainWindow::autoInsertFinished);
    connect(postWatcher, &PostedMessageWatcher::postedMessageFound, m_postsPanel, &PostsPanel::watchNoticedPost);
    connect(m_browserPane, &BrowserPane::loadCompleted, postWatcher, &PostedMessageWatcher::checkPage);

    connect(m_messagePanel, &MessagePanel::statusText, m_status, &StatusPanels::show);
    connect(m_messagePanel, &MessagePanel::typeText, m_browserPane, &BrowserPane::typeText);
    connect(m_messagePanel, &MessagePanel::pasteMessageRequested, m_commands, &MessageCommands::pasteConverted);
    connect(m_browserPane, &BrowserPane::statusText, m_status, &StatusPanels::show);
    connect(m_forumPanel, &ForumPanel::statusText, m_status, &StatusPanels::show);
    connect(m_forumPanel, &ForumPanel::typeText, m_browserPane, &BrowserPane::typeText);
    connect(m_forumPanel, &ForumPanel::openAddress, m_browserPane, &BrowserPane::navigate);
    connect(m_forumPanel, &ForumPanel::forumsChanged, m_lists, &ListKeeper::saveForums);
    m_context.settings->setFailureHandler([this](const WriteFailure &failure) { m_lists->tellWriteFailure(failure); });
    connect(m_postsPanel, &PostsPanel::statusText, m_status, &StatusPanels::show);
    connect(m_postsPanel, &PostsPanel::openPost, this, &MainWindow::openPost);

    connect(m_timedChecks, &TimedChecks::showNewRepliesRequested, this, &MainWindow::showNewReplies);
    connect(m_timedChecks, &TimedChecks::showRequested, this, &MainWindow::bringUp);
    // The tray's Exit leaves through the same shut-down as the File menu's.
    connect(m_timedChecks, &TimedChecks::exitRequested, this, &MainWindow::close);
    setTabOrderByLayout();
}

void MainWindow::setTabOrderByLayout()
{
    // The controls were made panel by panel; Tab reads the window as it is laid out instead: the button row,
    // the editor, the list tabs with the panel below them, then the browser on the right.
    const QList<QWidget *> order = QList<QWidget *> { m_autoInsertButton, m_formatSelector, m_previewButton,
        m_copyButton, m_saveButton, m_loadButton, m_optionsButton, m_visitButton }
        + m_messagePanel->tabOrder() + QList<QWidget *> { m_listTabs } + m_forumPanel->tabOrder()
        + m_postsPanel->tabOrder() + m_browserPane->tabOrder();
    for (qsizetype i = 1; i < order.size(); ++i) {
        setTabOrder(order[i - 1], order[i]);
    }
}

bool MainWindow::startUp()
{
    SettingsStore &settings = *m_context.settings;

    loadBranding();
    ::setWindowIcon(this, QStringLiteral("AAA"), true);
    const BrandingInfo &branding = brandingInfo();
    setWindowTitle(tr("%1 by %2").arg(branding.programName, branding.companyName));
    m_visitButton->setText(tr("Visit %1").arg(branding.website));
    m_browserPane->offerStartPage([this] {
        StartPageContent content;
        content.programName = brandingInfo().programName;
        content.website = QStringLiteral("http://") + brandingInfo().website;
        content.forums = m_lists->forums().addresses();
        const OwnPosts &posts = m_lists->posts();
        for (int row = 0; row < posts.count(); ++row) {
            if (posts.index(row).data(OwnPosts::HasNewRepliesRole).toBool()) {
                content.newReplies.append(posts.address(row));
            }
        }
        return content;
    });
    navigate(branding.website);
    m_status->addToBar();

    QString reason;
    if (!m_context.dataFolder.isWritable(&reason) || !m_context.dataFolder.createMissingDataFiles(&reason)) {
        QMessageBox::critical(this, branding.programName,
            tr("Postavo keeps its lists and messages in the folder\n%1\nbut cannot write there: "
               "%2.\n\nThe program will now close.")
                .arg(m_context.dataFolder.path(), reason));
        return false;
    }

    const QString codePage = settings.read(QStringLiteral("Settings"), QStringLiteral("legacyCodePage"), QString());
    if (!TextFile::setLegacyCodePage(codePage)) {
        qWarning(
            "Unknown code page \"%s\" in the setting legacyCodePage; reading Windows-1252", qUtf8Printable(codePage));
    }
    QStringList unreadable = m_lists->load();
    const MessageStore messages(m_context.dataFolder.filePath(DataFiles::messages));
    if (const QString reason = messages.unreadableReason(); !reason.isEmpty()) {
        unreadable.append(messages.filePath() + QStringLiteral(": ") + reason);
    }
    tellUnreadableFiles(unreadable);

    m_context.linkFormats->load(settings);
    m_commands->refillFormats();
    m_messagePanel->restoreLastMessage();
    m_commands->restoreFormat();

    if (branding.skinEnabled) {
        skinMainWindow(this);
    }
    if (settings.read(QStringLiteral("Settings"), QStringLiteral("showHelp"), QStringLiteral("1"))
        == QLatin1String("1")) {
        m_windows->showHelp();
    }
    m_timedChecks->applyStoredInterval();
    return true;
}

void MainWindow::tellUnreadableFiles(const QStringList &problems)
{
    if (problems.isEmpty()) {
        return;
    }
    QMessageBox box(QMessageBox::Warning, brandingInfo().programName,
        tr("Postavo could not read these files:\n%1\n\nThey are left as they are: this session "
           "will not write over them.")
            .arg(problems.join(QLatin1Char('\n'))),
        QMessageBox::Ok, this);
    box.exec();
}

void MainWindow::shutDown()
{
    m_timedChecks->setInterval(0);
    WindowPlacement::save(this, *m_context.settings);
    m_lists->save();
    m_messagePanel->storeLastMessage();
    m_commands->storeFormat();
    // The other windows close in this order: splash, options, help, message picker.
    if (m_splash) {
        m_splash->close();
    }
    m_windows->closeOptionsAndHelp();
    m_messagePanel->closePicker();
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
    // Only the user's own close (the window's close control) may leave the program in the tray; Exit, the
    // tray's Exit and requests to end call close() and always shut down.
    if (event->spontaneous() && m_timedChecks->keepRunningOnClose()) {
        hide();
        event->ignore();
        return;
    }
    shutDown();
    event->accept();
}

void MainWindow::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    m_layout->fitToWindow();
    // Once more, as the repaint after a resize would: this run sizes the lower frames from their new top.
    m_layout->fitToWindow();
}

void MainWindow::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange && !isMinimized()) {
        m_layout->fitToWindow();
        m_layout->fitToWindow();
    }
}

void MainWindow::restorePlacement()
{
    WindowPlacement::restore(this, *m_context.settings);
}

QString MainWindow::messageText() const
{
    return m_messagePanel->messageText();
}

void MainWindow::setMessageText(const QString &text)
{
    m_messagePanel->setMessageText(text);
}

QString MainWindow::convertedOutgoingText() const
{
    return m_commands->convertedOutgoingText();
}

QString MainWindow::panelText(int panel) const
{
    return m_status->text(panel);
}

void MainWindow::setPanelText(int panel, const QString &text)
{
    m_status->show(panel, text);
}

void MainWindow::navigate(const QString &address)
{
    m_browserPane->navigate(address);
}

QString MainWindow::currentAddress() const
{
    return m_browserPane->currentAddress();
}

QString MainWindow::currentPostAddress() const
{
    return PostAddress::storedText(m_browserPane->currentUrl());
}

void MainWindow::openPost(const QString &address)
{
    // The page of an own post may be the one where a message just inserted appears. A page after a post's, where
    // its thread went on, is not one of the user's posts.
    if (m_lists->posts().contains(address)) {
        m_browserPane->postWatcher()->arm();
    }
    navigate(address);
}

void MainWindow::bringUp()
{
    if (isMinimized()) {
        setWindowState(windowState() & ~Qt::WindowMinimized);
    }
    show();
    raise();
    activateWindow();
}

void MainWindow::showNewReplies()
{
    bringUp();
    showPosts(PostsPanel::NewRepliesTab);
}

void MainWindow::showPosts(int view)
{
    m_listTabs->setCurrentIndex(OwnPostsTab);
    m_postsPanel->showView(view);
}
