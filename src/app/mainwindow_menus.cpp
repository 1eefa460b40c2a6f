// The main window's menu bar. Every item runs the handler of the button or tab it stands for, even when that
// button is hidden or disabled at the moment.
#include "app/form1.h"

#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QTabBar>

namespace {

// Adds one menu whose items are told apart by their position, as the handlers expect.
template <std::size_t N>
QMenu *addItemGroup(QMenuBar *bar, Form1 *window, const char *name, const QString &title,
    std::array<QAction *, N> &items, const std::array<QString, N> &captions, void (Form1::*handler)(int))
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

void Form1::createMenus()
{
    QMenuBar *bar = menuBar();
    bar->setObjectName(QStringLiteral("menuBar"));

    fileMenu = addItemGroup<4>(bar, this, "fileMenu", tr("&File"), fileMenuItem,
        { tr("&New Message"), tr("&Save Message"), tr("&Load Message"), tr("E&xit") }, &Form1::fileMenuItem_Click);
    toolsMenu = addItemGroup<8>(bar, this, "toolsMenu", tr("&Tools"), toolsMenuItem,
        { tr("&Preview"), tr("Auto &Insert"), tr("&Check Replies"), tr("&Options"), tr("Paste Message"),
            tr("Paste Subject"), tr("Paste Username"), tr("Paste Password") },
        &Form1::toolsMenuItem_Click);
    viewMenu = addItemGroup<4>(bar, this, "viewMenu", tr("&View"), viewMenuItem,
        { tr("&Saved Messages"), tr("&All posts"), tr("&Replies"), tr("&Templates") }, &Form1::viewMenuItem_Click);
    helpMenu = addItemGroup<1>(
        bar, this, "helpMenu", tr("&Help"), aboutMenuItem, { tr("View &Help") }, &Form1::aboutMenuItem_Click);
    aboutMenu = addItemGroup<1>(
        bar, this, "aboutMenu", tr("About"), mnuAboutItem, { tr("About this software") }, &Form1::mnuAboutItem_Click);

    // Shortcuts users expect of these commands; the captions stay as they are.
    fileMenuItem[1]->setShortcut(QKeySequence::Save);
    fileMenuItem[2]->setShortcut(QKeySequence::Open);
    fileMenuItem[3]->setShortcut(QKeySequence::Quit);
    fileMenuItem[3]->setMenuRole(QAction::QuitRole);
    toolsMenuItem[3]->setMenuRole(QAction::PreferencesRole);
    mnuAboutItem[0]->setMenuRole(QAction::AboutRole);
    aboutMenuItem[0]->setShortcut(QKeySequence::HelpContents);
}

void Form1::fileMenuItem_Click(int index)
{
    switch (index) {
    case 0:
        txtMessage->clear();
        // Its change handling stores the emptied subject as "lastSubject".
        txtSubject->clear();
        break;
    case 1:
        cmdSave_Click();
        break;
    case 2:
        cmdLoad_Click();
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

void Form1::toolsMenuItem_Click(int index)
{
    switch (index) {
    case 0:
        cmdPreview_Click();
        break;
    case 1:
        cmdMessage_Click();
        break;
    case 2:
        // The new-replies view shows before the check starts.
        TabStrip1->setCurrentIndex(1);
        cmdReplies_Click();
        break;
    case 3:
        cmdOptions_Click();
        break;
    case 4:
        cmdPaste_Click(3);
        break;
    case 5:
        cmdPaste_Click(0);
        break;
    case 6:
        cmdPaste_Click(1);
        break;
    case 7:
        cmdPaste_Click(2);
        break;
    default:
        break;
    }
}

void Form1::viewMenuItem_Click(int index)
{
    switch (index) {
    case 0:
        cmdLoad_Click();
        break;
    case 1:
        // Raises the tab strip's own click handling, as a click on the tab does.
        TabStrip1->setCurrentIndex(0);
        break;
    case 2:
        TabStrip1->setCurrentIndex(1);
        break;
    case 3:
        cmdOptions_Click();
        break;
    default:
        break;
    }
}

void Form1::aboutMenuItem_Click(int index)
{
    if (index == 0) {
        showHelpWindow();
    }
}

void Form1::mnuAboutItem_Click(int index)
{
    if (index == 0) {
        showAboutWindow();
    }
}
