#pragma once

#include <QWidget>

#include "web/browserpage.h"

class QLineEdit;
class QToolButton;
class QWebEngineView;

// A window of its own for a page that asked for one (a script's new window or a link aimed at one): an
// address box, back and forward, and the page. Closing it discards it.
class BrowserWindow : public QWidget
{
    Q_OBJECT

public:
    // With an owner the window is deleted together with it.
    BrowserWindow(QWebEngineProfile *profile, BrowserPage::PopupPolicy allowPopups, QWidget *owner = nullptr);

    BrowserPage *page() const { return m_page; }
    QWebEngineView *view() const { return m_view; }
    QLineEdit *addressBox() const { return m_address; }

private:
    void navigateToTypedAddress();
    void showAddress();

    QToolButton *m_back = nullptr;
    QToolButton *m_forward = nullptr;
    QLineEdit *m_address = nullptr;
    QWebEngineView *m_view = nullptr;
    BrowserPage *m_page = nullptr;
};
