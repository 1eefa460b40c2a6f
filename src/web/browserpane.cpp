// The browser pane: navigation, the address box and the status texts of the page.
#include "web/browserpane.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QUrl>
#include <QWebEngineView>
#include <cstdlib>

#include "ui/placement.h"
#include "web/browserpage.h"
#include "web/browserprofile.h"
#include "web/keytyper.h"

using namespace Placement;

BrowserPane::BrowserPane(QWidget *parent)
    : QGroupBox(tr("Browser"), parent)
{
    setObjectName(QStringLiteral("browserFrame"));
    addressLabel = place(new QLabel(tr("UR&L:"), this), "addressLabel", 75, 270, 450, 255);
    addressEdit = place(new QLineEdit(this), "addressEdit", 540, 240, 4875, 315);
    goButton = place(new QPushButton(tr("Go"), this), "goButton", 5460, 240, 795, 315);
    goButton->setToolTip(tr("browse the entered url"));
    backButton = place(new QPushButton(this), "backButton", 120, 630, 315, 330);
    backButton->setToolTip(tr("back"));
    forwardButton = place(new QPushButton(this), "forwardButton", 465, 630, 315, 330);
    forwardButton->setToolTip(tr("forward"));
    stopButton = place(new QPushButton(this), "stopButton", 810, 630, 315, 330);
    stopButton->setToolTip(tr("stop"));
    reloadButton = place(new QPushButton(this), "reloadButton", 1155, 630, 315, 330);
    reloadButton->setToolTip(tr("refresh"));
    noPopupsCheck = place(new QCheckBox(tr("No Popups"), this), "noPopupsCheck", 1530, 630, 1350, 330);
    webView = place(new QWebEngineView(this), "webView", 120, 1020, 6135, 5375);
    addressLabel->setBuddy(addressEdit);
    webView->setAccessibleName(tr("Web page"));
    setUpNavigationIcons();

    connect(goButton, &QPushButton::clicked, this, &BrowserPane::goToAddress);
    connect(addressEdit, &QLineEdit::returnPressed, this, &BrowserPane::goToAddress);
    connect(backButton, &QPushButton::clicked, this, &BrowserPane::goBack);
    connect(forwardButton, &QPushButton::clicked, this, &BrowserPane::goForward);
    connect(stopButton, &QPushButton::clicked, this, &BrowserPane::stopLoading);
    connect(reloadButton, &QPushButton::clicked, this, &BrowserPane::reloadPage);

    auto *page = new BrowserPage(browserProfile(), BrowserPage::popupsUnlessChecked(noPopupsCheck), webView);
    webView->setPage(page);
    m_typer = new KeyTyper(webView, this);

    connect(page, &QWebEnginePage::loadStarted, this, &BrowserPane::loadStarted);
    connect(page, &QWebEnginePage::loadFinished, this, &BrowserPane::loadFinished);
    connect(page, &BrowserPage::statusTextChanged, this, [this](const QString &text) { emit statusText(2, text); });
    connect(page, &QWebEnginePage::titleChanged, this, &BrowserPane::showCurrentAddress);
    // Navigation inside a page changes no title here; the address box follows it all the same.
    connect(page, &QWebEnginePage::urlChanged, this, &BrowserPane::showCurrentAddress);
}

void BrowserPane::setUpNavigationIcons()
{
    // The browser's navigation buttons are small picture buttons; their tooltips name them.
    const std::pair<QPushButton *, QStyle::StandardPixmap> navigation[] = {
        { backButton, QStyle::SP_ArrowBack },
        { forwardButton, QStyle::SP_ArrowForward },
        { stopButton, QStyle::SP_BrowserStop },
        { reloadButton, QStyle::SP_BrowserReload },
    };
    for (const auto &[button, pixmap] : navigation) {
        button->setIcon(style()->standardIcon(pixmap, nullptr, button));
        button->setIconSize(QSize(16, 16));
        button->setAccessibleName(button->toolTip());
    }
}

void BrowserPane::fitContents()
{
    setTwWidth(webView, std::abs(twWidth(this) - 240));
    setTwHeight(webView, std::abs(twHeight(this) - twTop(webView) - 1000));
    // The address box and the go button follow the pane's width.
    setTwWidth(addressEdit, std::abs(twWidth(this) - twLeft(addressEdit) - twWidth(goButton) - 200));
    setTwLeft(goButton, std::abs(twWidth(this) - twWidth(goButton) - 100));
}

void BrowserPane::navigate(const QString &address)
{
    webView->setUrl(QUrl::fromUserInput(address));
}

QString BrowserPane::currentAddress() const
{
    return webView->url().toString();
}

void BrowserPane::typeText(const QString &text)
{
    m_typer->type(text);
}

void BrowserPane::goToAddress()
{
    navigate(addressEdit->text());
}

void BrowserPane::goBack()
{
    webView->back();
}

void BrowserPane::goForward()
{
    webView->forward();
}

void BrowserPane::stopLoading()
{
    webView->stop();
}

void BrowserPane::reloadPage()
{
    webView->reload();
}

void BrowserPane::loadStarted()
{
    emit statusText(1, tr("Connecting"));
}

void BrowserPane::loadFinished()
{
    showCurrentAddress();
    emit statusText(1, tr("Complete"));
    emit loadCompleted();
}

void BrowserPane::showCurrentAddress()
{
    // A page of the program's own (the start page) has no address to show; the box stays free for one.
    addressEdit->setText(webView->url() == QUrl(QStringLiteral("about:blank")) ? QString() : currentAddress());
}
