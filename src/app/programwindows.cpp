#include "app/programwindows.h"

#include "options/optionsdialog.h"
#include "ui/aboutwindow.h"
#include "ui/helpwindow.h"

namespace {

void bringForward(QWidget *window)
{
    window->show();
    window->raise();
    window->activateWindow();
}

} // namespace

ProgramWindows::ProgramWindows(ProgramContext &context, QWidget *mainWindow)
    : QObject(mainWindow)
    , m_context(context)
    , m_mainWindow(mainWindow)
{ }

void ProgramWindows::showHelp()
{
    if (!m_help) {
        m_help = new HelpWindow(m_context, m_context.skinning, m_mainWindow);
        m_help->setAttribute(Qt::WA_DeleteOnClose);
    }
    if (!m_help->isLoaded()) {
        // Without its guide the window stays hidden; the next request looks for the file again.
        m_help->deleteLater();
        return;
    }
    bringForward(m_help);
}

void ProgramWindows::showAbout()
{
    if (!m_about) {
        m_about = new AboutWindow(m_context.branding, *m_context.website, m_context.skinning, m_mainWindow);
    }
    bringForward(m_about);
}

void ProgramWindows::showOptions()
{
    if (!m_options) {
        // No owner: it is a window of its own beside the main window. Its close control discards it with
        // any unsaved edits; "Save and Close" only hides it.
        m_options = new OptionsDialog(
            *m_context.settings, *m_context.linkFormats, m_context.keptTexts, m_context.skinning, m_context.closedChecks);
        m_options->setAttribute(Qt::WA_DeleteOnClose);
        connect(m_options, &OptionsDialog::templatesStored, this, &ProgramWindows::templatesStored);
        connect(m_options, &OptionsDialog::checkIntervalStored, this, &ProgramWindows::checkIntervalStored);
    }
    bringForward(m_options);
}

void ProgramWindows::closeOptionsAndHelp()
{
    delete m_options.data();
    if (m_help) {
        m_help->close();
    }
}
