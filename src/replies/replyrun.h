#pragma once

#include <QHash>
#include <QList>
#include <QObject>
#include <QSslCertificate>
#include <QString>
#include <QStringList>
#include <QElapsedTimer>
#include <QTimer>

#include <deque>
#include <functional>
#include <optional>
#include <vector>

#include "probe/postoutcome.h"
#include "probe/probetimeouts.h"
#include "replies/replytexts.h"

class PageSizeProbe;
class RequestIdentity;
class TextKeeper;
#include "probe/pagemeasurement.h"

// One own post as a reply check sees it.
struct ReplyRunPost
{
    QString address;
    // The stored size entry as kept in the sizes list (a number, or the marker of a post not measured yet).
    QString storedSize;
    // What the check knows of the post beside its page.
    ReplyTexts::PostFacts facts = {};
};

// "Check for replies" without a window: measures every post again, several at once, gives each post its
// outcome and lists those with new replies in the order of the posts, whatever order the answers come in. With
// the page texts kept, a post whose thread went on past its page has the pages after it read too.
class ReplyRun : public QObject
{
    Q_OBJECT

public:
    // No forum sees more connections than a browser would open.
    static constexpr int MaxConnections = 32;
    static constexpr int MaxConnectionsPerHost = 4;

    // httpPort: the port of http addresses that name none (80; tests point it at their own server).
    explicit ReplyRun(QObject *parent = nullptr, quint16 httpPort = 80);
    ~ReplyRun() override;

    void setTimeouts(const ProbeTimeouts &timeouts) { m_timeouts = timeouts; }
    void setExtraCaCertificates(const QList<QSslCertificate> &certificates) { m_extraCas = certificates; }
    // Who the requests say they are; see PageSizeProbe::setIdentity.
    void setIdentity(const RequestIdentity *identity) { m_identity = identity; }
    // Asked for the threshold as each post's answer is judged, so a threshold saved during a run applies from
    // the next answer on (the window reads the "size" setting here). Without one, the default threshold.
    void setThresholdSource(std::function<qint32()> source);
    // Precondition: both at least 1. perHost counts connections to one server (host and port), wherever
    // the posts' addresses redirect.
    void setConnectionLimits(int total, int perHost);
    // Body bytes each measurement keeps (0, the default: none).
    void setKeptBodyLimit(qint64 bytes) { m_keptBodyLimit = bytes; }
    // Keeps the text of each measured page, and compares with it to tell what a grown page added
    // (PostResult::newText). None: only sizes. The probes must keep the body for it (setKeptBodyLimit). A post
    // is reported once its text is done; its connection is free for the next post before that.
    void setTextKeeper(TextKeeper *keeper) { m_texts = keeper; }

    // Bytes of pages waiting for their text to be read past which no new connection is opened.
    static constexpr qint64 textBacklogBytes = 8 * 1024 * 1024;

    // Abandons a run in flight (nothing more is reported for it) and checks the posts. With no posts the run
    // finishes before this returns.
    void start(const QList<ReplyRunPost> &posts);
    void abort();

    bool isRunning() const { return m_running; }
    int postCount() const { return int(m_posts.size()); }
    int doneCount() const { return m_done; }
    int notCheckedCount() const { return m_notChecked; }
    // Addresses of the posts found with new replies so far, in the order of the posts.
    QStringList newReplies() const;
    // Addresses of the posts that could not be measured so far, in the order of the posts.
    QStringList unreached() const;

signals:
    // Status panel 1: "checking post N" (N - 1 posts are done), then "finished - N new replies found", with
    // ", M could not be checked" when M posts could not be measured.
    void progressText(const QString &text);
    // Every post is reported once, in the order answers come in. For a Baseline the caller stores newSize.
    void postChecked(int index, const PostResult &result);
    // The post at index has new replies; it is at position in newReplies().
    void newReplyFound(int index, int position);
    void finished(int newReplyCount, int notCheckedCount);

private:
    // One page to read: a post's own (depth 0) or one of the thread's after it.
    struct Job
    {
        int post = 0;
        QString page;
        int depth = 0;
    };
    // What the reading of a thread's pages after a post's found so far.
    struct Chain
    {
        PostResult post; // as the post's own page tells
        QStringList newText; // what the pages after it say
        QString lastPageWithReplies;
        QStringList visited;
        // The page after it that could not be read, when one could not.
        std::optional<PageMeasurement> failed;
    };

    void startMore();
    void startJob(int job);
    int addJob(const Job &job, bool first);
    void onProbeFinished(PageSizeProbe *probe, const PageMeasurement &measurement);
    void onPostPage(int post, const PageMeasurement &measurement);
    void onFollowingPage(const Job &job, const PageMeasurement &measurement);
    void follow(int post, const QString &page, int depth);
    void endChain(int post);
    void report(int index, const PostResult &result);
    void onServerNext(PageSizeProbe *probe, const QString &server);
    int serverIndex(const QString &server);
    void finish();
    void dropProbes();

    quint16 m_httpPort;
    ProbeTimeouts m_timeouts;
    QList<QSslCertificate> m_extraCas;
    const RequestIdentity *m_identity = nullptr;
    std::function<qint32()> m_thresholdSource;
    int m_maxConnections = MaxConnections;
    int m_maxPerHost = MaxConnectionsPerHost;
    qint64 m_keptBodyLimit = 0;
    TextKeeper *m_texts = nullptr;
    qint64 m_textBacklog = 0; // bytes

    QList<ReplyRunPost> m_posts;
    std::vector<Job> m_jobs;
    // Per job, the server its page's address names.
    std::vector<int> m_hostOf;
    // Per post whose thread's pages after it are being read.
    QHash<int, Chain> m_chains;
    struct Host
    {
        std::deque<int> waiting;
        // Probes redirected here, waiting for a connection to spare.
        std::deque<PageSizeProbe *> held;
        // Connections open, and closed ones whose slot is not free yet.
        int active = 0;
        // When the slots of connections closed lately become free, earliest first.
        std::deque<qint64> closing;
    };
    // A connection to the host is closed: its slot is free a moment later (see s_slotGapMs).
    void releaseSlot(Host &host);
    // Frees the slots whose moment has come; arms the timer for the next one a waiting page needs.
    void freeSlots();
    std::vector<Host> m_hosts;
    QElapsedTimer m_clock;
    QTimer m_slotTimer;
    QHash<QString, int> m_serverIndexes;
    // Probe to job, and probe to the server it counts against now.
    QHash<PageSizeProbe *, int> m_active;
    QHash<PageSizeProbe *, int> m_serverOf;
    int m_heldCount = 0;
    // Probes that have finished, kept for the next posts.
    std::vector<PageSizeProbe *> m_idleProbes;
    std::vector<int> m_newReplyIndexes; // ascending
    std::vector<bool> m_unreached; // per post
    int m_done = 0;
    int m_notChecked = 0;
    bool m_running = false;
    // Counts starts, so that a handler that restarts the run ends the reporting of the old one.
    quint64 m_generation = 0;
};
