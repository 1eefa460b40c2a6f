#pragma once

#include <QWidget>

#include "base/branding.h"

class QLabel;
class QTimer;
class Skinning;

// The program's first window. Its timer counts to 150 in steps of 2, then it tells that the main window is to
// come up; it stays loaded, hidden, until the main window's shut-down closes it.
class SplashWindow : public QWidget
{
    Q_OBJECT

public:
    // skinning: the program's, when skinning is on; the splash starts it.
    explicit SplashWindow(const BrandingInfo &branding, Skinning *skinning = nullptr, QWidget *parent = nullptr);
    ~SplashWindow() override;

    // Set-up: the picture, skinning when it is on, then the timer starts.
    void load();
    // One timer tick; the 75th stops the timer and brings up the main window.
    void tick();
    // How far the count has come.
    int count() const { return m_count; }

signals:
    // The count is done: the main window is to come up now.
    void countFinished();

private:
    BrandingInfo m_branding;
    Skinning *m_skinning;
    QLabel *m_pictureLabel = nullptr;
    QTimer *m_progressTimer = nullptr;
    qint16 m_count = 0;
};
