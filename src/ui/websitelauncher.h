#pragma once

#include <QList>
#include <QPointer>
#include <QUrl>
#include <QWidget>

#include <functional>

class QTimer;
class Website;

// Opens the address its site key names in the system's web browser and closes itself a second later. The visit
// button loads it without showing it; the about window shows it. While one is on screen, closing the main
// window does not end the program until it has gone.
class WebsiteLauncher : public QWidget
{
    Q_OBJECT

public:
    // Loading the launcher runs its set-up, which opens the address the key names (see launcherAddress()).
    WebsiteLauncher(const QString &siteKey, Website &website, QWidget *parent = nullptr);
    ~WebsiteLauncher() override;

signals:
    void closed();

private slots:
    void closeAfterDelay();

private:
    QTimer *m_closeTimer = nullptr;
    QPointer<Website> m_website;
};

// The maker's website, and the launchers that open it in the system's web browser.
class Website : public QObject
{
    Q_OBJECT

public:
    // How addresses reach the system browser; tests put a recorder here.
    using Opener = std::function<void(const QUrl &)>;

    explicit Website(const QString &address, QObject *parent = nullptr);

    QString address() const { return m_address; }
    void setOpener(Opener opener) { m_opener = std::move(opener); }
    void open(const QUrl &url) const;

    // Opens the website through a launcher, shown or not. The launcher deletes itself.
    WebsiteLauncher *launch(bool show);
    // A launcher that is on screen right now, or null.
    WebsiteLauncher *visibleLauncher() const;
    // Runs done once no launcher is on screen: at once when none is, else when the last one has gone. Nothing
    // runs when the context object is destroyed first.
    void whenNoneVisible(QObject *context, const std::function<void()> &done);

private:
    friend class WebsiteLauncher;

    QString m_address;
    Opener m_opener;
    QList<QPointer<WebsiteLauncher>> m_launchers;
};
