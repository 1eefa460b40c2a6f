#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QResizeEvent>
#include <QStatusBar>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <QWebEngineView>
#include <memory>

#include "app/programcontext.h"
#include "app/mainwindow.h"
#include "base/settingsstore.h"
#include "base/twips.h"
#include "links/linkformats.h"
#include "support/programstate.h"
#include "replies/postspanel.h"
#include "forums/forumpanel.h"
#include "messages/messagepanel.h"
#include "web/browserpane.h"
#include "support/controls.h"

namespace {

// One pixel, the rounding of a twips value to the screen.
constexpr int s_pixel = twipsPerPixel;

int tw(int pixels)
{
    return pixelsToTwips(pixels);
}

QRect twipsGeometry(const QWidget *w)
{
    return QRect(tw(w->x()), tw(w->y()), tw(w->width()), tw(w->height()));
}

} // namespace

class tst_MainLayout : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void designArrangement_data();
    void designArrangement();
    void pictureButtonsHaveIconsAndCaptions();
    void startStateOfTabsAndFrames();
    void designSizeHasNoOverlapsOrCutText();
    void minimumSizeHasNoOverlapsOrCutText();
    void formulasHoldAfterResize_data();
    void formulasHoldAfterResize();
    void windowCannotBeMadeSmallerThanMinimum();
    void minimisedWindowKeepsEveryControl();
    void browserBarFitsAtMinimumWidth();

private:
    void resizeOuter(int widthTwips, int heightTwips);
    void verifyEverythingShows();
    void verifyFormulas();

    std::unique_ptr<ProgramState> m_state;
    std::unique_ptr<MainWindow> m_window;
};

void tst_MainLayout::init()
{
    m_state = std::make_unique<ProgramState>();
    m_window = std::make_unique<MainWindow>(m_state->context);
    QVERIFY(m_window->startUp());
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
}

void tst_MainLayout::cleanup()
{
    m_window.reset();
    m_state.reset();
}

void tst_MainLayout::resizeOuter(int widthTwips, int heightTwips)
{
    const QSize frame = m_window->frameGeometry().size() - m_window->size();
    const QSize wanted(twipsToPixels(widthTwips) - frame.width(), twipsToPixels(heightTwips) - frame.height());
    m_window->resize(wanted);
    QTRY_COMPARE(m_window->size(), wanted.expandedTo(m_window->minimumSize()));
}

// Reads the controls as they are and checks each step's result against the values it was computed from.
void tst_MainLayout::verifyFormulas()
{
    MainWindow &w = *m_window;
    const int W = tw(w.frameGeometry().width());
    const int H = tw(w.frameGeometry().height());
    const auto near = [](int actual, int expected) { return std::abs(actual - expected) <= s_pixel; };
#define CHECK_TWIPS(actual, expected)                                                                                  \
    QVERIFY2(near(actual, expected),                                                                                   \
        qPrintable(QStringLiteral(#actual " = %1, expected %2 (W %3, H %4)").arg(actual).arg(expected).arg(W).arg(H)))

    const QRect f1 = twipsGeometry(control<MessagePanel>(w, "messageEditor"));
    const QRect f3 = twipsGeometry(control<PostsPanel>(w, "postsFrame"));
    const int sb = tw(w.statusBar()->height());

    CHECK_TWIPS(tw(control<QTabBar>(w, "listTabs")->y()), std::abs(f1.top() + f1.height() + 100));
    CHECK_TWIPS(tw(control<QTabBar>(w, "listTabs")->height()), H);
    CHECK_TWIPS(f3.top(), std::abs(tw(control<QTabBar>(w, "listTabs")->y()) + 400));
    CHECK_TWIPS(tw(control<ForumPanel>(w, "forumsFrame")->y()), f3.top());
    CHECK_TWIPS(f3.height(), std::abs(H - sb - 500 - f3.top() - 250));
    CHECK_TWIPS(tw(control<QListView>(w, "postList")->height()), std::abs(f3.height() - tw(control<QListView>(w, "postList")->y()) - 100));
    CHECK_TWIPS(tw(control<ForumPanel>(w, "forumsFrame")->height()), f3.height());
    CHECK_TWIPS(tw(control<QListView>(w, "forumList")->height()), std::abs(f3.height() - tw(control<QListView>(w, "forumList")->y()) - 100));
    CHECK_TWIPS(tw(control<QListView>(w, "newRepliesList")->height()), tw(control<QListView>(w, "postList")->height()));

    const QRect f2 = twipsGeometry(control<BrowserPane>(w, "browserFrame"));
    CHECK_TWIPS(f2.height(), f1.top() + f1.height() + f3.height());
    CHECK_TWIPS(f2.width(), std::abs(W - f2.left() - 240));
    CHECK_TWIPS(tw(control<QWebEngineView>(w, "webView")->width()), std::abs(f2.width() - 240));
    CHECK_TWIPS(tw(control<QWebEngineView>(w, "webView")->height()), std::abs(f2.height() - tw(control<QWebEngineView>(w, "webView")->y()) - 1000));

    const int panel1 = tw(control<QLabel>(w, "panel1")->width());
    CHECK_TWIPS(panel1, f1.width());
    CHECK_TWIPS(tw(control<QLabel>(w, "panel2")->width()), std::abs(W - panel1 - 200 - 3000));
    // The third panel takes the rest of the bar, up to the size grip.
    QTRY_VERIFY(control<QLabel>(w, "panel3")->geometry().right() >= w.statusBar()->width() - 30);
    QTRY_VERIFY(control<QLabel>(w, "panel3")->x() > control<QLabel>(w, "panel2")->geometry().right());

    CHECK_TWIPS(tw(control<QLineEdit>(w, "addressEdit")->width()), std::abs(f2.width() - tw(control<QLineEdit>(w, "addressEdit")->x()) - tw(control<QPushButton>(w, "goButton")->width()) - 200));
    CHECK_TWIPS(tw(control<QPushButton>(w, "goButton")->x()), std::abs(f2.width() - tw(control<QPushButton>(w, "goButton")->width()) - 100));
    CHECK_TWIPS(tw(control<QToolButton>(w, "visitButton")->width()), std::abs(W - tw(control<QToolButton>(w, "visitButton")->x()) - 250));
#undef CHECK_TWIPS
}

void tst_MainLayout::designArrangement_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("twips");
    QTest::newRow("autoInsertButton") << "autoInsertButton" << QRect(60, 60, 1600, 800);
    QTest::newRow("formatSelector") << "formatSelector" << QRect(2100, 480, 1635, 315);
    QTest::newRow("previewButton") << "previewButton" << QRect(3840, 60, 800, 800);
    QTest::newRow("copyButton") << "copyButton" << QRect(4680, 60, 800, 800);
    QTest::newRow("saveButton") << "saveButton" << QRect(5520, 60, 800, 800);
    QTest::newRow("loadButton") << "loadButton" << QRect(6360, 60, 800, 800);
    QTest::newRow("optionsButton") << "optionsButton" << QRect(7200, 60, 800, 800);
    QTest::newRow("messageEditor") << "messageEditor" << QRect(60, 900, 3735, 4215);
    QTest::newRow("subjectEdit") << "subjectEdit" << QRect(900, 300, 1995, 285);
    QTest::newRow("messageEdit") << "messageEdit" << QRect(120, 900, 3495, 2715);
    QTest::newRow("addressEdit-left-top") << "addressEdit" << QRect(540, 240, -1, 315);
    QTest::newRow("goButton-size") << "goButton" << QRect(-1, 240, 795, 315);
    QTest::newRow("forumList-left-top-width") << "forumList" << QRect(60, 1140, 3435, -1);
    QTest::newRow("postList-left-top-width") << "postList" << QRect(60, 1320, 3435, -1);
    QTest::newRow("newRepliesList-left-top-width") << "newRepliesList" << QRect(60, 1320, 3435, -1);
    QTest::newRow("postsFrame-left-width") << "postsFrame" << QRect(120, -1, 3615, -1);
    QTest::newRow("forumsFrame-left-width") << "forumsFrame" << QRect(120, -1, 3615, -1);
    QTest::newRow("browserFrame-left-top") << "browserFrame" << QRect(3840, 900, -1, -1);
    QTest::newRow("visitButton-left-top-height") << "visitButton" << QRect(8040, 60, -1, 795);
}

void tst_MainLayout::designArrangement()
{
    QFETCH(QString, name);
    QFETCH(QRect, twips);
    auto *w = m_window->findChild<QWidget *>(name);
    QVERIFY(w);
    const QRect actual = twipsGeometry(w);
    // -1 marks a figure the layout sets from the window's size.
    const int expected[4] = { twips.x(), twips.y(), twips.width(), twips.height() };
    const int got[4] = { actual.x(), actual.y(), actual.width(), actual.height() };
    for (int i = 0; i < 4; ++i) {
        if (expected[i] != -1) {
            QVERIFY2(std::abs(got[i] - expected[i]) <= s_pixel / 2 + 1,
                qPrintable(QStringLiteral("figure %1: %2, expected %3").arg(i).arg(got[i]).arg(expected[i])));
        }
    }
}

void tst_MainLayout::pictureButtonsHaveIconsAndCaptions()
{
    const MainWindow &w = *m_window;
    const std::pair<QToolButton *, QString> buttons[] = {
        { control<QToolButton>(w, "autoInsertButton"), "Auto-Insert" },
        { control<QToolButton>(w, "previewButton"), "Preview" },
        { control<QToolButton>(w, "copyButton"), "Copy" },
        { control<QToolButton>(w, "saveButton"), "Save" },
        { control<QToolButton>(w, "loadButton"), "Load" },
        { control<QToolButton>(w, "optionsButton"), "Options" },
        { control<QToolButton>(w, "visitButton"), "Visit www.postavo.example.com" },
    };
    for (const auto &[button, caption] : buttons) {
        QCOMPARE(button->text(), caption);
        QVERIFY2(!button->icon().isNull(), qPrintable(caption));
        QVERIFY(!button->icon().pixmap(24, 24).isNull());
        QCOMPARE(button->toolButtonStyle(), Qt::ToolButtonTextUnderIcon);
        QVERIFY(!button->toolTip().isEmpty());
    }
    QCOMPARE(control<QToolButton>(w, "visitButton")->toolTip(), QStringLiteral("Visit us!"));
    QCOMPARE(control<QToolButton>(w, "optionsButton")->toolTip(), QStringLiteral("Options"));
    for (QPushButton *nav : { control<QPushButton>(w, "backButton"), control<QPushButton>(w, "forwardButton"), control<QPushButton>(w, "stopButton"), control<QPushButton>(w, "reloadButton") }) {
        QVERIFY(!nav->icon().isNull());
        QVERIFY(!nav->toolTip().isEmpty());
        QCOMPARE(nav->accessibleName(), nav->toolTip());
    }
}

void tst_MainLayout::startStateOfTabsAndFrames()
{
    const MainWindow &w = *m_window;
    QCOMPARE(control<MessagePanel>(w, "messageEditor")->title(), QStringLiteral("Message Editor"));
    QCOMPARE(control<BrowserPane>(w, "browserFrame")->title(), QStringLiteral("Browser"));
    QCOMPARE(control<PostsPanel>(w, "postsFrame")->title(), QString());
    QCOMPARE(control<ForumPanel>(w, "forumsFrame")->title(), QString());
    QCOMPARE(control<QTabBar>(w, "listTabs")->count(), 2);
    QCOMPARE(control<QTabBar>(w, "listTabs")->tabText(0), QStringLiteral("Your Forums"));
    QCOMPARE(control<QTabBar>(w, "listTabs")->tabText(1), QStringLiteral("Your Posts"));
    QCOMPARE(control<QTabBar>(w, "listTabs")->currentIndex(), 0);
    QCOMPARE(control<QTabBar>(w, "postTabs")->tabText(0), QStringLiteral("Show All"));
    QCOMPARE(control<QTabBar>(w, "postTabs")->tabText(1), QStringLiteral("New Replies "));
    QCOMPARE(control<QTabBar>(w, "postTabs")->currentIndex(), 0);
    QVERIFY(control<ForumPanel>(w, "forumsFrame")->isVisible());
    QVERIFY(control<PostsPanel>(w, "postsFrame")->isHidden());
    QVERIFY(!control<QListView>(w, "postList")->isHidden());
    QVERIFY(!control<QPushButton>(w, "watchButton")->isHidden());
    QVERIFY(!control<QPushButton>(w, "unwatchButton")->isHidden());
    QVERIFY(control<QListView>(w, "newRepliesList")->isHidden());
    QVERIFY(control<QPushButton>(w, "checkRepliesButton")->isHidden());

    // The frames are drawn over the tab strip they belong to.
    const QObjectList siblings = control<QTabBar>(w, "listTabs")->parent()->children();
    QVERIFY(siblings.indexOf(control<ForumPanel>(w, "forumsFrame")) > siblings.indexOf(control<QTabBar>(w, "listTabs")));
    QVERIFY(siblings.indexOf(control<PostsPanel>(w, "postsFrame")) > siblings.indexOf(control<QTabBar>(w, "listTabs")));
    // Their tabs show above them.
    QVERIFY(control<QTabBar>(w, "listTabs")->tabRect(0).bottom() <= control<ForumPanel>(w, "forumsFrame")->y() - control<QTabBar>(w, "listTabs")->y() + 2);
}

void tst_MainLayout::designSizeHasNoOverlapsOrCutText()
{
    MainWindow &w = *m_window;
    // Client area of the design (status bar included), below the menu bar.
    QCOMPARE(w.width(), twipsToPixels(11145));
    QCOMPARE(w.height() - w.menuBar()->height(), twipsToPixels(8985));
    verifyFormulas();
    verifyEverythingShows();
}

void tst_MainLayout::minimumSizeHasNoOverlapsOrCutText()
{
    MainWindow &w = *m_window;
    w.resize(w.minimumSize());
    QTRY_COMPARE(w.size(), w.minimumSize());
    verifyFormulas();
    verifyEverythingShows();
}

void tst_MainLayout::verifyEverythingShows()
{
    MainWindow &w = *m_window;
    for (QWidget *container : { w.centralWidget(), static_cast<QWidget *>(control<MessagePanel>(w, "messageEditor")), static_cast<QWidget *>(control<BrowserPane>(w, "browserFrame")),
             static_cast<QWidget *>(control<PostsPanel>(w, "postsFrame")), static_cast<QWidget *>(control<ForumPanel>(w, "forumsFrame")) }) {
        QList<QWidget *> shown;
        for (QWidget *child : container->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
            if (!child->isHidden() && !child->objectName().isEmpty()) {
                shown.append(child);
            }
        }
        for (QWidget *child : shown) {
            if (child == control<QTabBar>(w, "listTabs")) {
                continue; // as tall as the window by design, under the frames
            }
            const QRect inside = container->rect();
            QVERIFY2(inside.contains(child->geometry()),
                qPrintable(child->objectName() + QStringLiteral(" is cut off by ") + container->objectName()));
        }
        for (int i = 0; i < shown.size(); ++i) {
            for (int j = i + 1; j < shown.size(); ++j) {
                const bool tabUnderFrame = shown[i] == control<QTabBar>(w, "listTabs") || shown[j] == control<QTabBar>(w, "listTabs");
                if (tabUnderFrame) {
                    continue;
                }
                QVERIFY2(!shown[i]->geometry().intersects(shown[j]->geometry()),
                    qPrintable(shown[i]->objectName() + QStringLiteral(" overlaps ") + shown[j]->objectName()));
            }
        }
    }
    // The editor and the whole browser frame lie above the status bar.
    const int clientBottom = w.centralWidget()->height();
    QVERIFY(control<MessagePanel>(w, "messageEditor")->geometry().bottom() < clientBottom);
    QVERIFY(control<ForumPanel>(w, "forumsFrame")->geometry().bottom() < clientBottom);
    QVERIFY(control<BrowserPane>(w, "browserFrame")->geometry().bottom() < clientBottom + 2);

    // Captions fit their buttons and labels.
    for (QAbstractButton *button : w.findChildren<QAbstractButton *>()) {
        // The visit button shortens the website's name when narrow; the rest must fit whole.
        if (button->text().isEmpty() || button->isHidden() || button == control<QToolButton>(w, "visitButton")) {
            continue;
        }
        const int needed = qobject_cast<QCheckBox *>(button)
            ? button->sizeHint().width()
            : button->fontMetrics().horizontalAdvance(button->text()) + 6;
        QVERIFY2(needed <= button->width(),
            qPrintable(button->objectName() + QStringLiteral(": %1 > %2").arg(needed).arg(button->width())));
    }
    for (QLabel *label : w.centralWidget()->findChildren<QLabel *>()) {
        // A label with a buddy shows its mnemonic underlined, without the '&'.
        QString shown = label->text();
        if (label->buddy()) {
            shown.replace(QLatin1String("&&"), QLatin1String("\x01")).remove(QLatin1Char('&'));
            shown.replace(QLatin1Char('\x01'), QLatin1Char('&'));
        }
        const int needed = label->fontMetrics().horizontalAdvance(shown);
        QVERIFY2(needed <= label->width(),
            qPrintable(label->objectName() + QStringLiteral(": %1 > %2").arg(needed).arg(label->width())));
    }
}

void tst_MainLayout::formulasHoldAfterResize_data()
{
    QTest::addColumn<int>("widthTwips");
    QTest::addColumn<int>("heightTwips");
    QTest::newRow("wide-and-tall") << 15000 << 12000;
    QTest::newRow("wider-than-tall") << 18000 << 9000;
    QTest::newRow("narrow-tall") << 7500 << 11000;
    QTest::newRow("minimum") << 7000 << 5000;
    // Here the own-posts frame's height comes out of an absolute value.
    QTest::newRow("short") << 9000 << 6000;
    QTest::newRow("odd-pixels") << 9991 << 7777;
}

void tst_MainLayout::formulasHoldAfterResize()
{
    QFETCH(int, widthTwips);
    QFETCH(int, heightTwips);
    resizeOuter(widthTwips, heightTwips);
    // A size below the window's minimum comes out at the minimum.
    const QSize frame = m_window->frameGeometry().size() - m_window->size();
    const int expectedWidth = std::max(widthTwips, tw(m_window->minimumWidth() + frame.width()));
    const int expectedHeight = std::max(heightTwips, tw(m_window->minimumHeight() + frame.height()));
    QVERIFY(std::abs(tw(m_window->frameGeometry().width()) - expectedWidth) <= s_pixel);
    QVERIFY(std::abs(tw(m_window->frameGeometry().height()) - expectedHeight) <= s_pixel);
    verifyFormulas();

    // Back to a large size: the layout follows again.
    resizeOuter(12000, 10000);
    verifyFormulas();
}

void tst_MainLayout::windowCannotBeMadeSmallerThanMinimum()
{
    MainWindow &w = *m_window;
    const QSize frame = w.frameGeometry().size() - w.size();
    // Never below 7000 x 5000 twips, and no larger than the design size.
    QVERIFY(tw(w.minimumWidth() + frame.width()) >= 7000);
    QVERIFY(tw(w.minimumHeight() + frame.height()) >= 5000);
    QVERIFY(w.minimumWidth() < twipsToPixels(11145));
    QVERIFY(w.minimumHeight() < twipsToPixels(8985) + w.menuBar()->height());

    // Too narrow only: the height stays as asked.
    w.resize(100, twipsToPixels(10000));
    QTRY_COMPARE(w.height(), twipsToPixels(10000));
    QCOMPARE(w.width(), w.minimumWidth());
    verifyFormulas();

    // Too low only.
    w.resize(twipsToPixels(12000), 50);
    QTRY_COMPARE(w.width(), twipsToPixels(12000));
    QCOMPARE(w.height(), w.minimumHeight());
    verifyFormulas();

    // The guard inside the layout puts a window back that got below the minimum some other way.
    w.setMinimumSize(0, 0);
    w.resize(200, 150);
    QTRY_VERIFY(tw(w.frameGeometry().width()) >= 7000);
    QTRY_VERIFY(tw(w.frameGeometry().height()) >= 5000);
}

void tst_MainLayout::minimisedWindowKeepsEveryControl()
{
    MainWindow &w = *m_window;
    const QList<QWidget *> controls = w.centralWidget()->findChildren<QWidget *>();
    QHash<QWidget *, QRect> before;
    for (QWidget *c : controls) {
        before.insert(c, c->geometry());
    }
    const QSize panel2 = control<QLabel>(w, "panel2")->size();

    w.setWindowState(Qt::WindowMinimized);
    QVERIFY(w.isMinimized());
    // A resize while minimised (as some systems report one) changes nothing.
    QResizeEvent shrink(QSize(300, 200), w.size());
    QCoreApplication::sendEvent(&w, &shrink);
    for (QWidget *c : controls) {
        QCOMPARE(c->geometry(), before.value(c));
    }
    QCOMPARE(control<QLabel>(w, "panel2")->size(), panel2);

    // Restoring runs the full layout.
    control<PostsPanel>(w, "postsFrame")->resize(control<PostsPanel>(w, "postsFrame")->width(), 10);
    w.setWindowState(Qt::WindowNoState);
    QVERIFY(!w.isMinimized());
    verifyFormulas();
}

void tst_MainLayout::browserBarFitsAtMinimumWidth()
{
    MainWindow &w = *m_window;
    resizeOuter(7000, 9000);
    const int frameWidth = control<BrowserPane>(w, "browserFrame")->width();
    for (QWidget *c : { static_cast<QWidget *>(control<QLineEdit>(w, "addressEdit")), static_cast<QWidget *>(control<QPushButton>(w, "goButton")),
             static_cast<QWidget *>(control<QPushButton>(w, "backButton")), static_cast<QWidget *>(control<QPushButton>(w, "reloadButton")), static_cast<QWidget *>(control<QCheckBox>(w, "noPopupsCheck")),
             static_cast<QWidget *>(control<QWebEngineView>(w, "webView")) }) {
        QVERIFY2(c->geometry().right() < frameWidth, qPrintable(c->objectName()));
    }
    QVERIFY(control<QLineEdit>(w, "addressEdit")->geometry().right() < control<QPushButton>(w, "goButton")->x());
    // The message editor keeps its full size.
    QCOMPARE(twipsGeometry(control<MessagePanel>(w, "messageEditor")).width(), tw(twipsToPixels(3735)));
}

QTEST_MAIN(tst_MainLayout)
#include "tst_mainlayout.moc"
