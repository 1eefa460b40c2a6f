#pragma once

#include <QUrl>
#include <QWidget>

#include <functional>

class QTimer;

// Opens the address named by siteKey() in the system's web browser and closes itself a second later. The visit
// button loads it without showing it; the about window shows it. While one is on screen, closing the main
// window does not end the program until it has gone.
class WebsiteLauncher : public QWidget
{
    Q_OBJECT

public:
    // Loading the launcher runs its set-up, which opens the address.
    explicit WebsiteLauncher(QWidget *parent = nullptr);
    ~WebsiteLauncher() override;

    // How addresses reach the system browser; tests put a recorder here.
    using Opener = std::function<void(const QUrl &)>;
    static Opener &opener();

    // A launcher that is on screen right now, or null.
    static WebsiteLauncher *visibleLauncher();
    // Runs done once no launcher is on screen: at once when none is, else when the last one has gone. Nothing
    // runs when the context object is destroyed first.
    static void whenNoneVisible(QObject *context, const std::function<void()> &done);

signals:
    void closed();

private slots:
    void openSite();
    void closeAfterDelay();

private:
    QTimer *m_closeTimer = nullptr;
};

// Opens the maker's website: sets siteKey() to "Website" and loads a launcher, shown or not. The launcher
// deletes itself.
WebsiteLauncher *launchWebsite(bool show);
