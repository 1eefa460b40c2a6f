#pragma once

#include <QGroupBox>
#include <functional>

class QLabel;
class QLineEdit;
class QListView;
class QPushButton;
class Forums;

// The user's forums with their logins: add the current page, remove one, and the login boxes of the selected
// forum, each with its paste button.
class ForumPanel : public QGroupBox
{
    Q_OBJECT

public:
    // currentAddress: the address of the page the browser shows.
    ForumPanel(Forums &forums, std::function<QString()> currentAddress, QWidget *parent = nullptr);

    // The controls in the order Tab reaches them.
    QList<QWidget *> tabOrder() const;

public slots:
    void addCurrentForum();
    void removeSelectedForum();
    void pasteUsername();
    void pastePassword();

signals:
    void statusText(int panel, const QString &text);
    void openAddress(const QString &address);
    void typeText(const QString &text);
    // The forums or a login changed; they are to be saved.
    void forumsChanged();

private:
    int selectedRow() const;
    void showSelectedForum();
    void openSelectedForum();
    void storeLogin();

    Forums &m_forums;
    std::function<QString()> m_currentAddress;
    QPushButton *m_addForumButton = nullptr;
    QPushButton *m_removeForumButton = nullptr;
    QLabel *m_usernameLabel = nullptr;
    QLineEdit *m_usernameEdit = nullptr;
    QPushButton *m_pasteUsernameButton = nullptr;
    QLabel *m_passwordLabel = nullptr;
    QLineEdit *m_passwordEdit = nullptr;
    QPushButton *m_pastePasswordButton = nullptr;
    QListView *m_forumList = nullptr;
};
