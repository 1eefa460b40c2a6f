// The main window's menu bar. Every item runs the handler of the button or tab it stands for, even when that
// button is hidden or disabled at the moment.
#include "app/mainwindow.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QTabBar>

#include "forums/forumpanel.h"
#include "messages/messagepanel.h"
#include "replies/postspanel.h"

namespace {

// Adds one menu whose items are told apart by their position, as the handlers expect.
template <std::size_t N>
QMenu *addItemGroup(QMenuBar *bar, MainWindow *window, const char *name, const QString &title,
    std::array<QAction *, N> &items, const std::array<QString, N> &captions, void (MainWindow::*handler)(int))
{
    QMenu *menu = bar->addMenu(title);
    menu->setObjectName(QLatin1String(name));
    for (std::size_t i = 0; i < N; ++i) {
        QAction *action = menu->addAction(captions[i]);
        action->setObjectName(QLatin1String(name) + QLatin1String("Item") + QString::number(i));
        const int position = int(i);
        QObject::connect(
            action, &QAction::triggered, window, [window, handler, position] { (window->*handler)(position); });
        items[i] = action;
    }
    return menu;
}

} // namespace

void MainWindow::createMenus()
{
    QMenuBar *bar = menuBar();
    bar->setObjectName(QStringLiteral("menuBar"));

    fileMenu = addItemGroup<4>(bar, this, "fileMenu", tr("&File"), fileMenuItem,
        { tr("&New Message"), tr("&Save Message"), tr("&Load Message"), tr("E&xit") }, &MainWindow::fileMenuItemChosen);
    toolsMenu = addItemGroup<8>(bar, this, "toolsMenu", tr("&Tools"), toolsMenuItem,
        { tr("&Preview"), tr("Auto &Insert"), tr("&Check Replies"), tr("&Options"), tr("Paste Message"),
            tr("Paste Subject"), tr("Paste Username"), tr("Paste Password") },
        &MainWindow::toolsMenuItemChosen);
    viewMenu = addItemGroup<4>(bar, this, "viewMenu", tr("&View"), viewMenuItem,
        { tr("&Saved Messages"), tr("&All posts"), tr("&Replies"), tr("&Templates") }, &MainWindow::viewMenuItemChosen);
    helpMenu = addItemGroup<1>(
        bar, this, "helpMenu", tr("&Help"), helpMenuItem, { tr("View &Help") }, &MainWindow::helpMenuItemChosen);
    aboutMenu = addItemGroup<1>(
        bar, this, "aboutMenu", tr("About"), aboutMenuItem, { tr("About this software") }, &MainWindow::aboutMenuItemChosen);

    // Shortcuts users expect of these commands; the captions stay as they are.
    fileMenuItem[1]->setShortcut(QKeySequence::Save);
    fileMenuItem[2]->setShortcut(QKeySequence::Open);
    fileMenuItem[3]->setShortcut(QKeySequence::Quit);
    fileMenuItem[3]->setMenuRole(QAction::QuitRole);
    toolsMenuItem[3]->setMenuRole(QAction::PreferencesRole);
    aboutMenuItem[0]->setMenuRole(QAction::AboutRole);
    helpMenuItem[0]->setShortcut(QKeySequence::HelpContents);
}

void MainWindow::fileMenuItemChosen(int index)
{
    switch (index) {
    case 0:
        messagePanel->newMessage();
        break;
    case 1:
        messagePanel->saveMessage();
        break;
    case 2:
        messagePanel->openMessagePicker();
        break;
    case 3:
        // Leave through the same shut-down as the window's close control, so the lists, sizes, message and
        // format are written back rather than lost.
        close();
        break;
    default:
        break;
    }
}

void MainWindow::toolsMenuItemChosen(int index)
{
    switch (index) {
    case 0:
        previewMessage();
        break;
    case 1:
        autoInsert();
        break;
    case 2:
        // The new-replies view shows before the check starts, on the own-posts tab, so the list is seen filling.
        listTabs->setCurrentIndex(1);
        postsPanel->showView(1);
        m_timedRun = false;
        postsPanel->checkForReplies();
        break;
    case 3:
        showOptions();
        break;
    case 4:
        messagePanel->pasteMessage();
        break;
    case 5:
        messagePanel->pasteSubject();
        break;
    case 6:
        forumPanel->pasteUsername();
        break;
    case 7:
        forumPanel->pastePassword();
        break;
    default:
        break;
    }
}

void MainWindow::viewMenuItemChosen(int index)
{
    switch (index) {
    case 0:
        messagePanel->openMessagePicker();
        break;
    case 1:
        // Switches as a click on the tab does.
        postsPanel->showView(0);
        break;
    case 2:
        postsPanel->showView(1);
        break;
    case 3:
        showOptions();
        break;
    default:
        break;
    }
}

void MainWindow::helpMenuItemChosen(int index)
{
    if (index == 0) {
        showHelpWindow();
    }
}

void MainWindow::aboutMenuItemChosen(int index)
{
    if (index == 0) {
        showAboutWindow();
    }
}
