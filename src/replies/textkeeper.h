#pragma once

#include <QByteArray>
#include <QHash>
#include <QMutex>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QThread>

#include <functional>

#include "probe/postoutcome.h"
#include "replies/replytexts.h"

class KeptTextStore;

// The text side of measuring own posts' pages, done on a thread of its own so that a check of many pages never
// holds up the window: one job after another, in the order they were given. Jobs are given, and their results come
// back, on the thread that made the keeper; a result does not come at all when the context object given with its
// job is gone.
class TextKeeper
{
public:
    // legacy: the code page of pages that declare no character set and are not UTF-8.
    explicit TextKeeper(KeptTextStore *store, const LegacyCodePage &legacy = {});
    // Waits for the jobs given.
    ~TextKeeper();

    KeptTextStore *store() const { return m_store; }

    // The page measured for a post's stored size becomes the text later checks compare with; done when it is
    // (see ReplyTexts::keepBaseline).
    void keepBaseline(const QString &address, const QByteArray &contentType, const QByteArray &body, QObject *context,
        std::function<void(const ReplyTexts::Baseline &)> done);
    // A page after the post's, read with its baseline; done gets the page it names as its next.
    void keepFollowing(const QString &address, const QString &page, const QByteArray &contentType,
        const QByteArray &body, QObject *context, std::function<void(const QString &nextPage)> done);
    void setFollowing(
        const QString &address, const QStringList &following, QObject *context, std::function<void()> done);
    // A check's answer for a post: done gets the judgement of its text (see ReplyTexts::afterCheck), the result
    // as it was for a post forgotten meanwhile.
    void afterCheck(const QString &address, const PostResult &result, const ReplyTexts::PostFacts &facts,
        const QByteArray &contentType, const QByteArray &body, QObject *context,
        std::function<void(const ReplyTexts::Judgement &)> done);
    // A page after the post's read by a check (see ReplyTexts::afterFollowing).
    void afterFollowing(const QString &address, const QString &page, const QByteArray &contentType,
        const QByteArray &body, QObject *context, std::function<void(const ReplyTexts::Following &)> done);
    // The post's text goes at once, and jobs given for it before that keep nothing.
    void forget(const QString &address);
    // Returns when every job given so far has run.
    void waitForDone();

private:
    // Runs work on the text thread; current is false when the post was forgotten after the job was given.
    void enqueue(const QString &address, std::function<void(bool current)> work);
    // Calls back on the keeper's thread unless context is gone by then.
    void answer(const QPointer<QObject> &context, std::function<void()> callback);
    quint64 forgetsOf(const QString &address);

    KeptTextStore *m_store;
    LegacyCodePage m_legacy;
    QObject m_receiver; // on the keeper's thread
    QThread m_thread;
    QObject *m_worker; // on m_thread
    QMutex m_jobLock; // held by a running job, and by forget
    QMutex m_forgetsLock; // guards m_forgets only, for a moment
    QHash<QString, quint64> m_forgets; // per address, how often its post was forgotten
};
