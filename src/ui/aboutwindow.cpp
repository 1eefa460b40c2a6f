#include "ui/aboutwindow.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

#include "base/branding.h"
#include "base/twips.h"
#include "ui/websitelauncher.h"
#include "ui/linklabel.h"
#include "ui/skin.h"
#include "ui/versiontext.h"
#include "ui/windowicon.h"

namespace {

template <typename W> W *place(W *widget, const char *name, const QRect &geometry)
{
    widget->setObjectName(QLatin1String(name));
    widget->setGeometry(geometry);
    return widget;
}

QLabel *fixedLabel(QWidget *parent, const char *name, const QString &text, const QRect &geometry)
{
    auto *label = place(new QLabel(text, parent), name, geometry);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return label;
}

QLabel *valueLabel(QWidget *parent, const char *name, const QRect &geometry)
{
    auto *label = place(new QLabel(parent), name, geometry);
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

} // namespace

AboutWindow::AboutWindow(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("AboutWindow"));
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(false);
    setFixedSize(twipsToPixels(7455), twipsToPixels(2535));

    iconLabel = place(new QLabel(this), "iconLabel", twipsRect(240, 240, 960, 960));
    iconLabel->setPixmap(programIcon().pixmap(QSize(64, 64), devicePixelRatioF()));
    iconLabel->setAlignment(Qt::AlignCenter);

    titleLabel = place(new QLabel(this), "titleLabel", twipsRect(1500, 180, 5700, 480));
    titleLabel->setTextFormat(Qt::PlainText);
    QFont title = titleLabel->font();
    title.setPointSizeF(title.pointSizeF() * 1.6);
    title.setBold(true);
    titleLabel->setFont(title);

    versionCaption = fixedLabel(this, "versionCaption", tr("Version:"), twipsRect(1500, 780, 1140, 330));
    versionLabel = valueLabel(this, "versionLabel", twipsRect(2760, 780, 4440, 330));
    ownerCaption = fixedLabel(this, "ownerCaption", tr("Owned By:"), twipsRect(1500, 1140, 1140, 330));
    companyLabel = valueLabel(this, "companyLabel", twipsRect(2760, 1140, 4440, 330));
    websiteCaption = fixedLabel(this, "websiteCaption", tr("Website:"), twipsRect(1500, 1500, 1140, 330));
    websiteLink = place(new LinkLabel(this), "websiteLink", twipsRect(2760, 1500, 4440, 330));
    websiteLink->setToolTip(tr("Open the website in your web browser"));

    okButton = place(new QPushButton(tr("OK"), this), "okButton", twipsRect(5880, 1980, 1320, 390));
    okButton->setDefault(true);
    connect(okButton, &QPushButton::clicked, this, &AboutWindow::close);
    connect(websiteLink, &LinkLabel::clicked, this, &AboutWindow::openWebsite);

    fillIn();

    if (const QScreen *screen = parent ? parent->screen() : QGuiApplication::primaryScreen()) {
        QRect centred = frameGeometry();
        centred.moveCenter(screen->availableGeometry().center());
        move(centred.topLeft());
    }
}

void AboutWindow::fillIn()
{
    const BrandingInfo &branding = brandingInfo();
    setWindowTitle(tr("About %1").arg(branding.programName));
    titleLabel->setText(branding.programName);
    versionLabel->setText(majorMinorVersion(branding.versionMajor, branding.versionMinor));
    companyLabel->setText(branding.companyName);
    websiteLink->setText(branding.website);
    if (branding.skinEnabled) {
        placeSkinLabel(this, QStringLiteral("SkinLabel1"));
        replaceLabelsWithSkinLabels(this);
        applySkin(this);
    }
}

void AboutWindow::openWebsite()
{
    launchWebsite(true);
}
