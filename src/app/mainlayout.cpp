// The main window's arrangement: the design size, the smallest size, and how the areas follow the
// window's size. Lengths are in twips; the window's size is its outer size, title bar, menu bar and borders
// included.
#include "app/mainlayout.h"

#include <QMainWindow>
#include <QMenuBar>
#include <QStatusBar>
#include <QTabBar>
#include <cstdlib>

#include "app/buttonrow.h"
#include "forums/forumpanel.h"
#include "messages/messagepanel.h"
#include "replies/postspanel.h"
#include "ui/placement.h"
#include "ui/statuspanels.h"
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

MainLayout::MainLayout(const Areas &areas)
    : m_areas(areas)
{ }

void MainLayout::setUpDesign()
{
    QMainWindow *window = m_areas.window;
    // The tab strip sits under the two frames that show its tabs' contents.
    m_areas.listTabs->setDrawBase(false);
    m_areas.listTabs->stackUnder(m_areas.forumPanel);
    m_areas.forumPanel->raise();
    m_areas.postsPanel->raise();

    // The design's client area (status bar included) lies below the menu bar.
    window->resize(twipsToPixels(s_designClientWidth),
        twipsToPixels(s_designClientHeight) + window->menuBar()->sizeHint().height());
    updateMinimumSize();
}

void MainLayout::updateMinimumSize()
{
    QMainWindow *window = m_areas.window;
    // The minimum is an outer size; the frame the window manager adds is known only once shown.
    const QSize frame = window->frameGeometry().size() - window->size();
    // The design's fixed positions do not fit in 7000 x 5000 twips: the window goes no smaller than the size
    // at which every button shows whole and the lists keep a few rows.
    const int contentWidth = m_areas.buttonRow->neededWidth();
    const int listsTop = std::max(m_areas.postsPanel->listTop(), m_areas.forumPanel->listTop());
    const int fewRows = pixelsToTwips(3 * m_areas.postsPanel->fontMetrics().height() + 8);
    const int framesTop = twTop(m_areas.messagePanel) + twHeight(m_areas.messagePanel) + 100 + 400;
    const int contentHeight
        = pixelsToTwips(window->statusBar()->sizeHint().height()) + 500 + framesTop + 250 + listsTop + fewRows + 100;
    const QSize minimum(twipsToPixelsAtLeast(std::max(s_minimumWidth, contentWidth)) - frame.width(),
        twipsToPixelsAtLeast(std::max(s_minimumHeight, contentHeight)) - frame.height());
    if (window->minimumSize() != minimum) {
        window->setMinimumSize(minimum);
    }
}

void MainLayout::fitToWindow()
{
    QMainWindow *window = m_areas.window;
    if (window->isMinimized()) {
        return;
    }
    updateMinimumSize();

    const auto W = [window] { return pixelsToTwips(window->frameGeometry().width()); };
    const auto H = [window] { return pixelsToTwips(window->frameGeometry().height()); };
    const QSize frame = window->frameGeometry().size() - window->size();

    // 1. The minimum size normally keeps this from happening; this is the guard.
    if (W() < s_minimumWidth) {
        window->resize(twipsToPixelsAtLeast(s_minimumWidth) - frame.width(), window->height());
    }
    if (H() < s_minimumHeight) {
        window->resize(window->width(), twipsToPixelsAtLeast(s_minimumHeight) - frame.height());
    }

    const int statusBarHeight = twHeight(window->statusBar());
    // 2.-6. The forum and own-post frames fill the height; their lists follow.
    setTwHeight(m_areas.postsPanel, std::abs(H() - statusBarHeight - 500 - twTop(m_areas.postsPanel) - 250));
    m_areas.postsPanel->fitContents();
    setTwHeight(m_areas.forumPanel, twHeight(m_areas.postsPanel));
    m_areas.forumPanel->fitContents();
    // 7.-9. The browser pane takes the rest of the window; its view and address row follow it.
    setTwHeight(m_areas.browserPane,
        twTop(m_areas.messagePanel) + twHeight(m_areas.messagePanel) + twHeight(m_areas.postsPanel));
    setTwWidth(m_areas.browserPane, std::abs(W() - twLeft(m_areas.browserPane) - 240));
    m_areas.browserPane->fitContents();
    // 10. Status bar panels; the third one stretches over the rest.
    m_areas.status->setFixedWidth(1, twipsToPixels(twWidth(m_areas.messagePanel)));
    m_areas.status->setFixedWidth(
        2, twipsToPixels(std::abs(W() - pixelsToTwips(m_areas.status->width(1)) - 200 - 3000)));
    // 12. The visit button reaches to the right edge.
    m_areas.buttonRow->fitToWidth(W());
    // 13.-14. The tab strip lies under the editor; the frames start below its tabs.
    setTwHeight(m_areas.listTabs, H());
    setTwTop(m_areas.listTabs, std::abs(twTop(m_areas.messagePanel) + twHeight(m_areas.messagePanel) + 100));
    setTwTop(m_areas.postsPanel, std::abs(twTop(m_areas.listTabs) + 400));
    setTwTop(m_areas.forumPanel, twTop(m_areas.postsPanel));
}
