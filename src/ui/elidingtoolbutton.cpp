#include "ui/elidingtoolbutton.h"

#include <QStyleOptionToolButton>
#include <QStylePainter>

QSize ElidingToolButton::minimumSizeHint() const
{
    // Room for the picture and a few letters of the caption.
    const QSize hint = QToolButton::minimumSizeHint();
    return QSize(std::min(hint.width(), iconSize().width() + fontMetrics().horizontalAdvance(QStringLiteral("Visit…")) + 16),
                 hint.height());
}

void ElidingToolButton::paintEvent(QPaintEvent *)
{
    QStylePainter painter(this);
    QStyleOptionToolButton option;
    initStyleOption(&option);
    const int room = width() - 12;
    option.text = fontMetrics().elidedText(option.text, Qt::ElideRight, std::max(room, 0));
    painter.drawComplexControl(QStyle::CC_ToolButton, option);
}
