#pragma once

#include <QPixmap>
#include <QRectF>
#include <QSize>

class QPainter;
struct BrandingInfo;

// The program's own artwork, drawn from shapes so that it is sharp at every size.

// The program icon: a speech bubble carrying an arrow that points out of it, for a message on its way.
void paintProgramIcon(QPainter *painter, const QRectF &rect);

// The splash window's picture: icon, program name, tag line, version and maker.
QPixmap splashPicture(const QSize &size, qreal devicePixelRatio, const BrandingInfo &branding);
