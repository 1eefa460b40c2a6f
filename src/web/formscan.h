#pragma once

#include <QString>
#include <QStringList>

#include "base/filereplacement.h"

// Finds the posting form's message field by a text scan of the page's body markup: the markup is cut into
// lines at form and field tags, written to a scratch file and read back line by line. The field is then
// addressed by its form's index among the page's forms and its index among that form's input and textarea
// elements, the same elements setFormFieldValueScript() counts.
//
// Every search ignores letter case. Indexes are 16-bit; -1 means not found, and a page with more forms or
// fields than an index can hold gives -1 rather than a wrong index.
namespace FormScan {

// The first pass's split of the body's outer markup.
QString splitOuterMarkup(const QString &outerHtml);

// The second pass's split of the body's inner markup.
QString splitInnerMarkup(const QString &innerHtml);

// Writes the split markup, followed by CR LF, over the scratch file; *failure says why it could not.
bool writeScratch(const QString &scratchPath, const QString &splitMarkup, WriteFailure *failure = nullptr);

// The index of the first form, in document order, inside which the word "textarea" occurs; -1 if none.
qint16 scanForMessageForm(const QStringList &lines);

// The index of the message field among the input and textarea lines of form formIndex; -1 if none.
qint16 scanForMessageField(qint16 formIndex, const QStringList &lines);

// Splits the outer markup into the scratch file and scans it; only when that finds no form does it try the
// inner markup the same way. Leaves the last split in the scratch file for findMessageField().
// An empty body (no document, or a document that is not markup) or a scratch file that cannot be written
// or read gives -1; *failure then says why the scratch file could not be written.
qint16 findMessageForm(const QString &outerHtml, const QString &innerHtml, const QString &scratchPath,
                       WriteFailure *failure = nullptr);

// Reads the scratch file left by findMessageForm() and finds the message field in form formIndex.
// Precondition: formIndex is a result of findMessageForm() on the same page; a negative one gives -1.
qint16 findMessageField(qint16 formIndex, const QString &scratchPath);

} // namespace FormScan
