#include "ui/frmsplash.h"

#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QTimer>

#include "app/branding.h"
#include "app/form1.h"
#include "app/twips.h"
#include "ui/artwork.h"
#include "ui/skin.h"
#include "ui/windowicon.h"

frmSplash::frmSplash(AppContext &context, QWidget *parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint)
    , m_context(context)
{
    setObjectName(QStringLiteral("frmSplash"));
    setFixedSize(twipsToPixels(7170), twipsToPixels(4770));
    setWindowIcon(programIcon());

    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(rect());
    // A picture of the design, not a picture box: the skin leaves it as drawn.
    Image1->setProperty("controlType", QStringLiteral("Image"));

    Timer2 = new QTimer(this);
    Timer2->setObjectName(QStringLiteral("Timer2"));
    Timer2->setInterval(2);
    connect(Timer2, &QTimer::timeout, this, &frmSplash::Timer2_Timer);

    skn = new Skin(this);
    skn->setObjectName(QStringLiteral("skn"));

    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        QRect centred = frameGeometry();
        centred.moveCenter(screen->availableGeometry().center());
        move(centred.topLeft());
    }
}

frmSplash::~frmSplash() = default;

void frmSplash::Form_Load()
{
    loadBranding();
    const BrandingInfo &branding = brandingInfo();
    Image1->setPixmap(splashPicture(size(), devicePixelRatioF(), branding));
    if (branding.skinEnabled) {
        initWindowResources();
        skn->load(designSkinPath());
        startSkinning(skn, this);
    }
    Timer2->start();
}

void frmSplash::Timer2_Timer()
{
    intTemp = qint16(intTemp + 2);
    if (intTemp != 150) {
        return;
    }
    Timer2->stop();
    m_mainWindow = std::make_unique<Form1>(m_context);
    m_mainWindow->setSplash(this);
    connect(m_mainWindow.get(), &Form1::programEnded, this, &frmSplash::programEnded);
    if (!m_mainWindow->Form_Load()) {
        emit startFailed();
        return;
    }
    m_mainWindow->show();
    hide();
}
