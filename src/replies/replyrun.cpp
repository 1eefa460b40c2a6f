#include "replies/replyrun.h"

#include <algorithm>

#include "replies/pagesizeprobe.h"
#include "replies/postaddress.h"
#include "replies/replycheck.h"

ReplyRun::ReplyRun(QObject *parent, quint16 httpPort)
    : QObject(parent)
    , m_httpPort(httpPort)
    , m_thresholdSource([] { return ReplyCheck::defaultThreshold; })
{ }

ReplyRun::~ReplyRun()
{
    dropProbes();
}

void ReplyRun::setThresholdSource(std::function<qint32()> source)
{
    m_thresholdSource = source ? std::move(source) : [] { return ReplyCheck::defaultThreshold; };
}

void ReplyRun::setConnectionLimits(int total, int perHost)
{
    m_maxConnections = qMax(1, total);
    m_maxPerHost = qMax(1, perHost);
}

void ReplyRun::start(const QList<ReplyRunPost> &posts)
{
    abort();
    const quint64 generation = m_generation;
    m_posts = posts;
    QHash<QString, int> hostIndexes;
    for (int i = 0; i < m_posts.size(); ++i) {
        const QString key = PostAddress::split(m_posts.at(i).address).host.toLower();
        auto at = hostIndexes.constFind(key);
        if (at == hostIndexes.constEnd()) {
            at = hostIndexes.insert(key, int(m_hosts.size()));
            m_hosts.emplace_back();
        }
        m_hostOf.push_back(at.value());
        m_hosts[at.value()].waiting.push_back(i);
    }
    m_running = true;
    if (m_posts.isEmpty()) {
        finish();
        return;
    }
    emit progressText(QStringLiteral("checking post 1"));
    if (generation == m_generation) {
        startMore();
    }
}

void ReplyRun::abort()
{
    ++m_generation;
    dropProbes();
    m_hostOf.clear();
    m_hosts.clear();
    m_newReplyIndexes.clear();
    m_done = 0;
    m_notChecked = 0;
    m_running = false;
}

QStringList ReplyRun::newReplies() const
{
    QStringList addresses;
    for (const int index : m_newReplyIndexes) {
        addresses.append(m_posts.at(index).address);
    }
    return addresses;
}

void ReplyRun::startMore()
{
    // Earliest waiting post first, among the hosts that still have a connection to spare.
    while (m_active.size() < m_maxConnections) {
        Host *next = nullptr;
        for (Host &host : m_hosts) {
            if (host.active < m_maxPerHost && !host.waiting.empty()
                && (next == nullptr || host.waiting.front() < next->waiting.front())) {
                next = &host;
            }
        }
        if (next == nullptr) {
            return;
        }
        const int index = next->waiting.front();
        next->waiting.pop_front();
        startPost(index);
    }
}

void ReplyRun::startPost(int index)
{
    PageSizeProbe *probe = nullptr;
    if (m_idleProbes.empty()) {
        probe = new PageSizeProbe(this, m_httpPort);
        probe->setTimeouts(m_timeouts);
        probe->setExtraCaCertificates(m_extraCas);
        connect(probe, &PageSizeProbe::finished, this,
            [this, probe](const PageMeasurement &measurement) { onProbeFinished(probe, measurement); });
    } else {
        probe = m_idleProbes.back();
        m_idleProbes.pop_back();
    }
    m_active.insert(probe, index);
    ++m_hosts[m_hostOf[index]].active;
    probe->start(m_posts.at(index).address);
}

void ReplyRun::onProbeFinished(PageSizeProbe *probe, const PageMeasurement &measurement)
{
    const auto found = m_active.constFind(probe);
    if (found == m_active.constEnd()) {
        return;
    }
    const int index = found.value();
    m_active.erase(found);
    --m_hosts[m_hostOf[index]].active;
    // Taken again at once when posts are waiting: a probe may be restarted from its own signal.
    m_idleProbes.push_back(probe);

    const PostResult result = ReplyCheck::resultOf(measurement, m_posts.at(index).storedSize, m_thresholdSource());
    ++m_done;
    if (!result.wasChecked()) {
        ++m_notChecked;
    }
    int position = -1;
    if (result.outcome == PostOutcome::NewReplies) {
        const auto at = std::lower_bound(m_newReplyIndexes.begin(), m_newReplyIndexes.end(), index);
        position = int(at - m_newReplyIndexes.begin());
        m_newReplyIndexes.insert(at, index);
    }

    const quint64 generation = m_generation;
    emit postChecked(index, result);
    if (generation != m_generation) {
        return;
    }
    if (position >= 0) {
        emit newReplyFound(index, position);
        if (generation != m_generation) {
            return;
        }
    }
    if (m_done == m_posts.size()) {
        finish();
        return;
    }
    emit progressText(QStringLiteral("checking post ") + QString::number(m_done + 1));
    if (generation == m_generation) {
        startMore();
    }
}

void ReplyRun::finish()
{
    m_running = false;
    const int newReplyCount = int(m_newReplyIndexes.size());
    QString text
        = QStringLiteral("finished - ") + QString::number(newReplyCount) + QStringLiteral(" new replies found");
    if (m_notChecked > 0) {
        text += QStringLiteral(", ") + QString::number(m_notChecked) + QStringLiteral(" could not be checked");
    }
    const quint64 generation = m_generation;
    emit progressText(text);
    if (generation == m_generation) {
        emit finished(newReplyCount, m_notChecked);
    }
}

void ReplyRun::dropProbes()
{
    // Settings may change between runs: every run makes its probes afresh.
    for (PageSizeProbe *probe : m_idleProbes) {
        probe->disconnect(this);
        probe->deleteLater();
    }
    m_idleProbes.clear();
    for (auto it = m_active.cbegin(); it != m_active.cend(); ++it) {
        PageSizeProbe *probe = it.key();
        probe->disconnect(this);
        probe->abort();
        probe->deleteLater();
    }
    m_active.clear();
}
