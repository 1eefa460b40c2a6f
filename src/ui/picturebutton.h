#pragma once

#include <QRect>
#include <QToolButton>

#include "base/twips.h"

// Makes button (a new QToolButton when none is given) a picture button: its caption under its picture, the
// tooltip given, placed at a rectangle in twips.
inline QToolButton *pictureButton(QWidget *parent, const char *name, const QString &caption, const QString &tip,
    QRect twips, QToolButton *button = nullptr)
{
    if (!button) {
        button = new QToolButton(parent);
    }
    button->setObjectName(QLatin1String(name));
    button->setText(caption);
    button->setToolTip(tip);
    button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    button->setAutoRaise(false);
    button->setGeometry(twipsRect(twips.x(), twips.y(), twips.width(), twips.height()));
    return button;
}
