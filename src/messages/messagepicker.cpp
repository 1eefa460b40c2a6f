#include "messages/form3.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>

#include "app/branding.h"
#include "messages/messagestore.h"
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

Form3::Form3(const QString &libraryPath, QWidget *parent)
    : QWidget(parent, Qt::Window)
    , m_libraryPath(libraryPath)
{
    setObjectName(QStringLiteral("Form3"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("load a saved message"));

    Label1 = label(this, "Label1", QStringLiteral("Saved Messages"));
    QFont heading = Label1->font();
    heading.setBold(true);
    Label1->setFont(heading);
    Label2 = label(this, "Label2", QStringLiteral("double-click the message you wish to load:"));
    Label3 = label(this, "Label3", QStringLiteral("click once to view the entire message"));
    List1 = new QListWidget(this);
    List1->setObjectName(QStringLiteral("List1"));
    List1->setSelectionMode(QAbstractItemView::SingleSelection);
    Text1 = new QPlainTextEdit(this);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setReadOnly(true);
    Label4 = label(this, "Label4", QStringLiteral("Subject:"));
    txtSubject = new QLineEdit(this);
    txtSubject->setObjectName(QStringLiteral("txtSubject"));
    txtSubject->setReadOnly(true);
    Command1 = new QPushButton(QStringLiteral("delete message"), this);
    Command1->setObjectName(QStringLiteral("Command1"));

    auto *layout = new QGridLayout(this);
    layout->addWidget(Label1, 0, 0, 1, 2);
    layout->addWidget(Label2, 1, 0, 1, 2);
    layout->addWidget(List1, 2, 0, 1, 2);
    layout->addWidget(Label3, 3, 0, 1, 2);
    layout->addWidget(Text1, 4, 0, 1, 2);
    layout->addWidget(Label4, 5, 0);
    layout->addWidget(txtSubject, 5, 1);
    layout->addWidget(Command1, 6, 0, 1, 2, Qt::AlignRight);
    layout->setRowStretch(2, 3);
    layout->setRowStretch(4, 2);

    connect(List1, &QListWidget::itemClicked, this, &Form3::List1_Click);
    connect(List1, &QListWidget::itemDoubleClicked, this, &Form3::List1_DblClick);
    connect(Command1, &QPushButton::clicked, this, &Form3::Command1_Click);
    resize(480, 460);
}

bool Form3::Form_Load()
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

bool Form3::loadMessageList()
{
    bool exists = false;
    const QStringList lines = MessageStore(m_libraryPath).entries(&exists);
    List1->clear();
    if (!exists) {
        QMessageBox::information(parentWidget(), brandingInfo().programName,
                                 QStringLiteral("you must first save a message before you can load one"));
        return false;
    }
    // Blank lines stay as empty entries: the list shows the file as it is.
    List1->addItems(lines);
    return true;
}

void Form3::List1_Click()
{
    const QListWidgetItem *item = List1->currentItem();
    if (!item || item->text().isEmpty()) {
        return;
    }
    const MessageRecord record = MessageRecord::fromLine(item->text());
    Text1->setPlainText(displayText(record.body));
    if (record.hasSubject) {
        txtSubject->setText(record.subject);
    }
}

void Form3::List1_DblClick()
{
    const QListWidgetItem *item = List1->currentItem();
    const MessageRecord record = MessageRecord::fromLine(item ? item->text() : QString());
    if (record.body.isEmpty()) {
        QMessageBox::information(this, brandingInfo().programName, QStringLiteral("cannot insert a blank message"));
        return;
    }
    emit messageChosen(record.body, record.subject, record.hasSubject);
}

void Form3::Command1_Click()
{
    const QListWidgetItem *item = List1->currentItem();
    deleteMessage(item && item->isSelected() ? item->text() : QString());
}

void Form3::deleteMessage(const QString &entryText)
{
    QString error;
    if (!MessageStore(m_libraryPath).remove(entryText, &error)) {
        QMessageBox::warning(this, brandingInfo().programName,
                             tr("The message could not be deleted from\n%1\n\n%2").arg(m_libraryPath, error));
    }
    List1->clear();
    List1->addItems(MessageStore(m_libraryPath).entries());
}
