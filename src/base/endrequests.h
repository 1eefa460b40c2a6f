#pragma once

#include <QList>
#include <QObject>

class QSocketNotifier;

// Turns the signals by which the system or a user asks the program to end (SIGTERM, SIGINT, SIGHUP) into a
// Qt signal delivered by the event loop, so the program ends through its normal shut-down and saves what it
// holds. A second one of the same signal ends the program at once, as if nothing were watching.
// Precondition: one instance at a time (the handlers are process-wide).
class EndRequests : public QObject
{
    Q_OBJECT

public:
    explicit EndRequests(QObject *parent = nullptr);
    // Gives the signals back their default handling.
    ~EndRequests() override;

    static QList<int> watchedSignals();

signals:
    void requested(int signalNumber);

private:
    void readPending();

    QSocketNotifier *m_notifier = nullptr;
};
