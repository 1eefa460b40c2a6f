#include "ui/artwork.h"

#include <QCoreApplication>
#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include "base/branding.h"
#include "ui/versiontext.h"

namespace {

// The bubble on a 256-unit grid: body with rounded corners and a tail at the lower left.
QPainterPath bubblePath()
{
    QPainterPath body;
    body.addRoundedRect(QRectF(16, 24, 224, 170), 48, 48);
    QPainterPath tail;
    tail.moveTo(58, 180);
    tail.lineTo(34, 240);
    tail.lineTo(118, 190);
    tail.closeSubpath();
    return body.united(tail).simplified();
}

} // namespace

void paintProgramIcon(QPainter *painter, const QRectF &rect)
{
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    const qreal side = qMin(rect.width(), rect.height());
    painter->translate(rect.center().x() - side / 2, rect.center().y() - side / 2);
    painter->scale(side / 256.0, side / 256.0);
    // Small sizes get relatively heavier lines so the arrow still reads at 16 pixels.
    const qreal unitsPerPixel = 256.0 / side;
    const qreal outline = qMax(6.0, 1.0 * unitsPerPixel);
    const qreal stroke = qMax(26.0, 2.2 * unitsPerPixel);

    const QPainterPath bubble = bubblePath();
    QLinearGradient fill(0, 24, 0, 240);
    fill.setColorAt(0.0, QColor(0x5a, 0xa8, 0xff));
    fill.setColorAt(1.0, QColor(0x1c, 0x5a, 0xd0));
    painter->setPen(QPen(QColor(0x14, 0x44, 0xa0), outline, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter->setBrush(fill);
    painter->drawPath(bubble);

    if (side >= 32) {
        // A soft highlight along the top edge.
        QPainterPath shine;
        shine.addRoundedRect(QRectF(34, 36, 188, 70), 34, 34);
        QLinearGradient gloss(0, 36, 0, 106);
        gloss.setColorAt(0.0, QColor(255, 255, 255, 90));
        gloss.setColorAt(1.0, QColor(255, 255, 255, 0));
        painter->setPen(Qt::NoPen);
        painter->setBrush(gloss);
        painter->drawPath(shine);
    }

    // The arrow leaving the bubble towards the upper right.
    painter->setPen(QPen(Qt::white, stroke, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter->setBrush(Qt::NoBrush);
    painter->drawLine(QPointF(80, 160), QPointF(166, 74));
    QPainterPath head;
    head.moveTo(110, 70);
    head.lineTo(170, 70);
    head.lineTo(170, 130);
    painter->drawPath(head);
    painter->restore();
}

QPixmap splashPicture(const QSize &size, qreal devicePixelRatio, const BrandingInfo &branding)
{
    QPixmap pixmap(size * devicePixelRatio);
    pixmap.setDevicePixelRatio(devicePixelRatio);
    const QRectF area(QPointF(0, 0), QSizeF(size));
    const qreal w = area.width();
    const qreal h = area.height();

    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);

    QLinearGradient background(0, 0, w, h);
    background.setColorAt(0.0, QColor(0x0e, 0x22, 0x44));
    background.setColorAt(1.0, QColor(0x1b, 0x4a, 0x8a));
    painter.fillRect(area, background);

    // A large, faint bubble behind the text gives the picture depth.
    painter.save();
    painter.setOpacity(0.06);
    painter.translate(w * 0.58, -h * 0.12);
    painter.scale(h * 1.1 / 256.0, h * 1.1 / 256.0);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::white);
    painter.drawPath(bubblePath());
    painter.restore();

    QRadialGradient glow(QPointF(w * 0.2, h * 0.42), h * 0.5);
    glow.setColorAt(0.0, QColor(0x5a, 0xa8, 0xff, 70));
    glow.setColorAt(1.0, QColor(0x5a, 0xa8, 0xff, 0));
    painter.fillRect(area, glow);

    const qreal iconSide = h * 0.36;
    paintProgramIcon(&painter, QRectF(w * 0.08, h * 0.23, iconSide, iconSide));

    const qreal textLeft = w * 0.08 + iconSide + w * 0.06;
    QFont title = painter.font();
    title.setPixelSize(int(h * 0.17));
    title.setBold(true);
    painter.setFont(title);
    painter.setPen(Qt::white);
    painter.drawText(
        QRectF(textLeft, h * 0.20, w - textLeft - 16, h * 0.22), Qt::AlignLeft | Qt::AlignBottom, branding.programName);

    QFont tagLine = painter.font();
    tagLine.setPixelSize(int(h * 0.047));
    tagLine.setBold(false);
    painter.setFont(tagLine);
    painter.setPen(QColor(0xc8, 0xdc, 0xff));
    painter.drawText(QRectF(textLeft, h * 0.44, w - textLeft - 16, h * 0.2),
        Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap,
        QCoreApplication::translate("SplashWindow",
            "Post to web forums, links and all.\n"
            "Watch your posts for replies."));

    // The band along the bottom with version and maker.
    const QRectF band(0, h * 0.82, w, h * 0.18);
    painter.fillRect(band, QColor(0, 0, 0, 70));
    painter.setPen(QColor(255, 255, 255, 40));
    painter.drawLine(band.topLeft(), band.topRight());
    QFont small = painter.font();
    small.setPixelSize(int(h * 0.042));
    painter.setFont(small);
    painter.setPen(QColor(0x9d, 0xb8, 0xe0));
    const QRectF bandText = band.adjusted(w * 0.05, 0, -w * 0.05, 0);
    painter.drawText(bandText, Qt::AlignLeft | Qt::AlignVCenter,
        QCoreApplication::translate("SplashWindow", "Version %1")
            .arg(majorMinorVersion(branding.versionMajor, branding.versionMinor)));
    painter.drawText(bandText, Qt::AlignRight | Qt::AlignVCenter, branding.companyName);
    painter.end();
    return pixmap;
}
