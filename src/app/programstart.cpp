#include "app/programstart.h"

#include "app/mainwindow.h"

ProgramStart::ProgramStart(AppContext &context)
    : m_context(context)
{
    connect(&splash, &SplashWindow::countFinished, this, &ProgramStart::bringUpMainWindow);
}

// The main window goes before the splash, as it did when the splash owned it.
ProgramStart::~ProgramStart()
{
    m_mainWindow.reset();
}

void ProgramStart::begin()
{
    splash.load();
    splash.show();
}

void ProgramStart::bringUpMainWindow()
{
    m_mainWindow = std::make_unique<MainWindow>(m_context);
    m_mainWindow->setSplash(&splash);
    connect(m_mainWindow.get(), &MainWindow::programEnded, this, &ProgramStart::programEnded);
    if (!m_mainWindow->startUp()) {
        emit startFailed();
        return;
    }
    m_mainWindow->show();
    splash.hide();
}
