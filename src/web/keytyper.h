#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QTimer>

#include "web/keystrokes.h"

class QWebEngineView;
class QWidget;

// Types text into the focused field of the page a view shows, as key presses the page's own key handlers
// see. It gives the view the keyboard focus first and waits, without blocking, until the page has taken the
// focus in and can take keys; long texts go out a slice at a time so the window stays responsive. Texts asked for while one is
// still being typed follow it in order.
class KeyTyper : public QObject
{
    Q_OBJECT

public:
    explicit KeyTyper(QWebEngineView *view, QObject *parent = nullptr);

    void type(const QString &text);
    bool isTyping() const { return m_state != State::Idle; }

    // Presses sent per turn of the event loop.
    static constexpr int sliceSize = 64;

signals:
    // Everything asked for has been sent.
    void finished();

private:
    enum class State { Idle, Focusing, Typing };

    void focusView();
    void waitForFocus();
    void waitForPageFocus();
    void startTyping();
    void typeSlice();
    void stop();
    QWidget *inputWidget() const;

    QPointer<QWebEngineView> m_view;
    QList<KeyStroke> m_strokes;
    State m_state = State::Idle;
    int m_focusChecks = 0;
    // Types anyway when the focus never shows (a window that is not active, a page that does not answer).
    QTimer m_focusDeadline;
};
