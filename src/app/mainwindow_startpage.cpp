// The program's own start page, shown in the browser pane when the website does not answer at start-up.
#include "app/mainwindow.h"

#include <QListWidget>
#include <QWebEnginePage>
#include <QWebEngineView>

#include "base/branding.h"
#include "web/startpage.h"

void MainWindow::offerStartPage()
{
    QWebEnginePage *page = browserPane->webView->page();
    const QString websiteHost = QUrl::fromUserInput(brandingInfo().website).host();
    connect(
        page, &QWebEnginePage::loadFinished, this,
        [this, websiteHost](bool ok) {
            // Only the website's own failure: not a page the user asked for meanwhile.
            if (!ok && browserPane->webView->url().host() == websiteHost) {
                showStartPage();
            }
        },
        Qt::SingleShotConnection);
}

void MainWindow::showStartPage()
{
    StartPageContent content;
    content.programName = brandingInfo().programName;
    content.website = QStringLiteral("http://") + brandingInfo().website;
    content.forums = forums.addresses();
    for (int i = 0; i < postsPanel->newRepliesList->count(); ++i) {
        content.newReplies.append(postsPanel->newRepliesList->item(i)->text());
    }
    // The page has no address of its own: the address box stays empty for the user's next one.
    browserPane->webView->setHtml(startPageHtml(content), QUrl(QStringLiteral("about:blank")));
}
