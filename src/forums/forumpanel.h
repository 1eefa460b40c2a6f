#pragma once

#include <QGroupBox>
#include <functional>

class QLabel;
class QLineEdit;
class QListWidget;
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

    // Refills the visible list from the forums.
    void showForums();
    // Fits the list to the panel's height.
    void fitContents();
    int listTop() const;

    QPushButton *addForumButton = nullptr;
    QPushButton *removeForumButton = nullptr;
    QLabel *usernameLabel = nullptr;
    QLineEdit *usernameEdit = nullptr;
    QPushButton *pasteUsernameButton = nullptr;
    QLabel *passwordLabel = nullptr;
    QLineEdit *passwordEdit = nullptr;
    QPushButton *pastePasswordButton = nullptr;
    QListWidget *forumList = nullptr;

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
    void showSelectedForum();
    void openSelectedForum();
    void storeLogin();

    Forums &m_forums;
    std::function<QString()> m_currentAddress;
};
