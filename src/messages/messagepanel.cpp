// The message editor: save, load, the subject's storing and the paste buttons.
#include "messages/messagepanel.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>

#include "base/settingsstore.h"
#include "messages/messagepicker.h"
#include "messages/messagestore.h"
#include "ui/named.h"

namespace {

const QString s_data = QStringLiteral("data");

} // namespace

MessagePanel::MessagePanel(AppContext &context, Skinning *skinning, QWidget *parent)
    : QGroupBox(tr("Message Editor"), parent)
    , m_context(context)
    , m_skinning(skinning)
{
    setObjectName(QStringLiteral("messageEditor"));
    m_subjectLabel = named(new QLabel(tr("&Subject:"), this), "subjectLabel");
    m_subjectEdit = named(new QLineEdit(this), "subjectEdit");
    m_pasteSubjectButton = named(new QPushButton(tr("Paste"), this), "pasteSubjectButton");
    m_pasteSubjectButton->setToolTip(tr("Click within the Subject field on the form you want to paste into, then click here."));
    m_messageLabel = named(new QLabel(tr("&Message:"), this), "messageLabel");
    m_messageEdit = named(new QPlainTextEdit(this), "messageEdit");
    m_pasteMessageButton = named(new QPushButton(tr("Paste Message"), this), "pasteMessageButton");
    m_pasteMessageButton->setToolTip(tr("Click within the message area on the form you want to paste into, then click here."));
    // Without buddies the boxes would take the frame's title as their name.
    m_subjectLabel->setBuddy(m_subjectEdit);
    m_messageLabel->setBuddy(m_messageEdit);
    // A forum's message field takes no tabs either; Tab moves on, so the keyboard is never caught here.
    m_messageEdit->setTabChangesFocus(true);
    m_pasteSubjectButton->setAccessibleName(tr("Paste Subject"));

    // The message box takes whatever height the editor has beyond its other rows.
    auto *layout = new QGridLayout(this);
    layout->addWidget(m_subjectLabel, 0, 0);
    layout->addWidget(m_subjectEdit, 0, 1);
    layout->addWidget(m_pasteSubjectButton, 0, 2);
    layout->addWidget(m_messageLabel, 1, 0, 1, 3);
    layout->addWidget(m_messageEdit, 2, 0, 1, 3);
    layout->addWidget(m_pasteMessageButton, 3, 0, 1, 3);
    layout->setRowStretch(2, 1);

    // Typing writes the settings file a few times a second at most, however fast the keys come.
    m_subjectWrite = new QTimer(this);
    m_subjectWrite->setSingleShot(true);
    m_subjectWrite->setInterval(250);
    connect(m_subjectWrite, &QTimer::timeout, this, &MessagePanel::writeSubject);
    connect(m_subjectEdit, &QLineEdit::textChanged, this, &MessagePanel::storeSubject);
    connect(m_pasteSubjectButton, &QPushButton::clicked, this, &MessagePanel::pasteSubject);
    connect(m_pasteMessageButton, &QPushButton::clicked, this, &MessagePanel::pasteMessage);
}

QString MessagePanel::messageText() const
{
    QString text = m_messageEdit->toPlainText();
    text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return text;
}

void MessagePanel::setMessageText(const QString &text)
{
    QString plain = text;
    plain.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    m_messageEdit->setPlainText(plain);
}

QString MessagePanel::subject() const
{
    return m_subjectEdit->text();
}

void MessagePanel::setSubject(const QString &subject)
{
    m_subjectEdit->setText(subject);
}

QString MessagePanel::initialMessageText()
{
    static const char *const lines[] = {
        "Type your first message here.  ",
        "",
        "Use plain-text, and be sure to put ",
        "http:// before your URLs.  Then go",
        "to a message forum's posting page ",
        "and hit the \"Insert Message\" button ",
        "to insert your message ",
        "automatically!  ",
        "",
        "You can switch between different ",
        "formatting types by changing the ",
        "value in the drop down box above.",
    };
    QString text;
    for (const char *line : lines) {
        text += QLatin1String(line) + QStringLiteral("\r\n");
    }
    return text;
}

void MessagePanel::restoreLastMessage()
{
    SettingsStore &settings = *m_context.settings;
    const QString lastMessage = settings.read(s_data, QStringLiteral("lastMessage"), QString());
    setSubject(settings.read(s_data, QStringLiteral("lastSubject"), QStringLiteral("Type Subject Here")));
    setMessageText(lastMessage.isEmpty() || lastMessage == QLatin1String(" ") ? initialMessageText() : lastMessage);
}

void MessagePanel::storeLastMessage()
{
    if (m_subjectWrite->isActive()) {
        m_subjectWrite->stop();
        writeSubject();
    }
    m_context.settings->write(s_data, QStringLiteral("lastMessage"), messageText());
}

void MessagePanel::closePicker()
{
    if (m_picker) {
        m_picker->close();
    }
}

QList<QWidget *> MessagePanel::tabOrder() const
{
    return {m_subjectEdit, m_pasteSubjectButton, m_messageEdit, m_pasteMessageButton};
}

void MessagePanel::newMessage()
{
    m_messageEdit->clear();
    // Its change handling stores the emptied subject as "lastSubject".
    m_subjectEdit->clear();
}

void MessagePanel::saveMessage()
{
    const MessageStore store(m_context.dataFolder.filePath(DataFiles::messages), m_context.legacyCodePage);
    QString error;
    if (!store.save(messageText(), m_subjectEdit->text(), &error)) {
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

void MessagePanel::writeSubject()
{
    m_context.settings->write(s_data, QStringLiteral("lastSubject"), m_subjectEdit->text());
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
    auto *picker = new MessagePicker(MessageStore(m_context.dataFolder.filePath(DataFiles::messages),
                                         m_context.legacyCodePage),
        m_context.branding.programName, m_skinning, window());
    if (!picker->load()) {
        delete picker;
        return;
    }
    connect(picker, &MessagePicker::messageChosen, this,
            [this](const QString &body, const QString &subject, bool hasSubject) {
                setMessageText(body);
                if (hasSubject) {
                    m_subjectEdit->setText(subject);
                }
            });
    m_picker = picker;
    picker->show();
}

void MessagePanel::pasteSubject()
{
    emit typeText(m_subjectEdit->text());
}
