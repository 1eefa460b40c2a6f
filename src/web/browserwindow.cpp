#include "web/browserwindow.h"

#include <QAction>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>
#include <QWebEngineView>

BrowserWindow::BrowserWindow(QWebEngineProfile *profile, BrowserPage::PopupPolicy allowPopups, QWidget *owner)
    : QWidget(owner, Qt::Window)
    , m_back(new QToolButton(this))
    , m_forward(new QToolButton(this))
    , m_address(new QLineEdit(this))
    , m_view(new QWebEngineView(this))
{
    setObjectName(QStringLiteral("BrowserWindow"));
    setAttribute(Qt::WA_DeleteOnClose);
    m_page = new BrowserPage(profile, std::move(allowPopups), m_view);
    m_view->setPage(m_page);

    m_back->setDefaultAction(m_view->pageAction(QWebEnginePage::Back));
    m_forward->setDefaultAction(m_view->pageAction(QWebEnginePage::Forward));
    m_address->setObjectName(QStringLiteral("addressBox"));
    auto *status = new QLabel(this);
    status->setTextFormat(Qt::PlainText);

    auto *bar = new QHBoxLayout;
    bar->addWidget(m_back);
    bar->addWidget(m_forward);
    bar->addWidget(m_address, 1);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addLayout(bar);
    layout->addWidget(m_view, 1);
    layout->addWidget(status);

    connect(m_address, &QLineEdit::returnPressed, this, &BrowserWindow::navigateToTypedAddress);
    connect(m_page, &QWebEnginePage::urlChanged, this, &BrowserWindow::showAddress);
    connect(m_page, &QWebEnginePage::loadFinished, this, &BrowserWindow::showAddress);
    connect(m_page, &QWebEnginePage::titleChanged, this, [this](const QString &title) {
        setWindowTitle(title.isEmpty() ? m_page->url().toDisplayString() : title);
    });
    connect(m_page, &BrowserPage::statusTextChanged, status, &QLabel::setText);
    connect(m_page, &QWebEnginePage::windowCloseRequested, this, &QWidget::close);
    connect(m_page, &QWebEnginePage::geometryChangeRequested, this, [this](const QRect &geometry) {
        // Scripts ask for the page's size; the bars around it come on top.
        if (geometry.width() > 0 && geometry.height() > 0) {
            resize(geometry.size() + (size() - m_view->size()));
        }
    });
    resize(800, 600);
}

void BrowserWindow::navigateToTypedAddress()
{
    m_view->setUrl(QUrl::fromUserInput(m_address->text()));
}

void BrowserWindow::showAddress()
{
    m_address->setText(m_page->url().toString());
}
