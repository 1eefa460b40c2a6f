#pragma once

#include <QObject>
#include <QString>

#include <functional>

class QWebEnginePage;
struct EditorContent;

// Writes the message into the form field the markup search found, and into the rich-text editor that shows
// that field where there is one, on the very document that was searched: a page that loads in between is
// never written to.
class MessageWriter : public QObject
{
    Q_OBJECT

public:
    // A searched document: a mark put into it, and the page's load count at that moment.
    struct Mark
    {
        QString token;
        quint64 loads = 0;
    };

    enum class Result {
        // The page shows the message as it will be sent.
        Written,
        // Nothing of the message is left on the page: it shows what it showed before.
        NotWritten,
        // The message is in the page's editor, but not as it was checked for, and could not be taken out.
        WrittenUnchecked,
    };

    // The writer of this page, made on first use; from then on it counts the page's loads.
    static MessageWriter *forPage(QWebEnginePage *page);

    // Precondition: called right before the page's markup is read for the search.
    Mark markDocument();

    // done(Written) once the text is in the field and, where an editor shows the field, in the editor too, and
    // shown on the page. done(NotWritten) when another page has started loading since `mark`, nothing was
    // written, the field is hidden with no editor that could be filled in its place, or the editor did not show
    // the text within a few seconds and was given back what it held. done(WrittenUnchecked) when it could not
    // be given that back. done is not called if the page goes away first.
    void write(const Mark &mark, qint16 formIndex, qint16 elementIndex, const QString &text,
        const EditorContent &content, std::function<void(Result)> done);

    // Whether a write has started and not ended: what the page asks meanwhile is about our own paste.
    bool isWriting() const { return m_writes > 0; }

private:
    explicit MessageWriter(QWebEnginePage *page);
    void fillOwnEditor(
        const Mark &mark, const QString &text, const EditorContent &content, std::function<void(Result)> done);
    void waitForEditor(const Mark &mark, const EditorContent &shown, int triesLeft, std::function<void(Result)> done);
    // The editor did not show the text as wanted: what it held goes back, and done tells what it shows then.
    void putBack(const Mark &mark, const EditorContent &shown, std::function<void(Result)> done);
    void waitForPutBack(const Mark &mark, const EditorContent &shown, int triesLeft, std::function<void(Result)> done);
    bool isCurrent(const Mark &mark) const { return mark.loads == m_loads; }

    QWebEnginePage *m_page;
    quint64 m_loads = 0;
    int m_writes = 0;
};
