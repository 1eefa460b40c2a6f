#include "web/browserpage.h"

#include <QCheckBox>
#include <QPointer>
#include <QWebEngineView>

#include "web/browserwindow.h"
#include "web/messagewriter.h"

BrowserPage::BrowserPage(QWebEngineProfile *profile, PopupPolicy allowPopups, QObject *parent)
    : QWebEnginePage(profile, parent)
    , m_allowPopups(std::move(allowPopups))
{
    connect(this, &QWebEnginePage::loadStarted, this, [this] {
        setLoadStatus(tr("Opening page %1...").arg(requestedUrl().toDisplayString()));
    });
    connect(this, &QWebEnginePage::loadFinished, this, [this] { setLoadStatus(tr("Done")); });
    connect(this, &QWebEnginePage::linkHovered, this, &BrowserPage::setHoveredLink);
}

BrowserPage::PopupPolicy BrowserPage::popupsUnlessChecked(QCheckBox *noPopups)
{
    return [box = QPointer<QCheckBox>(noPopups)] { return box && !box->isChecked(); };
}

QString BrowserPage::statusText() const
{
    return m_hoveredLink.isEmpty() ? m_loadStatus : m_hoveredLink;
}

void BrowserPage::setLoadStatus(const QString &text)
{
    m_loadStatus = text;
    // A link under the mouse keeps the status line until the mouse leaves it.
    if (m_hoveredLink.isEmpty()) {
        emit statusTextChanged(text);
    }
}

void BrowserPage::setHoveredLink(const QString &address)
{
    m_hoveredLink = address;
    emit statusTextChanged(statusText());
}

QWebEnginePage *BrowserPage::createWindow(WebWindowType type)
{
    Q_UNUSED(type)
    if (!m_allowPopups || !m_allowPopups()) {
        return nullptr;
    }
    // Owned by the window that opened it, so no page outlives the program's windows.
    QWidget *owner = nullptr;
    if (QWebEngineView *view = QWebEngineView::forPage(this)) {
        owner = view->window();
    }
    auto *window = new BrowserWindow(profile(), m_allowPopups, owner);
    window->show();
    return window->page();
}

bool BrowserPage::javaScriptConfirm(const QUrl &securityOrigin, const QString &msg)
{
    // Editors ask whether to keep what is pasted: the user asked for the message as it is, so keep it.
    const auto *writer = findChild<MessageWriter *>(QString(), Qt::FindDirectChildrenOnly);
    if (writer && writer->isWriting()) {
        return true;
    }
    return QWebEnginePage::javaScriptConfirm(securityOrigin, msg);
}
