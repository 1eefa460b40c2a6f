#include "replies/checkschedule.h"

int CheckSchedule::minutesFromSetting(const QString &text)
{
    bool ok = false;
    const int minutes = text.trimmed().toInt(&ok);
    return ok && choices().contains(minutes) ? minutes : 0;
}

CheckSchedule::CheckSchedule(std::function<bool()> isBusy, QObject *parent)
    : QObject(parent)
    , m_isBusy(std::move(isBusy))
{
    // Two hours in milliseconds fit an int; a few seconds late does not matter.
    m_timer.setTimerType(Qt::CoarseTimer);
    connect(&m_timer, &QTimer::timeout, this, &CheckSchedule::tick);
}

void CheckSchedule::setMinutes(int minutes)
{
    if (!choices().contains(minutes)) {
        minutes = 0;
    }
    if (minutes == m_minutes && (m_timer.isActive() || minutes == 0)) {
        return;
    }
    m_minutes = minutes;
    m_timer.stop();
    if (minutes > 0) {
        m_timer.start(m_minuteLength * minutes);
    }
}

void CheckSchedule::setMinuteLength(std::chrono::milliseconds length)
{
    m_minuteLength = length;
    if (m_timer.isActive()) {
        m_timer.start(m_minuteLength * m_minutes);
    }
}

void CheckSchedule::tick()
{
    if (m_isBusy && m_isBusy()) {
        return;
    }
    emit due();
}
