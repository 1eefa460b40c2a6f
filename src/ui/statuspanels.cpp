#include "ui/statuspanels.h"

#include <QLabel>
#include <QStatusBar>
#include <QTimer>

StatusPanels::StatusPanels(QStatusBar *bar)
    : QObject(bar)
    , m_bar(bar)
    , m_refresh(new QTimer(this))
{
    const char *const names[3] = { "panel1", "panel2", "panel3" };
    for (int i = 0; i < 3; ++i) {
        auto *label = new QLabel(bar->window());
        label->setObjectName(QLatin1String(names[i]));
        label->setFrameShape(QFrame::Panel);
        label->setFrameShadow(QFrame::Sunken);
        label->setTextFormat(Qt::PlainText);
        m_labels[i] = label;
    }
    // Panel 3 takes whatever the first two leave, whatever its text.
    m_labels[2]->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    m_labels[2]->setMinimumWidth(1);
    m_refresh->setSingleShot(true);
    connect(m_refresh, &QTimer::timeout, this, &StatusPanels::showTexts);
}

void StatusPanels::addToBar()
{
    for (QLabel *label : m_labels) {
        m_bar->addWidget(label, label == m_labels.back() ? 1 : 0);
    }
}

QString StatusPanels::text(int panel) const
{
    return panel >= 1 && panel <= 3 ? m_texts.at(panel - 1) : QString();
}

int StatusPanels::width(int panel) const
{
    return m_labels.at(panel - 1)->width();
}

void StatusPanels::setFixedWidth(int panel, int pixels)
{
    m_labels.at(panel - 1)->setFixedWidth(pixels);
}

void StatusPanels::show(int panel, const QString &text)
{
    if (panel < 1 || panel > 3) {
        return;
    }
    m_texts[panel - 1] = text;
    // A reply check writes several texts per page at thousands of pages a second, and laying out and painting
    // the status bar for each would cost more than the check itself. A text shows at once unless the panels
    // changed within the last frame; then it shows with the others at the end of that frame.
    constexpr qint64 frameMs = 40;
    if (m_refresh->isActive()) {
        return;
    }
    if (!m_shown.isValid() || m_shown.hasExpired(frameMs)) {
        showTexts();
    } else {
        m_refresh->start(int(frameMs - m_shown.elapsed()));
    }
}

void StatusPanels::showTexts()
{
    for (size_t i = 0; i < m_labels.size(); ++i) {
        m_labels[i]->setText(m_texts[i]);
        // A panel cuts a long text (an address, a run's end with its failures); hovering shows it whole.
        m_labels[i]->setToolTip(m_texts[i]);
    }
    m_shown.start();
}
