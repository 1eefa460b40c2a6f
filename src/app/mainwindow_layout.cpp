// The main window's arrangement: icons, the design size, the smallest size, and how the areas follow the
// window's size. Lengths are in twips; the window's size is its outer size, title bar, menu bar and borders
// included.
#include "app/form1.h"

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

#include "app/twips.h"

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

int twLeft(const QWidget *w)
{
    return pixelsToTwips(w->x());
}

int twTop(const QWidget *w)
{
    return pixelsToTwips(w->y());
}

int twWidth(const QWidget *w)
{
    return pixelsToTwips(w->width());
}

int twHeight(const QWidget *w)
{
    return pixelsToTwips(w->height());
}

void setTwLeft(QWidget *w, int twips)
{
    w->move(twipsToPixels(twips), w->y());
}

void setTwTop(QWidget *w, int twips)
{
    w->move(w->x(), twipsToPixels(twips));
}

void setTwWidth(QWidget *w, int twips)
{
    w->resize(twipsToPixels(twips), w->height());
}

void setTwHeight(QWidget *w, int twips)
{
    w->resize(w->width(), twipsToPixels(twips));
}

} // namespace

void Form1::setUpDesign()
{
    struct Picture
    {
        QToolButton *button;
        const char *file;
    };
    const Picture pictures[] = {
        { cmdMessage, "autoinsert" },
        { cmdPreview, "preview" },
        { cmdCopy, "copy" },
        { cmdSave, "save" },
        { cmdLoad, "load" },
        { cmdOptions, "options" },
        { Command1, "visit" },
    };
    for (const Picture &picture : pictures) {
        picture.button->setIcon(
            QIcon(QStringLiteral(":/icons/") + QLatin1String(picture.file) + QStringLiteral(".png")));
        picture.button->setIconSize(QSize(24, 24));
    }

    // The website's name is long for the width the layout leaves the visit button.
    QFont visitFont = Command1->font();
    visitFont.setPointSizeF(visitFont.pointSizeF() * 0.9);
    Command1->setFont(visitFont);

    // The browser's navigation buttons are small picture buttons; their tooltips name them.
    const std::pair<QPushButton *, QStyle::StandardPixmap> navigation[] = {
        { Command4, QStyle::SP_ArrowBack },
        { Command5, QStyle::SP_ArrowForward },
        { Command6, QStyle::SP_BrowserStop },
        { Command7, QStyle::SP_BrowserReload },
    };
    for (const auto &[button, pixmap] : navigation) {
        button->setIcon(style()->standardIcon(pixmap, nullptr, button));
        button->setIconSize(QSize(16, 16));
        button->setAccessibleName(button->toolTip());
    }

    // The tab strip sits under the two frames that show its tabs' contents.
    TabStrip2->setDrawBase(false);
    TabStrip2->stackUnder(Frame4);
    Frame4->raise();
    Frame3->raise();

    // The own-posts tabs sit directly on top of the lists they switch.
    const int tabHeight = TabStrip1->sizeHint().height();
    TabStrip1->setGeometry(TabStrip1->x(), lstPosts->y() - tabHeight, TabStrip1->width(), tabHeight);

    // Panel 3 takes whatever the first two leave, whatever its text.
    statusPanels[2]->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    statusPanels[2]->setMinimumWidth(1);

    // The design's client area (status bar included) lies below the menu bar.
    resize(twipsToPixels(s_designClientWidth), twipsToPixels(s_designClientHeight) + menuBar()->sizeHint().height());
    updateMinimumSize();
}

void Form1::updateMinimumSize()
{
    // The minimum is an outer size; the frame the window manager adds is known only once shown.
    const QSize frame = frameGeometry().size() - size();
    // The design's fixed positions do not fit in 7000 x 5000 twips: the window goes no smaller than the size
    // at which every button shows whole and the lists keep a few rows.
    const int contentWidth = std::max(twLeft(cmdOptions) + twWidth(cmdOptions),
                                      twLeft(Command1) + pixelsToTwips(Command1->minimumSizeHint().width()) + 250);
    const int listsTop = std::max(twTop(lstPosts), twTop(lstPosts2));
    const int fewRows = pixelsToTwips(3 * lstPosts->fontMetrics().height() + 8);
    const int framesTop = twTop(Frame1) + twHeight(Frame1) + 100 + 400;
    const int contentHeight = pixelsToTwips(statusBar()->sizeHint().height()) + 500 + framesTop + 250 + listsTop
        + fewRows + 100;
    const QSize minimum(twipsToPixelsAtLeast(std::max(s_minimumWidth, contentWidth)) - frame.width(),
                        twipsToPixelsAtLeast(std::max(s_minimumHeight, contentHeight)) - frame.height());
    if (minimumSize() != minimum) {
        setMinimumSize(minimum);
    }
}

void Form1::layoutMainWindow()
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
    setTwHeight(Frame3, std::abs(H() - statusBarHeight - 500 - twTop(Frame3) - 250));
    setTwHeight(lstPosts, std::abs(twHeight(Frame3) - twTop(lstPosts) - 100));
    setTwHeight(Frame4, twHeight(Frame3));
    setTwHeight(lstPosts2, std::abs(twHeight(Frame3) - twTop(lstPosts2) - 100));
    setTwHeight(lstNew, twHeight(lstPosts));
    // 7.-9. The browser frame takes the rest of the window.
    setTwHeight(Frame2, twTop(Frame1) + twHeight(Frame1) + twHeight(Frame3));
    setTwWidth(Frame2, std::abs(W() - twLeft(Frame2) - 240));
    setTwWidth(WebBrowser1, std::abs(twWidth(Frame2) - 240));
    setTwHeight(WebBrowser1, std::abs(twHeight(Frame2) - twTop(WebBrowser1) - 1000));
    // 10. Status bar panels; the third one stretches over the rest.
    statusPanels[0]->setFixedWidth(twipsToPixels(twWidth(Frame1)));
    statusPanels[1]->setFixedWidth(twipsToPixels(std::abs(W() - twWidth(statusPanels[0]) - 200 - 3000)));
    // 11. Address box and go button follow the browser frame's width.
    setTwWidth(Text5, std::abs(twWidth(Frame2) - twLeft(Text5) - twWidth(Command3) - 200));
    setTwLeft(Command3, std::abs(twWidth(Frame2) - twWidth(Command3) - 100));
    // 12. The visit button reaches to the right edge.
    setTwWidth(Command1, std::abs(W() - twLeft(Command1) - 250));
    // 13.-14. The tab strip lies under the editor; the frames start below its tabs.
    setTwHeight(TabStrip2, H());
    setTwTop(TabStrip2, std::abs(twTop(Frame1) + twHeight(Frame1) + 100));
    setTwTop(Frame3, std::abs(twTop(TabStrip2) + 400));
    setTwTop(Frame4, twTop(Frame3));
}
