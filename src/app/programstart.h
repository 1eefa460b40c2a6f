#pragma once

#include <QObject>
#include <memory>

#include "app/programcontext.h"
#include "ui/splashwindow.h"

class MainWindow;

// The program's start: the splash window first; when its count is done, the main window is made, started
// and shown, and the splash hides. Owns both.
class ProgramStart : public QObject
{
    Q_OBJECT

public:
    explicit ProgramStart(ProgramContext &context);
    ~ProgramStart() override;

    // Where the data lives this run. When data files were copied there from beside the executable, the user is
    // told once, over the main window, where they are now; the settings remember that it was told.
    void setDataLocation(const DataLocation &location);

    // Loads and shows the splash, whose timer then runs.
    void begin();

    // The main window once the splash has brought it up.
    MainWindow *mainWindow() const { return m_mainWindow.get(); }

    SplashWindow &splash() { return m_splash; }

signals:
    // The main window's start-up failed (the user has been told why); the program should end.
    void startFailed();
    // The main window has shut down; the program should end.
    void programEnded();

private:
    void bringUpMainWindow();
    void tellWhereDataLives();

    ProgramContext &m_context;
    SplashWindow m_splash;
    std::unique_ptr<MainWindow> m_mainWindow;
    QString m_copyError;
};
