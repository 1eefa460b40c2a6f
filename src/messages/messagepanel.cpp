// The main window's message commands: save, load, preview, copy and the paste buttons.
#include "app/form1.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>

#include "app/settingsstore.h"
#include "messages/form3.h"
#include "messages/messagestore.h"
#include "web/keytyper.h"

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
    // An open picker is only brought forward: its list changes by its own deletes alone.
    if (m_picker) {
        m_picker->setWindowState(m_picker->windowState() & ~Qt::WindowMinimized);
        m_picker->show();
        m_picker->raise();
        m_picker->activateWindow();
        return;
    }
    auto *picker = new Form3(m_context.dataFolder.filePath(DataFiles::messages), this);
    if (!picker->Form_Load()) {
        delete picker;
        return;
    }
    connect(picker, &Form3::messageChosen, this, [this](const QString &body, const QString &subject, bool hasSubject) {
        setMessageText(body);
        if (hasSubject) {
            txtSubject->setText(subject);
        }
    });
    m_picker = picker;
    picker->show();
}

void Form1::previewMessage()
{
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("message preview"), convertedOutgoingText(),
                    QMessageBox::Ok, this);
    // The message is shown as the forum will get it: markup in it is text, never rendered.
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

void Form1::cmdPreview_Click()
{
    previewMessage();
}

void Form1::cmdCopy_Click()
{
    QGuiApplication::clipboard()->setText(convertedOutgoingText());
}

void Form1::cmdPaste_Click(int index)
{
    QString text;
    switch (index) {
    case 0:
        text = txtSubject->text();
        break;
    case 1:
        text = txtUsername->text();
        break;
    case 2:
        text = txtPassword->text();
        break;
    case 3:
        text = convertedOutgoingText();
        break;
    default:
        return;
    }
    m_typer->type(text);
}
