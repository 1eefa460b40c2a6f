#pragma once

#include <QObject>
#include <QPointer>

#include "app/programcontext.h"

class QWidget;
class AboutWindow;
class HelpWindow;
class OptionsDialog;

// The windows opened beside the main window: the guide, the about window and the options. Each is made when
// first asked for and brought forward when asked for again.
class ProgramWindows : public QObject
{
    Q_OBJECT

public:
    ProgramWindows(ProgramContext &context, QWidget *mainWindow);

    void showHelp();
    void showAbout();
    void showOptions();
    // Shut-down: the options go with any unsaved edits, then the guide closes.
    void closeOptionsAndHelp();

signals:
    // The options stored new link formats.
    void templatesStored();
    // The options stored the interval of checks on a timer, in minutes (0: off).
    void checkIntervalStored(int minutes);

private:
    ProgramContext &m_context;
    QWidget *m_mainWindow;
    QPointer<OptionsDialog> m_options;
    QPointer<HelpWindow> m_help;
    QPointer<AboutWindow> m_about;
};
