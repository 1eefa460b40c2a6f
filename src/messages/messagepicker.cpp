#include "messages/messagepicker.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>

#include "base/branding.h"
#include "messages/messagestore.h"
#include "ui/listentries.h"
#include "ui/skin.h"

namespace {

QLabel *label(QWidget *parent, const char *name, const QString &text)
{
    auto *widget = new QLabel(text, parent);
    widget->setObjectName(QLatin1String(name));
    widget->setTextFormat(Qt::PlainText);
    return widget;
}

// Shown with real line breaks; a box of plain text never renders markup.
QString displayText(const QString &body)
{
    QString text = body;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return text;
}

} // namespace

MessagePicker::MessagePicker(const QString &libraryPath, QWidget *parent)
    : QWidget(parent, Qt::Window)
    , m_libraryPath(libraryPath)
{
    setObjectName(QStringLiteral("MessagePicker"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("load a saved message"));

    titleLabel = label(this, "titleLabel", QStringLiteral("Saved Messages"));
    QFont heading = titleLabel->font();
    heading.setBold(true);
    titleLabel->setFont(heading);
    chooseHintLabel = label(this, "chooseHintLabel", QStringLiteral("double-click the message you wish to load:"));
    viewHintLabel = label(this, "viewHintLabel", QStringLiteral("click once to view the entire message"));
    messageList = new QListWidget(this);
    messageList->setObjectName(QStringLiteral("messageList"));
    messageList->setSelectionMode(QAbstractItemView::SingleSelection);
    messageList->setAccessibleName(tr("Saved messages"));
    messageView = new QPlainTextEdit(this);
    messageView->setObjectName(QStringLiteral("messageView"));
    messageView->setReadOnly(true);
    messageView->setAccessibleName(tr("Message"));
    subjectLabel = label(this, "subjectLabel", QStringLiteral("Subject:"));
    subjectEdit = new QLineEdit(this);
    subjectEdit->setObjectName(QStringLiteral("subjectEdit"));
    subjectEdit->setReadOnly(true);
    subjectLabel->setBuddy(subjectEdit);
    deleteButton = new QPushButton(QStringLiteral("delete message"), this);
    deleteButton->setObjectName(QStringLiteral("deleteButton"));

    auto *layout = new QGridLayout(this);
    layout->addWidget(titleLabel, 0, 0, 1, 2);
    layout->addWidget(chooseHintLabel, 1, 0, 1, 2);
    layout->addWidget(messageList, 2, 0, 1, 2);
    layout->addWidget(viewHintLabel, 3, 0, 1, 2);
    layout->addWidget(messageView, 4, 0, 1, 2);
    layout->addWidget(subjectLabel, 5, 0);
    layout->addWidget(subjectEdit, 5, 1);
    layout->addWidget(deleteButton, 6, 0, 1, 2, Qt::AlignRight);
    layout->setRowStretch(2, 3);
    layout->setRowStretch(4, 2);

    connect(messageList, &QListWidget::itemClicked, this, &MessagePicker::showSelectedMessage);
    // The arrow keys and assistive tools move the preview too, so "delete message" removes the message shown.
    connect(messageList, &QListWidget::currentRowChanged, this, &MessagePicker::showSelectedMessage);
    connect(messageList, &QListWidget::itemSelectionChanged, this, &MessagePicker::showSelectedMessage);
    ListEntries::followSelection(messageList);
    connect(messageList, &QListWidget::itemDoubleClicked, this, &MessagePicker::chooseSelectedMessage);
    ListEntries::openOnReturn(messageList, [this] { chooseSelectedMessage(); });
    connect(deleteButton, &QPushButton::clicked, this, &MessagePicker::deleteSelectedMessage);
    resize(480, 460);
}

bool MessagePicker::load()
{
    if (!loadMessageList()) {
        return false;
    }
    if (brandingInfo().skinEnabled) {
        placeSkinLabel(this, QStringLiteral("SkinLabel1"));
        replaceLabelsWithSkinLabels(this);
        applySkin(this);
    }
    return true;
}

bool MessagePicker::loadMessageList()
{
    bool exists = false;
    QString reason;
    const QStringList lines = MessageStore(m_libraryPath).entries(&exists, &reason);
    messageList->clear();
    if (!reason.isEmpty()) {
        QMessageBox::warning(parentWidget(), brandingInfo().programName,
                             tr("Your saved messages could not be read from\n%1\n\n%2").arg(m_libraryPath, reason));
        return false;
    }
    if (!exists) {
        QMessageBox::information(parentWidget(), brandingInfo().programName,
                                 QStringLiteral("you must first save a message before you can load one"));
        return false;
    }
    // Blank lines stay as empty entries: the list shows the file as it is.
    messageList->addItems(lines);
    return true;
}

void MessagePicker::showSelectedMessage()
{
    const QListWidgetItem *item = messageList->currentItem();
    // Focus entering the list makes an entry current without selecting it; delete would not remove it.
    if (!item || !item->isSelected() || item->text().isEmpty()) {
        return;
    }
    const MessageRecord record = MessageRecord::fromLine(item->text());
    messageView->setPlainText(displayText(record.body));
    if (record.hasSubject) {
        subjectEdit->setText(record.subject);
    }
}

void MessagePicker::chooseSelectedMessage()
{
    const QListWidgetItem *item = messageList->currentItem();
    const MessageRecord record = MessageRecord::fromLine(item ? item->text() : QString());
    if (record.body.isEmpty()) {
        QMessageBox::information(this, brandingInfo().programName, QStringLiteral("cannot insert a blank message"));
        return;
    }
    emit messageChosen(record.body, record.subject, record.hasSubject);
}

void MessagePicker::deleteSelectedMessage()
{
    const QListWidgetItem *item = messageList->currentItem();
    deleteMessage(item && item->isSelected() ? item->text() : QString());
}

void MessagePicker::deleteMessage(const QString &entryText)
{
    QString error;
    if (!MessageStore(m_libraryPath).remove(entryText, &error)) {
        QMessageBox::warning(this, brandingInfo().programName,
                             tr("The message could not be deleted from\n%1\n\n%2").arg(m_libraryPath, error));
        // The list still shows what the file held when it could last be read.
        return;
    }
    messageList->clear();
    messageList->addItems(MessageStore(m_libraryPath).entries());
}
