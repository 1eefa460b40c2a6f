#include "web/messagewriter.h"

#include <QPointer>
#include <QTimer>
#include <QUuid>
#include <QWebEnginePage>
#include <QWebEngineScript>

#include "links/editorcontent.h"
#include "web/pagescripts.h"

namespace {

// Our scripts run apart from the page's own, so a page cannot replace what they call nor see our marks.
constexpr quint32 s_scriptWorld = QWebEngineScript::ApplicationWorld;

// Editors that take a paste a moment later (one sets a timer first) show it within a few checks.
constexpr int s_editorCheckMs = 50;
constexpr int s_editorChecks = 60;
// An editor takes what it held back as it took the message: within a few checks.
constexpr int s_putBackChecks = 20;

} // namespace

MessageWriter *MessageWriter::forPage(QWebEnginePage *page)
{
    if (auto *writer = page->findChild<MessageWriter *>(QString(), Qt::FindDirectChildrenOnly)) {
        return writer;
    }
    return new MessageWriter(page);
}

MessageWriter::MessageWriter(QWebEnginePage *page)
    : QObject(page)
    , m_page(page)
{
    connect(page, &QWebEnginePage::loadStarted, this, [this] { ++m_loads; });
}

MessageWriter::Mark MessageWriter::markDocument()
{
    const Mark mark { QUuid::createUuid().toString(QUuid::WithoutBraces), m_loads };
    m_page->runJavaScript(PageScripts::markDocumentScript(mark.token), s_scriptWorld);
    return mark;
}

void MessageWriter::write(const Mark &mark, qint16 formIndex, qint16 elementIndex, const QString &text,
    const EditorContent &content, std::function<void(Result)> done)
{
    if (!isCurrent(mark)) {
        done(Result::NotWritten);
        return;
    }
    QPointer<MessageWriter> self(this);
    ++m_writes;
    std::function<void(Result)> finish = [self, done](Result result) {
        if (self) {
            --self->m_writes;
        }
        done(result);
    };
    m_page->runJavaScript(
        PageScripts::writeMessageScript(mark.token, formIndex, elementIndex, text, content.html, content.text),
        s_scriptWorld, [self, mark, text, content, finish](const QVariant &result) {
            if (!self) {
                return;
            }
            const QString written = result.typeId() == QMetaType::QString ? result.toString() : QString();
            if (written == QLatin1String("editor")) {
                self->waitForEditor(mark, content, s_editorChecks, finish);
            } else if (written == QLatin1String("code") || written == QLatin1String("rich")) {
                self->fillOwnEditor(mark, text, content, finish);
            } else {
                finish(written == QLatin1String("field") ? Result::Written : Result::NotWritten);
            }
        });
}

void MessageWriter::fillOwnEditor(
    const Mark &mark, const QString &text, const EditorContent &content, std::function<void(Result)> done)
{
    // A code editor takes the message as it is written (Markdown, BBCode), not as rich text.
    QString plain = text;
    plain.replace(QLatin1String("\r\n"), QLatin1String("\n")).replace(u'\r', u'\n');
    QPointer<MessageWriter> self(this);
    m_page->runJavaScript(PageScripts::ownEditorFillScript(mark.token, plain, content.html),
        QWebEngineScript::MainWorld, [self, mark, plain, content, done](const QVariant &filled) {
            if (!self) {
                return;
            }
            const QString kind = filled.typeId() == QMetaType::QString ? filled.toString() : QString();
            if (!self->isCurrent(mark) || (kind != QLatin1String("code") && kind != QLatin1String("rich"))) {
                done(Result::NotWritten);
                return;
            }
            const bool code = kind == QLatin1String("code");
            self->waitForEditor(mark, code ? EditorContent { QString(), plain, false } : content, s_editorChecks, done);
        });
}

void MessageWriter::waitForEditor(
    const Mark &mark, const EditorContent &shown, int triesLeft, std::function<void(Result)> done)
{
    QPointer<MessageWriter> self(this);
    m_page->runJavaScript(PageScripts::editorShowsScript(mark.token, shown.text), s_scriptWorld,
        [self, mark, shown, triesLeft, done](const QVariant &result) {
            if (!self) {
                return;
            }
            if (result.typeId() == QMetaType::Bool && result.toBool()) {
                done(Result::Written);
                return;
            }
            if (!self->isCurrent(mark)) {
                // Another page: nothing of the message is on it.
                done(Result::NotWritten);
                return;
            }
            if (triesLeft <= 1) {
                self->putBack(mark, shown, done);
                return;
            }
            if (result.toString() == QLatin1String("markup")) {
                self->m_page->runJavaScript(
                    PageScripts::pasteMarkupScript(mark.token, shown.html, shown.text), s_scriptWorld);
            }
            QTimer::singleShot(s_editorCheckMs, self, [self, mark, shown, triesLeft, done] {
                if (self) {
                    self->waitForEditor(mark, shown, triesLeft - 1, done);
                }
            });
        });
}

void MessageWriter::putBack(const Mark &mark, const EditorContent &shown, std::function<void(Result)> done)
{
    QPointer<MessageWriter> self(this);
    m_page->runJavaScript(PageScripts::putBackScript(mark.token), s_scriptWorld, [self, mark, shown, done](const QVariant &) {
        if (self) {
            self->waitForPutBack(mark, shown, s_putBackChecks, done);
        }
    });
}

void MessageWriter::waitForPutBack(
    const Mark &mark, const EditorContent &shown, int triesLeft, std::function<void(Result)> done)
{
    QPointer<MessageWriter> self(this);
    m_page->runJavaScript(PageScripts::editorStateScript(mark.token, shown.text), s_scriptWorld,
        [self, mark, shown, triesLeft, done](const QVariant &result) {
            if (!self) {
                return;
            }
            const QString state = result.toString();
            if (state == QLatin1String("before") || state == QLatin1String("gone") || !self->isCurrent(mark)) {
                done(Result::NotWritten);
            } else if (triesLeft <= 1) {
                done(Result::WrittenUnchecked);
            } else {
                QTimer::singleShot(s_editorCheckMs, self, [self, mark, shown, triesLeft, done] {
                    if (self) {
                        self->waitForPutBack(mark, shown, triesLeft - 1, done);
                    }
                });
            }
        });
}
