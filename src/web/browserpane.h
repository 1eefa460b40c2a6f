#pragma once

#include <QGroupBox>
#include <QUrl>
#include <functional>

#include "web/startpage.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QWebEngineView;
class QUrl;
class QWebEngineProfile;
class AutoInsertController;
class KeyTyper;
class PostedMessageWatcher;

// The browser pane: the address box, Go, back, forward, stop, refresh, "No Popups" and the view.
class BrowserPane : public QGroupBox
{
    Q_OBJECT

public:
    // scratchPath: the file Auto-Insert may write the message to on its way into the page; profile: the one its
    // pages use (none: the engine's default).
    BrowserPane(const QString &scratchPath, QWebEngineProfile *profile, QWidget *parent = nullptr);

    QString currentAddress() const;
    QUrl currentUrl() const;
    // What the user has selected on the page shown.
    QString selectedText() const;
    // The text of the page shown, as the user reads it; empty when it has none or did not load. Not called when
    // context is gone.
    void readShownText(QObject *context, std::function<void(const QString &text)> done) const;
    // While the window is away in the tray no page is kept, so that its helper processes end and give their memory
    // back; the page comes back at the address it had (the start page, made afresh, if that was shown).
    void releasePage();
    void restorePage();
    bool isReleased() const { return m_released; }
    // The controls in the order Tab reaches them.
    QList<QWidget *> tabOrder() const;
    // Shows the program's own start page, made of content, if the next load, of the website, fails.
    void offerStartPage(const QString &website, const std::function<StartPageContent()> &content);
    // Makes the start page again from its content when it is the page shown, so that it stays true.
    void refreshStartPage();

    // Auto-Insert into the page shown, and the watch for the user's message appearing on it.
    AutoInsertController *autoInserter() const { return m_autoInserter; }
    PostedMessageWatcher *postWatcher() const { return m_postWatcher; }

public slots:
    void navigate(const QString &address);
    // Types the text into the page's focused field.
    void typeText(const QString &text);

signals:
    void statusText(int panel, const QString &text);
    // A load has completed, failed ones included: the engine shows its own error page for those.
    void loadCompleted();

private slots:
    void goToAddress();
    // Back and forward without history do nothing.
    void goBack();
    void goForward();
    void stopLoading();
    void reloadPage();
    void loadStarted();
    void loadFinished();
    void showCurrentAddress();

private:
    void makePage();
    void setUpNavigationIcons();
    void showStartPage();

    QLabel *m_addressLabel = nullptr;
    QLineEdit *m_addressEdit = nullptr;
    QPushButton *m_goButton = nullptr;
    QPushButton *m_backButton = nullptr;
    QPushButton *m_forwardButton = nullptr;
    QPushButton *m_stopButton = nullptr;
    QPushButton *m_reloadButton = nullptr;
    QCheckBox *m_noPopupsCheck = nullptr;
    QWebEngineView *m_webView = nullptr;
    std::function<StartPageContent()> m_startPageContent;
    bool m_startPageShown = false;
    QWebEngineProfile *m_profile = nullptr;
    bool m_released = false;
    QUrl m_releasedUrl;
    bool m_pageLoaded = false; // the last load ended with the page, not the engine's error page
    bool m_quietLoad = false; // the load under way leaves status panel 1 as it is
    bool m_loading = false;
    bool m_refreshPending = false; // the start page is to be made again once the load under way ends
    KeyTyper *m_typer = nullptr;
    AutoInsertController *m_autoInserter = nullptr;
    PostedMessageWatcher *m_postWatcher = nullptr;
};
