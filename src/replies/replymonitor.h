#pragma once

#include <QList>
#include <QObject>
#include <QSslCertificate>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

#include "probe/postoutcome.h"

class OwnPosts;
#include "base/textfile.h"
#include "probe/probetimeouts.h"
#include "replies/replyrun.h"

class KeptTextStore;
class PageSizeProbe;
class RequestIdentity;
class TextKeeper;
struct PageMeasurement;

// Measures own post pages: the baseline size of one page ("Watch This Post"), and the reply check, which
// measures every post again, several at once, and reports those that grew by more than the threshold since
// their size was stored.
class ReplyMonitor : public QObject
{
    Q_OBJECT

public:
    using Post = ReplyRunPost;

    // port: the port of http addresses that name none (80; tests point it at their own server). threshold is
    // asked as each answer of a run is judged, so a threshold saved during a run applies from then on.
    ReplyMonitor(std::function<qint32()> threshold, quint16 port = 80, QObject *parent = nullptr);
    ~ReplyMonitor() override;

    // Asked at every measurement and run, so limits edited in the settings file apply from the next one on.
    void setTimeoutSource(std::function<ProbeTimeouts()> source) { m_timeoutSource = std::move(source); }
    // Certificate authorities trusted besides the system's (tests bring their own).
    void setExtraCaCertificates(const QList<QSslCertificate> &certificates);
    // Body bytes each measurement keeps (0, the default: none).
    void setKeptBodyLimit(qint64 bytes);
    // Who the requests say they are: the browser's User-Agent and cookies. Precondition: it outlives the monitor.
    void setIdentity(const RequestIdentity *identity);

    // Where the texts of the pages are kept: each measurement keeps its page's text, and a run tells what grown
    // pages added, on a thread of their own. None (the default): pages are only measured.
    void setKeptTexts(KeptTextStore *store, const LegacyCodePage &legacy = {});
    KeptTextStore *keptTexts() const;
    // The post is no longer watched: its page's kept text goes.
    void forgetPost(const QString &address);

    // Measures one page; baselineMeasured follows when it gives a usable size, probeFailed (once) otherwise.
    void measureBaseline(const QString &address, int index);
    // Starts a run over the posts; a run already going is dropped without reporting anything more.
    void startCheck(const QList<Post> &posts);
    // The same for every own post, as the list holds it.
    void startCheck(const OwnPosts &posts);
    bool isChecking() const;

    PageSizeProbe *baselineProbe() const { return m_baselineProbe; }
    ReplyRun *run() const { return m_run; }

signals:
    // The page of the post at index (when the list has not changed since) measured size bytes; pageLines: its
    // readable text, where its body was kept, and whether it has a password box.
    void baselineMeasured(
        int index, const QString &address, qint32 size, const QStringList &pageLines, bool asksForPassword);
    // A post of the run has its outcome; for a Baseline the caller stores result.newSize. index and address
    // are the post's in the list the run was started with.
    void postChecked(int index, const QString &address, const PostResult &result);
    // A post of the run grew by more than the threshold; position is its place among the new replies found
    // so far, which keep the order of the posts.
    void newReplyFound(int position, const QString &address);
    // A run has ended; newReplyAddresses in the order of the posts.
    void checkFinished(int newReplyCount, int notCheckedCount, const QStringList &newReplyAddresses);
    // Texts for status panels 1 (run progress), 2 (connection states) and 3 (download progress).
    void statusText(int panel, const QString &text);
    // The page to watch could not be measured; the text says why.
    void probeFailed(const QString &text);

private:
    void baselineFinished(const PageMeasurement &measurement);
    // Reads the thread's pages after the one a watch measured, from page on, keeping each; ends with the list of
    // them kept with the page, and the watch told.
    void followBaseline(const QString &page);
    void followingFinished(const PageMeasurement &measurement);
    ProbeTimeouts timeouts() const;

    std::function<ProbeTimeouts()> m_timeoutSource;
    std::unique_ptr<TextKeeper> m_texts;
    PageSizeProbe *m_baselineProbe;
    PageSizeProbe *m_followProbe;
    quint64 m_baselineGeneration = 0; // counts watches, so that a later one ends what an earlier left going
    QStringList m_following;
    std::function<void()> m_followingDone;
    ReplyRun *m_run;
    int m_baselineIndex = -1;
    QString m_baselineAddress;
    QList<Post> m_posts;
};
