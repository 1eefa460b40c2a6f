// The main window's browser pane, web form filling and posted-message detection.
#include "app/form1.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QUrl>
#include <QWebEngineView>

#include "web/browserpage.h"
#include "web/browserprofile.h"
#include "web/keytyper.h"

void Form1::connectBrowser()
{
    auto *page = new BrowserPage(browserProfile(), BrowserPage::popupsUnlessChecked(Check1),
                                 WebBrowser1);
    WebBrowser1->setPage(page);
    m_typer = new KeyTyper(WebBrowser1, this);

    connect(page, &QWebEnginePage::loadStarted, this, &Form1::WebBrowser1_DownloadBegin);
    connect(page, &QWebEnginePage::loadFinished, this, &Form1::WebBrowser1_DownloadComplete);
    connect(page, &BrowserPage::statusTextChanged, this, &Form1::WebBrowser1_StatusTextChange);
    connect(page, &QWebEnginePage::titleChanged, this, &Form1::WebBrowser1_TitleChange);
    // Navigation inside a page changes no title here; the address box follows it all the same.
    connect(page, &QWebEnginePage::urlChanged, this, &Form1::WebBrowser1_TitleChange);
}

void Form1::navigate(const QString &address)
{
    WebBrowser1->setUrl(QUrl::fromUserInput(address));
}

QString Form1::currentAddress() const
{
    return WebBrowser1->url().toString();
}

void Form1::Command3_Click()
{
    navigate(Text5->text());
}

// Back and forward without history do nothing.
void Form1::Command4_Click()
{
    WebBrowser1->back();
}

void Form1::Command5_Click()
{
    WebBrowser1->forward();
}

void Form1::Command6_Click()
{
    WebBrowser1->stop();
}

void Form1::Command7_Click()
{
    WebBrowser1->reload();
}

void Form1::WebBrowser1_DownloadBegin()
{
    setPanelText(1, QStringLiteral("Connecting"));
}

// Runs for every completed load, failed ones included: the engine shows its own error page for those.
void Form1::WebBrowser1_DownloadComplete(bool ok)
{
    Q_UNUSED(ok)
    Text5->setText(currentAddress());
    setPanelText(1, QStringLiteral("Complete"));
    checkPostedMessage();
}

void Form1::WebBrowser1_StatusTextChange(const QString &text)
{
    setPanelText(2, text);
}

void Form1::WebBrowser1_TitleChange()
{
    Text5->setText(currentAddress());
}
