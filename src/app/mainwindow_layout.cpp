// The main window's arrangement: icons, the design size, the smallest size, and how the areas follow the
// window's size. Lengths are in twips; the window's size is its outer size, title bar, menu bar and borders
// included.
#include "app/mainwindow.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusBar>
#include <QStyle>
#include <QTabBar>
#include <QToolButton>
#include <QWebEngineView>
#include <cstdlib>

#include "forums/forumpanel.h"
#include "messages/messagepanel.h"
#include "replies/postspanel.h"
#include "ui/placement.h"
#include "web/browserpane.h"

using namespace Placement;

namespace {

constexpr int s_designClientWidth = 11145;
constexpr int s_designClientHeight = 8985;
constexpr int s_minimumWidth = 7000;
constexpr int s_minimumHeight = 5000;

// Rounds up, so a window given this many pixels is never below the twips asked for.
constexpr int twipsToPixelsAtLeast(int twips)
{
    return (twips + twipsPerPixel - 1) / twipsPerPixel;
}

} // namespace

void MainWindow::setUpDesign()
{
    struct Picture
    {
        QToolButton *button;
        const char *file;
    };
    const Picture pictures[] = {
        { autoInsertButton, "autoinsert" },
        { previewButton, "preview" },
        { copyButton, "copy" },
        { saveButton, "save" },
        { loadButton, "load" },
        { optionsButton, "options" },
        { visitButton, "visit" },
    };
    for (const Picture &picture : pictures) {
        picture.button->setIcon(
            QIcon(QStringLiteral(":/icons/") + QLatin1String(picture.file) + QStringLiteral(".png")));
        picture.button->setIconSize(QSize(24, 24));
    }

    // The website's name is long for the width the layout leaves the visit button.
    QFont visitFont = visitButton->font();
    visitFont.setPointSizeF(visitFont.pointSizeF() * 0.9);
    visitButton->setFont(visitFont);

    // The tab strip sits under the two frames that show its tabs' contents.
    listTabs->setDrawBase(false);
    listTabs->stackUnder(forumPanel);
    forumPanel->raise();
    postsPanel->raise();

    // Panel 3 takes whatever the first two leave, whatever its text.
    statusPanels[2]->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    statusPanels[2]->setMinimumWidth(1);

    // The design's client area (status bar included) lies below the menu bar.
    resize(twipsToPixels(s_designClientWidth), twipsToPixels(s_designClientHeight) + menuBar()->sizeHint().height());
    updateMinimumSize();
}

void MainWindow::updateMinimumSize()
{
    // The minimum is an outer size; the frame the window manager adds is known only once shown.
    const QSize frame = frameGeometry().size() - size();
    // The design's fixed positions do not fit in 7000 x 5000 twips: the window goes no smaller than the size
    // at which every button shows whole and the lists keep a few rows.
    const int contentWidth = std::max(twLeft(optionsButton) + twWidth(optionsButton),
                                      twLeft(visitButton) + pixelsToTwips(visitButton->minimumSizeHint().width()) + 250);
    const int listsTop = std::max(postsPanel->listTop(), forumPanel->listTop());
    const int fewRows = pixelsToTwips(3 * postsPanel->fontMetrics().height() + 8);
    const int framesTop = twTop(messagePanel) + twHeight(messagePanel) + 100 + 400;
    const int contentHeight = pixelsToTwips(statusBar()->sizeHint().height()) + 500 + framesTop + 250 + listsTop
        + fewRows + 100;
    const QSize minimum(twipsToPixelsAtLeast(std::max(s_minimumWidth, contentWidth)) - frame.width(),
                        twipsToPixelsAtLeast(std::max(s_minimumHeight, contentHeight)) - frame.height());
    if (minimumSize() != minimum) {
        setMinimumSize(minimum);
    }
}

void MainWindow::layoutMainWindow()
{
    if (isMinimized()) {
        return;
    }
    updateMinimumSize();

    const auto W = [this] { return pixelsToTwips(frameGeometry().width()); };
    const auto H = [this] { return pixelsToTwips(frameGeometry().height()); };
    const QSize frame = frameGeometry().size() - size();

    // 1. The minimum size normally keeps this from happening; this is the guard.
    if (W() < s_minimumWidth) {
        resize(twipsToPixelsAtLeast(s_minimumWidth) - frame.width(), QMainWindow::height());
    }
    if (H() < s_minimumHeight) {
        resize(QMainWindow::width(), twipsToPixelsAtLeast(s_minimumHeight) - frame.height());
    }

    const int statusBarHeight = twHeight(statusBar());
    // 2.-6. The forum and own-post frames fill the height; their lists follow.
    setTwHeight(postsPanel, std::abs(H() - statusBarHeight - 500 - twTop(postsPanel) - 250));
    postsPanel->fitContents();
    setTwHeight(forumPanel, twHeight(postsPanel));
    forumPanel->fitContents();
    // 7.-9. The browser pane takes the rest of the window; its view and address row follow it.
    setTwHeight(browserPane, twTop(messagePanel) + twHeight(messagePanel) + twHeight(postsPanel));
    setTwWidth(browserPane, std::abs(W() - twLeft(browserPane) - 240));
    browserPane->fitContents();
    // 10. Status bar panels; the third one stretches over the rest.
    statusPanels[0]->setFixedWidth(twipsToPixels(twWidth(messagePanel)));
    statusPanels[1]->setFixedWidth(twipsToPixels(std::abs(W() - twWidth(statusPanels[0]) - 200 - 3000)));
    // 12. The visit button reaches to the right edge.
    setTwWidth(visitButton, std::abs(W() - twLeft(visitButton) - 250));
    // 13.-14. The tab strip lies under the editor; the frames start below its tabs.
    setTwHeight(listTabs, H());
    setTwTop(listTabs, std::abs(twTop(messagePanel) + twHeight(messagePanel) + 100));
    setTwTop(postsPanel, std::abs(twTop(listTabs) + 400));
    setTwTop(forumPanel, twTop(postsPanel));
}
