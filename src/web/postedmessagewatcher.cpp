#include "web/postedmessagewatcher.h"

#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QPointer>
#include <QTimer>
#include <QUrl>
#include <QVariantMap>
#include <QWebEnginePage>
#include <QWebEngineScript>
#include <QWebEngineView>

#include "probe/postaddress.h"
#include "web/pagescripts.h"
#include "web/postedmessage.h"

namespace {

// Adds the time until it goes out of scope to a total.
class SpentTime
{
public:
    explicit SpentTime(std::chrono::nanoseconds *total)
        : m_total(total)
    {
        m_timer.start();
    }
    ~SpentTime() { *m_total += std::chrono::nanoseconds(m_timer.nsecsElapsed()); }

private:
    std::chrono::nanoseconds *m_total;
    QElapsedTimer m_timer;
};

} // namespace

PostedMessageWatcher::PostedMessageWatcher(QWebEngineView *view, QObject *parent)
    : QObject(parent)
    , m_view(view)
    , m_changeTimer(new QTimer(this))
    , m_clock([] { return QDeadlineTimer::current().deadline(); })
{
    m_changeTimer->setInterval(changeInterval);
    connect(m_changeTimer, &QTimer::timeout, this, &PostedMessageWatcher::checkChanges);
}

void PostedMessageWatcher::arm()
{
    m_loadsLeft = 4;
    m_armedAt = m_clock();
    m_changeTimer->start();
    // A reply sent from the page now shown changes it without a load: watch it from here on.
    // Our scripts run apart from the page's own, so a page cannot replace what they call.
    m_view->page()->runJavaScript(PageScripts::startWatchingChangesScript(), QWebEngineScript::ApplicationWorld);
}

void PostedMessageWatcher::armFor(const QString &insertedMessage)
{
    m_insertedMessage = insertedMessage;
    arm();
}

bool PostedMessageWatcher::hasExpired() const
{
    return m_clock() - m_armedAt >= timeLimit.count();
}

void PostedMessageWatcher::disarm()
{
    m_loadsLeft = 0;
    m_changeTimer->stop();
    m_view->page()->runJavaScript(PageScripts::stopWatchingChangesScript(), QWebEngineScript::ApplicationWorld);
}

void PostedMessageWatcher::checkPage()
{
    SpentTime spent(&m_spent);
    if (isArmed() && hasExpired()) {
        disarm();
        return;
    }
    if (!isArmed()) {
        if (m_loadsLeft > 0) {
            --m_loadsLeft;
        }
        return;
    }
    QPointer<PostedMessageWatcher> self(this);
    // A refused post usually comes back in the form it was sent from: only the page's own text counts.
    m_view->page()->runJavaScript(PageScripts::postedMessageCheckScript(), QWebEngineScript::ApplicationWorld,
                                  [self](const QVariant &result) {
        if (!self) {
            return;
        }
        SpentTime spent(&self->m_spent);
        // An earlier completion may have found the post while this page was being read.
        if (self->isArmed() && self->judge(result)) {
            return;
        }
        if (self && self->m_loadsLeft > 0 && --self->m_loadsLeft == 0) {
            self->disarm();
        }
    });
}

void PostedMessageWatcher::checkChanges()
{
    SpentTime spent(&m_spent);
    if (!isArmed() || hasExpired()) {
        disarm();
        return;
    }
    // A large page may take longer to read than the interval: one reading at a time.
    if (m_readingChanges) {
        return;
    }
    m_readingChanges = true;
    QPointer<PostedMessageWatcher> self(this);
    m_view->page()->runJavaScript(PageScripts::pageChangesScript(), QWebEngineScript::ApplicationWorld,
                                  [self](const QVariant &result) {
        if (!self) {
            return;
        }
        SpentTime spent(&self->m_spent);
        self->m_readingChanges = false;
        if (self->isArmed() && !self->hasExpired()) {
            self->judge(result);
        }
    });
}

bool PostedMessageWatcher::judge(const QVariant &result)
{
    if (result.typeId() != QMetaType::QVariantMap) {
        return false;
    }
    const QVariantMap read = result.toMap();
    const QString key = PostedMessage::postedMessageKey(m_insertedMessage);
    if (!PostedMessage::pageTextContainsKey(read.value(QStringLiteral("outer")).toString(),
                                            read.value(QStringLiteral("inner")).toString(), key)) {
        return false;
    }
    // The address at the moment the page was read: a permalink pushed with the post is the post's.
    const QUrl pageUrl(read.value(QStringLiteral("href")).toString());
    const QUrl shown = pageUrl.isValid() && !pageUrl.isEmpty() ? pageUrl : m_view->url();
    // The browser's own pages (a load that failed, a blank page) are no one's post.
    if (shown.scheme() != QLatin1String("http") && shown.scheme() != QLatin1String("https")) {
        return false;
    }
    const QString canonical = PostAddress::canonicalAddress(shown, read.value(QStringLiteral("canonical")).toString());
    disarm();
    emit postedMessageFound(PostAddress::storedText(shown), canonical, key);
    return true;
}
