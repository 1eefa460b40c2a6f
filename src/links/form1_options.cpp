// Opening the options dialog from the main window.
#include "app/form1.h"

#include "links/frmcustom.h"

void Form1::cmdOptions_Click()
{
    if (!m_options) {
        // No owner: it is a window of its own beside the main window. Its close control discards it with
        // any unsaved edits; "Save and Close" only hides it.
        m_options = new frmCustom(m_context);
        m_options->setAttribute(Qt::WA_DeleteOnClose);
        connect(m_options, &frmCustom::templatesStored, this, &Form1::updateInterface);
    }
    m_options->show();
    m_options->raise();
    m_options->activateWindow();
}
