#pragma once

#include <QWidget>


class QLabel;
class QTimer;
class Skin;

// The program's first window. Its timer counts to 150 in steps of 2, then it tells that the main window is to
// come up; it stays loaded, hidden, until the main window's shut-down closes it.
class SplashWindow : public QWidget
{
    Q_OBJECT

public:
    explicit SplashWindow(QWidget *parent = nullptr);
    ~SplashWindow() override;

    // Set-up: branding, skinning when it is on, then the timer starts.
    void load();
    // One timer tick; the 75th stops the timer and brings up the main window.
    void tick();
    // The window's skinning control; its skin becomes the program's when skinning is on.
    Skin *splashSkin = nullptr;
    qint16 tickCount = 0;

signals:
    // The count is done: the main window is to come up now.
    void countFinished();

private:
    QLabel *m_pictureLabel = nullptr;
    QTimer *m_progressTimer = nullptr;
};
