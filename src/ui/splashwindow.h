#pragma once

#include <QWidget>

#include <memory>

#include "base/appcontext.h"

class QLabel;
class QTimer;
class MainWindow;
class Skin;

// The program's first window. Its timer counts to 150 in steps of 2, then it loads and shows the main window
// and hides itself; it stays loaded, hidden, until the main window's unload closes it. It owns the main window.
class SplashWindow : public QWidget
{
    Q_OBJECT

public:
    explicit SplashWindow(AppContext &context, QWidget *parent = nullptr);
    ~SplashWindow() override;

    // Set-up: branding, skinning when it is on, then the timer starts.
    void load();
    // One timer tick; the 75th brings up the main window.
    void tick();

    // The main window once the splash has loaded it.
    MainWindow *mainWindow() const { return m_mainWindow.get(); }

    QLabel *pictureLabel = nullptr;
    QTimer *progressTimer = nullptr;
    // The window's skinning control; its skin becomes the program's when skinning is on.
    Skin *splashSkin = nullptr;
    qint16 tickCount = 0;

signals:
    // The main window's set-up failed (the user has been told why); the program should end.
    void startFailed();
    // The main window has been unloaded; the program should end.
    void programEnded();

private:
    AppContext &m_context;
    std::unique_ptr<MainWindow> m_mainWindow;
};
