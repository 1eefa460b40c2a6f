#include "replies/textkeeper.h"

#include <QMetaObject>

#include "pagetext/kepttextstore.h"
#include "replies/replytexts.h"

TextKeeper::TextKeeper(KeptTextStore *store, const LegacyCodePage &legacy)
    : m_store(store)
    , m_legacy(legacy)
    , m_worker(new QObject)
{
    // One thread: jobs for one post run in the order given, and the pages' text never takes both cores.
    m_thread.setObjectName(QStringLiteral("page texts"));
    m_worker->moveToThread(&m_thread);
    m_thread.start();
}

TextKeeper::~TextKeeper()
{
    waitForDone();
    m_thread.quit();
    m_thread.wait();
    delete m_worker;
}

void TextKeeper::enqueue(const QString &address, std::function<void(bool current)> work)
{
    const quint64 forgets = forgetsOf(address);
    // Queued calls to one object run in the order they were made.
    QMetaObject::invokeMethod(
        m_worker,
        [this, address, forgets, work = std::move(work)] {
            const QMutexLocker jobLocker(&m_jobLock);
            work(forgetsOf(address) == forgets);
        },
        Qt::QueuedConnection);
}

quint64 TextKeeper::forgetsOf(const QString &address)
{
    const QMutexLocker locker(&m_forgetsLock);
    return m_forgets.value(address);
}

void TextKeeper::answer(const QPointer<QObject> &context, std::function<void()> callback)
{
    QMetaObject::invokeMethod(
        &m_receiver,
        [target = context, callback = std::move(callback)] {
            if (target) {
                callback();
            }
        },
        Qt::QueuedConnection);
}

void TextKeeper::keepBaseline(const QString &address, const QByteArray &contentType, const QByteArray &body,
    QObject *context, std::function<void(const ReplyTexts::Baseline &)> done)
{
    enqueue(address, [this, address, contentType, body, target = QPointer(context), done](bool current) {
        const ReplyTexts::Baseline kept = current ? ReplyTexts::keepBaseline(*m_store, address, contentType, body, m_legacy)
                                                  : ReplyTexts::Baseline();
        answer(target, [done, kept] { done(kept); });
    });
}

void TextKeeper::keepFollowing(const QString &address, const QString &page, const QByteArray &contentType,
    const QByteArray &body, QObject *context, std::function<void(const QString &)> done)
{
    enqueue(address, [this, page, contentType, body, target = QPointer(context), done](bool current) {
        const QString next = current ? ReplyTexts::keepFollowing(*m_store, page, contentType, body, m_legacy) : QString();
        answer(target, [done, next] { done(next); });
    });
}

void TextKeeper::setFollowing(
    const QString &address, const QStringList &following, QObject *context, std::function<void()> done)
{
    enqueue(address, [this, address, following, target = QPointer(context), done](bool current) {
        if (current) {
            ReplyTexts::setFollowing(*m_store, address, following);
        }
        answer(target, done);
    });
}

void TextKeeper::afterCheck(const QString &address, const PostResult &result, const ReplyTexts::PostFacts &facts,
    const QByteArray &contentType, const QByteArray &body, QObject *context,
    std::function<void(const ReplyTexts::Judgement &)> done)
{
    enqueue(address,
        [this, address, result, facts, contentType, body, target = QPointer(context), done](bool current) {
            const ReplyTexts::Judgement judged = current
                ? ReplyTexts::afterCheck(*m_store, address, result, facts, contentType, body, m_legacy)
                : ReplyTexts::Judgement { result, QString() };
            answer(target, [done, judged] { done(judged); });
        });
}

void TextKeeper::afterFollowing(const QString &address, const QString &page, const QByteArray &contentType,
    const QByteArray &body, QObject *context, std::function<void(const ReplyTexts::Following &)> done)
{
    enqueue(address, [this, address, page, contentType, body, target = QPointer(context), done](bool current) {
        const ReplyTexts::Following following = current
            ? ReplyTexts::afterFollowing(*m_store, address, page, contentType, body, m_legacy)
            : ReplyTexts::Following();
        answer(target, [done, following] { done(following); });
    });
}

void TextKeeper::forget(const QString &address)
{
    // After the job running now, if any, and before any job given before this.
    const QMutexLocker jobLocker(&m_jobLock);
    {
        const QMutexLocker locker(&m_forgetsLock);
        ++m_forgets[address];
    }
    m_store->remove(address);
}

void TextKeeper::waitForDone()
{
    // Runs after every job given so far.
    QMetaObject::invokeMethod(
        m_worker, [] {}, Qt::BlockingQueuedConnection);
}
