// Opening the options dialog from the main window.
#include "app/mainwindow.h"

#include "links/optionsdialog.h"

void MainWindow::showOptions()
{
    if (!m_options) {
        // No owner: it is a window of its own beside the main window. Its close control discards it with
        // any unsaved edits; "Save and Close" only hides it.
        m_options = new OptionsDialog(m_context);
        m_options->setAttribute(Qt::WA_DeleteOnClose);
        connect(m_options, &OptionsDialog::templatesStored, this, &MainWindow::updateInterface);
    }
    m_options->show();
    m_options->raise();
    m_options->activateWindow();
}
