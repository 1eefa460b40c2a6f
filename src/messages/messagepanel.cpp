// The main window's message commands: save, load, preview, copy and the paste buttons.
#include "app/mainwindow.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>

#include "base/settingsstore.h"
#include "messages/messagepicker.h"
#include "messages/messagestore.h"
#include "web/keytyper.h"

void MainWindow::saveMessage()
{
    const MessageStore store(m_context.dataFolder.filePath(DataFiles::messages));
    QString error;
    if (!store.save(messageText(), subjectEdit->text(), &error)) {
        QMessageBox::warning(this, windowTitle(),
                             tr("Your message could not be saved to\n%1\n\n%2").arg(store.filePath(), error));
        return;
    }
    setPanelText(1, QStringLiteral("MESSAGE SAVED"));
}

void MainWindow::cmdSave_Click()
{
    saveMessage();
}

void MainWindow::storeSubject()
{
    m_context.settings->write(QStringLiteral("data"), QStringLiteral("lastSubject"), subjectEdit->text());
}

void MainWindow::openMessagePicker()
{
    // An open picker is only brought forward: its list changes by its own deletes alone.
    if (m_picker) {
        m_picker->setWindowState(m_picker->windowState() & ~Qt::WindowMinimized);
        m_picker->show();
        m_picker->raise();
        m_picker->activateWindow();
        return;
    }
    auto *picker = new MessagePicker(m_context.dataFolder.filePath(DataFiles::messages), this);
    if (!picker->startUp()) {
        delete picker;
        return;
    }
    connect(picker, &MessagePicker::messageChosen, this, [this](const QString &body, const QString &subject, bool hasSubject) {
        setMessageText(body);
        if (hasSubject) {
            subjectEdit->setText(subject);
        }
    });
    m_picker = picker;
    picker->show();
}

void MainWindow::previewMessage()
{
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("message preview"), convertedOutgoingText(),
                    QMessageBox::Ok, this);
    // The message is shown as the forum will get it: markup in it is text, never rendered.
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

void MainWindow::cmdPreview_Click()
{
    previewMessage();
}

void MainWindow::copyMessage()
{
    QGuiApplication::clipboard()->setText(convertedOutgoingText());
}

void MainWindow::pasteInto(int index)
{
    QString text;
    switch (index) {
    case 0:
        text = subjectEdit->text();
        break;
    case 1:
        text = usernameEdit->text();
        break;
    case 2:
        text = passwordEdit->text();
        break;
    case 3:
        text = convertedOutgoingText();
        break;
    default:
        return;
    }
    m_typer->type(text);
}
