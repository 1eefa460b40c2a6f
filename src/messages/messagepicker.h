#pragma once

#include <QWidget>

class QLabel;
class QListWidget;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

// The message picker: lists the saved messages line by line as stored, shows one, hands one over to the
// main window, or deletes one. The library file is its only store.
class Form3 : public QWidget
{
    Q_OBJECT

public:
    // Precondition: libraryPath is the path of "messages.txt"; parent is the main window.
    explicit Form3(const QString &libraryPath, QWidget *parent = nullptr);

    // Fills the list from the library. When the file is missing the user is told and false comes back: the
    // picker is then not to be shown.
    bool Form_Load();

signals:
    // A message was chosen for the main window; the subject only counts when hasSubject.
    void messageChosen(const QString &body, const QString &subject, bool hasSubject);

private slots:
    void List1_Click();
    void List1_DblClick();
    void Command1_Click();

private:
    bool loadMessageList();
    void deleteMessage(const QString &entryText);

    QString m_libraryPath;

public:
    QLabel *Label1 = nullptr;
    QLabel *Label2 = nullptr;
    QLabel *Label3 = nullptr;
    QListWidget *List1 = nullptr;
    QPlainTextEdit *Text1 = nullptr;
    QLabel *Label4 = nullptr;
    QLineEdit *txtSubject = nullptr;
    QPushButton *Command1 = nullptr;
};
