#pragma once

#include <QObject>
#include <QString>
#include <chrono>
#include <functional>

class QTimer;
class QVariant;
class QWebEngineView;

// Notices the page where a new post appears: after an Auto-Insert (or after an own post is opened) it looks
// for the inserted message's key in the page, outside its form fields and editing areas, on each of the next
// four completed loads and, in between, whenever the page's own scripts add to it or change its address (a
// reply sent without a new page). A watch that finds nothing ends after those loads or after timeLimit.
class PostedMessageWatcher : public QObject
{
    Q_OBJECT

public:
    // Long enough to write and send a reply; short enough that a forgotten watch does not take an unrelated
    // page much later.
    static constexpr std::chrono::milliseconds timeLimit = std::chrono::minutes(10);
    // How often changes the page made are looked at, at most: a burst of them costs one look.
    static constexpr std::chrono::milliseconds changeInterval = std::chrono::milliseconds(250);

    explicit PostedMessageWatcher(QWebEngineView *view, QObject *parent = nullptr);

    // Watches the next four loads, and the page's changes meanwhile, for the message last inserted.
    void arm();
    void armFor(const QString &insertedMessage);
    // Ends the watch, finding nothing.
    void disarm();
    bool isArmed() const { return m_loadsLeft >= 1 && m_loadsLeft <= 4; }
    // Completed loads the watch still looks at; 0 when it is not armed.
    int loadsLeft() const { return m_loadsLeft; }
    // The message the watch looks for.
    QString insertedMessage() const { return m_insertedMessage; }

    // The monotonic clock the time limit is measured by, in milliseconds.
    void setClock(std::function<qint64()> clock) { m_clock = std::move(clock); }
    // Time spent in this watcher's handlers, for measuring what a watch costs.
    std::chrono::nanoseconds timeSpent() const { return m_spent; }

public slots:
    // A load has completed.
    void checkPage();

signals:
    // The page shows the inserted message: it is the page of the new post. pageAddress is the address the
    // browser shows, canonicalAddress the address of the same site the page names as its canonical one
    // (empty when it names none); key is the message's beginning that the page shows.
    void postedMessageFound(const QString &pageAddress, const QString &canonicalAddress, const QString &key);

private:
    void checkChanges();
    // Looks for the key in what a check read; true when the post was found (and told).
    bool judge(const QVariant &result);
    bool hasExpired() const;

    QWebEngineView *m_view;
    int m_loadsLeft = 0;
    QString m_insertedMessage;
    QTimer *m_changeTimer;
    std::function<qint64()> m_clock;
    qint64 m_armedAt = 0;
    bool m_readingChanges = false;
    std::chrono::nanoseconds m_spent { 0 };
};
