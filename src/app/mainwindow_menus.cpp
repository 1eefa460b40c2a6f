// The main window's menu bar. Every item runs the handler of the button or tab it stands for, even when that
// button is hidden or disabled at the moment.
#include "app/mainwindow.h"

#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QTabBar>

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
        { tr("&New Message"), tr("&Save Message"), tr("&Load Message"), tr("E&xit") }, &MainWindow::fileMenuItem_Click);
    toolsMenu = addItemGroup<8>(bar, this, "toolsMenu", tr("&Tools"), toolsMenuItem,
        { tr("&Preview"), tr("Auto &Insert"), tr("&Check Replies"), tr("&Options"), tr("Paste Message"),
            tr("Paste Subject"), tr("Paste Username"), tr("Paste Password") },
        &MainWindow::toolsMenuItem_Click);
    viewMenu = addItemGroup<4>(bar, this, "viewMenu", tr("&View"), viewMenuItem,
        { tr("&Saved Messages"), tr("&All posts"), tr("&Replies"), tr("&Templates") }, &MainWindow::viewMenuItem_Click);
    helpMenu = addItemGroup<1>(
        bar, this, "helpMenu", tr("&Help"), aboutMenuItem, { tr("View &Help") }, &MainWindow::aboutMenuItem_Click);
    aboutMenu = addItemGroup<1>(
        bar, this, "aboutMenu", tr("About"), mnuAboutItem, { tr("About this software") }, &MainWindow::mnuAboutItem_Click);

    // Shortcuts users expect of these commands; the captions stay as they are.
    fileMenuItem[1]->setShortcut(QKeySequence::Save);
    fileMenuItem[2]->setShortcut(QKeySequence::Open);
    fileMenuItem[3]->setShortcut(QKeySequence::Quit);
    fileMenuItem[3]->setMenuRole(QAction::QuitRole);
    toolsMenuItem[3]->setMenuRole(QAction::PreferencesRole);
    mnuAboutItem[0]->setMenuRole(QAction::AboutRole);
    aboutMenuItem[0]->setShortcut(QKeySequence::HelpContents);
}

void MainWindow::fileMenuItem_Click(int index)
{
    switch (index) {
    case 0:
        messageEdit->clear();
        // Its change handling stores the emptied subject as "lastSubject".
        subjectEdit->clear();
        break;
    case 1:
        cmdSave_Click();
        break;
    case 2:
        openMessagePicker();
        break;
    case 3:
        // Leave through the same unload as the window's close control, so the lists, sizes, message and
        // format are written back rather than lost.
        close();
        break;
    default:
        break;
    }
}

void MainWindow::toolsMenuItem_Click(int index)
{
    switch (index) {
    case 0:
        cmdPreview_Click();
        break;
    case 1:
        autoInsert();
        break;
    case 2:
        // The new-replies view shows before the check starts.
        postTabs->setCurrentIndex(1);
        checkForReplies();
        break;
    case 3:
        showOptions();
        break;
    case 4:
        pasteInto(3);
        break;
    case 5:
        pasteInto(0);
        break;
    case 6:
        pasteInto(1);
        break;
    case 7:
        pasteInto(2);
        break;
    default:
        break;
    }
}

void MainWindow::viewMenuItem_Click(int index)
{
    switch (index) {
    case 0:
        openMessagePicker();
        break;
    case 1:
        // Raises the tab strip's own click handling, as a click on the tab does.
        postTabs->setCurrentIndex(0);
        break;
    case 2:
        postTabs->setCurrentIndex(1);
        break;
    case 3:
        showOptions();
        break;
    default:
        break;
    }
}

void MainWindow::aboutMenuItem_Click(int index)
{
    if (index == 0) {
        showHelpWindow();
    }
}

void MainWindow::mnuAboutItem_Click(int index)
{
    if (index == 0) {
        showAboutWindow();
    }
}
