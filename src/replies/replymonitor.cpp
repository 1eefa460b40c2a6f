#include "replies/replymonitor.h"

#include "replies/pagesizeprobe.h"
#include "replies/replycheck.h"

ReplyMonitor::ReplyMonitor(std::function<qint32()> threshold, quint16 port, QObject *parent)
    : QObject(parent)
    , m_threshold(std::move(threshold))
    , m_baselineProbe(new PageSizeProbe(this, port))
    , m_checkProbe(new PageSizeProbe(this, port))
{
    m_baselineProbe->setObjectName(QStringLiteral("baselineProbe"));
    m_checkProbe->setObjectName(QStringLiteral("checkProbe"));
    connect(m_baselineProbe, &PageSizeProbe::completed, this, [this] {
        emit baselineMeasured(m_baselineIndex, m_baselineAddress, m_baselineProbe->byteCount());
        emit statusText(2, QStringLiteral("Response completed"));
    });
    connect(m_checkProbe, &PageSizeProbe::completed, this, &ReplyMonitor::checkMeasured);
    const QString crlf = QStringLiteral("\r\n");
    for (PageSizeProbe *probe : {m_baselineProbe, m_checkProbe}) {
        connect(probe, &PageSizeProbe::panelText, this, &ReplyMonitor::statusText);
        connect(probe, &PageSizeProbe::startFailed, this, [this, crlf](int number, const QString &description) {
            emit probeFailed(QStringLiteral("An error has occurred.") + crlf + QStringLiteral("Error #: ")
                             + QString::number(number) + crlf + QStringLiteral("Description: ") + description);
        });
        connect(probe, &PageSizeProbe::socketFailed, this, [this, crlf](int number, const QString &description) {
            emit probeFailed(QStringLiteral("Error occurred.") + crlf + QStringLiteral("Error #: ")
                             + QString::number(number) + crlf + description);
        });
    }
}

void ReplyMonitor::measureBaseline(const QString &address, int index)
{
    m_baselineIndex = index;
    m_baselineAddress = address;
    m_baselineProbe->start(address);
}

void ReplyMonitor::startCheck(const QList<Post> &posts)
{
    // A second start restarts the run from the first post; the new probe start drops the old exchange.
    m_posts = posts;
    m_checkIndex = 0;
    m_newReplyCount = 0;
    checkNext();
}

void ReplyMonitor::checkNext()
{
    m_runThreshold = m_threshold ? m_threshold() : ReplyCheck::defaultThreshold;
    emit statusText(1, QStringLiteral("checking post ") + QString::number(m_checkIndex + 1));
    if (m_checkIndex > m_posts.size() - 1) {
        emit statusText(1, QStringLiteral("finished - ") + QString::number(m_newReplyCount)
                               + QStringLiteral(" new replies found"));
        emit finished(m_newReplyCount);
        return;
    }
    m_checkProbe->start(m_posts.at(m_checkIndex).address);
}

void ReplyMonitor::checkMeasured()
{
    const qint32 size = m_checkProbe->byteCount();
    if (m_checkIndex < m_posts.size()) {
        const Post &post = m_posts.at(m_checkIndex);
        emit postChecked(m_checkIndex, size);
        if (ReplyCheck::hasNewReplies(size, ReplyCheck::storedSize(post.storedSize), m_runThreshold)) {
            ++m_newReplyCount;
            emit newReplies(post.address);
        }
    }
    ++m_checkIndex;
    checkNext();
}
