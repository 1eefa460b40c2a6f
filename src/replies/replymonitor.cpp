#include "replies/replymonitor.h"

#include "forums/ownposts.h"

#include <utility>

#include "pagetext/kepttextstore.h"
#include "probe/pagemeasurement.h"
#include "probe/pagesizeprobe.h"
#include "replies/replytexts.h"
#include "replies/textkeeper.h"

namespace {
const QString s_crlf = QStringLiteral("\r\n");
}

ReplyMonitor::ReplyMonitor(std::function<qint32()> threshold, quint16 port, QObject *parent)
    : QObject(parent)
    , m_baselineProbe(new PageSizeProbe(this, port))
    , m_followProbe(new PageSizeProbe(this, port))
    , m_run(new ReplyRun(this, port))
{
    m_baselineProbe->setObjectName(QStringLiteral("baselineProbe"));
    m_run->setObjectName(QStringLiteral("replyRun"));
    m_run->setThresholdSource(std::move(threshold));

    connect(m_baselineProbe, &PageSizeProbe::panelText, this, &ReplyMonitor::statusText);
    connect(m_baselineProbe, &PageSizeProbe::finished, this, &ReplyMonitor::baselineFinished);
    connect(m_followProbe, &PageSizeProbe::finished, this, &ReplyMonitor::followingFinished);
    connect(m_run, &ReplyRun::progressText, this, [this](const QString &text) { emit statusText(1, text); });
    connect(m_run, &ReplyRun::postChecked, this,
        [this](int index, const PostResult &result) { emit postChecked(index, m_posts.at(index).address, result); });
    connect(m_run, &ReplyRun::newReplyFound, this,
        [this](int index, int position) { emit newReplyFound(position, m_posts.at(index).address); });
    connect(m_run, &ReplyRun::finished, this, [this](int newReplyCount, int notCheckedCount) {
        emit checkFinished(newReplyCount, notCheckedCount, m_run->newReplies());
    });
}

void ReplyMonitor::setIdentity(const RequestIdentity *identity)
{
    m_baselineProbe->setIdentity(identity);
    m_followProbe->setIdentity(identity);
    m_run->setIdentity(identity);
}

void ReplyMonitor::setExtraCaCertificates(const QList<QSslCertificate> &certificates)
{
    m_baselineProbe->setExtraCaCertificates(certificates);
    m_followProbe->setExtraCaCertificates(certificates);
    m_run->setExtraCaCertificates(certificates);
}

// Waits for the text jobs in flight; what they answer is dropped.
ReplyMonitor::~ReplyMonitor() = default;

void ReplyMonitor::setKeptTexts(KeptTextStore *store, const LegacyCodePage &legacy)
{
    m_run->setTextKeeper(nullptr);
    m_texts = store != nullptr ? std::make_unique<TextKeeper>(store, legacy) : nullptr;
    m_run->setTextKeeper(m_texts.get());
    setKeptBodyLimit(store != nullptr ? ReplyTexts::keptBodyLimit : 0);
}

KeptTextStore *ReplyMonitor::keptTexts() const
{
    return m_texts ? m_texts->store() : nullptr;
}

void ReplyMonitor::forgetPost(const QString &address)
{
    if (m_texts) {
        m_texts->forget(address);
    }
}

ProbeTimeouts ReplyMonitor::timeouts() const
{
    return m_timeoutSource ? m_timeoutSource() : ProbeTimeouts();
}

void ReplyMonitor::measureBaseline(const QString &address, int index)
{
    ++m_baselineGeneration;
    m_followProbe->abort();
    m_baselineIndex = index;
    m_baselineAddress = address;
    m_baselineProbe->setTimeouts(timeouts());
    m_baselineProbe->start(address);
}

void ReplyMonitor::setKeptBodyLimit(qint64 bytes)
{
    m_baselineProbe->setKeptBodyLimit(bytes);
    m_followProbe->setKeptBodyLimit(bytes);
    m_run->setKeptBodyLimit(bytes);
}

void ReplyMonitor::baselineFinished(const PageMeasurement &measurement)
{
    if (measurement.isUsable()) {
        const auto measured = [this, index = m_baselineIndex, address = m_baselineAddress, size = measurement.size](
                                  const QStringList &lines, bool asksForPassword) {
            emit baselineMeasured(index, address, size, lines, asksForPassword);
            emit statusText(2, QStringLiteral("Response completed"));
        };
        // Told once the text is kept too, so that a check right after compares with it; where the thread went on
        // past the page, the pages after it are read and kept with it first.
        if (m_texts && !measurement.body.isEmpty()) {
            const quint64 generation = m_baselineGeneration;
            m_texts->keepBaseline(m_baselineAddress, measurement.contentType, measurement.body, this,
                [this, generation, measured](const ReplyTexts::Baseline &kept) {
                    if (generation != m_baselineGeneration) {
                        return;
                    }
                    if (!kept.goesOn) {
                        measured(kept.lines, kept.asksForPassword);
                        return;
                    }
                    m_following.clear();
                    m_followingDone = [measured, kept] { measured(kept.lines, kept.asksForPassword); };
                    followBaseline(kept.nextPage);
                });
        } else {
            measured(QStringList(), false);
        }
        return;
    }
    // The server's error page is no baseline either; the post stays unmeasured and the check takes its size
    // later.
    const int number = measurement.isServerError() ? measurement.status : measurement.errorNumber;
    if (measurement.failedWhileStarting) {
        emit probeFailed(QStringLiteral("An error has occurred.") + s_crlf + QStringLiteral("Error #: ")
            + QString::number(number) + s_crlf + QStringLiteral("Description: ") + measurement.problemText());
    } else {
        emit probeFailed(QStringLiteral("Error occurred.") + s_crlf + QStringLiteral("Error #: ")
            + QString::number(number) + s_crlf + measurement.problemText());
    }
}

void ReplyMonitor::followBaseline(const QString &page)
{
    if (page.isEmpty() || m_following.size() >= ReplyTexts::followedPages || m_following.contains(page)
        || page == m_baselineAddress) {
        const quint64 generation = m_baselineGeneration;
        m_texts->setFollowing(m_baselineAddress, m_following, this, [this, generation] {
            if (generation == m_baselineGeneration) {
                std::exchange(m_followingDone, {})();
            }
        });
        return;
    }
    m_following.append(page);
    m_followProbe->setTimeouts(timeouts());
    m_followProbe->start(page);
}

void ReplyMonitor::followingFinished(const PageMeasurement &measurement)
{
    if (!measurement.isUsable() || measurement.body.isEmpty()) {
        // Read as far as it could be: the check reads on from there.
        m_following.removeLast();
        followBaseline(QString());
        return;
    }
    const quint64 generation = m_baselineGeneration;
    m_texts->keepFollowing(m_baselineAddress, m_following.last(), measurement.contentType, measurement.body, this,
        [this, generation](const QString &next) {
            if (generation == m_baselineGeneration) {
                followBaseline(next);
            }
        });
}

void ReplyMonitor::startCheck(const OwnPosts &posts)
{
    QList<Post> list;
    list.reserve(posts.count());
    for (int i = 0; i < posts.count(); ++i) {
        list.append({ posts.address(i), posts.storedSize(i),
            { posts.ownText(i), posts.ownTextShown(i), posts.isMeasuredAsBrowser(i) } });
    }
    startCheck(list);
}

void ReplyMonitor::startCheck(const QList<Post> &posts)
{
    // The run's own start drops a run in flight, so nothing of it reaches the new list.
    m_posts = posts;
    m_run->setTimeouts(timeouts());
    m_run->start(m_posts);
}

bool ReplyMonitor::isChecking() const
{
    return m_run->isRunning();
}
