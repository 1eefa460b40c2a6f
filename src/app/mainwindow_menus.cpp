// The main window's menu bar. Every item runs the handler of the button or tab it stands for, even when that
// button is hidden or disabled at the moment. Items are named by their menu and position ("fileMenuItem3").
#include "app/mainwindow.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QTabBar>
#include <functional>

#include "forums/forumpanel.h"
#include "messages/messagecommands.h"
#include "messages/messagepanel.h"
#include "replies/postspanel.h"
#include "app/programwindows.h"

namespace {

struct Item
{
    QString caption;
    std::function<void()> run;
    QKeySequence shortcut = {};
    // Never guessed from the caption, which is translated.
    QAction::MenuRole role = QAction::NoRole;
};

void addMenu(QMenuBar *bar, MainWindow *window, const char *name, const QString &title, const QList<Item> &items)
{
    QMenu *menu = bar->addMenu(title);
    menu->setObjectName(QLatin1String(name));
    for (qsizetype i = 0; i < items.size(); ++i) {
        QAction *action = menu->addAction(items[i].caption);
        action->setObjectName(QLatin1String(name) + QLatin1String("Item") + QString::number(i));
        // Shortcuts users expect of these commands; the captions stay as they are.
        action->setShortcut(items[i].shortcut);
        action->setMenuRole(items[i].role);
        QObject::connect(action, &QAction::triggered, window, items[i].run);
    }
}

} // namespace

void MainWindow::createMenus()
{
    QMenuBar *bar = menuBar();
    bar->setObjectName(QStringLiteral("menuBar"));
    MessagePanel *message = m_messagePanel;
    const auto checkReplies = [this] {
        // The new-replies view shows before the check starts, so the list is seen filling.
        showPosts(PostsPanel::NewRepliesTab);
        m_postsPanel->requestCheck();
    };
    addMenu(bar, this, "fileMenu", tr("&File"),
        { { tr("&New Message"), [message] { message->newMessage(); } },
            { tr("&Save Message"), [message] { message->saveMessage(); }, QKeySequence::Save },
            { tr("&Load Message"), [message] { message->openMessagePicker(); }, QKeySequence::Open },
            // Leave through the same shut-down as the window's close control, so the lists, sizes, message
            // and format are written back rather than lost.
            { tr("E&xit"), [this] { close(); }, QKeySequence::Quit, QAction::QuitRole } });
    addMenu(bar, this, "toolsMenu", tr("&Tools"),
        { { tr("&Preview"), [this] { m_commands->preview(); } },
            { tr("Auto &Insert"), [this] { m_commands->autoInsert(); } }, { tr("&Check Replies"), checkReplies },
            { tr("&Options"), [this] { m_windows->showOptions(); }, {}, QAction::PreferencesRole },
            { tr("Paste Message"), [message] { message->pasteMessage(); } },
            { tr("Paste Subject"), [message] { message->pasteSubject(); } },
            { tr("Paste Username"), [this] { m_forumPanel->pasteUsername(); } },
            { tr("Paste Password"), [this] { m_forumPanel->pastePassword(); } } });
    // All posts and Replies switch as a click on the tab does, on the own-posts tab.
    addMenu(bar, this, "viewMenu", tr("&View"),
        { { tr("&Saved Messages"), [message] { message->openMessagePicker(); } },
            { tr("&All posts"), [this] { showPosts(PostsPanel::AllPostsTab); } },
            { tr("&Replies"), [this] { showPosts(PostsPanel::NewRepliesTab); } },
            { tr("&Templates"), [this] { m_windows->showOptions(); } } });
    addMenu(bar, this, "helpMenu", tr("&Help"),
        { { tr("View &Help"), [this] { m_windows->showHelp(); }, QKeySequence::HelpContents } });
    addMenu(bar, this, "aboutMenu", tr("About"),
        { { tr("About this software"), [this] { m_windows->showAbout(); }, {}, QAction::AboutRole } });
}
