// The main window's forum and own-post lists and the login boxes.
#include "app/mainwindow.h"

#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QSignalBlocker>
#include <QTabBar>

#include "base/branding.h"
#include "forums/listfiles.h"

namespace {

QStringList entries(const QListWidget *list)
{
    QStringList texts;
    texts.reserve(list->count());
    for (int i = 0; i < list->count(); ++i) {
        texts.append(list->item(i)->text());
    }
    return texts;
}

int indexOfEntry(const QListWidget *list, const QString &text)
{
    for (int i = 0; i < list->count(); ++i) {
        if (list->item(i)->text() == text) {
            return i;
        }
    }
    return -1;
}

QString entryAt(const QListWidget *list, int index)
{
    const QListWidgetItem *item = list->item(index);
    return item ? item->text() : QString();
}

// Takes an entry out without the list moving the selection to a neighbour: after a removal nothing is
// selected, so edits in the login boxes cannot land on another forum.
void removeEntry(QListWidget *list, int index)
{
    const QSignalBlocker blocker(list);
    delete list->takeItem(index);
    list->setCurrentRow(-1);
    list->clearSelection();
}

} // namespace

bool MainWindow::isPostWatched(const QString &address) const
{
    return indexOfEntry(postList, address) >= 0;
}

qint16 MainWindow::watchedPostIndex(const QString &address) const
{
    return qint16(indexOfEntry(postList, address));
}

void MainWindow::loadLists()
{
    const DataFolder &folder = m_context.dataFolder;

    m_unreadableLists.clear();
    QStringList problems;
    for (const QString &name : {DataFiles::posts, DataFiles::posts2, DataFiles::sizes}) {
        const QString reason = ListFiles::unreadableReason(folder.filePath(name));
        if (!reason.isEmpty()) {
            m_unreadableLists.append(name);
            problems.append(folder.filePath(name) + QStringLiteral(": ") + reason);
        }
    }
    if (!problems.isEmpty()) {
        QMessageBox box(QMessageBox::Warning, brandingInfo().programName,
                        tr("Postavo could not read these files:\n%1\n\nThey are left as they are: this session "
                           "will not write over them.")
                            .arg(problems.join(QLatin1Char('\n'))),
                        QMessageBox::Ok, this);
        box.exec();
    }

    postList->clear();
    postList->addItems(ListFiles::readPosts(folder.filePath(DataFiles::posts)));

    const ListFiles::ForumList forums = ListFiles::readForums(folder.filePath(DataFiles::posts2));
    forumList->clear();
    forumList->addItems(forums.addresses);
    loginList->clear();
    loginList->addItems(forums.logins);

    sizeList->clear();
    sizeList->addItems(ListFiles::readSizes(folder.filePath(DataFiles::sizes), postList->count()));
}

void MainWindow::saveLists()
{
    // Each step runs whatever became of the one before.
    const DataFolder &folder = m_context.dataFolder;
    if (!m_unreadableLists.contains(DataFiles::posts)) {
        ListFiles::writePosts(folder.filePath(DataFiles::posts), entries(postList));
    }
    saveLogins();
    if (!m_unreadableLists.contains(DataFiles::sizes)) {
        ListFiles::writeSizes(folder.filePath(DataFiles::sizes), entries(sizeList));
    }
}

bool MainWindow::saveLogins()
{
    if (m_unreadableLists.contains(DataFiles::posts2)) {
        return true; // the user was told at start-up
    }
    ListFiles::WriteError error;
    if (ListFiles::writeForums(m_context.dataFolder.filePath(DataFiles::posts2), entries(forumList),
                               entries(loginList), &error)) {
        return true;
    }
    const QString crlf = QStringLiteral("\r\n");
    QMessageBox box(QMessageBox::NoIcon, brandingInfo().programName,
                    tr("There was an error saving your logins.") + crlf + crlf + tr("Error Number ")
                        + QString::number(error.number) + crlf + error.description,
                    QMessageBox::Ok, this);
    box.exec();
    return false;
}

void MainWindow::watchCurrentPage()
{
    const QString address = currentAddress();
    if (isPostWatched(address)) {
        // Measure the existing entry again; its stored size is replaced in place.
        startSizeProbe(address, watchedPostIndex(address));
        return;
    }
    // "posts.txt" cannot hold an empty address: it would vanish at the next start and every later post would
    // take its neighbour's stored size.
    if (ListFiles::isSkippedLine(address)) {
        setPanelText(2, tr("There is no page to watch"));
        return;
    }
    if (postList->count() >= ListFiles::maxEntries) {
        setPanelText(2, tr("Your posts list is full"));
        return;
    }
    // The size entry is made at once so that the two lists never fall out of step; a measurement that
    // fails leaves it marked as not measured yet.
    postList->addItem(address);
    while (sizeList->count() < postList->count()) {
        sizeList->addItem(ListFiles::unmeasuredSize);
    }
    startSizeProbe(address, qint16(postList->count() - 1));
}

void MainWindow::unwatchSelectedPost()
{
    const int index = postList->currentRow();
    if (index < 0) {
        return;
    }
    if (index < sizeList->count()) {
        delete sizeList->takeItem(index);
    }
    removeEntry(postList, index);
}

void MainWindow::addCurrentForum()
{
    const QString address = currentAddress();
    if (indexOfEntry(forumList, address) >= 0) {
        return;
    }
    if (forumList->count() >= ListFiles::maxEntries) {
        setPanelText(2, tr("Your forums list is full"));
        return;
    }
    forumList->addItem(address);
    // Selecting runs showSelectedForum, which enables the login boxes; the new forum has no login yet.
    forumList->setCurrentRow(forumList->count() - 1);
    while (loginList->count() < forumList->count()) {
        loginList->addItem(ListFiles::joinLogin(QString(), QString()));
    }
    // Each actual change stores the boxes as the new forum's login.
    usernameEdit->setText(QStringLiteral("Enter Username"));
    passwordEdit->setText(QString());
    // When the boxes showed the placeholder already, nothing changed and nothing was stored: store what is
    // shown all the same, so the new forum's login is the one the boxes show.
    QListWidgetItem *login = loginList->item(forumList->count() - 1);
    const QString shown = ListFiles::joinLogin(usernameEdit->text(), passwordEdit->text());
    if (login && login->text() != shown) {
        login->setText(shown);
    }
    saveLogins();
}

void MainWindow::removeSelectedForum()
{
    const int index = forumList->currentRow();
    if (index < 0) {
        return;
    }
    removeEntry(forumList, index);
    if (index < loginList->count()) {
        delete loginList->takeItem(index);
    }
    saveLogins();
}

void MainWindow::showSelectedPost()
{
    const int index = postList->currentRow();
    if (index < 0) {
        return;
    }
    setPanelText(2, entryAt(postList, index));
}

void MainWindow::openSelectedPost()
{
    const int index = postList->currentRow();
    if (index < 0) {
        return;
    }
    watchCountdown = 4;
    navigate(entryAt(postList, index));
}

void MainWindow::showSelectedForum()
{
    const int index = forumList->currentRow();
    if (index < 0) {
        return;
    }
    setPanelText(2, entryAt(forumList, index));
    usernameEdit->setEnabled(true);
    passwordEdit->setEnabled(true);
    QString user;
    QString password;
    if (!ListFiles::splitLogin(entryAt(loginList, index), &user, &password)) {
        return;
    }
    // Each change stores the boxes again; after both the stored login equals the shown one.
    usernameEdit->setText(user);
    passwordEdit->setText(password);
}

void MainWindow::openSelectedForum()
{
    const int index = forumList->currentRow();
    if (index < 0) {
        return;
    }
    navigate(entryAt(forumList, index));
}

void MainWindow::switchListTab()
{
    const bool forums = listTabs->currentIndex() == 0;
    forumsFrame->setVisible(forums);
    postsFrame->setVisible(!forums);
}

void MainWindow::storeLogin()
{
    const int index = forumList->currentRow();
    if (index < 0) {
        return;
    }
    while (loginList->count() <= index) {
        loginList->addItem(ListFiles::joinLogin(QString(), QString()));
    }
    loginList->item(index)->setText(ListFiles::joinLogin(usernameEdit->text(), passwordEdit->text()));
    saveLogins();
}

void MainWindow::storeLoginFromPassword()
{
    storeLogin();
}
