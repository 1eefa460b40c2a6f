#pragma once

#include <QGroupBox>
#include <QPointer>

#include "base/appcontext.h"

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTimer;
class MessagePicker;

// The message editor: subject, message, their paste buttons, and saving and loading messages.
class MessagePanel : public QGroupBox
{
    Q_OBJECT

public:
    explicit MessagePanel(AppContext &context, QWidget *parent = nullptr);

    // The message box text with CR LF line ends, as stored and sent out.
    QString messageText() const;
    void setMessageText(const QString &text);
    QString subject() const;
    void setSubject(const QString &subject);

    // The picker, when open, closes with the main window.
    MessagePicker *picker() const;

    // Writes a subject typed since the last write to the settings file now (shut-down).
    void flushSubject();

    QLabel *subjectLabel = nullptr;
    QLineEdit *subjectEdit = nullptr;
    QPushButton *pasteSubjectButton = nullptr;
    QLabel *messageLabel = nullptr;
    QPlainTextEdit *messageEdit = nullptr;
    QPushButton *pasteMessageButton = nullptr;

public slots:
    void newMessage();
    void saveMessage();
    void openMessagePicker();
    void pasteSubject();
    void pasteMessage() { emit pasteMessageRequested(); }

signals:
    void statusText(int panel, const QString &text);
    // Text to be typed into the page's focused field.
    void typeText(const QString &text);
    // The converted message is to be typed into the page.
    void pasteMessageRequested();

private:
    void storeSubject();
    void writeSubject();

    AppContext &m_context;
    QPointer<MessagePicker> m_picker;
    QTimer *m_subjectWrite = nullptr;
};
