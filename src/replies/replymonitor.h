#pragma once

#include <QList>
#include <QObject>
#include <QString>
#include <functional>

class PageSizeProbe;

// Measures own post pages: the baseline size of one page ("Watch This Post"), and the reply check, which walks
// a list of posts and reports those that grew by more than the threshold since their size was stored.
class ReplyMonitor : public QObject
{
    Q_OBJECT

public:
    struct Post
    {
        QString address;
        QString storedSize; // as stored: a byte count or the unmeasured marker
    };

    // port: the port the probes connect to (80; tests point it at their own server). threshold is asked at
    // every step of a run, so a threshold saved during a run applies from the next post on.
    ReplyMonitor(std::function<qint32()> threshold, quint16 port = 80, QObject *parent = nullptr);

    // Measures one page; baselineMeasured follows unless the probe fails.
    void measureBaseline(const QString &address, int index);
    // Starts a run over the posts from the first one; a run already going is dropped.
    void startCheck(const QList<Post> &posts);

    PageSizeProbe *baselineProbe() const { return m_baselineProbe; }
    PageSizeProbe *checkProbe() const { return m_checkProbe; }

signals:
    // The page of the post at index (when the list has not changed since) measured size bytes.
    void baselineMeasured(int index, const QString &address, qint32 size);
    // A post of the run grew by more than the threshold.
    void newReplies(const QString &address);
    void postChecked(int index, qint32 size);
    // A run has ended having found count posts with new replies.
    void finished(int count);
    // Texts for status panels 1 (run progress), 2 (connection states) and 3 (download progress).
    void statusText(int panel, const QString &text);
    // A probe could not start or its connection failed; the text says so.
    void probeFailed(const QString &text);

private:
    void checkNext();
    void checkMeasured();

    std::function<qint32()> m_threshold;
    PageSizeProbe *m_baselineProbe;
    PageSizeProbe *m_checkProbe;
    int m_baselineIndex = -1;
    QString m_baselineAddress;
    QList<Post> m_posts;
    qint16 m_checkIndex = 0;
    qint16 m_newReplyCount = 0;
    qint32 m_runThreshold = 500;
};
