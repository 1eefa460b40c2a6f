#include "web/pagescripts.h"

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

// editorRoots(root): the editing surfaces under root that draw their lines themselves, whose text is what the
// user is typing, never what the page shows as posted: code editors known by their frame, and any element
// that holds a text field too small to read (the one such an editor types into) with the lines it draws.
// stripped(element, inert, roots): a copy of the element in a document without a window, where nothing in
// it loads, runs or is upgraded by the page's own element definitions, with what form fields and editing
// surfaces hold left out. Its elements come in the same order as the original's, so each is judged by its
// original, whose editability the page's layout knows.
// ownMarkup(): {outer, inner} of the body so stripped; null when the document has no body.
const QLatin1String s_ownMarkup(
    "var drawnEditorFrames = '.CodeMirror,.cm-editor,.monaco-editor,.ace_editor';"
    "function typedInto(field) {"
    "  if (!field.getClientRects().length) { return false; }"
    "  var box = field.getBoundingClientRect(), style = getComputedStyle(field);"
    "  return box.width < 8 || box.height < 8 || style.opacity === '0' || style.clipPath !== 'none'"
    "    || (style.clip !== 'auto' && style.clip !== '');"
    "}"
    "function editorRoots(root) {"
    "  var roots = new Set(Element.prototype.querySelectorAll.call(root, drawnEditorFrames));"
    "  var up = root.closest && root.closest(drawnEditorFrames);"
    "  if (up) { roots.add(up); }"
    "  var fields = Element.prototype.querySelectorAll.call(root, 'textarea');"
    "  for (var f = 0; f < fields.length; ++f) {"
    "    if (!typedInto(fields[f])) { continue; }"
    // The editor is the nearest box around the field large enough to show lines; a form or the page is not.
    "    for (var e = fields[f].parentElement, k = 0; e && k < 4; e = e.parentElement, ++k) {"
    "      var box = e.getBoundingClientRect();"
    "      if (box.width >= 20 && box.height >= 12) {"
    "        if (e.localName !== 'form' && e !== document.body && e !== document.documentElement) { roots.add(e); }"
    "        break;"
    "      }"
    "    }"
    "  }"
    "  return roots;"
    "}"
    "function insideEditor(element, roots) {"
    "  if (element.isContentEditable || element.closest('textarea') || element.closest(drawnEditorFrames)) {"
    "    return true;"
    "  }"
    "  for (var e = element; e; e = e.parentElement) { if (roots.has(e)) { return true; } }"
    "  return false;"
    "}"
    "function stripped(root, inert, roots) {"
    "  var copy = inert.importNode(root, true);"
    "  var slice = Array.prototype.slice;"
    "  var originals = slice.call(root.getElementsByTagName('*'));"
    "  var copies = slice.call(copy.getElementsByTagName('*'));"
    "  for (var i = 0; i < originals.length && i < copies.length; ++i) {"
    "    var element = originals[i], name = element.localName;"
    "    var parent = element.parentElement;"
    "    if (name === 'textarea' || roots.has(element)"
    "        || (element.isContentEditable && !(parent && parent.isContentEditable))) {"
    "      copies[i].textContent = '';"
    "    } else if (name === 'input') {"
    "      copies[i].removeAttribute('value');"
    "    } else if (name === 'iframe') {"
    "      copies[i].removeAttribute('srcdoc');"
    "    }"
    "  }"
    "  return copy;"
    "}"
    "function ownMarkup() {"
    "  var body = document.body;"
    "  if (!body) { return null; }"
    "  var inert = document.implementation.createHTMLDocument('');"
    "  if (body.isContentEditable) { return { outer: inert.importNode(body, false).outerHTML, inner: '' }; }"
    "  var copy = stripped(body, inert, editorRoots(body));"
    "  return { outer: copy.outerHTML, inner: copy.innerHTML };"
    "}");

// The watch on changes the page's own scripts make, kept in our world's globals of the document: a new
// document starts without one. Added nodes are only gathered as they come; reading them waits for the next
// check, so a burst of changes costs one reading. Past a few thousand, the whole body is read instead.
const QLatin1String s_watch(
    "function startWatch() {"
    "  var watch = window.__postavoWatch;"
    "  if (!watch) {"
    "    watch = window.__postavoWatch = { added: [], whole: false, spent: 0 };"
    "    watch.observer = new MutationObserver(function (records) {"
    "      var start = performance.now();"
    "      for (var r = 0; r < records.length && !watch.whole; ++r) {"
    "        var record = records[r];"
    "        if (record.type === 'characterData') { watch.added.push(record.target); }"
    "        for (var n = 0; n < record.addedNodes.length; ++n) { watch.added.push(record.addedNodes[n]); }"
    "        if (watch.added.length > 5000) { watch.added = []; watch.whole = true; }"
    "      }"
    "      watch.spent += performance.now() - start;"
    "    });"
    "    watch.observer.observe(document, { childList: true, subtree: true, characterData: true });"
    "  }"
    "  watch.added = [];"
    "  watch.whole = false;"
    "  watch.href = location.href;"
    "  return watch;"
    "}"
    "function canonicalHref() {"
    // Where the link belongs: a page's body may be megabytes of posts.
    "  var head = document.head;"
    "  var link = head ? Element.prototype.querySelector.call(head, 'link[rel~=\"canonical\" i][href]') : null;"
    "  return link ? link.getAttribute('href') : null;"
    "}"
    "function withAddress(result) {"
    "  if (result) { result.href = location.href; result.canonical = canonicalHref(); }"
    "  return result;"
    "}"
    // The outermost of the elements added or changed that are still in the page and are not editing surfaces
    // or their contents.
    "function addedMarkup(nodes) {"
    "  var elements = new Set(), roots = null;"
    "  for (var i = 0; i < nodes.length; ++i) {"
    "    var element = nodes[i].nodeType === Node.ELEMENT_NODE ? nodes[i] : nodes[i].parentElement;"
    "    if (!element || !element.isConnected) { continue; }"
    "    roots = roots || editorRoots(document.body || document.documentElement);"
    "    if (!insideEditor(element, roots)) { elements.add(element); }"
    "  }"
    "  var parts = [], inert = null;"
    "  elements.forEach(function (element) {"
    "    for (var up = element.parentElement; up; up = up.parentElement) {"
    "      if (elements.has(up)) { return; }"
    "    }"
    "    inert = inert || document.implementation.createHTMLDocument('');"
    "    parts.push(stripped(element, inert, roots).outerHTML);"
    "  });"
    "  return parts.length ? { outer: parts.join('\\n'), inner: '' } : null;"
    "}");

} // namespace

QString bodyMarkupOutsideFieldsScript()
{
    return wrapped(s_ownMarkup + QLatin1String("return ownMarkup();"));
}

QString postedMessageCheckScript()
{
    return wrapped(s_ownMarkup + s_watch
        + QLatin1String("var watch = startWatch(), start = performance.now();"
                        "var result = withAddress(ownMarkup());"
                        "watch.spent += performance.now() - start;"
                        "return result;"));
}

QString startWatchingChangesScript()
{
    return wrapped(s_ownMarkup + s_watch + QLatin1String("startWatch(); return true;"));
}

QString pageChangesScript()
{
    return wrapped(s_ownMarkup + s_watch
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

// Gives the field back the value it had, told to the page as the write was.
const QLatin1String s_putBack("function putBack(before) {"
                              "  try {"
                              "    if (before.field.value === before.value) { return; }"
                              "    before.field.value = before.value;"
                              "    before.field.dispatchEvent(new Event('input', { bubbles: true }));"
                              "    before.field.dispatchEvent(new Event('change', { bubbles: true }));"
                              "  } catch (e) {"
                              "  }"
                              "}");

// The editing surface that shows a field the page does not render: a content-editable element, or the body
// of a same-origin frame in design mode, inside the field's form or beside the field. Of several, the first
// after the field wins (editors put theirs right after the field they replace), else the nearest before it.
const QLatin1String s_findSurface(
    "function rendered(element) {"
    "  if (!element.getClientRects().length) { return false; }"
    "  var style = element.ownerDocument.defaultView.getComputedStyle(element);"
    "  if (style.visibility === 'hidden' || style.visibility === 'collapse') { return false; }"
    "  var box = element.getBoundingClientRect(), view = element.ownerDocument.defaultView;"
    // Some editors move the field they replace off the page rather than hide it.
    "  if (box.right + view.scrollX < 0 || box.bottom + view.scrollY < 0) { return false; }"
    "  return box.width > 0 || box.height > 0;"
    "}"
    "function editingSurface(element) {"
    // A code editor's surface is filled through the editor itself, never through its content-editable part.
    "  var codeEditor = element.closest('.CodeMirror,.cm-editor');"
    "  if (codeEditor) { return codeEditor; }"
    "  if (element.localName === 'iframe') {"
    "    var inner = null;"
    "    try { inner = element.contentDocument; } catch (e) { return null; }"
    "    if (!inner || !inner.body) { return null; }"
    "    return inner.designMode === 'on' || inner.body.isContentEditable ? inner.body : null;"
    "  }"
    "  var parent = element.parentElement;"
    "  return element.isContentEditable && !(parent && parent.isContentEditable) ? element : null;"
    "}"
    "function surfaceFor(field) {"
    "  var scopes = [field.form, field.parentElement, field.parentElement && field.parentElement.parentElement];"
    "  for (var s = 0; s < scopes.length; ++s) {"
    "    if (!scopes[s]) { continue; }"
    "    var elements = Element.prototype.querySelectorAll.call(scopes[s],"
    "      'iframe,[contenteditable],.CodeMirror,.cm-editor');"
    "    var before = null;"
    "    for (var i = 0; i < elements.length; ++i) {"
    "      if (!rendered(elements[i])) { continue; }"
    "      var surface = editingSurface(elements[i]);"
    "      if (!surface) { continue; }"
    "      if (field.compareDocumentPosition(elements[i]) & Node.DOCUMENT_POSITION_FOLLOWING) { return surface; }"
    "      before = surface;"
    "    }"
    "    if (before) { return before; }"
    "  }"
    "  return null;"
    "}");

// Selects everything the surface holds. Editors that keep a selection of their own learn of a new one only from
// the selectionchange event, which the browser sends later: sent now, what follows replaces what they show
// rather than going where their caret was.
// fill() puts the text in as a paste over the whole content, so that the editor's own paste handling cleans it,
// stores it and records it for undo; where no handler takes the paste, the browser's own editing command
// inserts it, which the browser's undo records. Markup goes along only when html is given: editors may stop a
// paste of markup to ask whether to keep it, so links are first made from the text once the editor shows it.
// A tab shows as one only where the surface keeps white space as written; elsewhere it would shrink to a blank,
// and four no-break spaces keep its width.
// empty() takes everything out, as the Delete key would: through the editor's own handling where it has one.
const QLatin1String s_fillSurface(
    "function selectWhole(surface) {"
    "  var doc = surface.ownerDocument, view = doc.defaultView;"
    "  try { view.focus(); } catch (e) {}"
    "  surface.focus();"
    "  var range = doc.createRange();"
    "  range.selectNodeContents(surface);"
    "  var selection = view.getSelection();"
    "  selection.removeAllRanges();"
    "  selection.addRange(range);"
    "  doc.dispatchEvent(new Event('selectionchange'));"
    "}"
    "function fill(surface, plain, html) {"
    "  var doc = surface.ownerDocument, view = doc.defaultView;"
    "  if (!/^(pre|pre-wrap|break-spaces)$/.test(view.getComputedStyle(surface).whiteSpace)) {"
    "    plain = plain.replace(/\\t/g, '\\u00a0\\u00a0\\u00a0\\u00a0');"
    "  }"
    "  selectWhole(surface);"
    "  var data = new DataTransfer();"
    "  data.setData('text/plain', plain);"
    "  if (html) { data.setData('text/html', html); }"
    "  var paste = new ClipboardEvent('paste', { clipboardData: data, bubbles: true, cancelable: true });"
    "  if (surface.dispatchEvent(paste)) {"
    // Inserted as text, the browser keeps tabs and line breaks as the user would see them typed.
    "    doc.execCommand(html ? 'insertHTML' : 'insertText', false, html || plain);"
    "  }"
    "}"
    "function empty(surface) {"
    "  selectWhole(surface);"
    "  var del = new InputEvent('beforeinput',"
    "    { inputType: 'deleteContentBackward', bubbles: true, cancelable: true });"
    "  if (surface.dispatchEvent(del)) { surface.ownerDocument.execCommand('delete', false); }"
    "}"
    // The lines of a text as a reader compares them: white space runs made one blank, empty lines left out, as
    // editors show paragraphs with a gap.
    "function shownLines(text) {"
    "  return text.split(/\\r\\n|\\r|\\n/).map(function (line) {"
    "    return line.replace(/[\\s\\u00a0\\u200b\\ufeff]+/g, ' ').trim();"
    "  }).filter(function (line) { return line.length > 0; });"
    "}"
    // How often the wanted lines show, in order, among the shown ones.
    "function timesShown(shown, wanted) {"
    "  var found = 0;"
    "  for (var i = 0; i + wanted.length <= shown.length; ++i) {"
    "    var j = 0;"
    "    while (j < wanted.length && shown[i + j] === wanted[j]) { ++j; }"
    "    if (j === wanted.length) { ++found; }"
    "  }"
    "  return found;"
    "}");

// The links of our markup, in order, as {href, text}.
const QLatin1String s_linksOf("function linksOf(html) {"
                              "  if (!html) { return []; }"
                              "  var parsed = new DOMParser().parseFromString(html, 'text/html');"
                              "  return Array.prototype.map.call(parsed.querySelectorAll('a[href]'), function (a) {"
                              "    return { href: a.getAttribute('href'), text: a.textContent };"
                              "  });"
                              "}");

// Links in the surface as the editor shows them: placeLinks() makes each one missing from its text, in order,
// through the browser's editing command, which the editor sees as an edit of its own content.
const QLatin1String s_placeLinks(
    "function shownText(node) { return node.data.replace(/\\u00a0/g, ' '); }"
    "function linkOf(node) {"
    "  var element = node.parentElement;"
    "  return element && element.closest('a[href]');"
    "}"
    "function sameLink(anchor, link) {"
    "  return !!anchor && (anchor.getAttribute('href') === link.href || anchor.href === link.href)"
    "    && anchor.textContent.replace(/\\u00a0/g, ' ').trim() === link.text.trim();"
    "}"
    // Each link's text found after the one before, as [start node, offset, end node, offset, anchor].
    "function linkPlaces(surface, links) {"
    "  var walker = surface.ownerDocument.createTreeWalker(surface, NodeFilter.SHOW_TEXT);"
    "  var nodes = [], starts = [], all = '';"
    "  for (var node = walker.nextNode(); node; node = walker.nextNode()) {"
    "    nodes.push(node); starts.push(all.length); all += shownText(node);"
    "  }"
    "  function at(offset, isEnd) {"
    "    for (var i = nodes.length - 1; i >= 0; --i) {"
    "      if (isEnd ? starts[i] < offset : starts[i] <= offset) { return [nodes[i], offset - starts[i]]; }"
    "    }"
    "    return null;"
    "  }"
    "  var places = [], from = 0;"
    "  for (var l = 0; l < links.length; ++l) {"
    "    var index = links[l].text ? all.indexOf(links[l].text, from) : -1;"
    "    if (index < 0) { return null; }"
    "    from = index + links[l].text.length;"
    "    var start = at(index, false), end = at(from, true);"
    "    var anchor = linkOf(start[0]);"
    "    places.push([start[0], start[1], end[0], end[1], anchor === linkOf(end[0]) ? anchor : null]);"
    "  }"
    "  return places;"
    "}"
    // Whether every link was shown as one; else makes the missing ones and returns false, for a later look to
    // tell whether the editor kept them. Only in content that has not changed since the last look: an editor
    // may take a paste into a place of its own first and rework it a moment later. An editor that keeps undoing
    // the links, or changes their text, may still take them as pasted markup: "markup", once.
    "function placeLinks(surface, links) {"
    "  if (!links.length) { return true; }"
    "  var seen = surface.innerHTML, settled = window.__postavoSeen === seen;"
    "  window.__postavoSeen = seen;"
    "  var doc = surface.ownerDocument, selection = doc.defaultView.getSelection(), range;"
    "  for (var made = 0; made <= links.length; ++made) {"
    "    var places = linkPlaces(surface, links), i = 0;"
    "    while (places && i < places.length && sameLink(places[i][4], links[i])) { ++i; }"
    "    if (places && i === places.length) { break; }"
    "    if (made === 0 && !settled) { return false; }"
    "    if (made === 0 && ++window.__postavoLinkTries > 3) {"
    "      return window.__postavoMarkupOffered ? false : 'markup';"
    "    }"
    "    if (!places) { return false; }"
    "    range = doc.createRange();"
    "    range.setStart(places[i][0], places[i][1]);"
    "    range.setEnd(places[i][2], places[i][3]);"
    "    selection.removeAllRanges();"
    "    selection.addRange(range);"
    "    doc.execCommand('createLink', false, links[i].href);"
    "  }"
    "  if (made === 0) { return true; }"
    // The caret goes back to the end, where the paste left it.
    "  range = doc.createRange();"
    "  range.selectNodeContents(surface);"
    "  range.collapse(false);"
    "  selection.removeAllRanges();"
    "  selection.addRange(range);"
    "  return false;"
    "}");

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
        + jsonLiteral(mark) + QLatin1String("] !== true) { return false; }") + s_findSurface + s_fillSurface
        + s_putBack + findField(formIndex, elementIndex)
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
        + s_linksOf + s_links + QLatin1String(" = [];") + s_before
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
        + QLatin1String(", links = ") + s_links + QLatin1String(";") + s_fillSurface + s_placeLinks
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
        + QLatin1String(";") + s_fillSurface + QLatin1String("if (!marks || marks[") + jsonLiteral(mark)
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
        + QLatin1String(", before = ") + s_before + QLatin1String(";") + s_fillSurface + s_putBack
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
        + QLatin1String(", before = ") + s_before + QLatin1String(";") + s_fillSurface
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
