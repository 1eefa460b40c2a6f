#pragma once

#include <QWidget>

#include <memory>

#include "app/appcontext.h"

class QLabel;
class QTimer;
class Form1;
class Skin;

// The program's first window. Its timer counts to 150 in steps of 2, then it loads and shows the main window
// and hides itself; it stays loaded, hidden, until the main window's unload closes it. It owns the main window.
class frmSplash : public QWidget
{
    Q_OBJECT

public:
    explicit frmSplash(AppContext &context, QWidget *parent = nullptr);
    ~frmSplash() override;

    // Set-up: branding, skinning when it is on, then the timer starts.
    void Form_Load();
    // One timer tick; the 75th brings up the main window.
    void Timer2_Timer();

    // The main window once the splash has loaded it.
    Form1 *mainWindow() const { return m_mainWindow.get(); }

    QLabel *Image1 = nullptr;
    QTimer *Timer2 = nullptr;
    // The window's skinning control; its skin becomes the program's when skinning is on.
    Skin *skn = nullptr;
    qint16 intTemp = 0;

signals:
    // The main window's set-up failed (the user has been told why); the program should end.
    void startFailed();
    // The main window has been unloaded; the program should end.
    void programEnded();

private:
    AppContext &m_context;
    std::unique_ptr<Form1> m_mainWindow;
};
