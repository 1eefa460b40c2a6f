#pragma once

#include <QString>

// Scripts run in the browser's page to read its markup and write its form fields. Every value goes in as a
// JSON literal, never as script text, so nothing a message or a page holds can change what the script does.
//
// They are written to work in any world, but are best run in QWebEngineScript::ApplicationWorld, where the
// page's own scripts cannot replace the built-ins they call; the page still sees the field's new value and
// the events.
namespace PageScripts {

// Evaluates to {outer, inner}: document.body's outerHTML and innerHTML; null when the document has no body.
QString bodyMarkupScript();

// Evaluate to document.body's outerHTML, or its innerHTML; null when the document has no body. Each is half
// of what bodyMarkupScript() carries back from the page, for a reader that needs the second only sometimes.
QString bodyOuterMarkupScript();
QString bodyInnerMarkupScript();

// Writes text into the value of a field of document.forms[formIndex]. The field is the elementIndex-th of
// the form's input and textarea elements in document order, the same elements the markup scan counts, so
// that selection lists and buttons do not shift the index. Fires bubbling "input" and "change" events so the
// page's own scripts notice the new text. Evaluates to true; to false, changing nothing, when there is no
// such form or field or the field does not take the text (a file chooser, for instance).
QString setFormFieldValueScript(qint16 formIndex, qint16 elementIndex, const QString &text);

// Evaluates to the value of the first element matching the CSS selector; null when none matches, it has no
// value or the selector is not valid.
QString fieldValueScript(const QString &selector);

// A value as a JavaScript literal: its JSON encoding, with the two line separators JSON allows in strings
// but older script engines do not escaped.
QString jsonLiteral(const QString &text);

} // namespace PageScripts
