// The main window's browser pane, web form filling and posted-message detection.
#include "app/mainwindow.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QUrl>
#include <QWebEngineView>

#include "web/browserpage.h"
#include "web/browserprofile.h"
#include "web/keytyper.h"

void MainWindow::connectBrowser()
{
    auto *page = new BrowserPage(browserProfile(), BrowserPage::popupsUnlessChecked(noPopupsCheck),
                                 webView);
    webView->setPage(page);
    m_typer = new KeyTyper(webView, this);

    connect(page, &QWebEnginePage::loadStarted, this, &MainWindow::loadStarted);
    connect(page, &QWebEnginePage::loadFinished, this, &MainWindow::loadFinished);
    connect(page, &BrowserPage::statusTextChanged, this, &MainWindow::showStatusText);
    connect(page, &QWebEnginePage::titleChanged, this, &MainWindow::showCurrentAddress);
    // Navigation inside a page changes no title here; the address box follows it all the same.
    connect(page, &QWebEnginePage::urlChanged, this, &MainWindow::showCurrentAddress);
}

void MainWindow::navigate(const QString &address)
{
    webView->setUrl(QUrl::fromUserInput(address));
}

QString MainWindow::currentAddress() const
{
    return webView->url().toString();
}

void MainWindow::goToAddress()
{
    navigate(addressEdit->text());
}

// Back and forward without history do nothing.
void MainWindow::goBack()
{
    webView->back();
}

void MainWindow::goForward()
{
    webView->forward();
}

void MainWindow::stopLoading()
{
    webView->stop();
}

void MainWindow::reloadPage()
{
    webView->reload();
}

void MainWindow::loadStarted()
{
    setPanelText(1, QStringLiteral("Connecting"));
}

// Runs for every completed load, failed ones included: the engine shows its own error page for those.
void MainWindow::loadFinished(bool ok)
{
    Q_UNUSED(ok)
    addressEdit->setText(currentAddress());
    setPanelText(1, QStringLiteral("Complete"));
    checkPostedMessage();
}

void MainWindow::showStatusText(const QString &text)
{
    setPanelText(2, text);
}

void MainWindow::showCurrentAddress()
{
    addressEdit->setText(currentAddress());
}
