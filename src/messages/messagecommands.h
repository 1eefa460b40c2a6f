#pragma once

#include <QObject>

#include "base/appcontext.h"

class QComboBox;
class QWidget;
class LinkFormatTable;
class MessagePanel;
struct EditorContent;

// The commands that send the message out in the format selected: preview, copy, paste into the page's
// field and Auto-Insert, with the format selector they read and its place kept between runs.
class MessageCommands : public QObject
{
    Q_OBJECT

public:
    // The selector is placed by the window; these commands fill it and read it.
    MessageCommands(AppContext &context, const LinkFormatTable &formats, MessagePanel *message,
        QComboBox *formatSelector, QWidget *window);

    // The message followed by CR LF CR LF, converted with the format selected at this moment.
    QString convertedOutgoingText() const;
    // Start-up and shut-down: the format selected last time, kept as its position in the selector.
    void restoreFormat();
    void storeFormat();

public slots:
    // Refills the selector from the link formats and selects "text".
    void refillFormats();
    void preview();
    void copy();
    void pasteConverted();
    void autoInsert();

signals:
    // Text to be typed into the page's focused field.
    void typeText(const QString &text);
    // The converted message is to be inserted into the page's message field.
    void insertMessage(const QString &text, const EditorContent &editor);

private:
    AppContext &m_context;
    const LinkFormatTable &m_formats;
    MessagePanel *m_message;
    QComboBox *m_formatSelector;
    QWidget *m_window;
};
