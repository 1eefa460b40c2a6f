#include "web/postedmessagewatcher.h"

#include <QPointer>
#include <QVariantMap>
#include <QWebEnginePage>
#include <QWebEngineScript>
#include <QWebEngineView>

#include "web/pagescripts.h"
#include "web/postedmessage.h"

namespace {

struct BodyMarkup
{
    bool present = false;
    QString outer;
    QString inner;
};

BodyMarkup bodyMarkupFrom(const QVariant &result)
{
    if (result.typeId() != QMetaType::QVariantMap) {
        return {};
    }
    const QVariantMap map = result.toMap();
    return {true, map.value(QStringLiteral("outer")).toString(), map.value(QStringLiteral("inner")).toString()};
}

} // namespace

PostedMessageWatcher::PostedMessageWatcher(QWebEngineView *view, QObject *parent)
    : QObject(parent)
    , m_view(view)
{ }

void PostedMessageWatcher::armFor(const QString &insertedMessage)
{
    lastInsertedMessage = insertedMessage;
    arm();
}

void PostedMessageWatcher::checkPage()
{
    if (countdown < 1 || countdown > 4) {
        if (countdown > 0) {
            --countdown;
        }
        return;
    }
    QPointer<PostedMessageWatcher> self(this);
    // Our scripts run apart from the page's own, so a page cannot replace what they call.
    // A refused post usually comes back in the form it was sent from: only the page's own text counts.
    m_view->page()->runJavaScript(PageScripts::bodyMarkupOutsideFieldsScript(), QWebEngineScript::ApplicationWorld,
                                  [self](const QVariant &result) {
        if (!self) {
            return;
        }
        // An earlier completion may have found the post while this page was being read.
        if (self->countdown >= 1 && self->countdown <= 4) {
            const BodyMarkup body = bodyMarkupFrom(result);
            const QString key = PostedMessage::postedMessageKey(self->lastInsertedMessage);
            if (body.present && PostedMessage::pageTextContainsKey(body.outer, body.inner, key)) {
                emit self->postedMessageFound();
                if (!self) {
                    return;
                }
                self->countdown = 1;
            }
        }
        if (self->countdown > 0) {
            --self->countdown;
        }
    });
}
