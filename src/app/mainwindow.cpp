#include "app/mainwindow.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QMenuBar>
#include <QMessageBox>
#include <QSplitter>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTabBar>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/buttonrow.h"
#include "base/settingsstore.h"
#include "base/textfile.h"
#include "base/twips.h"
#include "forums/forumpanel.h"
#include "forums/listkeeper.h"
#include "links/linkformats.h"
#include "messages/messagecommands.h"
#include "messages/messagepanel.h"
#include "messages/messagestore.h"
#include "probe/postaddress.h"
#include "replies/postspanel.h"
#include "replies/replymonitor.h"
#include "replies/timedchecks.h"
#include "ui/named.h"
#include "app/programwindows.h"
#include "ui/skin.h"
#include "ui/statuspanels.h"
#include "ui/websitelauncher.h"
#include "ui/windowplacement.h"
#include "ui/windowicon.h"
#include "web/autoinsertcontroller.h"
#include "web/browserpane.h"
#include "web/browserprofile.h"
#include <QWebEngineProfile>
#include "web/postedmessagewatcher.h"
#include "web/startpage.h"


MainWindow::MainWindow(ProgramContext &context, QWidget *parent, quint16 probePort)
    : QMainWindow(parent)
    , m_context(context)
    , m_probePort(probePort)
{
    setObjectName(QStringLiteral("MainWindow"));
    createControls();
    createMenus();
    connectPanels();
    // The design's size (its client area, status bar included, below the menu bar); the layouts set the least.
    resize(twipsToPixels(11145), twipsToPixels(8985) + menuBar()->sizeHint().height());
}

MainWindow::~MainWindow()
{
    m_context.settings->setFailureHandler(nullptr);
    // The panels go before the lists they show: a page closing answers the scripts still waiting on it, and a
    // watch that reads the page's text then stores into the own posts.
    delete takeCentralWidget();
}

void MainWindow::createControls()
{
    m_buttonRow = new ButtonRow;
    m_messagePanel = new MessagePanel(m_context, m_context.skinning);
    m_browserPane = new BrowserPane(m_context.dataFolder.filePath(DataFiles::htmlTemp), m_context.browserProfile);
    m_commands
        = new MessageCommands(m_context, *m_context.linkFormats, m_messagePanel, m_buttonRow->formatSelector(), this);

    m_listTabs = named(new QTabBar, "listTabs");
    m_listTabs->addTab(tr("Your Forums"));
    m_listTabs->addTab(tr("Your Posts"));
    m_listTabs->setUsesScrollButtons(false);
    m_listTabs->setElideMode(Qt::ElideNone);
    m_lists = new ListKeeper(m_context.dataFolder, this, m_context.branding.programName);
    const auto address = [this] { return m_browserPane->currentAddress(); };
    m_forumPanel = new ForumPanel(m_lists->forums(), address);
    // The check asks for each page as the browser pane would, signed in where the user signed in.
    shareIdentity(m_context.browserProfile ? m_context.browserProfile : QWebEngineProfile::defaultProfile(),
        &m_identity, this);
    PostsPanel::ShownPage shownPage;
    shownPage.address = [this] { return PostAddress::storedText(m_browserPane->currentUrl()); };
    shownPage.selectedText = [this] { return m_browserPane->selectedText(); };
    shownPage.readText = [this](QObject *context, std::function<void(const QString &)> done) {
        m_browserPane->readShownText(context, std::move(done));
    };
    m_postsPanel
        = new PostsPanel(m_lists->posts(), { *m_context.settings, &m_identity, m_probePort }, std::move(shownPage));
    m_replyMonitor = m_postsPanel->monitor();
    connect(m_replyMonitor, &ReplyMonitor::checkFinished, m_browserPane, &BrowserPane::refreshStartPage);
    layOut();

    statusBar()->setObjectName(QStringLiteral("statusBar"));
    m_status = new StatusPanels(statusBar());
    m_timedChecks
        = new TimedChecks(this, m_postsPanel, m_replyMonitor, *m_context.settings, m_context.branding.programName);
    m_windows = new ProgramWindows(m_context, this);
}

void MainWindow::layOut()
{
    // The lists' tabs over the panel of the tab chosen.
    auto *lists = named(new QWidget, "listsPanel");
    auto *listsLayout = new QVBoxLayout(lists);
    listsLayout->setContentsMargins(0, 0, 0, 0);
    listsLayout->setSpacing(0);
    listsLayout->addWidget(m_listTabs);
    // As wide as the wider panel, so that choosing the other tab never squeezes its captions.
    m_listStack = named(new QStackedWidget, "listStack");
    m_listStack->addWidget(m_forumPanel);
    m_listStack->addWidget(m_postsPanel);
    listsLayout->addWidget(m_listStack, 1);
    // The editor over the lists, and that column beside the browser: the user drags the splitters between them;
    // the browser takes what the window gains.
    auto *editorSplitter = named(new QSplitter(Qt::Vertical), "editorSplitter");
    editorSplitter->addWidget(m_messagePanel);
    editorSplitter->addWidget(lists);
    auto *columnSplitter = named(new QSplitter(Qt::Horizontal), "columnSplitter");
    columnSplitter->addWidget(editorSplitter);
    columnSplitter->addWidget(m_browserPane);
    for (QSplitter *splitter : { editorSplitter, columnSplitter }) {
        splitter->setChildrenCollapsible(false);
    }
    // Until the user drags them (they are remembered then), what the window has beyond the least goes a third to
    // the editor and the lists and two thirds to the browser, and half to the editor and half to the lists.
    columnSplitter->setStretchFactor(0, 1);
    columnSplitter->setStretchFactor(1, 2);
    editorSplitter->setStretchFactor(0, 1);
    editorSplitter->setStretchFactor(1, 1);
    editorSplitter->setAccessibleName(tr("Message editor and lists"));
    columnSplitter->setAccessibleName(tr("Message editor and browser"));

    auto *client = named(new QWidget(this), "client");
    auto *layout = new QVBoxLayout(client);
    layout->addWidget(m_buttonRow);
    layout->addWidget(columnSplitter, 1);
    setCentralWidget(client);
}

void MainWindow::connectPanels()
{
    connect(m_buttonRow, &ButtonRow::saveClicked, m_messagePanel, &MessagePanel::saveMessage);
    connect(m_buttonRow, &ButtonRow::loadClicked, m_messagePanel, &MessagePanel::openMessagePicker);
    connect(m_buttonRow, &ButtonRow::previewClicked, m_commands, &MessageCommands::preview);
    connect(m_buttonRow, &ButtonRow::copyClicked, m_commands, &MessageCommands::copy);
    connect(m_buttonRow, &ButtonRow::autoInsertClicked, m_commands, &MessageCommands::autoInsert);
    connect(m_buttonRow, &ButtonRow::optionsClicked, m_windows, &ProgramWindows::showOptions);
    connect(m_windows, &ProgramWindows::templatesStored, m_commands, &MessageCommands::refillFormats);
    connect(m_windows, &ProgramWindows::checkIntervalStored, m_timedChecks, &TimedChecks::setInterval);
    connect(m_buttonRow, &ButtonRow::visitClicked, this, [this] {
        if (m_context.website) {
            m_context.website->launch(false);
        }
    });
    connect(m_listTabs, &QTabBar::currentChanged, m_listStack, &QStackedWidget::setCurrentIndex);

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
    connect(m_forumPanel, &ForumPanel::forumsChanged, m_lists, &ListKeeper::forumsChanged);
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
    const QList<QWidget *> order = m_buttonRow->tabOrder() + m_messagePanel->tabOrder() + QList<QWidget *> { m_listTabs } + m_forumPanel->tabOrder()
        + m_postsPanel->tabOrder() + m_browserPane->tabOrder();
    for (qsizetype i = 1; i < order.size(); ++i) {
        setTabOrder(order[i - 1], order[i]);
    }
}

bool MainWindow::startUp()
{
    SettingsStore &settings = *m_context.settings;

    ::setWindowIcon(this, QStringLiteral("AAA"), true);
    const BrandingInfo &branding = m_context.branding;
    setWindowTitle(tr("%1 by %2").arg(branding.programName, branding.companyName));
    m_buttonRow->setWebsite(branding.website);
    m_browserPane->offerStartPage(branding.website, [this] {
        StartPageContent content;
        content.programName = m_context.branding.programName;
        content.website = QStringLiteral("http://") + m_context.branding.website;
        content.forums = m_lists->forums().addresses();
        content.newReplies = m_lists->posts().withNewReplies();
        return content;
    });
    m_browserPane->navigate(branding.website);
    m_status->addToBar();

    QString reason;
    if (!m_context.dataFolder.isWritable(&reason) || !m_context.dataFolder.createMissingDataFiles(&reason)) {
        QMessageBox::critical(this, branding.programName,
            tr("Postavo keeps its lists and messages in the folder\n%1\nbut cannot write there: "
               "%2.\n\nThe program will now close.")
                .arg(m_context.dataFolder.path(), reason));
        return false;
    }

    m_context.legacyCodePage = LegacyCodePage::fromSettings(settings);
    m_replyMonitor->setKeptTexts(m_context.keptTexts, m_context.legacyCodePage);
    QStringList unreadable = m_lists->load(m_context.legacyCodePage);
    const MessageStore messages(m_context.dataFolder.filePath(DataFiles::messages), m_context.legacyCodePage);
    if (const QString reason = messages.unreadableReason(); !reason.isEmpty()) {
        unreadable.append(messages.filePath() + QStringLiteral(": ") + reason);
    }
    tellUnreadableFiles(unreadable);

    m_context.linkFormats->load(settings);
    m_commands->refillFormats();
    m_messagePanel->restoreLastMessage();
    m_commands->restoreFormat();

    if (m_context.skinning) {
        skinMainWindow(this, m_context.skinning->skin());
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
    QMessageBox box(QMessageBox::Warning, m_context.branding.programName,
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
    const auto ended = [this] {
        if (m_context.skinning) {
            m_context.skinning->stop();
        }
        emit programEnded();
    };
    if (m_context.website) {
        m_context.website->whenNoneVisible(this, ended);
    } else {
        ended();
    }
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    // Only the user's own close (the window's close control) may leave the program in the tray; Exit, the
    // tray's Exit and requests to end call close() and always shut down.
    if (event->spontaneous() && m_timedChecks->keepRunningOnClose()) {
        hide();
        m_browserPane->releasePage();
        event->ignore();
        return;
    }
    shutDown();
    event->accept();
}

void MainWindow::restorePlacement()
{
    WindowPlacement::restore(this, *m_context.settings);
}

void MainWindow::openPost(const QString &address)
{
    // The page of an own post may be the one where a message just inserted appears. A page after a post's, where
    // its thread went on, is not one of the user's posts.
    if (m_lists->posts().contains(address)) {
        m_browserPane->postWatcher()->arm();
    }
    m_browserPane->navigate(address);
}

void MainWindow::showEvent(QShowEvent *event)
{
    // Back from the tray: the page the user had comes back.
    m_browserPane->restorePage();
    QMainWindow::showEvent(event);
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
    m_listTabs->setCurrentIndex(OwnPostsTab);
    m_postsPanel->readNewReplies();
}

void MainWindow::showPosts(int view)
{
    m_listTabs->setCurrentIndex(OwnPostsTab);
    m_postsPanel->showView(view);
}
