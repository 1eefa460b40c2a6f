#pragma once

#include <QGroupBox>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QWebEngineView;
class KeyTyper;

// The browser pane: the address box, Go, back, forward, stop, refresh, "No Popups" and the view.
class BrowserPane : public QGroupBox
{
    Q_OBJECT

public:
    explicit BrowserPane(QWidget *parent = nullptr);

    QString currentAddress() const;
    // Fits the view and the address row to the pane's size.
    void fitContents();

    QLabel *addressLabel = nullptr;
    QLineEdit *addressEdit = nullptr;
    QPushButton *goButton = nullptr;
    QPushButton *backButton = nullptr;
    QPushButton *forwardButton = nullptr;
    QPushButton *stopButton = nullptr;
    QPushButton *reloadButton = nullptr;
    QCheckBox *noPopupsCheck = nullptr;
    QWebEngineView *webView = nullptr;

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
    void setUpNavigationIcons();

    KeyTyper *m_typer = nullptr;
};
