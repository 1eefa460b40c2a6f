#include "ui/aboutwindow.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

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

AboutWindow::AboutWindow(const BrandingInfo &branding, Website &website, Skinning *skinning, QWidget *parent)
    : QDialog(parent)
    , m_branding(branding)
    , m_website(website)
    , m_skinning(skinning)
{
    setObjectName(QStringLiteral("AboutWindow"));
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(false);
    setFixedSize(twipsToPixels(7455), twipsToPixels(2535));

    m_iconLabel = place(new QLabel(this), "iconLabel", twipsRect(240, 240, 960, 960));
    m_iconLabel->setPixmap(programIcon().pixmap(QSize(64, 64), devicePixelRatioF()));
    m_iconLabel->setAlignment(Qt::AlignCenter);

    m_titleLabel = place(new QLabel(this), "titleLabel", twipsRect(1500, 180, 5700, 480));
    m_titleLabel->setTextFormat(Qt::PlainText);
    QFont title = m_titleLabel->font();
    title.setPointSizeF(title.pointSizeF() * 1.6);
    title.setBold(true);
    m_titleLabel->setFont(title);

    m_versionCaption = fixedLabel(this, "versionCaption", tr("Version:"), twipsRect(1500, 780, 1140, 330));
    m_versionLabel = valueLabel(this, "versionLabel", twipsRect(2760, 780, 4440, 330));
    m_ownerCaption = fixedLabel(this, "ownerCaption", tr("Owned By:"), twipsRect(1500, 1140, 1140, 330));
    m_companyLabel = valueLabel(this, "companyLabel", twipsRect(2760, 1140, 4440, 330));
    m_websiteCaption = fixedLabel(this, "websiteCaption", tr("Website:"), twipsRect(1500, 1500, 1140, 330));
    m_websiteLink = place(new LinkLabel(this), "websiteLink", twipsRect(2760, 1500, 4440, 330));
    m_websiteLink->setToolTip(tr("Open the website in your web browser"));

    m_okButton = place(new QPushButton(tr("OK"), this), "okButton", twipsRect(5880, 1980, 1320, 390));
    m_okButton->setDefault(true);
    connect(m_okButton, &QPushButton::clicked, this, &AboutWindow::close);
    connect(m_websiteLink, &LinkLabel::clicked, this, &AboutWindow::openWebsite);

    fillIn();

    if (const QScreen *screen = parent ? parent->screen() : QGuiApplication::primaryScreen()) {
        QRect centred = frameGeometry();
        centred.moveCenter(screen->availableGeometry().center());
        move(centred.topLeft());
    }
}

void AboutWindow::fillIn()
{
    const BrandingInfo &branding = m_branding;
    setWindowTitle(tr("About %1").arg(branding.programName));
    m_titleLabel->setText(branding.programName);
    m_versionLabel->setText(majorMinorVersion(branding.versionMajor, branding.versionMinor));
    m_companyLabel->setText(branding.companyName);
    m_websiteLink->setText(branding.website);
    if (m_skinning) {
        m_skinning->applyWithLabels(this);
    }
}

void AboutWindow::openWebsite()
{
    m_website.launch(true);
}
