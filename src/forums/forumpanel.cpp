// The forum list and the login boxes.
#include "forums/forumpanel.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>

#include "forums/forums.h"
#include "forums/listfiles.h"
#include "ui/listbox.h"
#include "ui/listentries.h"
#include "ui/named.h"

ForumPanel::ForumPanel(Forums &forums, std::function<QString()> currentAddress, QWidget *parent)
    : QGroupBox(QString(), parent)
    , m_forums(forums)
    , m_currentAddress(std::move(currentAddress))
{
    setObjectName(QStringLiteral("forumsFrame"));
    m_addForumButton = named(new QPushButton(tr("Add Current URL"), this), "addForumButton");
    m_removeForumButton = named(new QPushButton(tr("Remove URL"), this), "removeForumButton");
    m_usernameLabel = named(new QLabel(tr("&Username:"), this), "usernameLabel");
    m_usernameEdit = named(new QLineEdit(this), "usernameEdit");
    m_pasteUsernameButton = named(new QPushButton(tr("Paste"), this), "pasteUsernameButton");
    m_pasteUsernameButton->setToolTip(tr("Click within the Username field on the form you want to paste into, then click here."));
    m_passwordLabel = named(new QLabel(tr("&Password:"), this), "passwordLabel");
    m_passwordEdit = named(new QLineEdit(this), "passwordEdit");
    m_passwordEdit->setEchoMode(QLineEdit::Password);
    m_pastePasswordButton = named(new QPushButton(tr("Paste"), this), "pastePasswordButton");
    m_pastePasswordButton->setToolTip(tr("Click within the Password field on the form you want to paste into, then click here."));
    m_forumList = named(new ListBox(this), "forumList");
    m_forumList->setModel(&m_forums);
    m_forumList->setAccessibleName(tr("Your forums"));
    m_usernameLabel->setBuddy(m_usernameEdit);
    m_passwordLabel->setBuddy(m_passwordEdit);
    // The three paste buttons share a caption; their names say what each pastes.
    m_pasteUsernameButton->setAccessibleName(tr("Paste Username"));
    m_pastePasswordButton->setAccessibleName(tr("Paste Password"));
    m_usernameEdit->setEnabled(false);
    m_passwordEdit->setEnabled(false);

    auto *logins = new QGridLayout;
    logins->addWidget(m_usernameLabel, 0, 0);
    logins->addWidget(m_usernameEdit, 0, 1);
    logins->addWidget(m_pasteUsernameButton, 0, 2);
    logins->addWidget(m_passwordLabel, 1, 0);
    logins->addWidget(m_passwordEdit, 1, 1);
    logins->addWidget(m_pastePasswordButton, 1, 2);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_addForumButton);
    buttons->addWidget(m_removeForumButton);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addLayout(logins);
    layout->addWidget(m_forumList, 1);

    connect(m_addForumButton, &QPushButton::clicked, this, &ForumPanel::addCurrentForum);
    connect(m_removeForumButton, &QPushButton::clicked, this, &ForumPanel::removeSelectedForum);
    connect(m_pasteUsernameButton, &QPushButton::clicked, this, &ForumPanel::pasteUsername);
    connect(m_pastePasswordButton, &QPushButton::clicked, this, &ForumPanel::pastePassword);
    connect(m_forumList, &QListView::clicked, this, &ForumPanel::showSelectedForum);
    connect(m_forumList, &QListView::doubleClicked, this, &ForumPanel::openSelectedForum);
    ListEntries::openOnReturn(m_forumList, [this] { openSelectedForum(); });
    // A selection made by keyboard or by code counts too: the login boxes must belong to the selected forum.
    connect(m_forumList->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &ForumPanel::showSelectedForum);
    ListEntries::followSelection(m_forumList);
    connect(m_usernameEdit, &QLineEdit::textChanged, this, &ForumPanel::storeLogin);
    connect(m_passwordEdit, &QLineEdit::textChanged, this, &ForumPanel::storeLogin);
}

QList<QWidget *> ForumPanel::tabOrder() const
{
    return {m_addForumButton, m_removeForumButton, m_usernameEdit, m_pasteUsernameButton, m_passwordEdit,
            m_pastePasswordButton, m_forumList};
}

int ForumPanel::selectedRow() const
{
    return m_forumList->currentIndex().row();
}

void ForumPanel::addCurrentForum()
{
    const QString address = m_currentAddress();
    if (m_forums.indexOf(address) >= 0) {
        return;
    }
    if (m_forums.isFull()) {
        emit statusText(2, tr("Your forums list is full"));
        return;
    }
    m_forums.add(address, ListFiles::joinLogin(QString(), QString()));
    // Selecting enables the login boxes, which keep their text: the forum's login entry is still empty.
    m_forumList->setCurrentIndex(m_forums.index(m_forums.count() - 1));
    // Each actual change stores the boxes as the new forum's login.
    m_usernameEdit->setText(QStringLiteral("Enter Username"));
    m_passwordEdit->setText(QString());
    // When the boxes showed the placeholder already, nothing changed and nothing was stored: store what is
    // shown all the same, so the new forum's login is the one the boxes show.
    m_forums.setLogin(m_forums.count() - 1, ListFiles::joinLogin(m_usernameEdit->text(), m_passwordEdit->text()));
    emit forumsChanged();
}

void ForumPanel::removeSelectedForum()
{
    const int index = selectedRow();
    if (index < 0) {
        return;
    }
    // Nothing is selected before the forum goes, so the list does not move the selection to a neighbour and
    // edits in the login boxes cannot land on another forum.
    m_forumList->selectionModel()->clear();
    m_forums.remove(index);
    emit forumsChanged();
}

void ForumPanel::showSelectedForum()
{
    const int index = selectedRow();
    if (index < 0) {
        return;
    }
    emit statusText(2, m_forums.address(index));
    m_usernameEdit->setEnabled(true);
    m_passwordEdit->setEnabled(true);
    QString user;
    QString password;
    if (!ListFiles::splitLogin(m_forums.login(index), &user, &password)) {
        return;
    }
    // Each change stores the boxes again; after both the stored login equals the shown one.
    m_usernameEdit->setText(user);
    m_passwordEdit->setText(password);
}

void ForumPanel::openSelectedForum()
{
    const int index = selectedRow();
    if (index >= 0) {
        emit openAddress(m_forums.address(index));
    }
}

void ForumPanel::storeLogin()
{
    const int index = selectedRow();
    if (index < 0 || index >= m_forums.count()) {
        return;
    }
    m_forums.setLogin(index, ListFiles::joinLogin(m_usernameEdit->text(), m_passwordEdit->text()));
    emit forumsChanged();
}

void ForumPanel::pasteUsername()
{
    emit typeText(m_usernameEdit->text());
}

void ForumPanel::pastePassword()
{
    emit typeText(m_passwordEdit->text());
}
