// The main window's Auto-Insert and the check that notices the page of the new post.
//
// The page is read and written through asynchronous scripts; each step continues in the callback of the one
// before, so the window stays responsive while a large page is searched.
#include "app/form1.h"

#include <QComboBox>
#include <QMessageBox>
#include <QPointer>
#include <QVariantMap>
#include <QWebEnginePage>
#include <QWebEngineScript>
#include <QWebEngineView>

#include "links/editorcontent.h"
#include "links/linkformats.h"
#include "web/formscan.h"
#include "web/messagewriter.h"
#include "web/pagescripts.h"
#include "web/postedmessage.h"

namespace {

// Our scripts run apart from the page's own, so a page cannot replace what they call.
constexpr quint32 s_scriptWorld = QWebEngineScript::ApplicationWorld;

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

void Form1::cmdMessage_Click()
{
    autoInsertMessage();
}

void Form1::autoInsertMessage()
{
    // The format selected at the moment of the command applies, whatever happens while the page is read.
    const QString text = convertedOutgoingText();
    // Rich-text editors: what an editor showing the field gets, and the mark that keeps the write on the
    // document that is searched now.
    const EditorContent editor = editorContent(text, m_context.linkFormats->findByName(cmbConvert->currentText()));
    QPointer<MessageWriter> writer = MessageWriter::forPage(WebBrowser1->page());
    const MessageWriter::Mark mark = writer->markDocument();
    const QString scratchPath = m_context.dataFolder.filePath(DataFiles::htmlTemp);
    QPointer<Form1> self(this);
    const auto insertAt = [self, text, scratchPath, writer, mark, editor](qint16 formIndex) {
        if (!self) {
            return;
        }
        const qint16 elementIndex = formIndex >= 0 ? FormScan::findMessageField(formIndex, scratchPath) : qint16(-1);
        if (formIndex < 0 || elementIndex < 0) {
            self->showAutoInsertError();
            if (self) {
                emit self->autoInsertFinished(false);
            }
            return;
        }
        // Armed whether or not the write succeeds.
        self->lastInsertedMessage = text;
        self->watchCountdown = 4;
        if (!writer) {
            return;
        }
        writer->write(mark, formIndex, elementIndex, text, editor, [self](bool ok) {
            if (!self) {
                return;
            }
            if (!ok) {
                self->showAutoInsertError();
            }
            if (self) {
                emit self->autoInsertFinished(ok);
            }
        });
    };
    // The inner markup is fetched only for the second pass, which few pages need: carrying a large page's
    // markup out of the browser is the costliest step, and this halves it.
    WebBrowser1->page()->runJavaScript(
        PageScripts::bodyOuterMarkupScript(), s_scriptWorld, [self, scratchPath, insertAt](const QVariant &outer) {
            if (!self) {
                return;
            }
            if (outer.typeId() != QMetaType::QString) {
                insertAt(-1);
                return;
            }
            const qint16 formIndex = FormScan::findMessageForm(outer.toString(), QString(), scratchPath);
            if (formIndex >= 0) {
                insertAt(formIndex);
                return;
            }
            self->WebBrowser1->page()->runJavaScript(
                PageScripts::bodyInnerMarkupScript(), s_scriptWorld, [scratchPath, insertAt](const QVariant &inner) {
                    const QString markup = inner.typeId() == QMetaType::QString ? inner.toString() : QString();
                    insertAt(FormScan::findMessageForm(QString(), markup, scratchPath));
                });
        });
}

void Form1::showAutoInsertError()
{
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Auto-Insert Error"),
                    QStringLiteral("Could not auto-insert your message.  Try pasting instead."), QMessageBox::Ok,
                    this);
    box.exec();
}

void Form1::checkPostedMessage()
{
    if (watchCountdown < 1 || watchCountdown > 4) {
        if (watchCountdown > 0) {
            --watchCountdown;
        }
        return;
    }
    QPointer<Form1> self(this);
    WebBrowser1->page()->runJavaScript(PageScripts::bodyMarkupScript(), s_scriptWorld, [self](const QVariant &result) {
        if (!self) {
            return;
        }
        // An earlier completion may have found the post while this page was being read.
        if (self->watchCountdown >= 1 && self->watchCountdown <= 4) {
            const BodyMarkup body = bodyMarkupFrom(result);
            const QString key = PostedMessage::postedMessageKey(self->lastInsertedMessage);
            if (body.present && PostedMessage::pageTextContainsKey(body.outer, body.inner, key)) {
                self->cmdAdd_Click();
                self->watchCountdown = 1;
            }
        }
        if (self->watchCountdown > 0) {
            --self->watchCountdown;
        }
    });
}
