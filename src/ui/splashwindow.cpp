#include "ui/splashwindow.h"

#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QTimer>

#include "base/branding.h"
#include "base/twips.h"
#include "ui/artwork.h"
#include "ui/skin.h"
#include "ui/windowicon.h"

SplashWindow::SplashWindow(QWidget *parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("SplashWindow"));
    setFixedSize(twipsToPixels(7170), twipsToPixels(4770));
    setWindowIcon(programIcon());

    m_pictureLabel = new QLabel(this);
    m_pictureLabel->setObjectName(QStringLiteral("pictureLabel"));
    m_pictureLabel->setGeometry(rect());
    // A picture of the design, not a picture box: the skin leaves it as drawn.
    m_pictureLabel->setProperty("controlType", QStringLiteral("Image"));

    m_progressTimer = new QTimer(this);
    m_progressTimer->setObjectName(QStringLiteral("progressTimer"));
    m_progressTimer->setInterval(2);
    connect(m_progressTimer, &QTimer::timeout, this, &SplashWindow::tick);

    splashSkin = new Skin(this);
    splashSkin->setObjectName(QStringLiteral("splashSkin"));

    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        QRect centred = frameGeometry();
        centred.moveCenter(screen->availableGeometry().center());
        move(centred.topLeft());
    }
}

SplashWindow::~SplashWindow() = default;

void SplashWindow::load()
{
    loadBranding();
    const BrandingInfo &branding = brandingInfo();
    m_pictureLabel->setPixmap(splashPicture(size(), devicePixelRatioF(), branding));
    if (branding.skinEnabled) {
        initWindowResources();
        splashSkin->load(designSkinPath());
        startSkinning(splashSkin, this);
    }
    m_progressTimer->start();
}

void SplashWindow::tick()
{
    tickCount = qint16(tickCount + 2);
    if (tickCount != 150) {
        return;
    }
    m_progressTimer->stop();
    emit countFinished();
}
