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
class Skinning;

// The message editor: subject, message, their paste buttons, and saving and loading messages.
class MessagePanel : public QGroupBox
{
    Q_OBJECT

public:
    // skinning: the program's, when skinning is on, for the windows the panel opens.
    explicit MessagePanel(AppContext &context, Skinning *skinning = nullptr, QWidget *parent = nullptr);

    // The message box text with CR LF line ends, as stored and sent out.
    QString messageText() const;
    void setMessageText(const QString &text);
    QString subject() const;
    void setSubject(const QString &subject);

    // The initial twelve-line message shown until a stored message replaces it.
    static QString initialMessageText();
    // Start-up: the subject and message of the last session, or the initial ones.
    void restoreLastMessage();
    // Shut-down: writes the subject typed since the last write and the message to the settings file.
    void storeLastMessage();
    // The picker, when open, closes with the main window.
    void closePicker();

    // The controls in the order Tab reaches them.
    QList<QWidget *> tabOrder() const;

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
    Skinning *m_skinning;
    QPointer<MessagePicker> m_picker;
    QTimer *m_subjectWrite = nullptr;
    QLabel *m_subjectLabel = nullptr;
    QLineEdit *m_subjectEdit = nullptr;
    QPushButton *m_pasteSubjectButton = nullptr;
    QLabel *m_messageLabel = nullptr;
    QPlainTextEdit *m_messageEdit = nullptr;
    QPushButton *m_pasteMessageButton = nullptr;
};
