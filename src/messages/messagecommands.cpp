#include "messages/messagecommands.h"

#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QMessageBox>

#include "base/settingsstore.h"
#include "links/editorcontent.h"
#include "links/linkconversion.h"
#include "links/linkformats.h"
#include "messages/messagepanel.h"

namespace {

const QString s_data = QStringLiteral("data");

} // namespace

MessageCommands::MessageCommands(
    AppContext &context, const LinkFormatTable &formats, MessagePanel *message, QComboBox *formatSelector, QWidget *window)
    : QObject(window)
    , m_context(context)
    , m_formats(formats)
    , m_message(message)
    , m_formatSelector(formatSelector)
    , m_window(window)
{ }

QString MessageCommands::convertedOutgoingText() const
{
    return convertMessage(
        m_message->messageText() + QStringLiteral("\r\n\r\n"), m_formatSelector->currentText(), m_formats);
}

void MessageCommands::restoreFormat()
{
    // A remembered position that is not a number or no longer in the list leaves "text" selected.
    bool isNumber = false;
    const int last
        = m_context.settings->read(s_data, QStringLiteral("lastConvert"), QStringLiteral("0")).toInt(&isNumber);
    if (isNumber && last >= 0 && last < m_formatSelector->count()) {
        m_formatSelector->setCurrentIndex(last);
    }
}

void MessageCommands::storeFormat()
{
    m_context.settings->write(s_data, QStringLiteral("lastConvert"), QString::number(m_formatSelector->currentIndex()));
}

void MessageCommands::refillFormats()
{
    m_formatSelector->clear();
    m_formatSelector->addItems(m_formats.selectorEntries());
    m_formatSelector->setCurrentIndex(0);
}

void MessageCommands::preview()
{
    QMessageBox box(
        QMessageBox::NoIcon, QStringLiteral("message preview"), convertedOutgoingText(), QMessageBox::Ok, m_window);
    // The message is shown as the forum will get it: markup in it is text, never rendered.
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

void MessageCommands::copy()
{
    QGuiApplication::clipboard()->setText(convertedOutgoingText());
}

void MessageCommands::pasteConverted()
{
    emit typeText(convertedOutgoingText());
}

void MessageCommands::autoInsert()
{
    // The format selected at the moment of the command applies, whatever happens while the page is read.
    const QString text = convertedOutgoingText();
    emit insertMessage(text, editorContent(text, m_formats.findByName(m_formatSelector->currentText())));
}
