#include "app/form1.h"

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

#include "app/branding.h"
#include "app/elidingtoolbutton.h"
#include "app/settingsstore.h"
#include "app/twips.h"
#include "links/linkconversion.h"
#include "links/frmcustom.h"
#include "links/linkformats.h"
#include "messages/form3.h"
#include "replies/pagesizeprobe.h"
#include "ui/form8.h"
#include "ui/frmabout.h"
#include "ui/frmwebsite.h"
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

Form1::Form1(AppContext &context, QWidget *parent, quint16 probePort)
    : QMainWindow(parent)
    , m_context(context)
    , m_probePort(probePort)
{
    setObjectName(QStringLiteral("Form1"));
    createControls();
    createMenus();
    connectControls();
    setUpDesign();
}

Form1::~Form1() = default;

QString Form1::initialMessageText()
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

void Form1::createControls()
{
    auto *client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    setCentralWidget(client);

    // The row of picture buttons and the format selector.
    cmdMessage = pictureButton(client, "cmdMessage", tr("Auto-Insert"),
                               tr("Once you are on the page where you can post your message, click here to insert it."));
    cmdMessage->setGeometry(twipsRect(60, 60, 1600, 800));
    cmbConvert = place(new QComboBox(client), "cmbConvert", 2100, 480, 1635, 315);
    cmbConvert->setToolTip(tr("Select the format you would like to use when your message is inserted."));
    cmdPreview = pictureButton(client, "cmdPreview", tr("Preview"),
                               tr("See a preview of your message in the currently selected format"));
    cmdPreview->setGeometry(twipsRect(3840, 60, 800, 800));
    cmdCopy = pictureButton(client, "cmdCopy", tr("Copy"), tr("Copy your message to the clipboard in the selected format"));
    cmdCopy->setGeometry(twipsRect(4680, 60, 800, 800));
    cmdSave = pictureButton(client, "cmdSave", tr("Save"), tr("Save the current message"));
    cmdSave->setGeometry(twipsRect(5520, 60, 800, 800));
    cmdLoad = pictureButton(client, "cmdLoad", tr("Load"), tr("Load a saved message"));
    cmdLoad->setGeometry(twipsRect(6360, 60, 800, 800));
    cmdOptions = pictureButton(client, "cmdOptions", tr("Options"), tr("Options"));
    cmdOptions->setGeometry(twipsRect(7200, 60, 800, 800));
    Command1 = pictureButton(client, "Command1", tr("Visit"), tr("Visit us!"), new ElidingToolButton(client));
    Command1->setGeometry(twipsRect(8040, 60, 2115, 795));

    // Message editor.
    Frame1 = place(frame(client, "Frame1", tr("Message Editor")), "Frame1", 60, 900, 3735, 4215);
    lblSubject = place(new QLabel(tr("Subject:"), Frame1), "lblSubject", 120, 330, 780, 255);
    txtSubject = place(new QLineEdit(Frame1), "txtSubject", 900, 300, 1995, 285);
    cmdPaste[0] = place(new QPushButton(tr("Paste"), Frame1), "cmdPaste0", 2940, 285, 675, 315);
    cmdPaste[0]->setToolTip(tr("Click within the Subject field on the form you want to paste into, then click here."));
    lblMessage = place(new QLabel(tr("Message:"), Frame1), "lblMessage", 120, 660, 1000, 240);
    // The message box fills the editor down to its paste button.
    txtMessage = place(new QPlainTextEdit(Frame1), "txtMessage", 120, 900, 3495, 2715);
    cmdPaste[3] = place(new QPushButton(tr("Paste Message"), Frame1), "cmdPaste3", 120, 3705, 3495, 375);
    cmdPaste[3]->setToolTip(tr("Click within the message area on the form you want to paste into, then click here."));

    // Browser.
    Frame2 = place(frame(client, "Frame2", tr("Browser")), "Frame2", 3840, 900, 6375, 7395);
    lblUrl = place(new QLabel(tr("URL:"), Frame2), "lblUrl", 75, 270, 450, 255);
    Text5 = place(new QLineEdit(Frame2), "Text5", 540, 240, 4875, 315);
    Command3 = place(new QPushButton(tr("Go"), Frame2), "Command3", 5460, 240, 795, 315);
    Command3->setToolTip(tr("browse the entered url"));
    Command4 = place(new QPushButton(Frame2), "Command4", 120, 630, 315, 330);
    Command4->setToolTip(tr("back"));
    Command5 = place(new QPushButton(Frame2), "Command5", 465, 630, 315, 330);
    Command5->setToolTip(tr("forward"));
    Command6 = place(new QPushButton(Frame2), "Command6", 810, 630, 315, 330);
    Command6->setToolTip(tr("stop"));
    Command7 = place(new QPushButton(Frame2), "Command7", 1155, 630, 315, 330);
    Command7->setToolTip(tr("refresh"));
    Check1 = place(new QCheckBox(tr("No Popups"), Frame2), "Check1", 1530, 630, 1350, 330);
    WebBrowser1 = place(new QWebEngineView(Frame2), "WebBrowser1", 120, 1020, 6135, 5375);
    lstLogins = place(new QListWidget(Frame2), "lstLogins", 120, 1020, 100, 100);
    lstLogins->hide();

    // Forums and own posts, on the two tabs below the editor.
    TabStrip2 = place(new QTabBar(client), "TabStrip2", 60, 5215, 3735, 400);
    TabStrip2->addTab(tr("Your Forums"));
    TabStrip2->addTab(tr("Your Posts"));

    Frame4 = place(frame(client, "Frame4", QString()), "Frame4", 120, 5520, 3615, 4335);
    cmdAdd2 = place(new QPushButton(tr("Add Current URL"), Frame4), "cmdAdd2", 60, 180, 1695, 330);
    cmdDel2 = place(new QPushButton(tr("Remove URL"), Frame4), "cmdDel2", 1800, 180, 1695, 330);
    lblUsername = place(new QLabel(tr("Username:"), Frame4), "lblUsername", 60, 570, 990, 255);
    txtUsername = place(new QLineEdit(Frame4), "txtUsername", 1065, 540, 1650, 285);
    cmdPaste[1] = place(new QPushButton(tr("Paste"), Frame4), "cmdPaste1", 2760, 540, 735, 285);
    cmdPaste[1]->setToolTip(tr("Click within the Username field on the form you want to paste into, then click here."));
    lblPassword = place(new QLabel(tr("Password:"), Frame4), "lblPassword", 60, 870, 990, 255);
    txtPassword = place(new QLineEdit(Frame4), "txtPassword", 1065, 840, 1650, 285);
    txtPassword->setEchoMode(QLineEdit::Password);
    cmdPaste[2] = place(new QPushButton(tr("Paste"), Frame4), "cmdPaste2", 2760, 840, 735, 285);
    cmdPaste[2]->setToolTip(tr("Click within the Password field on the form you want to paste into, then click here."));
    lstPosts2 = place(new QListWidget(Frame4), "lstPosts2", 60, 1140, 3435, 1425);
    txtUsername->setEnabled(false);
    txtPassword->setEnabled(false);

    Frame3 = place(frame(client, "Frame3", QString()), "Frame3", 120, 5520, 3615, 4335);
    cmdAdd = place(new QPushButton(tr("Watch This Post"), Frame3), "cmdAdd", 60, 180, 1695, 375);
    cmdDel = place(new QPushButton(tr("Remove Watch"), Frame3), "cmdDel", 1800, 180, 1695, 375);
    cmdReplies = place(new QPushButton(tr("Check for replies"), Frame3), "cmdReplies", 60, 180, 3435, 375);
    TabStrip1 = place(new QTabBar(Frame3), "TabStrip1", 60, 900, 3435, 420);
    TabStrip1->addTab(tr("Show All"));
    TabStrip1->addTab(tr("New Replies "));
    lstPosts = place(new QListWidget(Frame3), "lstPosts", 60, 1320, 3435, 1620);
    lstNew = place(new QListWidget(Frame3), "lstNew", 60, 1320, 3435, 1230);
    Frame3->hide();
    lstNew->hide();
    cmdReplies->hide();

    lstSizes = place(new QListWidget(client), "lstSizes", 0, 0, 100, 100);
    lstSizes->hide();

    const char *const panelNames[3] = {"panel1", "panel2", "panel3"};
    for (int i = 0; i < 3; ++i) {
        auto *panel = new QLabel(this);
        panel->setObjectName(QLatin1String(panelNames[i]));
        panel->setFrameShape(QFrame::Panel);
        panel->setFrameShadow(QFrame::Sunken);
        panel->setTextFormat(Qt::PlainText);
        statusPanels[i] = panel;
    }
    statusBar()->setObjectName(QStringLiteral("StatusBar1"));
    m_panelRefresh = new QTimer(this);
    m_panelRefresh->setSingleShot(true);
    connect(m_panelRefresh, &QTimer::timeout, this, &Form1::showPanelTexts);

    wscSizes = new PageSizeProbe(this, m_probePort);
    wscSizes->setObjectName(QStringLiteral("wscSizes"));
    wscPosts = new PageSizeProbe(this, m_probePort);
    wscPosts->setObjectName(QStringLiteral("wscPosts"));
}

void Form1::connectControls()
{
    connect(cmdSave, &QToolButton::clicked, this, &Form1::cmdSave_Click);
    connect(cmdLoad, &QToolButton::clicked, this, &Form1::cmdLoad_Click);
    connect(cmdPreview, &QToolButton::clicked, this, &Form1::cmdPreview_Click);
    connect(cmdCopy, &QToolButton::clicked, this, &Form1::cmdCopy_Click);
    connect(cmdMessage, &QToolButton::clicked, this, &Form1::cmdMessage_Click);
    connect(cmdOptions, &QToolButton::clicked, this, &Form1::cmdOptions_Click);
    connect(Command1, &QToolButton::clicked, this, &Form1::Command1_Click);
    for (int i = 0; i < int(cmdPaste.size()); ++i) {
        connect(cmdPaste[i], &QPushButton::clicked, this, [this, i] { cmdPaste_Click(i); });
    }
    connect(txtSubject, &QLineEdit::textChanged, this, &Form1::txtSubject_Change);

    connect(Command3, &QPushButton::clicked, this, &Form1::Command3_Click);
    connect(Text5, &QLineEdit::returnPressed, this, &Form1::Command3_Click);
    connect(Command4, &QPushButton::clicked, this, &Form1::Command4_Click);
    connect(Command5, &QPushButton::clicked, this, &Form1::Command5_Click);
    connect(Command6, &QPushButton::clicked, this, &Form1::Command6_Click);
    connect(Command7, &QPushButton::clicked, this, &Form1::Command7_Click);

    connect(cmdAdd, &QPushButton::clicked, this, &Form1::cmdAdd_Click);
    connect(cmdDel, &QPushButton::clicked, this, &Form1::cmdDel_Click);
    connect(cmdAdd2, &QPushButton::clicked, this, &Form1::cmdAdd2_Click);
    connect(cmdDel2, &QPushButton::clicked, this, &Form1::cmdDel2_Click);
    connect(lstPosts, &QListWidget::itemClicked, this, &Form1::lstPosts_Click);
    connect(lstPosts, &QListWidget::itemDoubleClicked, this, &Form1::lstPosts_DblClick);
    connect(lstPosts2, &QListWidget::itemClicked, this, &Form1::lstPosts2_Click);
    connect(lstPosts2, &QListWidget::itemDoubleClicked, this, &Form1::lstPosts2_DblClick);
    connect(TabStrip2, &QTabBar::currentChanged, this, &Form1::TabStrip2_Click);
    connect(txtUsername, &QLineEdit::textChanged, this, &Form1::txtUsername_Change);
    connect(txtPassword, &QLineEdit::textChanged, this, &Form1::txtPassword_Change);
    // A selection made by keyboard or by code counts too: the login boxes must belong to the selected forum.
    connect(lstPosts, &QListWidget::currentRowChanged, this, &Form1::lstPosts_Click);
    connect(lstPosts2, &QListWidget::currentRowChanged, this, &Form1::lstPosts2_Click);

    connect(cmdReplies, &QPushButton::clicked, this, &Form1::cmdReplies_Click);
    connect(TabStrip1, &QTabBar::currentChanged, this, &Form1::TabStrip1_Click);
    connect(lstNew, &QListWidget::itemClicked, this, &Form1::lstNew_Click);
    connect(lstNew, &QListWidget::itemDoubleClicked, this, &Form1::lstNew_DblClick);

    connect(wscSizes, &PageSizeProbe::completed, this, &Form1::wscSizes_Close);
    connect(wscPosts, &PageSizeProbe::completed, this, &Form1::wscPosts_Close);
    for (PageSizeProbe *probe : {wscSizes, wscPosts}) {
        connect(probe, &PageSizeProbe::panelText, this, &Form1::setPanelText);
        connect(probe, &PageSizeProbe::startFailed, this, &Form1::probeStartFailed);
        connect(probe, &PageSizeProbe::socketFailed, this, &Form1::probeSocketFailed);
    }
    connectBrowser();
}

bool Form1::Form_Load()
{
    SettingsStore &settings = *m_context.settings;

    loadBranding();
    ::setWindowIcon(this, QStringLiteral("AAA"), true);
    const BrandingInfo &branding = brandingInfo();
    setWindowTitle(branding.programName + QStringLiteral(" by ") + branding.companyName);
    Command1->setText(QStringLiteral("Visit ") + branding.website);
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
    txtSubject->setText(settings.read(s_data, QStringLiteral("lastSubject"), QStringLiteral("Type Subject Here")));
    if (lastMessage.isEmpty() || lastMessage == QLatin1String(" ")) {
        setMessageText(initialMessageText());
    } else {
        setMessageText(lastMessage);
    }

    // A remembered position that is not a number or no longer in the list leaves "text" selected.
    bool isNumber = false;
    const int lastConvert = settings.read(s_data, QStringLiteral("lastConvert"), QStringLiteral("0")).toInt(&isNumber);
    if (isNumber && lastConvert >= 0 && lastConvert < cmbConvert->count()) {
        cmbConvert->setCurrentIndex(lastConvert);
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

void Form1::Form_Unload()
{
    SettingsStore &settings = *m_context.settings;
    saveLists();
    settings.write(s_data, QStringLiteral("lastMessage"), messageText());
    settings.write(s_data, QStringLiteral("lastConvert"), QString::number(cmbConvert->currentIndex()));
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
    frmWebsite::whenNoneVisible(this, [this] {
        if (brandingInfo().skinEnabled) {
            stopSkinCompanion();
        }
        emit programEnded();
    });
}

void Form1::closeEvent(QCloseEvent *event)
{
    Form_Unload();
    event->accept();
}

void Form1::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    layoutMainWindow();
    // Once more, as the repaint after a resize would: this run sizes the lower frames from their new top.
    layoutMainWindow();
}

void Form1::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange && !isMinimized()) {
        layoutMainWindow();
        layoutMainWindow();
    }
}

QString Form1::messageText() const
{
    QString text = txtMessage->toPlainText();
    text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return text;
}

void Form1::setMessageText(const QString &text)
{
    QString plain = text;
    plain.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    txtMessage->setPlainText(plain);
}

QString Form1::convertedOutgoingText() const
{
    return convertMessage(messageText() + QStringLiteral("\r\n\r\n"), cmbConvert->currentText(), *m_context.linkFormats);
}

QString Form1::panelText(int panel) const
{
    return m_panelTexts.at(panel - 1);
}

void Form1::setPanelText(int panel, const QString &text)
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

void Form1::showPanelTexts()
{
    for (size_t i = 0; i < statusPanels.size(); ++i) {
        statusPanels[i]->setText(m_panelTexts[i]);
    }
    m_panelsShown.start();
}

void Form1::updateInterface()
{
    cmbConvert->clear();
    cmbConvert->addItems(m_context.linkFormats->selectorEntries());
    cmbConvert->setCurrentIndex(0);
}

void Form1::showHelpWindow()
{
    if (!m_help) {
        m_help = new Form8(m_context, this);
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

void Form1::showAboutWindow()
{
    if (!m_about) {
        m_about = new frmAbout(this);
    }
    m_about->show();
    m_about->raise();
    m_about->activateWindow();
}

void Form1::Command1_Click()
{
    launchWebsite(false);
}
