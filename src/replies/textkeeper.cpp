#include "replies/textkeeper.h"

#include <QMetaObject>

#include <malloc.h>

#include "replies/kepttextstore.h"
#include "replies/replytexts.h"

namespace {

// Pages whose jobs go to the text thread together at most.
constexpr size_t s_handOverCount = 16;

} // namespace

TextKeeper::TextKeeper(KeptTextStore *store)
    : m_store(store)
{
    // One thread: jobs for one post run in the order given, and the pages' text never takes both cores.
    m_pool.setMaxThreadCount(1);
    // The thread frees a page-sized block or two per page: past the default threshold each free would hand
    // the memory back to the system, and the next page would fault it in again.
    mallopt(M_TRIM_THRESHOLD, 16 * 1024 * 1024);
    m_pool.setExpiryTimeout(30000);
    // Soon enough that no one waits for it, late enough for a busy check to give many pages.
    m_handOverTimer.setSingleShot(true);
    m_handOverTimer.setInterval(2);
    QObject::connect(&m_handOverTimer, &QTimer::timeout, &m_receiver, [this] { flush(); });
}

TextKeeper::~TextKeeper()
{
    waitForDone();
}

void TextKeeper::enqueue(const QString &address, std::function<void(bool current)> work)
{
    const quint64 forgets = forgetsOf(address);
    m_given.push_back([this, address, forgets, work = std::move(work)] {
        QMutexLocker jobLocker(&m_jobLock);
        work(forgetsOf(address) == forgets);
    });
    if (m_given.size() >= s_handOverCount) {
        flush();
    } else if (!m_handOverTimer.isActive()) {
        m_handOverTimer.start();
    }
}

void TextKeeper::flush()
{
    m_handOverTimer.stop();
    if (m_given.empty()) {
        return;
    }
    std::vector<std::function<void()>> jobs;
    jobs.swap(m_given);
    m_pool.start([jobs = std::move(jobs)] {
        for (const std::function<void()> &job : jobs) {
            job();
        }
    });
}

quint64 TextKeeper::forgetsOf(const QString &address)
{
    const QMutexLocker locker(&m_forgetsLock);
    return m_forgets.value(address);
}

void TextKeeper::answer(const QPointer<QObject> &context, std::function<void()> callback)
{
    QMutexLocker locker(&m_answersLock);
    m_answers.push_back({ context, std::move(callback) });
    // One call-back for all answers that come while the window is busy: waking it costs more than an answer.
    if (m_answers.size() == 1) {
        QMetaObject::invokeMethod(
            &m_receiver, [this] { deliverAnswers(); }, Qt::QueuedConnection);
    }
}

void TextKeeper::deliverAnswers()
{
    std::vector<Answer> answers;
    {
        const QMutexLocker locker(&m_answersLock);
        answers.swap(m_answers);
    }
    for (const Answer &answer : answers) {
        if (answer.context) {
            answer.callback();
        }
    }
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
    flush();
    m_pool.waitForDone();
}
