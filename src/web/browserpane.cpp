// The browser pane: navigation, the address box and the status texts of the page.
#include "web/browserpane.h"

#include <QBoxLayout>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QUrl>
#include <QPointer>
#include <QTimer>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineScript>
#include <QWebEngineView>
#include <utility>

#include "ui/named.h"
#include "web/autoinsertcontroller.h"
#include "web/browserpage.h"
#include "web/browserprofile.h"
#include "web/keytyper.h"
#include "web/postedmessagewatcher.h"

BrowserPane::BrowserPane(const QString &scratchPath, QWebEngineProfile *profile, QWidget *parent)
    : QGroupBox(tr("Browser"), parent)
{
    setObjectName(QStringLiteral("browserFrame"));
    m_addressLabel = named(new QLabel(tr("UR&L:"), this), "addressLabel");
    m_addressEdit = named(new QLineEdit(this), "addressEdit");
    m_goButton = named(new QPushButton(tr("Go"), this), "goButton");
    m_goButton->setToolTip(tr("browse the entered url"));
    m_backButton = named(new QPushButton(this), "backButton");
    m_backButton->setToolTip(tr("back"));
    m_forwardButton = named(new QPushButton(this), "forwardButton");
    m_forwardButton->setToolTip(tr("forward"));
    m_stopButton = named(new QPushButton(this), "stopButton");
    m_stopButton->setToolTip(tr("stop"));
    m_reloadButton = named(new QPushButton(this), "reloadButton");
    m_reloadButton->setToolTip(tr("refresh"));
    m_noPopupsCheck = named(new QCheckBox(tr("No Popups"), this), "noPopupsCheck");
    m_webView = named(new QWebEngineView(this), "webView");
    m_addressLabel->setBuddy(m_addressEdit);
    m_webView->setAccessibleName(tr("Web page"));
    setUpNavigationIcons();

    auto *addressRow = new QHBoxLayout;
    addressRow->addWidget(m_addressLabel);
    addressRow->addWidget(m_addressEdit, 1);
    addressRow->addWidget(m_goButton);
    auto *navigationRow = new QHBoxLayout;
    for (QWidget *control : { static_cast<QWidget *>(m_backButton), static_cast<QWidget *>(m_forwardButton),
             static_cast<QWidget *>(m_stopButton), static_cast<QWidget *>(m_reloadButton),
             static_cast<QWidget *>(m_noPopupsCheck) }) {
        navigationRow->addWidget(control);
    }
    navigationRow->addStretch(1);
    // The page fills the rest of the pane.
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(addressRow);
    layout->addLayout(navigationRow);
    layout->addWidget(m_webView, 1);

    connect(m_goButton, &QPushButton::clicked, this, &BrowserPane::goToAddress);
    connect(m_addressEdit, &QLineEdit::returnPressed, this, &BrowserPane::goToAddress);
    connect(m_backButton, &QPushButton::clicked, this, &BrowserPane::goBack);
    connect(m_forwardButton, &QPushButton::clicked, this, &BrowserPane::goForward);
    connect(m_stopButton, &QPushButton::clicked, this, &BrowserPane::stopLoading);
    connect(m_reloadButton, &QPushButton::clicked, this, &BrowserPane::reloadPage);

    m_profile = profile ? profile : QWebEngineProfile::defaultProfile();
    makePage();
    m_typer = new KeyTyper(m_webView, this);
    m_autoInserter = new AutoInsertController(m_webView, scratchPath, window());
    m_postWatcher = new PostedMessageWatcher(m_webView, this);
}

void BrowserPane::makePage()
{
    auto *page = new BrowserPage(m_profile, BrowserPage::popupsUnlessChecked(m_noPopupsCheck), m_webView);
    m_webView->setPage(page);
    connect(page, &QWebEnginePage::loadStarted, this, &BrowserPane::loadStarted);
    connect(page, &QWebEnginePage::loadFinished, this, &BrowserPane::loadFinished);
    connect(page, &QWebEnginePage::loadFinished, this, [this](bool ok) { m_pageLoaded = ok; });
    connect(page, &BrowserPage::statusTextChanged, this, [this](const QString &text) { emit statusText(2, text); });
    connect(page, &QWebEnginePage::titleChanged, this, &BrowserPane::showCurrentAddress);
    // Navigation inside a page changes no title here; the address box follows it all the same.
    connect(page, &QWebEnginePage::urlChanged, this, &BrowserPane::showCurrentAddress);
}

void BrowserPane::releasePage()
{
    if (m_released) {
        return;
    }
    m_released = true;
    m_releasedUrl = m_startPageShown ? QUrl() : m_webView->url();
    // A watch for a post cannot see a page that is gone.
    m_postWatcher->disarm();
    m_loading = false;
    delete m_webView->page();
}

void BrowserPane::restorePage()
{
    if (!m_released) {
        return;
    }
    m_released = false;
    makePage();
    if (m_startPageShown || m_releasedUrl.isEmpty()) {
        showStartPage();
    } else {
        m_webView->setUrl(m_releasedUrl);
    }
}

void BrowserPane::setUpNavigationIcons()
{
    // The browser's navigation buttons are small picture buttons; their tooltips name them.
    const std::pair<QPushButton *, QStyle::StandardPixmap> navigation[] = {
        { m_backButton, QStyle::SP_ArrowBack },
        { m_forwardButton, QStyle::SP_ArrowForward },
        { m_stopButton, QStyle::SP_BrowserStop },
        { m_reloadButton, QStyle::SP_BrowserReload },
    };
    for (const auto &[button, pixmap] : navigation) {
        button->setIcon(style()->standardIcon(pixmap, nullptr, button));
        button->setIconSize(QSize(16, 16));
        button->setAccessibleName(button->toolTip());
    }
}

QList<QWidget *> BrowserPane::tabOrder() const
{
    return { m_addressEdit, m_goButton, m_backButton, m_forwardButton, m_stopButton, m_reloadButton, m_noPopupsCheck,
        m_webView };
}

void BrowserPane::offerStartPage(const QString &website, const std::function<StartPageContent()> &content)
{
    QWebEnginePage *page = m_webView->page();
    m_startPageContent = content;
    const QString websiteHost = QUrl::fromUserInput(website).host();
    connect(
        page, &QWebEnginePage::loadFinished, this,
        [this, websiteHost](bool ok) {
            // Only the website's own failure: not a page the user asked for meanwhile.
            if (!ok && m_webView->url().host() == websiteHost) {
                showStartPage();
            }
        },
        Qt::SingleShotConnection);
}

void BrowserPane::showStartPage()
{
    m_startPageShown = true;
    // The page has no address of its own: the address box stays empty for the user's next one.
    m_webView->setHtml(startPageHtml(m_startPageContent()), QUrl(QStringLiteral("about:blank")));
}

void BrowserPane::refreshStartPage()
{
    // Made afresh when the page comes back.
    if (m_released) {
        return;
    }
    // Any page the user opened since has an address of its own.
    if (!m_startPageShown || m_webView->url() != QUrl(QStringLiteral("about:blank"))) {
        return;
    }
    // One load at a time, so that the quiet one is the one that ends quietly.
    if (m_loading) {
        m_refreshPending = true;
        return;
    }
    // Quietly: the status bar keeps what the check that called for it said.
    m_quietLoad = true;
    showStartPage();
}

QUrl BrowserPane::currentUrl() const
{
    return m_webView->url();
}

QString BrowserPane::selectedText() const
{
    return m_webView->selectedText();
}

void BrowserPane::readShownText(QObject *context, std::function<void(const QString &text)> done) const
{
    // The engine's own error page is no page of the site's.
    if (!m_pageLoaded) {
        QTimer::singleShot(0, context, [done] { done(QString()); });
        return;
    }
    // In our own world, where the page cannot replace what is read.
    m_webView->page()->runJavaScript(QStringLiteral("document.body ? document.body.innerText : ''"),
        QWebEngineScript::ApplicationWorld, [context = QPointer<QObject>(context), done](const QVariant &text) {
            if (context) {
                done(text.toString());
            }
        });
}

void BrowserPane::navigate(const QString &address)
{
    m_webView->setUrl(QUrl::fromUserInput(address));
}

QString BrowserPane::currentAddress() const
{
    return m_webView->url().toString();
}

void BrowserPane::typeText(const QString &text)
{
    m_typer->type(text);
}

void BrowserPane::goToAddress()
{
    navigate(m_addressEdit->text());
}

void BrowserPane::goBack()
{
    m_webView->back();
}

void BrowserPane::goForward()
{
    m_webView->forward();
}

void BrowserPane::stopLoading()
{
    m_webView->stop();
}

void BrowserPane::reloadPage()
{
    m_webView->reload();
}

void BrowserPane::loadStarted()
{
    m_loading = true;
    if (!m_quietLoad) {
        emit statusText(1, tr("Connecting"));
    }
}

void BrowserPane::loadFinished()
{
    m_loading = false;
    showCurrentAddress();
    if (!std::exchange(m_quietLoad, false)) {
        emit statusText(1, tr("Complete"));
    }
    emit loadCompleted();
    if (std::exchange(m_refreshPending, false)) {
        refreshStartPage();
    }
}

void BrowserPane::showCurrentAddress()
{
    // A page of the program's own (the start page) has no address to show; the box stays free for one.
    m_addressEdit->setText(m_webView->url() == QUrl(QStringLiteral("about:blank")) ? QString() : currentAddress());
}
