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

// As bodyMarkupScript(), with what the page's form fields and editing areas hold left out: textarea contents,
// input values, contenteditable elements' contents, frames' inline documents, and the whole body when the
// document itself is being edited. What remains is what the page shows as its own.
QString bodyMarkupOutsideFieldsScript();

// What the posted-message check reads after a load: bodyMarkupOutsideFieldsScript()'s {outer, inner} with
// href (the document's address) and canonical (the href of its canonical link as written, or null); null
// when the document has no body. It also starts the watch on the document's changes (see below), as of now.
QString postedMessageCheckScript();

// The watch on changes a page's own scripts make to it: content added or changed, and its address changed
// through the history interface. Start (again) marks everything so far as seen. pageChangesScript()
// evaluates to null when nothing has changed since it or the last start; else as postedMessageCheckScript()
// does, with the markup of the content added since (outside fields and editing areas) as outer, or of the
// whole body when the address has changed. In a document not watched yet it starts the watch. Stop ends it.
QString startWatchingChangesScript();
QString pageChangesScript();
QString stopWatchingChangesScript();

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

// Marks the document now shown, so that a later write can tell it is still the same one.
QString markDocumentScript(const QString &mark);

// Writes the field as setFormFieldValueScript() does, but only in the document marked with `mark`, and not
// under a rich-text editor filled through its own API, which writes the field itself from its markup. When the
// page does not render the field and an editing surface belongs to it (a content-editable element or the body
// of a same-origin frame in design mode, in the field's form or beside the field), it also puts editorText
// there in place of what it held, as a paste of text the editor's own handlers take, or, where none takes it,
// through the browser's editing command; the links of editorHtml are made later, by editorShowsScript(). An
// editor filled through its own API (CodeMirror 5 or 6, Jodit) is only marked, for ownEditorFillScript().
// Evaluates to "field" when only the field was written and the page shows it, "editor" when the editor was
// given the text too, "code" when a code editor awaits its text, "rich" when a rich-text editor awaits its
// markup, "hidden" when neither the field nor an editor the script can fill is shown (the field then keeps what
// it held); to false, changing nothing, when the document is not the marked one or there is no such field.
QString writeMessageScript(const QString &mark, qint16 formIndex, qint16 elementIndex, const QString &text,
    const QString &editorHtml, const QString &editorText);

// Evaluates to true when the editing surface the last writeMessageScript() of the marked document filled
// shows the lines of editorText once, in order, empty lines and runs of white space within a line aside, and
// each link of its editorHtml, in order, as a link. Where the lines show but links are missing, it makes them
// from their text and evaluates to false: a later call tells whether the editor kept them. Editors may take a
// paste a moment later, so ask until it does. When the editor has undone the links made three times, it
// evaluates to "markup", once: the editor may take them from pasteMarkupScript().
QString editorShowsScript(const QString &mark, const QString &editorText);

// Puts editorHtml into the surface the last writeMessageScript() of the marked document filled, in place of
// what it shows, as a paste of markup (editorText as its plain-text form) or through the browser's editing
// command where no handler takes it. Evaluates to true; to false when the document is not the marked one or the
// surface is gone.
QString pasteMarkupScript(const QString &mark, const QString &editorHtml, const QString &editorText);

// Gives the field, and the editing surface the last writeMessageScript() of the marked document filled, what
// they held before it: the earlier content pasted back over the whole surface, or the surface emptied as the
// Delete key would. Evaluates to true once asked; false when the document is not the marked one or the surface
// is gone.
QString putBackScript(const QString &mark);

// What that surface shows now: "before" what it showed before the write, "once" the lines of editorText once
// (see editorShowsScript()), "other" anything else, "gone" when the document is not the marked one or the
// surface is gone.
QString editorStateScript(const QString &mark, const QString &editorText);

// For the page's main world, where the editors' objects live: puts the message into the editor
// writeMessageScript() marked with `mark`, through the editor's own API: text (LF line breaks) into a code
// editor, and into the textarea it was made from; html into a rich-text editor. Evaluates to "code" when the
// code editor then holds exactly the text, "rich" when the rich-text editor took the markup, else false.
QString ownEditorFillScript(const QString &mark, const QString &text, const QString &html);

// Evaluates to the value of the first element matching the CSS selector; null when none matches, it has no
// value or the selector is not valid.
QString fieldValueScript(const QString &selector);

// A value as a JavaScript literal: its JSON encoding, with the two line separators JSON allows in strings
// but older script engines do not escaped.
QString jsonLiteral(const QString &text);

} // namespace PageScripts
