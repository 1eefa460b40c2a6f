#pragma once

#include <QWidget>

class QLabel;
class QListView;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class MessageLibrary;
class MessageStore;
class Skinning;

// The message picker: lists the saved messages line by line as stored, shows one, hands one over to the
// main window, or deletes one. The library file is its only store.
class MessagePicker : public QWidget
{
    Q_OBJECT

public:
    // Precondition: libraryPath is the path of "messages.txt"; parent is the main window.
    // programName: what its boxes call the program; skinning: the program's, when skinning is on.
    MessagePicker(const MessageStore &library, const QString &programName, Skinning *skinning = nullptr,
        QWidget *parent = nullptr);

    // Fills the list from the library. When the file is missing the user is told and false comes back: the
    // picker is then not to be shown.
    bool load();

signals:
    // A message was chosen for the main window; the subject only counts when hasSubject.
    void messageChosen(const QString &body, const QString &subject, bool hasSubject);

private slots:
    void showSelectedMessage();
    void chooseSelectedMessage();
    void deleteSelectedMessage();

private:
    bool loadMessageList();
    // The selected row; -1 when none is (focus entering the list makes a row current without selecting it).
    int selectedRow() const;

    QString m_programName;
    Skinning *m_skinning;
    MessageLibrary *m_library;
    QLabel *m_titleLabel = nullptr;
    QLabel *m_chooseHintLabel = nullptr;
    QLabel *m_viewHintLabel = nullptr;
    QListView *m_messageList = nullptr;
    QPlainTextEdit *m_messageView = nullptr;
    QLabel *m_subjectLabel = nullptr;
    QLineEdit *m_subjectEdit = nullptr;
    QPushButton *m_deleteButton = nullptr;
};
