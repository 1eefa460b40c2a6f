#pragma once

#include <QGroupBox>
#include <QWidget>

#include "base/twips.h"

// Controls placed at the design's fixed positions, and their geometry read and written in twips.
namespace Placement {

template<typename W>
W *place(W *widget, const char *name, int left, int top, int width, int height)
{
    widget->setObjectName(QLatin1String(name));
    widget->setGeometry(twipsRect(left, top, width, height));
    return widget;
}

inline int twLeft(const QWidget *w) { return pixelsToTwips(w->x()); }
inline int twTop(const QWidget *w) { return pixelsToTwips(w->y()); }
inline int twWidth(const QWidget *w) { return pixelsToTwips(w->width()); }
inline int twHeight(const QWidget *w) { return pixelsToTwips(w->height()); }
inline void setTwLeft(QWidget *w, int twips) { w->move(twipsToPixels(twips), w->y()); }
inline void setTwTop(QWidget *w, int twips) { w->move(w->x(), twipsToPixels(twips)); }
inline void setTwWidth(QWidget *w, int twips) { w->resize(twipsToPixels(twips), w->height()); }
inline void setTwHeight(QWidget *w, int twips) { w->resize(w->width(), twipsToPixels(twips)); }

} // namespace Placement
