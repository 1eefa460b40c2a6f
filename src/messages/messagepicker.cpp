#include "messages/messagepicker.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>

#include "messages/messagelibrary.h"
#include "messages/messagestore.h"
#include "ui/listbox.h"
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

MessagePicker::MessagePicker(
    const MessageStore &library, const QString &programName, Skinning *skinning, QWidget *parent)
    : QWidget(parent, Qt::Window)
    , m_programName(programName)
    , m_skinning(skinning)
    , m_library(new MessageLibrary(library, this))
{
    setObjectName(QStringLiteral("MessagePicker"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("load a saved message"));

    m_titleLabel = label(this, "titleLabel", QStringLiteral("Saved Messages"));
    QFont heading = m_titleLabel->font();
    heading.setBold(true);
    m_titleLabel->setFont(heading);
    m_chooseHintLabel = label(this, "chooseHintLabel", QStringLiteral("double-click the message you wish to load:"));
    m_viewHintLabel = label(this, "viewHintLabel", QStringLiteral("click once to view the entire message"));
    m_messageList = new ListBox(this);
    m_messageList->setObjectName(QStringLiteral("messageList"));
    m_messageList->setModel(m_library);
    m_messageList->setSelectionMode(QAbstractItemView::SingleSelection);
    m_messageList->setAccessibleName(tr("Saved messages"));
    m_messageView = new QPlainTextEdit(this);
    m_messageView->setObjectName(QStringLiteral("messageView"));
    m_messageView->setReadOnly(true);
    m_messageView->setAccessibleName(tr("Message"));
    m_subjectLabel = label(this, "subjectLabel", QStringLiteral("Subject:"));
    m_subjectEdit = new QLineEdit(this);
    m_subjectEdit->setObjectName(QStringLiteral("subjectEdit"));
    m_subjectEdit->setReadOnly(true);
    m_subjectLabel->setBuddy(m_subjectEdit);
    m_deleteButton = new QPushButton(QStringLiteral("delete message"), this);
    m_deleteButton->setObjectName(QStringLiteral("deleteButton"));

    auto *layout = new QGridLayout(this);
    layout->addWidget(m_titleLabel, 0, 0, 1, 2);
    layout->addWidget(m_chooseHintLabel, 1, 0, 1, 2);
    layout->addWidget(m_messageList, 2, 0, 1, 2);
    layout->addWidget(m_viewHintLabel, 3, 0, 1, 2);
    layout->addWidget(m_messageView, 4, 0, 1, 2);
    layout->addWidget(m_subjectLabel, 5, 0);
    layout->addWidget(m_subjectEdit, 5, 1);
    layout->addWidget(m_deleteButton, 6, 0, 1, 2, Qt::AlignRight);
    layout->setRowStretch(2, 3);
    layout->setRowStretch(4, 2);

    connect(m_messageList, &QListView::clicked, this, &MessagePicker::showSelectedMessage);
    // The arrow keys and assistive tools move the preview too, so "delete message" removes the message shown.
    QItemSelectionModel *selection = m_messageList->selectionModel();
    connect(selection, &QItemSelectionModel::currentRowChanged, this, &MessagePicker::showSelectedMessage);
    connect(selection, &QItemSelectionModel::selectionChanged, this, &MessagePicker::showSelectedMessage);
    ListEntries::followSelection(m_messageList);
    connect(m_messageList, &QListView::doubleClicked, this, &MessagePicker::chooseSelectedMessage);
    ListEntries::openOnReturn(m_messageList, [this] { chooseSelectedMessage(); });
    connect(m_deleteButton, &QPushButton::clicked, this, &MessagePicker::deleteSelectedMessage);
    resize(480, 460);
}

bool MessagePicker::load()
{
    if (!loadMessageList()) {
        return false;
    }
    if (m_skinning) {
        m_skinning->applyWithLabels(this);
    }
    return true;
}

bool MessagePicker::loadMessageList()
{
    bool exists = false;
    QString reason;
    m_library->load(&exists, &reason);
    if (!reason.isEmpty()) {
        QMessageBox::warning(parentWidget(), m_programName,
                             tr("Your saved messages could not be read from\n%1\n\n%2").arg(m_library->path(), reason));
        return false;
    }
    if (!exists) {
        QMessageBox::information(parentWidget(), m_programName,
                                 QStringLiteral("you must first save a message before you can load one"));
        return false;
    }
    // Blank lines stay as empty entries: the list shows the file as it is.
    return true;
}

int MessagePicker::selectedRow() const
{
    const QModelIndex current = m_messageList->currentIndex();
    return current.isValid() && m_messageList->selectionModel()->isSelected(current) ? current.row() : -1;
}

void MessagePicker::showSelectedMessage()
{
    const QModelIndex entry = m_library->index(selectedRow());
    if (!entry.isValid() || entry.data().toString().isEmpty()) {
        return;
    }
    m_messageView->setPlainText(displayText(entry.data(MessageLibrary::BodyRole).toString()));
    if (entry.data(MessageLibrary::HasSubjectRole).toBool()) {
        m_subjectEdit->setText(entry.data(MessageLibrary::SubjectRole).toString());
    }
}

void MessagePicker::chooseSelectedMessage()
{
    const QModelIndex entry = m_messageList->currentIndex();
    const QString body = entry.data(MessageLibrary::BodyRole).toString();
    if (body.isEmpty()) {
        QMessageBox::information(this, m_programName, QStringLiteral("cannot insert a blank message"));
        return;
    }
    emit messageChosen(body, entry.data(MessageLibrary::SubjectRole).toString(),
                       entry.data(MessageLibrary::HasSubjectRole).toBool());
}

void MessagePicker::deleteSelectedMessage()
{
    QString error;
    if (!m_library->remove(selectedRow(), &error)) {
        QMessageBox::warning(this, m_programName,
                             tr("The message could not be deleted from\n%1\n\n%2").arg(m_library->path(), error));
        // The list still shows what the file held when it could last be read.
    }
}
