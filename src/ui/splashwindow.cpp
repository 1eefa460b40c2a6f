#include "ui/splashwindow.h"

#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QTimer>

#include "base/twips.h"
#include "ui/artwork.h"
#include "ui/skin.h"
#include "ui/windowicon.h"

SplashWindow::SplashWindow(const BrandingInfo &branding, Skinning *skinning, QWidget *parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint)
    , m_branding(branding)
    , m_skinning(skinning)
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

    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        QRect centred = frameGeometry();
        centred.moveCenter(screen->availableGeometry().center());
        move(centred.topLeft());
    }
}

SplashWindow::~SplashWindow() = default;

void SplashWindow::load()
{
    m_pictureLabel->setPixmap(splashPicture(size(), devicePixelRatioF(), m_branding));
    if (m_skinning) {
        m_skinning->start(this);
    }
    m_progressTimer->start();
}

void SplashWindow::tick()
{
    m_count = qint16(m_count + 2);
    if (m_count != 150) {
        return;
    }
    m_progressTimer->stop();
    emit countFinished();
}
