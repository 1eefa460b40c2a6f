#include "web/autoinsertcontroller.h"

#include <QMessageBox>
#include <QPointer>
#include <QWebEnginePage>
#include <QWebEngineScript>
#include <QWebEngineView>

#include "web/formscan.h"
#include "web/pagescripts.h"

namespace {

// Our scripts run apart from the page's own, so a page cannot replace what they call.
constexpr quint32 s_scriptWorld = QWebEngineScript::ApplicationWorld;

} // namespace

AutoInsertController::AutoInsertController(QWebEngineView *view, const QString &scratchPath, QWidget *dialogParent)
    : QObject(dialogParent)
    , m_view(view)
    , m_scratchPath(scratchPath)
    , m_dialogParent(dialogParent)
{ }

void AutoInsertController::insert(const QString &text)
{
    QPointer<AutoInsertController> self(this);
    const QString scratchPath = m_scratchPath;
    // The inner markup is fetched only for the second pass, which few pages need: carrying a large page's
    // markup out of the browser is the costliest step, and this halves it.
    m_view->page()->runJavaScript(
        PageScripts::bodyOuterMarkupScript(), s_scriptWorld, [self, scratchPath, text](const QVariant &outer) {
            if (!self) {
                return;
            }
            if (outer.typeId() != QMetaType::QString) {
                self->insertAt(-1, text);
                return;
            }
            const qint16 formIndex = FormScan::findMessageForm(outer.toString(), QString(), scratchPath);
            if (formIndex >= 0) {
                self->insertAt(formIndex, text);
                return;
            }
            self->m_view->page()->runJavaScript(
                PageScripts::bodyInnerMarkupScript(), s_scriptWorld, [self, scratchPath, text](const QVariant &inner) {
                    if (!self) {
                        return;
                    }
                    const QString markup = inner.typeId() == QMetaType::QString ? inner.toString() : QString();
                    self->insertAt(FormScan::findMessageForm(QString(), markup, scratchPath), text);
                });
        });
}

void AutoInsertController::insertAt(qint16 formIndex, const QString &text)
{
    const qint16 elementIndex = formIndex >= 0 ? FormScan::findMessageField(formIndex, m_scratchPath) : qint16(-1);
    if (formIndex < 0 || elementIndex < 0) {
        QPointer<AutoInsertController> self(this);
        showError();
        if (self) {
            emit finished(false);
        }
        return;
    }
    // Armed whether or not the write succeeds.
    emit textInserted(text);
    QPointer<AutoInsertController> self(this);
    m_view->page()->runJavaScript(PageScripts::setFormFieldValueScript(formIndex, elementIndex, text), s_scriptWorld,
                                  [self](const QVariant &written) {
        if (!self) {
            return;
        }
        const bool ok = written.toBool();
        if (!ok) {
            self->showError();
        }
        if (self) {
            emit self->finished(ok);
        }
    });
}

void AutoInsertController::showError()
{
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Auto-Insert Error"),
                    QStringLiteral("Could not auto-insert your message.  Try pasting instead."), QMessageBox::Ok,
                    m_dialogParent);
    box.exec();
}
