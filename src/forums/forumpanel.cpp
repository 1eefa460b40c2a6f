// The main window's forum and own-post lists and the login boxes.
#include "app/form1.h"

#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QSignalBlocker>
#include <QTabBar>

#include "app/branding.h"
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

bool Form1::isPostWatched(const QString &address) const
{
    return indexOfEntry(lstPosts, address) >= 0;
}

qint16 Form1::watchedPostIndex(const QString &address) const
{
    return qint16(indexOfEntry(lstPosts, address));
}

void Form1::loadLists()
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

    lstPosts->clear();
    lstPosts->addItems(ListFiles::readPosts(folder.filePath(DataFiles::posts)));

    const ListFiles::ForumList forums = ListFiles::readForums(folder.filePath(DataFiles::posts2));
    lstPosts2->clear();
    lstPosts2->addItems(forums.addresses);
    lstLogins->clear();
    lstLogins->addItems(forums.logins);

    lstSizes->clear();
    lstSizes->addItems(ListFiles::readSizes(folder.filePath(DataFiles::sizes), lstPosts->count()));
}

void Form1::saveLists()
{
    // Each step runs whatever became of the one before.
    const DataFolder &folder = m_context.dataFolder;
    if (!m_unreadableLists.contains(DataFiles::posts)) {
        ListFiles::writePosts(folder.filePath(DataFiles::posts), entries(lstPosts));
    }
    saveLogins();
    if (!m_unreadableLists.contains(DataFiles::sizes)) {
        ListFiles::writeSizes(folder.filePath(DataFiles::sizes), entries(lstSizes));
    }
}

bool Form1::saveLogins()
{
    if (m_unreadableLists.contains(DataFiles::posts2)) {
        return true; // the user was told at start-up
    }
    ListFiles::WriteError error;
    if (ListFiles::writeForums(m_context.dataFolder.filePath(DataFiles::posts2), entries(lstPosts2),
                               entries(lstLogins), &error)) {
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

void Form1::cmdAdd_Click()
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
    if (lstPosts->count() >= ListFiles::maxEntries) {
        setPanelText(2, tr("Your posts list is full"));
        return;
    }
    // The size entry is made at once so that the two lists never fall out of step; a measurement that
    // fails leaves it marked as not measured yet.
    lstPosts->addItem(address);
    while (lstSizes->count() < lstPosts->count()) {
        lstSizes->addItem(ListFiles::unmeasuredSize);
    }
    startSizeProbe(address, qint16(lstPosts->count() - 1));
}

void Form1::cmdDel_Click()
{
    const int index = lstPosts->currentRow();
    if (index < 0) {
        return;
    }
    if (index < lstSizes->count()) {
        delete lstSizes->takeItem(index);
    }
    removeEntry(lstPosts, index);
}

void Form1::cmdAdd2_Click()
{
    const QString address = currentAddress();
    if (indexOfEntry(lstPosts2, address) >= 0) {
        return;
    }
    if (lstPosts2->count() >= ListFiles::maxEntries) {
        setPanelText(2, tr("Your forums list is full"));
        return;
    }
    lstPosts2->addItem(address);
    // Selecting runs lstPosts2_Click, which enables the login boxes; the new forum has no login yet.
    lstPosts2->setCurrentRow(lstPosts2->count() - 1);
    while (lstLogins->count() < lstPosts2->count()) {
        lstLogins->addItem(ListFiles::joinLogin(QString(), QString()));
    }
    // Each actual change stores the boxes as the new forum's login.
    txtUsername->setText(QStringLiteral("Enter Username"));
    txtPassword->setText(QString());
    // When the boxes showed the placeholder already, nothing changed and nothing was stored: store what is
    // shown all the same, so the new forum's login is the one the boxes show.
    QListWidgetItem *login = lstLogins->item(lstPosts2->count() - 1);
    const QString shown = ListFiles::joinLogin(txtUsername->text(), txtPassword->text());
    if (login && login->text() != shown) {
        login->setText(shown);
    }
    saveLogins();
}

void Form1::cmdDel2_Click()
{
    const int index = lstPosts2->currentRow();
    if (index < 0) {
        return;
    }
    removeEntry(lstPosts2, index);
    if (index < lstLogins->count()) {
        delete lstLogins->takeItem(index);
    }
    saveLogins();
}

void Form1::lstPosts_Click()
{
    const int index = lstPosts->currentRow();
    if (index < 0) {
        return;
    }
    setPanelText(2, entryAt(lstPosts, index));
}

void Form1::lstPosts_DblClick()
{
    const int index = lstPosts->currentRow();
    if (index < 0) {
        return;
    }
    watchCountdown = 4;
    navigate(entryAt(lstPosts, index));
}

void Form1::lstPosts2_Click()
{
    const int index = lstPosts2->currentRow();
    if (index < 0) {
        return;
    }
    setPanelText(2, entryAt(lstPosts2, index));
    txtUsername->setEnabled(true);
    txtPassword->setEnabled(true);
    QString user;
    QString password;
    if (!ListFiles::splitLogin(entryAt(lstLogins, index), &user, &password)) {
        return;
    }
    // Each change stores the boxes again; after both the stored login equals the shown one.
    txtUsername->setText(user);
    txtPassword->setText(password);
}

void Form1::lstPosts2_DblClick()
{
    const int index = lstPosts2->currentRow();
    if (index < 0) {
        return;
    }
    navigate(entryAt(lstPosts2, index));
}

void Form1::TabStrip2_Click()
{
    const bool forums = TabStrip2->currentIndex() == 0;
    Frame4->setVisible(forums);
    Frame3->setVisible(!forums);
}

void Form1::txtUsername_Change()
{
    const int index = lstPosts2->currentRow();
    if (index < 0) {
        return;
    }
    while (lstLogins->count() <= index) {
        lstLogins->addItem(ListFiles::joinLogin(QString(), QString()));
    }
    lstLogins->item(index)->setText(ListFiles::joinLogin(txtUsername->text(), txtPassword->text()));
    saveLogins();
}

void Form1::txtPassword_Change()
{
    txtUsername_Change();
}
