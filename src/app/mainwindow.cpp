#include "app/mainwindow.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
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
#include "base/settingsstore.h"
#include "base/textfile.h"
#include "forums/forumpanel.h"
#include "forums/listautosave.h"
#include "forums/liststore.h"
#include "links/linkconversion.h"
#include "links/linkformats.h"
#include "links/optionsdialog.h"
#include "messages/messagepanel.h"
#include "messages/messagepicker.h"
#include "replies/checkschedule.h"
#include "replies/postaddress.h"
#include "replies/postspanel.h"
#include "replies/probetimeouts.h"
#include "replies/replycheck.h"
#include "replies/replymonitor.h"
#include "app/traypresence.h"
#include "ui/aboutwindow.h"
#include "ui/accessiblecombobox.h"
#include "ui/elidingtoolbutton.h"
#include "ui/helpwindow.h"
#include "ui/placement.h"
#include "ui/skin.h"
#include "ui/websitelauncher.h"
#include "ui/windowicon.h"
#include "web/autoinsertcontroller.h"
#include "web/browserpane.h"
#include "web/postedmessagewatcher.h"

using Placement::place;

namespace {

const QString s_data = QStringLiteral("data");

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

} // namespace

MainWindow::MainWindow(AppContext &context, QWidget *parent, quint16 probePort)
    : QMainWindow(parent)
    , m_context(context)
    , m_lists(std::make_unique<ListStore>(context.dataFolder))
    , m_probePort(probePort)
{
    setObjectName(QStringLiteral("MainWindow"));
    m_autosave = new ListAutosave(*m_lists, ownPosts, forums, this);
    createControls();
    createMenus();
    connectPanels();
    createReplyWatch();
    setUpDesign();
}

MainWindow::~MainWindow()
{
    m_context.settings->setFailureHandler(nullptr);
}

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
    nameComboBoxesByTheirAccessibleName();
    formatSelector->setAccessibleName(tr("Format"));
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

    messagePanel = place(new MessagePanel(m_context, client), "messageEditor", 60, 900, 3735, 4215);
    browserPane = place(new BrowserPane(client), "browserFrame", 3840, 900, 6375, 7395);

    listTabs = place(new QTabBar(client), "listTabs", 60, 5215, 3735, 400);
    listTabs->addTab(tr("Your Forums"));
    listTabs->addTab(tr("Your Posts"));
    const auto address = [this] { return currentAddress(); };
    forumPanel = place(new ForumPanel(forums, address, client), "forumsFrame", 120, 5520, 3615, 4335);
    const auto threshold = [this] {
        return ReplyCheck::thresholdFromSetting(
            m_context.settings->read(s_data, QStringLiteral("size"), QStringLiteral("500")));
    };
    replyMonitor = new ReplyMonitor(threshold, m_probePort, this);
    replyMonitor->setTimeoutSource([this] { return ProbeTimeouts::fromSettings(*m_context.settings); });
    replyMonitor->setKeptTexts(m_context.keptTexts);
    const auto postAddress = [this] { return currentPostAddress(); };
    postsPanel
        = place(new PostsPanel(ownPosts, replyMonitor, postAddress, client), "postsFrame", 120, 5520, 3615, 4335);
    postsPanel->hide();

    autoInserter = new AutoInsertController(browserPane->webView,
                                            m_context.dataFolder.filePath(DataFiles::htmlTemp), this);
    postWatcher = new PostedMessageWatcher(browserPane->webView, this);

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
}

void MainWindow::connectPanels()
{
    connect(saveButton, &QToolButton::clicked, messagePanel, &MessagePanel::saveMessage);
    connect(loadButton, &QToolButton::clicked, messagePanel, &MessagePanel::openMessagePicker);
    connect(previewButton, &QToolButton::clicked, this, &MainWindow::previewMessage);
    connect(copyButton, &QToolButton::clicked, this, &MainWindow::copyMessage);
    connect(autoInsertButton, &QToolButton::clicked, this, &MainWindow::autoInsert);
    connect(optionsButton, &QToolButton::clicked, this, &MainWindow::showOptions);
    connect(visitButton, &QToolButton::clicked, this, &MainWindow::visitWebsite);
    connect(listTabs, &QTabBar::currentChanged, this, &MainWindow::switchListTab);

    connect(messagePanel, &MessagePanel::statusText, this, &MainWindow::setPanelText);
    connect(messagePanel, &MessagePanel::typeText, browserPane, &BrowserPane::typeText);
    connect(messagePanel, &MessagePanel::pasteMessageRequested, this, &MainWindow::pasteConvertedMessage);

    connect(browserPane, &BrowserPane::statusText, this, &MainWindow::setPanelText);
    connect(browserPane, &BrowserPane::loadCompleted, postWatcher, &PostedMessageWatcher::checkPage);

    connect(forumPanel, &ForumPanel::statusText, this, &MainWindow::setPanelText);
    connect(forumPanel, &ForumPanel::typeText, browserPane, &BrowserPane::typeText);
    connect(forumPanel, &ForumPanel::openAddress, browserPane, &BrowserPane::navigate);
    connect(forumPanel, &ForumPanel::forumsChanged, this, &MainWindow::saveForums);

    connect(postsPanel, &PostsPanel::statusText, this, &MainWindow::setPanelText);
    connect(postsPanel, &PostsPanel::openPost, this, &MainWindow::openPost);
    connect(postsPanel, &PostsPanel::postsChanged, m_autosave, &ListAutosave::postsChanged);
    connect(m_autosave, &ListAutosave::postsSaveFailed, this, &MainWindow::showWriteFailure);
    connect(m_autosave, &ListAutosave::forumsSaveFailed, this, [this](const WriteFailure &failure) {
        const QString crlf = QStringLiteral("\r\n");
        QMessageBox box(QMessageBox::NoIcon, brandingInfo().programName,
                        tr("There was an error saving your logins.") + crlf + crlf + tr("Error Number ")
                            + QString::number(failure.number) + crlf + failure.text(),
                        QMessageBox::Ok, this);
        box.exec();
    });
    m_context.settings->setFailureHandler([this](const WriteFailure &failure) { showWriteFailure(failure); });

    connect(autoInserter, &AutoInsertController::textInserted, postWatcher, &PostedMessageWatcher::armFor);
    connect(autoInserter, &AutoInsertController::finished, this, &MainWindow::autoInsertFinished);
    // One entry per thread: a post on a watched thread measures its entry again.
    connect(postWatcher, &PostedMessageWatcher::postedMessageFound, this,
            [this](const QString &pageAddress, const QString &canonicalAddress) {
        postsPanel->watchPage(ownPosts.addressForNoticedPost(pageAddress, canonicalAddress));
    });

    setTabOrderByLayout();
}

void MainWindow::setTabOrderByLayout()
{
    // The controls were made panel by panel; Tab reads the window as it is laid out instead: the button row,
    // the editor, the list tabs with the panel below them, then the browser on the right.
    const QList<QWidget *> order = {
        autoInsertButton, formatSelector, previewButton, copyButton, saveButton, loadButton, optionsButton,
        visitButton,
        messagePanel->subjectEdit, messagePanel->pasteSubjectButton, messagePanel->messageEdit,
        messagePanel->pasteMessageButton,
        listTabs,
        forumPanel->addForumButton, forumPanel->removeForumButton, forumPanel->usernameEdit,
        forumPanel->pasteUsernameButton, forumPanel->passwordEdit, forumPanel->pastePasswordButton,
        forumPanel->forumList,
        postsPanel->watchButton, postsPanel->unwatchButton, postsPanel->checkRepliesButton, postsPanel->postTabs,
        postsPanel->postList, postsPanel->newRepliesList,
        browserPane->addressEdit, browserPane->goButton, browserPane->backButton, browserPane->forwardButton,
        browserPane->stopButton, browserPane->reloadButton, browserPane->noPopupsCheck, browserPane->webView,
    };
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
    visitButton->setText(tr("Visit %1").arg(branding.website));
    offerStartPage();
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

    const QString codePage = settings.read(QStringLiteral("Settings"), QStringLiteral("legacyCodePage"), QString());
    if (!TextFile::setLegacyCodePage(codePage)) {
        qWarning("Unknown code page \"%s\" in the setting legacyCodePage; reading Windows-1252",
                 qUtf8Printable(codePage));
    }
    loadLists();

    m_context.linkFormats->load(settings);
    updateInterface();

    const QString lastMessage = settings.read(s_data, QStringLiteral("lastMessage"), QString());
    messagePanel->setSubject(settings.read(s_data, QStringLiteral("lastSubject"), QStringLiteral("Type Subject Here")));
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
    applyCheckInterval(CheckSchedule::minutesFromSetting(
        settings.read(CheckSchedule::settingSection(), CheckSchedule::settingKey(), QStringLiteral("0"))));
    return true;
}

void MainWindow::shutDown()
{
    SettingsStore &settings = *m_context.settings;
    applyCheckInterval(0);
    savePlacement();
    saveLists();
    messagePanel->flushSubject();
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
    if (MessagePicker *picker = messagePanel->picker()) {
        picker->close();
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
    // Only the user's own close (the window's close control) may leave the program in the tray; Exit, the
    // tray's Exit and requests to end call close() and always shut down.
    if (event->spontaneous() && trayPresence->keepRunningOnClose()) {
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
    return messagePanel->messageText();
}

void MainWindow::setMessageText(const QString &text)
{
    messagePanel->setMessageText(text);
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
        // A panel cuts a long text (an address, a run's end with its failures); hovering shows it whole.
        statusPanels[i]->setToolTip(m_panelTexts[i]);
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

void MainWindow::navigate(const QString &address)
{
    browserPane->navigate(address);
}

QString MainWindow::currentAddress() const
{
    return browserPane->currentAddress();
}

QString MainWindow::currentPostAddress() const
{
    return PostAddress::storedText(browserPane->webView->url());
}

void MainWindow::loadLists()
{
    const QStringList problems = m_lists->load(&ownPosts, &forums);
    if (!problems.isEmpty()) {
        QMessageBox box(QMessageBox::Warning, brandingInfo().programName,
                        tr("Postavo could not read these files:\n%1\n\nThey are left as they are: this session "
                           "will not write over them.")
                            .arg(problems.join(QLatin1Char('\n'))),
                        QMessageBox::Ok, this);
        box.exec();
    }
    postsPanel->showPosts();
    forumPanel->showForums();
}

void MainWindow::saveLists()
{
    // Each list is written whatever became of the other; failures are told.
    m_autosave->saveAll();
}

bool MainWindow::saveForums()
{
    return m_autosave->saveForums();
}

void MainWindow::showWriteFailure(const WriteFailure &failure)
{
    QMessageBox box(QMessageBox::Warning, brandingInfo().programName, failure.text(), QMessageBox::Ok, this);
    box.exec();
}

void MainWindow::switchListTab()
{
    const bool forumsShown = listTabs->currentIndex() == 0;
    forumPanel->setVisible(forumsShown);
    postsPanel->setVisible(!forumsShown);
}

void MainWindow::openPost(const QString &address)
{
    // The page of an own post may be the one where a message just inserted appears.
    postWatcher->arm();
    navigate(address);
}

void MainWindow::autoInsert()
{
    // The format selected at the moment of the command applies, whatever happens while the page is read.
    const QString text = convertedOutgoingText();
    autoInserter->insert(text, editorContent(text, m_context.linkFormats->findByName(formatSelector->currentText())));
}

void MainWindow::previewMessage()
{
    QMessageBox box(QMessageBox::NoIcon, tr("message preview"), convertedOutgoingText(),
                    QMessageBox::Ok, this);
    // The message is shown as the forum will get it: markup in it is text, never rendered.
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

void MainWindow::copyMessage()
{
    QGuiApplication::clipboard()->setText(convertedOutgoingText());
}

void MainWindow::pasteConvertedMessage()
{
    browserPane->typeText(convertedOutgoingText());
}

void MainWindow::showOptions()
{
    if (!m_options) {
        // No owner: it is a window of its own beside the main window. Its close control discards it with
        // any unsaved edits; "Save and Close" only hides it.
        m_options = new OptionsDialog(m_context);
        m_options->setAttribute(Qt::WA_DeleteOnClose);
        connect(m_options, &OptionsDialog::templatesStored, this, &MainWindow::updateInterface);
        connect(m_options, &OptionsDialog::checkIntervalStored, this, &MainWindow::applyCheckInterval);
    }
    m_options->show();
    m_options->raise();
    m_options->activateWindow();
}
