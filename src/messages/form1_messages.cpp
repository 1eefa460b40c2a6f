// The main window's message commands: save, load, preview, copy and the paste buttons.
#include "app/form1.h"

#include <QLineEdit>
#include <QMessageBox>

#include "app/settingsstore.h"
#include "messages/messagestore.h"

void Form1::saveMessage()
{
    const MessageStore store(m_context.dataFolder.filePath(DataFiles::messages));
    QString error;
    if (!store.save(messageText(), txtSubject->text(), &error)) {
        QMessageBox::warning(this, windowTitle(),
                             tr("Your message could not be saved to\n%1\n\n%2").arg(store.filePath(), error));
        return;
    }
    setPanelText(1, QStringLiteral("MESSAGE SAVED"));
}

void Form1::cmdSave_Click()
{
    saveMessage();
}

void Form1::txtSubject_Change()
{
    m_context.settings->write(QStringLiteral("data"), QStringLiteral("lastSubject"), txtSubject->text());
}

void Form1::cmdLoad_Click()
{
}

void Form1::previewMessage()
{
}

void Form1::cmdPreview_Click()
{
    previewMessage();
}

void Form1::cmdCopy_Click()
{
}

void Form1::cmdPaste_Click(int index)
{
    Q_UNUSED(index)
}
