// Processor time of the text work a check does for a grown post, on the thread that does it: 1,000 thread pages of
// 20 to 60 KB, each grown by a reply since its text was kept, first as forums write them, then with typographic
// characters in UTF-8. Per 40 KB of page, the best of five rounds: reading (decoding the page and reading its
// text); reading and comparing with the kept text; and all a check does, with the kept text read from its file.
//   bench_replytexts
// Goal: reading and comparing take at most 0.5 ms of processor time per 40 KB page. A check waits about 100 ms
// on the network for each page.
#include "benchutil.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include "pagetext/addedtext.h"
#include "pagetext/kepttextstore.h"
#include "pagetext/pagetext.h"
#include "replies/replytexts.h"

#include <cstdio>
#include <ctime>
#include <functional>

namespace {

constexpr int s_pageCount = 1000;
constexpr double s_goalMs = 0.5;
const QByteArray s_contentType = "text/html; charset=utf-8";

QByteArray reply(int i)
{
    QByteArray text = "<div class=\"post\"><span class=\"author\">newcomer" + QByteArray::number(i)
        + "</span><span class=\"date\">Today, 10:" + QByteArray::number(i % 60) + "</span><p>";
    for (int k = 0; k < 8; ++k) {
        text += "Does the product work with an older model, and where can I buy one near me? ";
    }
    return text + "</p></div>\n";
}

double threadSeconds()
{
    timespec now {};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) / 1e9;
}

// Milliseconds of this thread's processor time per 40 KB of page that work takes for every page, best of five.
double msPer40KB(const QList<QByteArray> &pages, const std::function<void(qsizetype)> &work)
{
    qint64 bytes = 0;
    for (const QByteArray &page : pages) {
        bytes += page.size();
    }
    double best = 1e9;
    for (int round = 0; round < 5; ++round) {
        const double start = threadSeconds();
        for (qsizetype i = 0; i < pages.size(); ++i) {
            work(i);
        }
        best = qMin(best, (threadSeconds() - start) * 1e3 * 40960 / double(bytes));
    }
    return best;
}

struct Pages
{
    QList<QByteArray> before; // when their texts were kept
    QList<QByteArray> now; // grown by a reply
};

Pages threadPages(bool typographic)
{
    QRandomGenerator random(20261207);
    Pages pages;
    for (int i = 0; i < s_pageCount; ++i) {
        const QByteArray grownReply = reply(i);
        pages.before.append(threadPage(20 * 1024 + random.bounded(40 * 1024 - grownReply.size()), random, typographic));
        pages.now.append(pages.before.last() + grownReply);
    }
    return pages;
}

bool measure(const char *what, const Pages &pages, const QString &folder)
{
    QList<TextLines> kept;
    for (const QByteArray &page : pages.before) {
        kept.append(PageText::textLines(s_contentType, page));
    }
    int told = 0;
    const double reading
        = msPer40KB(pages.now, [&](qsizetype i) { PageText::textLines(s_contentType, pages.now.at(i)); });
    const double comparing = msPer40KB(pages.now, [&](qsizetype i) {
        told += AddedText::runs(kept.at(i), PageText::textLines(s_contentType, pages.now.at(i)), {}).isEmpty() ? 0 : 1;
    });
    KeptTextStore store(folder);
    PostResult grown;
    grown.outcome = PostOutcome::NewReplies;
    const auto address
        = [](qsizetype i) -> QString { return QStringLiteral("http://127.0.0.1/t") + QString::number(i); };
    for (qsizetype i = 0; i < pages.before.size(); ++i) {
        ReplyTexts::keepBaseline(store, address(i), s_contentType, pages.before.at(i));
    }
    const double checking = msPer40KB(pages.now,
        [&](qsizetype i) { ReplyTexts::afterCheck(store, address(i), grown, {}, s_contentType, pages.now.at(i)); });
    if (told != 5 * s_pageCount) {
        std::printf("%s: WRONG RESULT: %d of %d comparisons told what was added\n", what, told, 5 * s_pageCount);
        return false;
    }
    std::printf("%s: processor time per 40 KB page: reading %.3f ms, reading and comparing %.3f ms (goal %.1f ms: "
                "%s); all a check does, the kept text read from its file %.3f ms\n",
        what, reading, comparing, s_goalMs, comparing <= s_goalMs ? "met" : "MISSED", checking);
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const bool plainMet = measure("pages as forums write them", threadPages(false), dir.filePath(QStringLiteral("a")));
    const bool typographicMet
        = measure("typographic pages in UTF-8", threadPages(true), dir.filePath(QStringLiteral("b")));
    std::printf("peak memory: %.1f MiB\n", peakMemoryMiB());
    return plainMet && typographicMet ? 0 : 1;
}
