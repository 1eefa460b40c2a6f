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

void AutoInsertController::insert(const QString &text, const EditorContent &editor)
{
    // Marked before the first read of the markup, so the write can tell the searched document from a later one.
    Request request{text, editor, MessageWriter::forPage(m_view->page()), {}};
    request.mark = request.writer->markDocument();
    QPointer<AutoInsertController> self(this);
    const QString scratchPath = m_scratchPath;
    m_scratchFailure = {};
    // The inner markup is fetched only for the second pass, which few pages need: carrying a large page's
    // markup out of the browser is the costliest step, and this halves it.
    m_view->page()->runJavaScript(
        PageScripts::bodyOuterMarkupScript(), s_scriptWorld, [self, scratchPath, request](const QVariant &outer) {
            if (!self) {
                return;
            }
            if (outer.typeId() != QMetaType::QString) {
                self->insertAt(-1, request);
                return;
            }
            const qint16 formIndex
                = FormScan::findMessageForm(outer.toString(), QString(), scratchPath, &self->m_scratchFailure);
            if (formIndex >= 0) {
                self->insertAt(formIndex, request);
                return;
            }
            self->m_view->page()->runJavaScript(
                PageScripts::bodyInnerMarkupScript(), s_scriptWorld, [self, scratchPath, request](const QVariant &inner) {
                    if (!self) {
                        return;
                    }
                    const QString markup = inner.typeId() == QMetaType::QString ? inner.toString() : QString();
                    self->insertAt(
                        FormScan::findMessageForm(QString(), markup, scratchPath, &self->m_scratchFailure), request);
                });
        });
}

void AutoInsertController::insertAt(qint16 formIndex, const Request &request)
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
    emit textInserted(request.text);
    if (!request.writer) {
        return;
    }
    QPointer<AutoInsertController> self(this);
    request.writer->write(
        request.mark, formIndex, elementIndex, request.text, request.editor, [self](MessageWriter::Result result) {
            if (!self) {
                return;
            }
            if (result == MessageWriter::Result::NotWritten) {
                self->showError();
            } else if (result == MessageWriter::Result::WrittenUnchecked) {
                self->showUnchecked();
            }
            if (self) {
                emit self->finished(result == MessageWriter::Result::Written);
            }
        });
}

void AutoInsertController::showUnchecked()
{
    QMessageBox box(QMessageBox::Warning, tr("Auto-Insert"),
        tr("Your message is in the page's editor, but the editor changed it, and its links may be missing. Look it "
           "over before you send it."),
        QMessageBox::Ok, m_dialogParent);
    box.exec();
}

void AutoInsertController::showError()
{
    QMessageBox box(QMessageBox::Warning, tr("Auto-Insert Error"),
        tr("Could not auto-insert your message.  Try pasting instead."), QMessageBox::Ok, m_dialogParent);
    if (m_scratchFailure.number != 0) {
        box.setInformativeText(m_scratchFailure.text());
    }
    box.exec();
}
