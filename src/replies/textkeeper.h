#pragma once

#include <QByteArray>
#include <QHash>
#include <QMutex>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QThreadPool>
#include <QTimer>

#include <functional>
#include <vector>

#include "replies/postoutcome.h"

class KeptTextStore;

// The text side of measuring own posts' pages, done on a thread of its own so that a check of many pages never
// holds up the window: one job after another, in the order they were given. Jobs are given, and their results come
// back, on the thread that made the keeper; a result does not come at all when the context object given with its
// job is gone.
class TextKeeper
{
public:
    explicit TextKeeper(KeptTextStore *store);
    // Waits for the jobs given.
    ~TextKeeper();

    KeptTextStore *store() const { return m_store; }

    // The page measured for a post's stored size becomes the text later checks compare with; done when it is.
    void keepBaseline(const QString &address, const QByteArray &contentType, const QByteArray &body, QObject *context,
        std::function<void()> done);
    // A check's answer for a post: done gets what the page added since its kept text (see ReplyTexts), nothing
    // for a post forgotten meanwhile.
    void afterCheck(const QString &address, const PostResult &result, const QByteArray &contentType,
        const QByteArray &body, QObject *context, std::function<void(const QStringList &)> done);
    // The post's text goes at once, and jobs given for it before that keep nothing.
    void forget(const QString &address);
    // Gives the text thread the jobs given so far at once, rather than a moment later with those yet to come: for
    // when no more will come soon.
    void flush();
    // Returns when every job given so far has run.
    void waitForDone();

private:
    // Runs work with the job lock held; current is false when the post was forgotten after the job was given.
    void enqueue(const QString &address, std::function<void(bool current)> work);
    // Calls back on the receiver's thread, where the context lives.
    void answer(const QPointer<QObject> &context, std::function<void()> callback);
    void deliverAnswers();
    quint64 forgetsOf(const QString &address);

    struct Answer
    {
        QPointer<QObject> context;
        std::function<void()> callback;
    };

    KeptTextStore *m_store;
    QObject m_receiver;
    QThreadPool m_pool;
    // Jobs are handed over to the text thread a few at a time: woken for each page, it would take the window's
    // processor from it as often.
    std::vector<std::function<void()>> m_given;
    QTimer m_handOverTimer;
    QMutex m_jobLock; // held by a running job, and by forget
    QMutex m_forgetsLock; // guards m_forgets only, for a moment
    QHash<QString, quint64> m_forgets; // per address, how often its post was forgotten
    QMutex m_answersLock;
    std::vector<Answer> m_answers; // waiting for the receiver's thread
};
