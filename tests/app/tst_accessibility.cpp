#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabBar>
#include <QTest>
#include <QToolButton>
#include <QWebEngineView>
#include <algorithm>
#include <functional>
#include <memory>

#include "app/mainwindow.h"
#include "forums/listfiles.h"
#include "options/optionsdialog.h"
#include "messages/messagepicker.h"
#include "messages/messagestore.h"
#include "support/programstate.h"
#include "forums/ownposts.h"
#include "forums/forums.h"
#include "replies/postspanel.h"
#include "forums/forumpanel.h"
#include "messages/messagepanel.h"
#include "replies/replymonitor.h"
#include "support/controls.h"
#include "support/webtestutil.h"
#include "support/mainwindowparts.h"
#include "web/browserprofile.h"

namespace {

const QString s_password = QStringLiteral("Pw7-unseen-Q");

const QString s_forums[2]
    = { QStringLiteral("http://127.0.0.1:1/forum-a"), QStringLiteral("http://127.0.0.1:1/forum-b") };
const QString s_posts[2] = { QStringLiteral("http://127.0.0.1:1/post-a"), QStringLiteral("http://127.0.0.1:1/post-b") };
const QString s_messages[3]
    = { QStringLiteral("First message"), QStringLiteral("Second message"), QStringLiteral("Third message") };

void walk(QAccessibleInterface *node, const std::function<bool(QAccessibleInterface *)> &visit, int depth = 0)
{
    // visit answers whether to go on below the node.
    if (!node || !node->isValid() || depth > 60 || !visit(node)) {
        return;
    }
    for (int i = 0; i < node->childCount(); ++i) {
        walk(node->child(i), visit, depth + 1);
    }
}

QAccessibleInterface *accessible(QObject *object)
{
    return QAccessible::queryAccessibleInterface(object);
}

QString accessibleName(QObject *object)
{
    QAccessibleInterface *node = accessible(object);
    return node ? node->text(QAccessible::Name) : QString();
}

// What a user can operate: shown and enabled, of an interactive role or taking keyboard focus.
bool isOperable(QAccessibleInterface *node)
{
    static const QList<QAccessible::Role> roles = {
        QAccessible::PushButton,
        QAccessible::CheckBox,
        QAccessible::RadioButton,
        QAccessible::ComboBox,
        QAccessible::EditableText,
        QAccessible::List,
        QAccessible::PageTabList,
        QAccessible::PageTab,
        QAccessible::SpinBox,
        QAccessible::Slider,
        QAccessible::ButtonMenu,
        QAccessible::ButtonDropDown,
        QAccessible::MenuItem,
        QAccessible::Table,
        QAccessible::Tree,
    };
    if (node->state().invisible || node->state().disabled) {
        return false;
    }
    const auto *widget = qobject_cast<QWidget *>(node->object());
    return roles.contains(node->role()) || (widget && (widget->focusPolicy() & Qt::TabFocus));
}

QString describe(QAccessibleInterface *node)
{
    const QObject *object = node->object();
    return QStringLiteral("%1 (%2, role %3)")
        .arg(node->text(QAccessible::Name), object ? object->objectName() : QString())
        .arg(int(node->role()));
}

} // namespace

class tst_Accessibility : public QObject
{
    Q_OBJECT

public:
    enum Window { MainForums, MainPosts, MainReplies, Options, OptionsUnlocked, Picker };
    enum List { ForumList, PostList, ReplyList, MessageList };
    Q_ENUM(Window)
    Q_ENUM(List)

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void everyControlNamedOnceInItsWindow_data();
    void everyControlNamedOnceInItsWindow();
    void namesUsersSay_data();
    void namesUsersSay();
    void mnemonicsFocusTheirBoxes_data();
    void mnemonicsFocusTheirBoxes();
    void noPasswordInTheTree();
    void returnOpensEntry_data();
    void returnOpensEntry();
    void selectionActsAsClick_data();
    void selectionActsAsClick();
    void pickerDeletesTheShownMessage_data();
    void pickerDeletesTheShownMessage();
    void tabOrderFollowsLayout();
    void pageContentReachesAssistiveTools();

private:
    QWidget *showWindow(Window window);
    QAbstractItemView *showList(List list);
    QString shownEntry(List list) const;
    MessagePicker *openPicker();

    std::unique_ptr<ProgramState> m_state;
    std::unique_ptr<MainWindow> m_window;
};

void tst_Accessibility::initTestCase()
{
    // As the program does, before the engine starts.
    exposePagesToAssistiveTechnology();
}

void tst_Accessibility::init()
{
    m_state = std::make_unique<ProgramState>();
    const MessageStore store(m_state->context.dataFolder.filePath(DataFiles::messages));
    for (const QString &body : s_messages) {
        QVERIFY(store.save(body, body.section(QLatin1Char(' '), 0, 0)));
    }
    m_window = std::make_unique<MainWindow>(m_state->context);
    QVERIFY(m_window->startUp());
    for (int i = 0; i < 2; ++i) {
        control<Forums>(m_window, {})->add(
            s_forums[i], ListFiles::joinLogin(QStringLiteral("alice%1").arg(i), s_password + QString::number(i)));
        auto *posts = control<OwnPosts>(m_window, {});
        posts->add(s_posts[i]);
        // Both grew, so the new-replies list shows them too.
        PostResult grew;
        grew.outcome = PostOutcome::NewReplies;
        posts->storeOutcome(i, s_posts[i], grew);
    }
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
}

void tst_Accessibility::cleanup()
{
    m_window.reset();
    // Picked first: deleting a dialog deletes top-level windows of its own too (a combo box's popup).
    QList<OptionsDialog *> dialogs;
    for (QWidget *w : QApplication::topLevelWidgets()) {
        if (auto *dialog = qobject_cast<OptionsDialog *>(w)) {
            dialogs.append(dialog);
        }
    }
    qDeleteAll(dialogs);
    m_state.reset();
}

MessagePicker *tst_Accessibility::openPicker()
{
    control<MessagePanel>(m_window, "messageEditor")->openMessagePicker();
    auto *picker = m_window->findChild<MessagePicker *>();
    if (picker) {
        (void)QTest::qWaitForWindowExposed(picker);
    }
    return picker;
}

QWidget *tst_Accessibility::showWindow(Window window)
{
    switch (window) {
    case MainForums:
        // A selected forum puts its login in the boxes.
        setCurrentRow(control<QListView>(m_window, "forumList"), 0);
        return m_window.get();
    case MainPosts:
        control<QTabBar>(m_window, "listTabs")->setCurrentIndex(1);
        return m_window.get();
    case MainReplies:
        control<QTabBar>(m_window, "listTabs")->setCurrentIndex(1);
        control<PostsPanel>(m_window, "postsFrame")->showView(1);
        return m_window.get();
    case Options:
    case OptionsUnlocked: {
        control<QToolButton>(m_window, "optionsButton")->click();
        auto *dialog = m_window->findChild<OptionsDialog *>();
        for (QWidget *w : QApplication::topLevelWidgets()) {
            dialog = dialog ? dialog : qobject_cast<OptionsDialog *>(w);
        }
        if (dialog) {
            control<QCheckBox>(dialog, "unlockDefaultsCheck")->setChecked(window == OptionsUnlocked);
        }
        return dialog;
    }
    case Picker:
        return openPicker();
    }
    return nullptr;
}

void tst_Accessibility::everyControlNamedOnceInItsWindow_data()
{
    QTest::addColumn<Window>("window");
    QTest::newRow("main window, forums") << MainForums;
    QTest::newRow("main window, own posts") << MainPosts;
    QTest::newRow("main window, new replies") << MainReplies;
    QTest::newRow("options") << Options;
    QTest::newRow("options, defaults unlocked") << OptionsUnlocked;
    QTest::newRow("message picker") << Picker;
}

void tst_Accessibility::everyControlNamedOnceInItsWindow()
{
    QFETCH(Window, window);
    QWidget *shown = showWindow(window);
    QVERIFY(shown && shown->isVisible());

    QMultiHash<QString, QString> named;
    int operable = 0;
    walk(accessible(shown), [&](QAccessibleInterface *node) {
        if (node->state().invisible) {
            return false;
        }
        if (isOperable(node)) {
            ++operable;
            const QString name = node->text(QAccessible::Name).trimmed();
            if (name.isEmpty()) {
                QTest::qFail(qPrintable(QStringLiteral("no name: ") + describe(node)), __FILE__, __LINE__);
            }
            // A tab strip is named by its current tab, which is counted on its own.
            if (node->role() != QAccessible::PageTabList) {
                named.insert(name, describe(node));
            }
        }
        return true;
    });
    QVERIFY2(operable >= 4, qPrintable(QString::number(operable)));
    for (const QString &name : named.uniqueKeys()) {
        QVERIFY2(named.count(name) == 1, qPrintable(named.values(name).join(QStringLiteral(" / "))));
    }
}

void tst_Accessibility::namesUsersSay_data()
{
    QTest::addColumn<Window>("window");
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("name");
    const auto row = [](const char *tag, Window window, const char *control, const char *name) {
        QTest::newRow(tag) << window << QString::fromLatin1(control) << QString::fromLatin1(name);
    };
    row("picture button", MainForums, "autoInsertButton", "Auto-Insert");
    row("subject", MainForums, "subjectEdit", "Subject:");
    row("message", MainForums, "messageEdit", "Message:");
    row("address", MainForums, "addressEdit", "URL:");
    row("user name", MainForums, "usernameEdit", "Username:");
    row("password", MainForums, "passwordEdit", "Password:");
    row("format selector", MainForums, "formatSelector", "Format");
    row("paste subject", MainForums, "pasteSubjectButton", "Paste Subject");
    row("paste password", MainForums, "pastePasswordButton", "Paste Password");
    row("forums", MainForums, "forumList", "Your forums");
    row("own posts", MainPosts, "postList", "Your posts");
    row("new replies", MainReplies, "newRepliesList", "New replies");
    row("picker list", Picker, "messageList", "Saved messages");
    row("picker subject", Picker, "subjectEdit", "Subject:");
    row("template field", OptionsUnlocked, "linkOpenEdit3", "Link Open 4");
    row("threshold", Options, "thresholdEdit", "Reply threshold in bytes");
}

void tst_Accessibility::namesUsersSay()
{
    QFETCH(Window, window);
    QFETCH(QString, control);
    QFETCH(QString, name);
    QWidget *shown = showWindow(window);
    QVERIFY(shown);
    QWidget *widget = shown->findChild<QWidget *>(control);
    QVERIFY(widget);
    QCOMPARE(accessibleName(widget), name);
}

void tst_Accessibility::mnemonicsFocusTheirBoxes_data()
{
    QTest::addColumn<Qt::Key>("key");
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("caption");
    QTest::newRow("subject") << Qt::Key_S << "subjectEdit"
                             << "&Subject:";
    QTest::newRow("message") << Qt::Key_M << "messageEdit"
                             << "&Message:";
    QTest::newRow("user name") << Qt::Key_U << "usernameEdit"
                               << "&Username:";
    QTest::newRow("password") << Qt::Key_P << "passwordEdit"
                              << "&Password:";
    QTest::newRow("address") << Qt::Key_L << "addressEdit"
                             << "UR&L:";
}

void tst_Accessibility::mnemonicsFocusTheirBoxes()
{
    QFETCH(Qt::Key, key);
    QFETCH(QString, box);
    QFETCH(QString, caption);
    showWindow(MainForums);
    QWidget *target = m_window->findChild<QWidget *>(box);
    QVERIFY(target && target->isEnabled());
    // The label shows its caption with the mnemonic underlined; the skin's copies show the same text.
    const QList<QLabel *> labels = m_window->findChildren<QLabel *>();
    const auto label = std::find_if(labels.begin(), labels.end(), [target](QLabel *l) { return l->buddy() == target; });
    QVERIFY(label != labels.end());
    QCOMPARE((*label)->text(), caption);

    QApplication::setActiveWindow(m_window.get());
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    control<QToolButton>(m_window, "autoInsertButton")->setFocus();
    QTest::keyClick(m_window.get(), key, Qt::AltModifier);
    QTRY_COMPARE(QApplication::focusWidget(), target);
}

void tst_Accessibility::noPasswordInTheTree()
{
    showWindow(MainForums);
    QCOMPARE(control<QLineEdit>(m_window, "passwordEdit")->text(), s_password + QLatin1Char('0'));
    showWindow(Options);
    QVERIFY(openPicker());

    bool passwordBoxSeen = false;
    bool userNameSeen = false;
    QStringList listsOfMainWindow;
    const auto check = [&](QAccessibleInterface *node) {
        const auto *widget = qobject_cast<QWidget *>(node->object());
        passwordBoxSeen = passwordBoxSeen || widget == control<QLineEdit>(m_window, "passwordEdit");
        QStringList texts;
        for (QAccessible::Text kind : { QAccessible::Name, QAccessible::Description, QAccessible::Value,
                 QAccessible::Help, QAccessible::Accelerator }) {
            texts << node->text(kind);
        }
        if (QAccessibleTextInterface *text = node->textInterface()) {
            texts << text->text(0, text->characterCount());
        }
        if (QAccessibleValueInterface *value = node->valueInterface()) {
            texts << value->currentValue().toString();
        }
        for (const QString &text : texts) {
            userNameSeen = userNameSeen || text.contains(QLatin1String("alice0"));
            if (text.contains(s_password)) {
                QTest::qFail(qPrintable(QStringLiteral("password in ") + describe(node)), __FILE__, __LINE__);
            }
        }
        if (node->role() == QAccessible::List && widget && widget->window() == m_window.get()) {
            listsOfMainWindow << widget->objectName();
        }
        // Whatever is hidden says so.
        if (widget && !widget->isVisible() && !node->state().invisible) {
            QTest::qFail(qPrintable(QStringLiteral("hidden but showing: ") + describe(node)), __FILE__, __LINE__);
        }
        return true;
    };
    for (QWidget *top : QApplication::topLevelWidgets()) {
        walk(accessible(top), check);
    }
    walk(accessible(qApp), check);
    QVERIFY(passwordBoxSeen);
    QAccessibleInterface *box = accessible(control<QLineEdit>(m_window, "passwordEdit"));
    // The box gives its value masked as it shows it, and no text to read out.
    QCOMPARE(box->text(QAccessible::Value), QString(s_password.size() + 1, QLatin1Char('*')));
    QCOMPARE(box->textInterface()->text(0, box->textInterface()->characterCount()), QString());
    QVERIFY(userNameSeen);
    // The lists the window shows and nothing else: no hidden list keeps logins or sizes.
    listsOfMainWindow.removeDuplicates();
    listsOfMainWindow.sort();
    QCOMPARE(listsOfMainWindow, QStringList({ "forumList", "newRepliesList", "postList" }));
}

QAbstractItemView *tst_Accessibility::showList(List list)
{
    switch (list) {
    case ForumList:
        return control<QListView>(m_window, "forumList");
    case PostList:
        showWindow(MainPosts);
        return control<QListView>(m_window, "postList");
    case ReplyList:
        showWindow(MainReplies);
        return control<QListView>(m_window, "newRepliesList");
    case MessageList: {
        MessagePicker *picker = openPicker();
        return picker ? control<QListView>(picker, "messageList") : nullptr;
    }
    }
    return nullptr;
}

// What a click on an entry shows: the address in the status panel, or the message in the picker's preview.
QString tst_Accessibility::shownEntry(List list) const
{
    if (list == MessageList) {
        const auto *picker = m_window->findChild<MessagePicker *>();
        return picker ? control<QPlainTextEdit>(picker, "messageView")->toPlainText() : QString();
    }
    return panelText(*m_window, 2);
}

void tst_Accessibility::returnOpensEntry_data()
{
    QTest::addColumn<List>("list");
    QTest::addColumn<Qt::Key>("key");
    QTest::addColumn<QString>("opened");
    QTest::newRow("forum") << ForumList << Qt::Key_Return << s_forums[1];
    QTest::newRow("own post") << PostList << Qt::Key_Return << s_posts[1];
    QTest::newRow("new reply") << ReplyList << Qt::Key_Enter << s_posts[1];
    QTest::newRow("saved message") << MessageList << Qt::Key_Return << s_messages[1];
}

void tst_Accessibility::returnOpensEntry()
{
    QFETCH(List, list);
    QFETCH(Qt::Key, key);
    QFETCH(QString, opened);
    QAbstractItemView *view = showList(list);
    QVERIFY(view && view->isVisible());
    std::unique_ptr<QSignalSpy> spy;
    switch (list) {
    case ForumList:
        spy = std::make_unique<QSignalSpy>(control<ForumPanel>(m_window, "forumsFrame"), &ForumPanel::openAddress);
        break;
    case PostList:
    case ReplyList:
        spy = std::make_unique<QSignalSpy>(control<PostsPanel>(m_window, "postsFrame"), &PostsPanel::openPost);
        break;
    case MessageList:
        spy = std::make_unique<QSignalSpy>(m_window->findChild<MessagePicker *>(), &MessagePicker::messageChosen);
        break;
    }
    setCurrentRow(view, 1);
    QVERIFY(spy->isEmpty());
    QTest::keyClick(view, key);
    QCOMPARE(spy->size(), 1);
    QCOMPARE(spy->first().first().toString(), opened);
    // A double-click opens the same.
    doubleClickRow(view, 1);
    QCOMPARE(spy->size(), 2);
    QCOMPARE(spy->last().first().toString(), opened);
}

void tst_Accessibility::selectionActsAsClick_data()
{
    QTest::addColumn<List>("list");
    QTest::addColumn<bool>("byAssistiveTool");
    QTest::addColumn<QString>("shown");
    const struct
    {
        const char *name;
        List list;
        QString second;
    } lists[] = {
        { "forum", ForumList, s_forums[1] },
        { "own post", PostList, s_posts[1] },
        { "new reply", ReplyList, s_posts[1] },
        { "saved message", MessageList, s_messages[1] },
    };
    for (const auto &entry : lists) {
        QTest::addRow("%s, down arrow", entry.name) << entry.list << false << entry.second;
        QTest::addRow("%s, assistive tool", entry.name) << entry.list << true << entry.second;
    }
}

void tst_Accessibility::selectionActsAsClick()
{
    QFETCH(List, list);
    QFETCH(bool, byAssistiveTool);
    QFETCH(QString, shown);
    QAbstractItemView *view = showList(list);
    QVERIFY(view && view->isVisible());
    clickRow(view, 0);
    QVERIFY(shownEntry(list) != shown);
    if (byAssistiveTool) {
        QAccessibleTableInterface *table = accessible(view)->tableInterface();
        QVERIFY(table);
        QVERIFY(table->selectRow(1));
    } else {
        QTest::keyClick(view, Qt::Key_Down);
    }
    QCOMPARE(currentRow(view), 1);
    QCOMPARE(shownEntry(list), shown);
    if (list == ForumList) {
        QCOMPARE(control<QLineEdit>(m_window, "passwordEdit")->text(), s_password + QLatin1Char('1'));
    }
}

void tst_Accessibility::pickerDeletesTheShownMessage_data()
{
    QTest::addColumn<int>("clicked");
    QTest::addColumn<Qt::Key>("key");
    QTest::addColumn<int>("shown");
    // -1: no click, and whichever entry the keyboard reaches.
    QTest::newRow("down after opening") << -1 << Qt::Key_Down << -1;
    QTest::newRow("click first, down") << 0 << Qt::Key_Down << 1;
    QTest::newRow("click last, up") << 2 << Qt::Key_Up << 1;
}

void tst_Accessibility::pickerDeletesTheShownMessage()
{
    QFETCH(int, clicked);
    QFETCH(Qt::Key, key);
    QFETCH(int, shown);
    MessagePicker *picker = openPicker();
    QVERIFY(picker);
    auto *view = control<QListView>(picker, "messageList");
    if (clicked >= 0) {
        clickRow(view, clicked);
    }
    QTest::keyClick(view, key);
    if (shown < 0) {
        shown = currentRow(view);
    }
    QVERIFY(shown >= 0 && shown < 3);
    QCOMPARE(currentRow(view), shown);
    QCOMPARE(control<QPlainTextEdit>(picker, "messageView")->toPlainText(), s_messages[shown]);
    control<QPushButton>(picker, "deleteButton")->click();

    QStringList expected;
    for (int i = 0; i < 3; ++i) {
        if (i != shown) {
            expected << MessageRecord::toLine(s_messages[i], s_messages[i].section(QLatin1Char(' '), 0, 0));
        }
    }
    QStringList left = MessageStore(m_state->context.dataFolder.filePath(DataFiles::messages)).entries();
    left.removeAll(QString());
    QCOMPARE(left, expected);
}

void tst_Accessibility::tabOrderFollowsLayout()
{
    showWindow(MainForums);
    QStringList order;
    QWidget *widget = control<QToolButton>(m_window, "autoInsertButton");
    do {
        if (widget->isVisible() && widget->isEnabled() && (widget->focusPolicy() & Qt::TabFocus)) {
            // An unnamed part (the page inside the web view) counts as the control it belongs to.
            QWidget *control = widget;
            while (control->objectName().isEmpty() && control->parentWidget()) {
                control = control->parentWidget();
            }
            if (order.isEmpty() || order.last() != control->objectName()) {
                order << control->objectName();
            }
        }
        widget = widget->nextInFocusChain();
    } while (widget != control<QToolButton>(m_window, "autoInsertButton"));
    const QStringList expected = {
        "autoInsertButton",
        "formatSelector",
        "previewButton",
        "copyButton",
        "saveButton",
        "loadButton",
        "optionsButton",
        "visitButton",
        "subjectEdit",
        "pasteSubjectButton",
        "messageEdit",
        "pasteMessageButton",
        "listTabs",
        "addForumButton",
        "removeForumButton",
        "usernameEdit",
        "pasteUsernameButton",
        "passwordEdit",
        "pastePasswordButton",
        "forumList",
        "addressEdit",
        "goButton",
        "backButton",
        "forwardButton",
        "stopButton",
        "reloadButton",
        "noPopupsCheck",
        "webView",
    };
    QCOMPARE(order, expected);

    // The keyboard is not caught in the message box.
    QApplication::setActiveWindow(m_window.get());
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    control<QPlainTextEdit>(m_window, "messageEdit")->setFocus();
    QTest::keyClick(control<QPlainTextEdit>(m_window, "messageEdit"), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), control<QPushButton>(m_window, "pasteMessageButton"));
}

void tst_Accessibility::pageContentReachesAssistiveTools()
{
    LocalHttpServer server;
    QVERIFY(server.isListening());
    server.setPage("/rules", "<html><head><title>Rules</title></head><body><h1>Forum rules apply</h1></body></html>");
    // As when a screen reader connects.
    QAccessible::setActive(true);
    navigate(*m_window, server.url(QStringLiteral("/rules")));
    const auto pageReadable = [this] {
        bool found = false;
        walk(accessible(control<QWebEngineView>(m_window, "webView")), [&found](QAccessibleInterface *node) {
            found = found || node->text(QAccessible::Name).contains(QLatin1String("Forum rules apply"));
            return !found;
        });
        return found;
    };
    QTRY_VERIFY_WITH_TIMEOUT(pageReadable(), 20000);
    QAccessible::setActive(false);
}

QTEST_MAIN(tst_Accessibility)
#include "tst_accessibility.moc"
