// The forum list and the login boxes.
#include "forums/forumpanel.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <cstdlib>

#include "forums/forums.h"
#include "forums/listfiles.h"
#include "ui/listentries.h"
#include "ui/placement.h"

using namespace Placement;

ForumPanel::ForumPanel(Forums &forums, std::function<QString()> currentAddress, QWidget *parent)
    : QGroupBox(QString(), parent)
    , m_forums(forums)
    , m_currentAddress(std::move(currentAddress))
{
    setObjectName(QStringLiteral("forumsFrame"));
    addForumButton = place(new QPushButton(tr("Add Current URL"), this), "addForumButton", 60, 180, 1695, 330);
    removeForumButton = place(new QPushButton(tr("Remove URL"), this), "removeForumButton", 1800, 180, 1695, 330);
    usernameLabel = place(new QLabel(tr("&Username:"), this), "usernameLabel", 60, 570, 990, 255);
    usernameEdit = place(new QLineEdit(this), "usernameEdit", 1065, 540, 1650, 285);
    pasteUsernameButton = place(new QPushButton(tr("Paste"), this), "pasteUsernameButton", 2760, 540, 735, 285);
    pasteUsernameButton->setToolTip(tr("Click within the Username field on the form you want to paste into, then click here."));
    passwordLabel = place(new QLabel(tr("&Password:"), this), "passwordLabel", 60, 870, 990, 255);
    passwordEdit = place(new QLineEdit(this), "passwordEdit", 1065, 840, 1650, 285);
    passwordEdit->setEchoMode(QLineEdit::Password);
    pastePasswordButton = place(new QPushButton(tr("Paste"), this), "pastePasswordButton", 2760, 840, 735, 285);
    pastePasswordButton->setToolTip(tr("Click within the Password field on the form you want to paste into, then click here."));
    forumList = place(new QListWidget(this), "forumList", 60, 1140, 3435, 1425);
    forumList->setAccessibleName(tr("Your forums"));
    usernameLabel->setBuddy(usernameEdit);
    passwordLabel->setBuddy(passwordEdit);
    // The three paste buttons share a caption; their names say what each pastes.
    pasteUsernameButton->setAccessibleName(tr("Paste Username"));
    pastePasswordButton->setAccessibleName(tr("Paste Password"));
    usernameEdit->setEnabled(false);
    passwordEdit->setEnabled(false);

    connect(addForumButton, &QPushButton::clicked, this, &ForumPanel::addCurrentForum);
    connect(removeForumButton, &QPushButton::clicked, this, &ForumPanel::removeSelectedForum);
    connect(pasteUsernameButton, &QPushButton::clicked, this, &ForumPanel::pasteUsername);
    connect(pastePasswordButton, &QPushButton::clicked, this, &ForumPanel::pastePassword);
    connect(forumList, &QListWidget::itemClicked, this, &ForumPanel::showSelectedForum);
    connect(forumList, &QListWidget::itemDoubleClicked, this, &ForumPanel::openSelectedForum);
    ListEntries::openOnReturn(forumList, [this] { openSelectedForum(); });
    // A selection made by keyboard or by code counts too: the login boxes must belong to the selected forum.
    connect(forumList, &QListWidget::currentRowChanged, this, &ForumPanel::showSelectedForum);
    ListEntries::followSelection(forumList);
    connect(usernameEdit, &QLineEdit::textChanged, this, &ForumPanel::storeLogin);
    connect(passwordEdit, &QLineEdit::textChanged, this, &ForumPanel::storeLogin);
}

void ForumPanel::showForums()
{
    forumList->clear();
    forumList->addItems(m_forums.addresses());
}

void ForumPanel::fitContents()
{
    setTwHeight(forumList, std::abs(twHeight(this) - twTop(forumList) - 100));
}

int ForumPanel::listTop() const
{
    return twTop(forumList);
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
    forumList->addItem(address);
    // Selecting enables the login boxes, which keep their text: the forum has no login entry yet.
    forumList->setCurrentRow(forumList->count() - 1);
    m_forums.add(address, ListFiles::joinLogin(QString(), QString()));
    // Each actual change stores the boxes as the new forum's login.
    usernameEdit->setText(QStringLiteral("Enter Username"));
    passwordEdit->setText(QString());
    // When the boxes showed the placeholder already, nothing changed and nothing was stored: store what is
    // shown all the same, so the new forum's login is the one the boxes show.
    m_forums.setLogin(m_forums.count() - 1, ListFiles::joinLogin(usernameEdit->text(), passwordEdit->text()));
    emit forumsChanged();
}

void ForumPanel::removeSelectedForum()
{
    const int index = forumList->currentRow();
    if (index < 0) {
        return;
    }
    // Taken out without the list moving the selection to a neighbour: after a removal nothing is selected,
    // so edits in the login boxes cannot land on another forum.
    {
        const QSignalBlocker blocker(forumList);
        delete forumList->takeItem(index);
        forumList->setCurrentRow(-1);
        forumList->clearSelection();
    }
    m_forums.remove(index);
    emit forumsChanged();
}

void ForumPanel::showSelectedForum()
{
    const int index = forumList->currentRow();
    if (index < 0) {
        return;
    }
    emit statusText(2, forumList->item(index)->text());
    usernameEdit->setEnabled(true);
    passwordEdit->setEnabled(true);
    QString user;
    QString password;
    if (!ListFiles::splitLogin(m_forums.login(index), &user, &password)) {
        return;
    }
    // Each change stores the boxes again; after both the stored login equals the shown one.
    usernameEdit->setText(user);
    passwordEdit->setText(password);
}

void ForumPanel::openSelectedForum()
{
    const int index = forumList->currentRow();
    if (index >= 0) {
        emit openAddress(m_forums.address(index));
    }
}

void ForumPanel::storeLogin()
{
    const int index = forumList->currentRow();
    if (index < 0 || index >= m_forums.count()) {
        return;
    }
    m_forums.setLogin(index, ListFiles::joinLogin(usernameEdit->text(), passwordEdit->text()));
    emit forumsChanged();
}

void ForumPanel::pasteUsername()
{
    emit typeText(usernameEdit->text());
}

void ForumPanel::pastePassword()
{
    emit typeText(passwordEdit->text());
}
