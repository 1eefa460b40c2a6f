// The message editor: save, load, the subject's storing and the paste buttons.
#include "messages/messagepanel.h"

#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>

#include "base/settingsstore.h"
#include "messages/messagepicker.h"
#include "messages/messagestore.h"
#include "ui/placement.h"

using Placement::place;

MessagePanel::MessagePanel(AppContext &context, QWidget *parent)
    : QGroupBox(tr("Message Editor"), parent)
    , m_context(context)
{
    setObjectName(QStringLiteral("messageEditor"));
    subjectLabel = place(new QLabel(tr("&Subject:"), this), "subjectLabel", 120, 330, 780, 255);
    subjectEdit = place(new QLineEdit(this), "subjectEdit", 900, 300, 1995, 285);
    pasteSubjectButton = place(new QPushButton(tr("Paste"), this), "pasteSubjectButton", 2940, 285, 675, 315);
    pasteSubjectButton->setToolTip(tr("Click within the Subject field on the form you want to paste into, then click here."));
    messageLabel = place(new QLabel(tr("&Message:"), this), "messageLabel", 120, 660, 1000, 240);
    // The message box fills the editor down to its paste button.
    messageEdit = place(new QPlainTextEdit(this), "messageEdit", 120, 900, 3495, 2715);
    pasteMessageButton = place(new QPushButton(tr("Paste Message"), this), "pasteMessageButton", 120, 3705, 3495, 375);
    pasteMessageButton->setToolTip(tr("Click within the message area on the form you want to paste into, then click here."));
    // Without buddies the boxes would take the frame's title as their name.
    subjectLabel->setBuddy(subjectEdit);
    messageLabel->setBuddy(messageEdit);
    // A forum's message field takes no tabs either; Tab moves on, so the keyboard is never caught here.
    messageEdit->setTabChangesFocus(true);
    pasteSubjectButton->setAccessibleName(tr("Paste Subject"));

    // Typing writes the settings file a few times a second at most, however fast the keys come.
    m_subjectWrite = new QTimer(this);
    m_subjectWrite->setSingleShot(true);
    m_subjectWrite->setInterval(250);
    connect(m_subjectWrite, &QTimer::timeout, this, &MessagePanel::writeSubject);
    connect(subjectEdit, &QLineEdit::textChanged, this, &MessagePanel::storeSubject);
    connect(pasteSubjectButton, &QPushButton::clicked, this, &MessagePanel::pasteSubject);
    connect(pasteMessageButton, &QPushButton::clicked, this, &MessagePanel::pasteMessage);
}

QString MessagePanel::messageText() const
{
    QString text = messageEdit->toPlainText();
    text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return text;
}

void MessagePanel::setMessageText(const QString &text)
{
    QString plain = text;
    plain.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    messageEdit->setPlainText(plain);
}

QString MessagePanel::subject() const
{
    return subjectEdit->text();
}

void MessagePanel::setSubject(const QString &subject)
{
    subjectEdit->setText(subject);
}

MessagePicker *MessagePanel::picker() const
{
    return m_picker;
}

void MessagePanel::newMessage()
{
    messageEdit->clear();
    // Its change handling stores the emptied subject as "lastSubject".
    subjectEdit->clear();
}

void MessagePanel::saveMessage()
{
    const MessageStore store(m_context.dataFolder.filePath(DataFiles::messages));
    QString error;
    if (!store.save(messageText(), subjectEdit->text(), &error)) {
        QMessageBox::warning(window(), window()->windowTitle(),
                             tr("Your message could not be saved to\n%1\n\n%2").arg(store.filePath(), error));
        return;
    }
    emit statusText(1, QStringLiteral("MESSAGE SAVED"));
}

void MessagePanel::storeSubject()
{
    // Not restarted by each key: a steady typist's text still reaches the file every interval.
    if (!m_subjectWrite->isActive()) {
        m_subjectWrite->start();
    }
}

void MessagePanel::flushSubject()
{
    if (m_subjectWrite->isActive()) {
        m_subjectWrite->stop();
        writeSubject();
    }
}

void MessagePanel::writeSubject()
{
    m_context.settings->write(QStringLiteral("data"), QStringLiteral("lastSubject"), subjectEdit->text());
}

void MessagePanel::openMessagePicker()
{
    // An open picker is only brought forward: its list changes by its own deletes alone.
    if (m_picker) {
        m_picker->setWindowState(m_picker->windowState() & ~Qt::WindowMinimized);
        m_picker->show();
        m_picker->raise();
        m_picker->activateWindow();
        return;
    }
    auto *picker = new MessagePicker(m_context.dataFolder.filePath(DataFiles::messages), window());
    if (!picker->load()) {
        delete picker;
        return;
    }
    connect(picker, &MessagePicker::messageChosen, this,
            [this](const QString &body, const QString &subject, bool hasSubject) {
                setMessageText(body);
                if (hasSubject) {
                    subjectEdit->setText(subject);
                }
            });
    m_picker = picker;
    picker->show();
}

void MessagePanel::pasteSubject()
{
    emit typeText(subjectEdit->text());
}
