#include "replies/replyrun.h"

#include <algorithm>

#include "probe/pagesizeprobe.h"
#include "probe/postaddress.h"
#include "replies/replycheck.h"
#include "probe/pagemeasurement.h"
#include "replies/textkeeper.h"

namespace {

// A server sees a connection end when our close reaches it; the next one to it starts this long after, so that
// it never sees more than the limit open at once, whatever order its side learns of the two in.
constexpr qint64 s_slotGapMs = 2;

} // namespace

ReplyRun::ReplyRun(QObject *parent, quint16 httpPort)
    : QObject(parent)
    , m_httpPort(httpPort)
    , m_thresholdSource([] { return CheckSettings::defaultThreshold; })
{
    m_clock.start();
    m_slotTimer.setSingleShot(true);
    m_slotTimer.setTimerType(Qt::PreciseTimer);
    connect(&m_slotTimer, &QTimer::timeout, this, &ReplyRun::startMore);
}

ReplyRun::~ReplyRun()
{
    dropProbes();
}

void ReplyRun::setThresholdSource(std::function<qint32()> source)
{
    m_thresholdSource = source ? std::move(source) : [] { return CheckSettings::defaultThreshold; };
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
    for (int i = 0; i < m_posts.size(); ++i) {
        addJob({ i, m_posts.at(i).address, 0 }, false);
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
    m_slotTimer.stop();
    dropProbes();
    m_jobs.clear();
    m_chains.clear();
    m_hostOf.clear();
    m_hosts.clear();
    m_serverIndexes.clear();
    m_newReplyIndexes.clear();
    m_unreached.clear();
    m_done = 0;
    m_notChecked = 0;
    m_textBacklog = 0;
    m_running = false;
}

QStringList ReplyRun::unreached() const
{
    QStringList addresses;
    for (size_t i = 0; i < m_unreached.size(); ++i) {
        if (m_unreached[i]) {
            addresses.append(m_posts.at(int(i)).address);
        }
    }
    return addresses;
}

QStringList ReplyRun::newReplies() const
{
    QStringList addresses;
    for (const int index : m_newReplyIndexes) {
        addresses.append(m_posts.at(index).address);
    }
    return addresses;
}

int ReplyRun::addJob(const Job &job, bool first)
{
    const int id = int(m_jobs.size());
    m_jobs.push_back(job);
    const int server = serverIndex(PageSizeProbe::serverOf(job.page, m_httpPort));
    m_hostOf.push_back(server);
    // A page after a post's goes before the posts still waiting: the post it belongs to is under way.
    if (first) {
        m_hosts[server].waiting.push_front(id);
    } else {
        m_hosts[server].waiting.push_back(id);
    }
    return id;
}

int ReplyRun::serverIndex(const QString &server)
{
    auto at = m_serverIndexes.constFind(server);
    if (at == m_serverIndexes.constEnd()) {
        at = m_serverIndexes.insert(server, int(m_hosts.size()));
        m_hosts.emplace_back();
    }
    return at.value();
}

void ReplyRun::releaseSlot(Host &host)
{
    host.closing.push_back(m_clock.elapsed() + s_slotGapMs);
}

void ReplyRun::freeSlots()
{
    const qint64 now = m_clock.elapsed();
    qint64 next = -1;
    for (Host &host : m_hosts) {
        while (!host.closing.empty() && host.closing.front() <= now) {
            host.closing.pop_front();
            --host.active;
        }
        // Whether the host is full now or only once the pages started next take its free slots.
        const bool needed = !host.held.empty() || !host.waiting.empty();
        if (needed && !host.closing.empty() && (next < 0 || host.closing.front() < next)) {
            next = host.closing.front();
        }
    }
    if (next >= 0 && (!m_slotTimer.isActive() || m_slotTimer.remainingTime() > next - now)) {
        m_slotTimer.start(int(next - now));
    }
}

void ReplyRun::startMore()
{
    freeSlots();
    // Earliest post first, among the servers that still have a connection to spare; a post already under way
    // (held at a redirect) goes before a waiting one.
    const auto firstOf = [this](const Host &host) {
        return host.held.empty() ? m_jobs[host.waiting.front()].post
                                 : m_jobs[m_active.value(host.held.front())].post - int(m_posts.size());
    };
    while (m_active.size() - m_heldCount < m_maxConnections && m_textBacklog <= textBacklogBytes) {
        Host *next = nullptr;
        for (Host &host : m_hosts) {
            if (host.active < m_maxPerHost && (!host.held.empty() || !host.waiting.empty())
                && (next == nullptr || firstOf(host) < firstOf(*next))) {
                next = &host;
            }
        }
        if (next == nullptr) {
            return;
        }
        if (!next->held.empty()) {
            PageSizeProbe *probe = next->held.front();
            next->held.pop_front();
            --m_heldCount;
            ++next->active;
            probe->proceed();
            continue;
        }
        const int job = next->waiting.front();
        next->waiting.pop_front();
        startJob(job);
    }
}

void ReplyRun::startJob(int job)
{
    PageSizeProbe *probe = nullptr;
    if (m_idleProbes.empty()) {
        probe = new PageSizeProbe(this, m_httpPort);
        probe->setTimeouts(m_timeouts);
        probe->setExtraCaCertificates(m_extraCas);
        probe->setKeptBodyLimit(m_keptBodyLimit);
        probe->setHoldAtRedirect(true);
        probe->setIdentity(m_identity);
        connect(probe, &PageSizeProbe::finished, this,
            [this, probe](const PageMeasurement &measurement) { onProbeFinished(probe, measurement); });
        connect(probe, &PageSizeProbe::serverNext, this,
            [this, probe](const QString &server) { onServerNext(probe, server); });
    } else {
        probe = m_idleProbes.back();
        m_idleProbes.pop_back();
    }
    m_active.insert(probe, job);
    m_serverOf.insert(probe, m_hostOf[job]);
    ++m_hosts[m_hostOf[job]].active;
    probe->start(m_jobs[job].page);
}

void ReplyRun::onServerNext(PageSizeProbe *probe, const QString &server)
{
    if (!m_active.contains(probe)) {
        return;
    }
    const int from = m_serverOf.value(probe);
    const int to = serverIndex(server);
    if (to == from) {
        probe->proceed();
        return;
    }
    // The connection to the old server is closed: it counts against the new one once it is made.
    releaseSlot(m_hosts[from]);
    m_serverOf.insert(probe, to);
    m_hosts[to].held.push_back(probe);
    ++m_heldCount;
    startMore();
}

void ReplyRun::onProbeFinished(PageSizeProbe *probe, const PageMeasurement &measurement)
{
    const auto found = m_active.constFind(probe);
    if (found == m_active.constEnd()) {
        return;
    }
    const Job job = m_jobs[found.value()];
    m_active.erase(found);
    releaseSlot(m_hosts[m_serverOf.take(probe)]);
    // Taken again at once when pages are waiting: a probe may be restarted from its own signal.
    m_idleProbes.push_back(probe);
    if (job.depth == 0) {
        onPostPage(job.post, measurement);
    } else {
        onFollowingPage(job, measurement);
    }
}

void ReplyRun::onPostPage(int post, const PageMeasurement &measurement)
{
    const ReplyRunPost &checked = m_posts.at(post);
    const PostResult result = ReplyCheck::resultOf(measurement, checked.storedSize, m_thresholdSource());
    if (m_texts == nullptr || measurement.body.isEmpty()) {
        report(post, result);
        return;
    }
    const quint64 generation = m_generation;
    const qint64 bytes = measurement.body.size();
    m_textBacklog += bytes;
    m_texts->afterCheck(checked.address, result, checked.facts, measurement.contentType, measurement.body, this,
        [this, generation, post, bytes](const ReplyTexts::Judgement &judged) {
            if (generation != m_generation) {
                return;
            }
            m_textBacklog -= bytes;
            if (judged.follow.isEmpty()) {
                report(post, judged.result);
                return;
            }
            Chain &chain = m_chains[post];
            chain.post = judged.result;
            chain.visited = QStringList { m_posts.at(post).address };
            follow(post, judged.follow, 1);
        });
    startMore();
}

void ReplyRun::follow(int post, const QString &page, int depth)
{
    Chain &chain = m_chains[post];
    // A thread whose pages lead round in a circle ends where it comes back.
    if (depth > ReplyTexts::followedPages || chain.visited.contains(page)) {
        endChain(post);
        return;
    }
    chain.visited.append(page);
    addJob({ post, page, depth }, true);
    startMore();
}

void ReplyRun::onFollowingPage(const Job &job, const PageMeasurement &measurement)
{
    if (!measurement.isUsable()) {
        m_chains[job.post].failed = measurement;
        endChain(job.post);
        return;
    }
    const quint64 generation = m_generation;
    const qint64 bytes = measurement.body.size();
    m_textBacklog += bytes;
    m_texts->afterFollowing(m_posts.at(job.post).address, job.page, measurement.contentType, measurement.body, this,
        [this, generation, job, bytes](const ReplyTexts::Following &following) {
            if (generation != m_generation) {
                return;
            }
            m_textBacklog -= bytes;
            Chain &chain = m_chains[job.post];
            if (!following.newText.isEmpty()) {
                chain.newText += following.newText;
                chain.lastPageWithReplies = job.page;
            }
            if (following.nextPage.isEmpty()) {
                endChain(job.post);
            } else {
                follow(job.post, following.nextPage, job.depth + 1);
            }
        });
    startMore();
}

void ReplyRun::endChain(int post)
{
    const Chain chain = m_chains.take(post);
    PostResult result = chain.post;
    if (!chain.lastPageWithReplies.isEmpty()) {
        // What the post's own page added comes first, then the pages after it.
        result.outcome = PostOutcome::NewRepliesOnNextPage;
        result.newText += chain.newText;
        result.page = chain.lastPageWithReplies;
    } else if (chain.failed && result.outcome == PostOutcome::Unchanged) {
        // The thread goes on where the check cannot follow: that is no "No new replies".
        result.outcome = PostOutcome::NotChecked;
        result.failure = chain.failed->problem();
        result.status = chain.failed->status;
        result.detail = chain.failed->detail;
        result.page = chain.failed->address;
    }
    report(post, result);
}

void ReplyRun::report(int index, const PostResult &result)
{
    ++m_done;
    if (!result.wasChecked()) {
        ++m_notChecked;
        m_unreached.resize(m_posts.size());
        m_unreached[index] = true;
    }
    int position = -1;
    if (result.isNews()) {
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
    m_slotTimer.stop();
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
    m_serverOf.clear();
    m_heldCount = 0;
}
