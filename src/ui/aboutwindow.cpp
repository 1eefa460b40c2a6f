#include "ui/frmabout.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

#include "app/branding.h"
#include "app/twips.h"
#include "ui/frmwebsite.h"
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

frmAbout::frmAbout(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("frmAbout"));
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(false);
    setFixedSize(twipsToPixels(7455), twipsToPixels(2535));

    Picture1 = place(new QLabel(this), "Picture1", twipsRect(240, 240, 960, 960));
    Picture1->setPixmap(programIcon().pixmap(QSize(64, 64), devicePixelRatioF()));
    Picture1->setAlignment(Qt::AlignCenter);

    Label1 = place(new QLabel(this), "Label1", twipsRect(1500, 180, 5700, 480));
    Label1->setTextFormat(Qt::PlainText);
    QFont title = Label1->font();
    title.setPointSizeF(title.pointSizeF() * 1.6);
    title.setBold(true);
    Label1->setFont(title);

    Label2 = fixedLabel(this, "Label2", tr("Version:"), twipsRect(1500, 780, 1140, 330));
    lblVersion = valueLabel(this, "lblVersion", twipsRect(2760, 780, 4440, 330));
    Label3 = fixedLabel(this, "Label3", tr("Owned By:"), twipsRect(1500, 1140, 1140, 330));
    lblCompany = valueLabel(this, "lblCompany", twipsRect(2760, 1140, 4440, 330));
    Label4 = fixedLabel(this, "Label4", tr("Website:"), twipsRect(1500, 1500, 1140, 330));
    lblWebsite = place(new LinkLabel(this), "lblWebsite", twipsRect(2760, 1500, 4440, 330));
    lblWebsite->setToolTip(tr("Open the website in your web browser"));

    cmdOK = place(new QPushButton(tr("OK"), this), "cmdOK", twipsRect(5880, 1980, 1320, 390));
    cmdOK->setDefault(true);
    connect(cmdOK, &QPushButton::clicked, this, &frmAbout::close);
    connect(lblWebsite, &LinkLabel::clicked, this, &frmAbout::lblWebsite_Click);

    Form_Load();

    if (const QScreen *screen = parent ? parent->screen() : QGuiApplication::primaryScreen()) {
        QRect centred = frameGeometry();
        centred.moveCenter(screen->availableGeometry().center());
        move(centred.topLeft());
    }
}

void frmAbout::Form_Load()
{
    const BrandingInfo &branding = brandingInfo();
    setWindowTitle(tr("About %1").arg(branding.programName));
    Label1->setText(branding.programName);
    lblVersion->setText(majorMinorVersion(branding.versionMajor, branding.versionMinor));
    lblCompany->setText(branding.companyName);
    lblWebsite->setText(branding.website);
    if (branding.skinEnabled) {
        placeSkinLabel(this, QStringLiteral("SkinLabel1"));
        replaceLabelsWithSkinLabels(this);
        applySkin(this);
    }
}

void frmAbout::lblWebsite_Click()
{
    launchWebsite(true);
}
