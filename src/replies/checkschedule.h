#pragma once

#include <QList>
#include <QObject>
#include <QString>
#include <QTimer>
#include <chrono>
#include <functional>

// Starts reply checks on a timer while the program runs. A check that comes due while a run is going is
// skipped: the next one comes a whole interval later.
class CheckSchedule : public QObject
{
    Q_OBJECT

public:
    // The choices offered, in minutes; 0 is off.
    static QList<int> choices() { return {0, 15, 30, 60, 120}; }
    // A stored value that is not one of the choices (hand-edited, damaged) reads as off.
    static int minutesFromSetting(const QString &text);

    // isBusy: whether a run is going at the moment.
    explicit CheckSchedule(std::function<bool()> isBusy, QObject *parent = nullptr);

    // 0 turns the checks off; another choice starts the wait anew unless it is the one already running.
    void setMinutes(int minutes);
    int minutes() const { return m_minutes; }
    bool isOn() const { return m_minutes > 0; }
    // How long one minute of the schedule lasts; tests make it short.
    void setMinuteLength(std::chrono::milliseconds length);

signals:
    // A check is due and no run is going.
    void due();

private:
    void tick();

    std::function<bool()> m_isBusy;
    QTimer m_timer;
    int m_minutes = 0;
    std::chrono::milliseconds m_minuteLength{std::chrono::minutes(1)};
};
