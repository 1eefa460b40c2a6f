#include "web/keytyper.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QWebEnginePage>
#include <QWebEngineScript>
#include <QWebEngineView>

namespace {

constexpr int s_focusCheckMs = 10;
constexpr int s_focusDeadlineMs = 2000;

} // namespace

KeyTyper::KeyTyper(QWebEngineView *view, QObject *parent)
    : QObject(parent)
    , m_view(view)
{
    m_focusDeadline.setSingleShot(true);
    m_focusDeadline.setInterval(s_focusDeadlineMs);
    connect(&m_focusDeadline, &QTimer::timeout, this, &KeyTyper::startTyping);
}

void KeyTyper::type(const QString &text)
{
    const QList<KeyStroke> strokes = keyStrokesForText(text);
    if (strokes.isEmpty() || !m_view) {
        return;
    }
    m_strokes.append(strokes);
    if (m_state == State::Idle) {
        focusView();
    }
}

QWidget *KeyTyper::inputWidget() const
{
    return m_view ? m_view->focusProxy() : nullptr;
}

void KeyTyper::focusView()
{
    m_state = State::Focusing;
    m_focusChecks = 0;
    m_view->window()->activateWindow();
    m_view->setFocus(Qt::OtherFocusReason);
    m_focusDeadline.start();
    QTimer::singleShot(0, this, &KeyTyper::waitForFocus);
}

void KeyTyper::waitForFocus()
{
    if (m_state != State::Focusing) {
        return;
    }
    QWidget *input = inputWidget();
    if (!input || !m_view) {
        stop();
        return;
    }
    if (!input->hasFocus()) {
        m_view->setFocus(Qt::OtherFocusReason);
        QTimer::singleShot(s_focusCheckMs, this, &KeyTyper::waitForFocus);
        return;
    }
    waitForPageFocus();
}

void KeyTyper::waitForPageFocus()
{
    if (m_state != State::Focusing) {
        return;
    }
    if (!m_view) {
        stop();
        return;
    }
    // Focus and keys reach the page along different paths, and a new page drops key events until it counts
    // as drawn: at once when it shows much text, otherwise only after a while. Keys go out once the page has
    // the focus, has been painted and has been there a second (a user never types sooner), or when the
    // deadline passes. The script runs in a world of its own, out of the page's reach.
    static const QString s_readyCheck = QStringLiteral(
        "(function(){"
        " return document.hasFocus() && performance.now() > 1000"
        "  && performance.getEntriesByType('paint').length > 0;"
        "})()");
    QPointer<KeyTyper> self(this);
    m_view->page()->runJavaScript(s_readyCheck, QWebEngineScript::ApplicationWorld, [self](const QVariant &ready) {
        if (!self || self->m_state != State::Focusing) {
            return;
        }
        if (ready.toBool()) {
            self->startTyping();
        } else {
            QTimer::singleShot(s_focusCheckMs, self, &KeyTyper::waitForPageFocus);
        }
    });
}

void KeyTyper::startTyping()
{
    if (m_state != State::Focusing) {
        return;
    }
    m_focusDeadline.stop();
    m_state = State::Typing;
    typeSlice();
}

void KeyTyper::typeSlice()
{
    QWidget *input = inputWidget();
    if (!input) {
        stop();
        return;
    }
    const int count = int(qMin<qsizetype>(sliceSize, m_strokes.size()));
    for (int i = 0; i < count; ++i) {
        const KeyStroke &stroke = m_strokes.at(i);
        QKeyEvent press(QEvent::KeyPress, stroke.key, Qt::NoModifier, stroke.text);
        QCoreApplication::sendEvent(input, &press);
        QKeyEvent release(QEvent::KeyRelease, stroke.key, Qt::NoModifier, stroke.text);
        QCoreApplication::sendEvent(input, &release);
    }
    m_strokes.remove(0, count);
    if (m_strokes.isEmpty()) {
        stop();
        return;
    }
    QTimer::singleShot(0, this, &KeyTyper::typeSlice);
}

void KeyTyper::stop()
{
    m_focusDeadline.stop();
    m_strokes.clear();
    m_state = State::Idle;
    emit finished();
}
