#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

#include "base/filereplacement.h"
#include "links/editorcontent.h"
#include "web/messagewriter.h"

class QWebEngineView;
class QWidget;

// Auto-Insert: finds the message field of the posting form in the page and writes the message into it.
//
// The page is read and written through asynchronous scripts; each step continues in the callback of the one
// before, so the window stays responsive while a large page is searched.
class AutoInsertController : public QObject
{
    Q_OBJECT

public:
    // scratchPath: the data folder's "htmltemp.txt", which the form scan writes; messages go over dialogParent.
    AutoInsertController(QWebEngineView *view, const QString &scratchPath, QWidget *dialogParent);

    // Inserts the text, converted already, into the page shown now; a rich-text editor that shows the field
    // gets editor instead. Only the document shown now is ever written: a page loaded meanwhile ends in the
    // error box.
    void insert(const QString &text, const EditorContent &editor);

signals:
    // The text has been handed to the page's message field (whether or not the write succeeded).
    void textInserted(const QString &text);
    // ok: the page shows the text as it will be sent. Otherwise the user has been told why not.
    void finished(bool ok);

private:
    struct Request
    {
        QString text;
        EditorContent editor;
        QPointer<MessageWriter> writer;
        MessageWriter::Mark mark;
    };
    void insertAt(qint16 formIndex, const Request &request);
    void showError();
    // The message stays in the editor, not as it was checked for.
    void showUnchecked();

    QWebEngineView *m_view;
    QString m_scratchPath;
    // Why the last search could not write its scratch file; told with the error.
    WriteFailure m_scratchFailure;
    QWidget *m_dialogParent;
};
