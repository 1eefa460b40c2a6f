#include "web/pagescripts.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonValue>

namespace PageScripts {

namespace {

QString wrapped(const QString &body)
{
    return QLatin1String("(function(){") + body + QLatin1String("})()");
}

} // namespace

QString jsonLiteral(const QString &text)
{
    // QJsonDocument only serialises arrays and objects: encode a one-element array and take its element.
    const QByteArray json = QJsonDocument(QJsonArray { QJsonValue(text) }).toJson(QJsonDocument::Compact);
    QString literal = QString::fromUtf8(json.sliced(1, json.size() - 2));
    // Outside string literals JSON holds no such characters, so this touches only the text's own.
    literal.replace(QChar(0x2028), QLatin1String("\\u2028"));
    literal.replace(QChar(0x2029), QLatin1String("\\u2029"));
    return literal;
}

QString bodyMarkupScript()
{
    return wrapped(QStringLiteral("var body = document.body;"
                                  "if (!body) { return null; }"
                                  "return { outer: body.outerHTML, inner: body.innerHTML };"));
}

namespace {

// The larger parts of the scripts, kept as JavaScript files among the resources (src/web/scripts). Each is read
// once.
QString scriptPart(const char *name)
{
    QFile file(QStringLiteral(":/pagescripts/") + QLatin1String(name) + QStringLiteral(".js"));
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

#define POSTAVO_SCRIPT_PART(function, file)                                                                            \
    const QString &function()                                                                                          \
    {                                                                                                                  \
        static const QString part = scriptPart(file);                                                                  \
        return part;                                                                                                   \
    }
POSTAVO_SCRIPT_PART(ownMarkupPart, "ownmarkup")
POSTAVO_SCRIPT_PART(watchPart, "watch")
POSTAVO_SCRIPT_PART(findSurfacePart, "findsurface")
POSTAVO_SCRIPT_PART(fillSurfacePart, "fillsurface")
POSTAVO_SCRIPT_PART(putBackPart, "putback")
POSTAVO_SCRIPT_PART(linksOfPart, "linksof")
POSTAVO_SCRIPT_PART(placeLinksPart, "placelinks")
#undef POSTAVO_SCRIPT_PART

} // namespace

QString bodyMarkupOutsideFieldsScript()
{
    return wrapped(ownMarkupPart() + QLatin1String("return ownMarkup();"));
}

QString postedMessageCheckScript()
{
    return wrapped(ownMarkupPart() + watchPart()
        + QLatin1String("var watch = startWatch(), start = performance.now();"
                        "var result = withAddress(ownMarkup());"
                        "watch.spent += performance.now() - start;"
                        "return result;"));
}

QString startWatchingChangesScript()
{
    return wrapped(ownMarkupPart() + watchPart() + QLatin1String("startWatch(); return true;"));
}

QString pageChangesScript()
{
    return wrapped(ownMarkupPart() + watchPart()
        + QLatin1String("var watch = window.__postavoWatch;"
                        "if (!watch) { startWatch(); return null; }"
                        "var start = performance.now();"
                        "var moved = location.href !== watch.href, whole = watch.whole, added = watch.added;"
                        "startWatch();"
                        "var result = null;"
                        "if (moved || whole) {"
                        "  result = ownMarkup();"
                        "} else if (added.length) {"
                        "  result = addedMarkup(added);"
                        "}"
                        "result = withAddress(result);"
                        "watch.spent += performance.now() - start;"
                        "return result;"));
}

QString stopWatchingChangesScript()
{
    return wrapped(QStringLiteral("var watch = window.__postavoWatch;"
                                  "if (watch) { watch.observer.disconnect(); delete window.__postavoWatch; }"
                                  "return true;"));
}

QString bodyOuterMarkupScript()
{
    return wrapped(QStringLiteral("var body = document.body;"
                                  "return body ? body.outerHTML : null;"));
}

QString bodyInnerMarkupScript()
{
    return wrapped(QStringLiteral("var body = document.body;"
                                  "return body ? body.innerHTML : null;"));
}

namespace {

// Finds the field, leaving it in `field`, or returns false from the script. The built-ins are taken from the
// prototypes: a form's fields and the document's forms are reachable as named properties, so a field called
// "querySelectorAll" or a form called "forms" would shadow them.
QString findField(qint16 formIndex, qint16 elementIndex)
{
    return QLatin1String("var formIndex = ") + QString::number(formIndex) + QLatin1String(", elementIndex = ")
        + QString::number(elementIndex)
        + QLatin1String(";"
                        "try {"
                        "  var forms = Object.getOwnPropertyDescriptor(Document.prototype, 'forms')"
                        "      .get.call(document);"
                        "  if (formIndex < 0 || formIndex >= forms.length) { return false; }"
                        "  var form = forms[formIndex];"
                        "  var fields = Element.prototype.querySelectorAll.call(form, 'input,textarea');"
                        "  if (elementIndex < 0 || elementIndex >= fields.length) { return false; }"
                        "  var field = fields[elementIndex];"
                        "  if (!('value' in field)) { return false; }"
                        "} catch (e) {"
                        "  return false;"
                        "}");
}

// Writes text into `field`, or returns false from the script.
QString writeField(const QString &text)
{
    return QLatin1String("var text = ") + jsonLiteral(text)
        + QLatin1String(";"
                        "try {"
                        "  field.value = text;"
                        "} catch (e) {"
                        "  return false;"
                        "}"
                        // The text is in: a failing event no longer makes the write a failure.
                        "try {"
                        "  field.dispatchEvent(new Event('input', { bubbles: true }));"
                        "  field.dispatchEvent(new Event('change', { bubbles: true }));"
                        "} catch (e) {"
                        "}");
}

// Our marks live in the script world's own globals: a page cannot see them, and a new document starts
// without them.
const QLatin1String s_marks("window.__postavoMarks");
const QLatin1String s_surface("window.__postavoSurface");
const QLatin1String s_links("window.__postavoLinks");
// What the field and the editing surface held before the last write: {field, value, html, text}.
const QLatin1String s_before("window.__postavoBefore");

} // namespace

QString setFormFieldValueScript(qint16 formIndex, qint16 elementIndex, const QString &text)
{
    return wrapped(findField(formIndex, elementIndex) + writeField(text) + QLatin1String("return true;"));
}

QString markDocumentScript(const QString &mark)
{
    return wrapped(QLatin1String("var marks = ") + s_marks + QLatin1String(" = ") + s_marks
        + QLatin1String(" || {};"
                        "marks[")
        + jsonLiteral(mark) + QLatin1String("] = true;"));
}

QString writeMessageScript(const QString &mark, qint16 formIndex, qint16 elementIndex, const QString &text,
    const QString &editorHtml, const QString &editorText)
{
    // The surface is looked for before the field changes: on a large page, asking for the field's box right
    // after a change would lay the page out again.
    return wrapped(QLatin1String("var marks = ") + s_marks
        + QLatin1String(";"
                        "if (!marks || marks[")
        + jsonLiteral(mark) + QLatin1String("] !== true) { return false; }") + findSurfacePart() + fillSurfacePart()
        + putBackPart() + findField(formIndex, elementIndex)
        + QLatin1String("var surface = null, visible = true;"
                        "try { visible = rendered(field); surface = visible ? null : surfaceFor(field); } catch (e) {}")
        + QLatin1String("var own = !surface ? null : surface.matches('.CodeMirror,.cm-editor') ? 'code'"
                        "  : surface.classList.contains('jodit-wysiwyg') ? 'rich' : null;"
                        // Such an editor writes the field itself, from its own markup; told of a change to the
                        // field, it would take the text written there as markup.
                        "var before = { field: field, value: field.value, html: null, text: '' };"
                        "if (own !== 'rich') {")
        + writeField(text) + QLatin1String("}") + s_surface
        + QLatin1String(" = surface; window.__postavoSeen = null; window.__postavoLinkTries = 0;"
                        "window.__postavoMarkupOffered = false;")
        + linksOfPart() + s_links + QLatin1String(" = [];") + s_before
        + QLatin1String(" = before;"
                        // Nothing on the page shows the field: a message the user cannot see would be sent.
                        "if (!surface && !visible) { putBack(before); return 'hidden'; }"
                        "if (!surface) { return 'field'; }"
                        "var html = ")
        + jsonLiteral(editorHtml) + QLatin1String(", plain = ") + jsonLiteral(editorText)
        + QLatin1String(";"
                        // A code editor shows the message as written, its links as text.
                        "if (own !== 'code') { try { ")
        + s_links
        + QLatin1String(" = linksOf(html); } catch (e) {} }"
                        "if (own) {"
                        // Such an editor gets the markup through its API, never as a paste it may ask about.
                        "  window.__postavoMarkupOffered = true;"
                        "  surface.setAttribute('data-postavo-fill', ")
        + jsonLiteral(mark)
        + QLatin1String(");"
                        "  return own;"
                        "}"
                        "before.html = surface.innerHTML; before.text = surface.innerText;"
                        "try { fill(surface, plain, ''); } catch (e) {}"
                        "return 'editor';"));
}

QString editorShowsScript(const QString &mark, const QString &editorText)
{
    return wrapped(QLatin1String("var marks = ") + s_marks + QLatin1String(", surface = ") + s_surface
        + QLatin1String(", links = ") + s_links + QLatin1String(";") + fillSurfacePart() + placeLinksPart()
        + QLatin1String("if (!marks || marks[") + jsonLiteral(mark)
        + QLatin1String("] !== true || !surface || !surface.isConnected) { return false; }"
                        // Line by line, so that text run together on one line does not pass; empty lines
                        // are left out, as editors show paragraphs with a gap.
                        "function lines(text) {"
                        "  return text.split(/\\r\\n|\\r|\\n/).map(function (line) {"
                        "    return line.replace(/[\\s\\u00a0\\u200b\\ufeff]+/g, ' ').trim();"
                        "  }).filter(function (line) { return line.length > 0; });"
                        "}"
                        "var shown = lines(surface.innerText), wanted = lines(")
        + jsonLiteral(editorText)
        + QLatin1String(");"
                        "var found = 0;"
                        "for (var i = 0; i + wanted.length <= shown.length; ++i) {"
                        "  var j = 0;"
                        "  while (j < wanted.length && shown[i + j] === wanted[j]) { ++j; }"
                        "  if (j === wanted.length) { ++found; }"
                        "}"
                        "if (wanted.length ? found !== 1 : shown.length !== 0) { return false; }"
                        "try { return placeLinks(surface, links || []); } catch (e) { return false; }"));
}

QString pasteMarkupScript(const QString &mark, const QString &editorHtml, const QString &editorText)
{
    return wrapped(QLatin1String("var marks = ") + s_marks + QLatin1String(", surface = ") + s_surface
        + QLatin1String(";") + fillSurfacePart() + QLatin1String("if (!marks || marks[") + jsonLiteral(mark)
        + QLatin1String("] !== true || !surface || !surface.isConnected) { return false; }"
                        "window.__postavoMarkupOffered = true;"
                        "try { fill(surface, ")
        + jsonLiteral(editorText) + QLatin1String(", ") + jsonLiteral(editorHtml)
        + QLatin1String("); } catch (e) { return false; }"
                        "return true;"));
}

QString putBackScript(const QString &mark)
{
    return wrapped(QLatin1String("var marks = ") + s_marks + QLatin1String(", surface = ") + s_surface
        + QLatin1String(", before = ") + s_before + QLatin1String(";") + fillSurfacePart() + putBackPart()
        + QLatin1String("if (!marks || marks[") + jsonLiteral(mark)
        + QLatin1String("] !== true || !before) { return false; }"
                        "putBack(before);"
                        "if (before.html === null) { return true; }"
                        "if (!surface || !surface.isConnected) { return false; }"
                        "try {"
                        "  if (shownLines(before.text).length) { fill(surface, before.text, before.html); }"
                        "  else { empty(surface); }"
                        "} catch (e) { return false; }"
                        "return true;"));
}

QString editorStateScript(const QString &mark, const QString &editorText)
{
    return wrapped(QLatin1String("var marks = ") + s_marks + QLatin1String(", surface = ") + s_surface
        + QLatin1String(", before = ") + s_before + QLatin1String(";") + fillSurfacePart()
        + QLatin1String("if (!marks || marks[") + jsonLiteral(mark)
        + QLatin1String("] !== true || !before) { return 'gone'; }"
                        "if (!surface || !surface.isConnected) { return 'gone'; }"
                        "var shown = shownLines(surface.innerText), earlier = shownLines(before.text);"
                        "if (shown.join('\\n') === earlier.join('\\n')) { return 'before'; }"
                        "var wanted = shownLines(")
        + jsonLiteral(editorText)
        + QLatin1String(");"
                        "return wanted.length && timesShown(shown, wanted) === 1 ? 'once' : 'other';"));
}

QString ownEditorFillScript(const QString &mark, const QString &text, const QString &html)
{
    // Run in the page's world, where the editor objects are; the mark attribute is all it takes from the DOM.
    return wrapped(QLatin1String("var mark = ") + jsonLiteral(mark) + QLatin1String(", text = ") + jsonLiteral(text)
        + QLatin1String(", html = ") + jsonLiteral(html)
        + QLatin1String(";"
                        "function marked(element) {"
                        "  return !!element && element.getAttribute('data-postavo-fill') === mark;"
                        "}"
                        "var editors = document.querySelectorAll('[data-postavo-fill]'), element = null, rich = null;"
                        "for (var i = 0; i < editors.length; ++i) {"
                        "  if (marked(editors[i])) { element = editors[i]; }"
                        "}"
                        // A rich-text editor's surface may be the body of a frame of its own.
                        "try {"
                        "  var instances = window.Jodit && window.Jodit.instances;"
                        "  for (var id in instances || {}) {"
                        "    if (marked(instances[id].editor)) { rich = instances[id]; element = rich.editor; }"
                        "  }"
                        "} catch (e) {"
                        "}"
                        "if (!element) { return false; }"
                        "element.removeAttribute('data-postavo-fill');"
                        "try {"
                        // Set as its value, the editor neither treats the markup as a paste nor asks about it.
                        "  if (rich) {"
                        "    rich.s.focus();"
                        // In one block of the kind Enter makes, so that line breaks stay line breaks.
                        "    var block = String(rich.o.enter || 'br').toLowerCase();"
                        "    rich.value = block === 'br' ? html : '<' + block + '>' + html + '</' + block + '>';"
                        "    rich.s.setCursorIn(rich.editor, false);"
                        "    rich.synchronizeValues();"
                        "    return 'rich';"
                        "  }"
                        "  var cm = element.CodeMirror;"
                        "  if (cm && typeof cm.setValue === 'function') {"
                        "    cm.focus();"
                        "    cm.setValue(text);"
                        "    cm.setCursor(cm.lineCount(), 0);"
                        // An editor made from a textarea writes it only when the form is sent: write it now.
                        "    if (typeof cm.save === 'function') { cm.save(); }"
                        "    return cm.getValue() === text && 'code';"
                        "  }"
                        "  var content = element.querySelector('.cm-content');"
                        "  var tile = content && content.cmView;"
                        "  var view = tile && tile.rootView && tile.rootView.view;"
                        "  if (view && view.state && typeof view.dispatch === 'function') {"
                        "    view.focus();"
                        "    view.dispatch({ changes: { from: 0, to: view.state.doc.length, insert: text },"
                        "      selection: { anchor: text.length }, scrollIntoView: true, userEvent: 'input.paste' });"
                        "    return view.state.doc.toString() === text && 'code';"
                        "  }"
                        "} catch (e) {"
                        "}"
                        "return false;"));
}

QString fieldValueScript(const QString &selector)
{
    return wrapped(QLatin1String("var selector = ") + jsonLiteral(selector)
        + QLatin1String(";"
                        "try {"
                        "  var element = document.querySelector(selector);"
                        "  return element && ('value' in element) ? element.value : null;"
                        "} catch (e) {"
                        "  return null;"
                        "}"));
}

} // namespace PageScripts
