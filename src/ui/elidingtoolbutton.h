#pragma once

#include <QToolButton>

// A picture button whose caption is shortened with "…" when the button is narrower than it; the full caption
// stays its text and shows as its tooltip's neighbour in the status of assistive tools.
class ElidingToolButton : public QToolButton
{
    Q_OBJECT

public:
    using QToolButton::QToolButton;

    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
};
