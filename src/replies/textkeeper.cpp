#include "replies/textkeeper.h"

#include <QMetaObject>

#include "replies/kepttextstore.h"
#include "replies/replytexts.h"

TextKeeper::TextKeeper(KeptTextStore *store)
    : m_store(store)
{
    // One thread: jobs for one post run in the order given, and the pages' text never takes both cores.
    m_pool.setMaxThreadCount(1);
    m_pool.setExpiryTimeout(30000);
}

TextKeeper::~TextKeeper()
{
    m_pool.waitForDone();
}

void TextKeeper::enqueue(const QString &address, std::function<void(bool current)> work)
{
    const QString file = m_store->fileOf(address);
    QMutexLocker locker(&m_lock);
    const quint64 forgets = m_forgets.value(file);
    locker.unlock();
    m_pool.start([this, file, forgets, work = std::move(work)] {
        QMutexLocker jobLocker(&m_lock);
        work(m_forgets.value(file) == forgets);
    });
}

void TextKeeper::answer(const QPointer<QObject> &context, std::function<void()> callback)
{
    QMetaObject::invokeMethod(
        &m_receiver,
        [context, callback = std::move(callback)] {
            if (context) {
                callback();
            }
        },
        Qt::QueuedConnection);
}

void TextKeeper::keepBaseline(const QString &address, const QByteArray &contentType, const QByteArray &body,
    QObject *context, std::function<void()> done)
{
    enqueue(address, [this, address, contentType, body, target = QPointer(context), done](bool current) {
        if (current) {
            ReplyTexts::keepBaseline(*m_store, address, contentType, body);
        }
        answer(target, done);
    });
}

void TextKeeper::afterCheck(const QString &address, const PostResult &result, const QByteArray &contentType,
    const QByteArray &body, QObject *context, std::function<void(const QStringList &)> done)
{
    enqueue(address, [this, address, result, contentType, body, target = QPointer(context), done](bool current) {
        const QStringList newText
            = current ? ReplyTexts::afterCheck(*m_store, address, result, contentType, body) : QStringList();
        answer(target, [done, newText] { done(newText); });
    });
}

void TextKeeper::forget(const QString &address)
{
    const QString file = m_store->fileOf(address);
    QMutexLocker locker(&m_lock);
    ++m_forgets[file];
    m_store->remove(address);
}

void TextKeeper::waitForDone()
{
    m_pool.waitForDone();
}
