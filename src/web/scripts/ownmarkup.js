// editorRoots(root): the editing surfaces under root that draw their lines themselves, whose text is what the
// user is typing, never what the page shows as posted: code editors known by their frame, and any element
// that holds a text field too small to read (the one such an editor types into) with the lines it draws.
// stripped(element, inert, roots): a copy of the element in a document without a window, where nothing in
// it loads, runs or is upgraded by the page's own element definitions, with what form fields and editing
// surfaces hold left out. Its elements come in the same order as the original's, so each is judged by its
// original, whose editability the page's layout knows.
// ownMarkup(): {outer, inner} of the body so stripped; null when the document has no body.
var drawnEditorFrames = '.CodeMirror,.cm-editor,.monaco-editor,.ace_editor';
function typedInto(field) {
  if (!field.getClientRects().length) { return false; }
  var box = field.getBoundingClientRect(), style = getComputedStyle(field);
  return box.width < 8 || box.height < 8 || style.opacity === '0' || style.clipPath !== 'none'
    || (style.clip !== 'auto' && style.clip !== '');
}
function editorRoots(root) {
  var roots = new Set(Element.prototype.querySelectorAll.call(root, drawnEditorFrames));
  var up = root.closest && root.closest(drawnEditorFrames);
  if (up) { roots.add(up); }
  var fields = Element.prototype.querySelectorAll.call(root, 'textarea');
  for (var f = 0; f < fields.length; ++f) {
    if (!typedInto(fields[f])) { continue; }
    // The editor is the nearest box around the field large enough to show lines; a form or the page is not.
    for (var e = fields[f].parentElement, k = 0; e && k < 4; e = e.parentElement, ++k) {
      var box = e.getBoundingClientRect();
      if (box.width >= 20 && box.height >= 12) {
        if (e.localName !== 'form' && e !== document.body && e !== document.documentElement) { roots.add(e); }
        break;
      }
    }
  }
  return roots;
}
function insideEditor(element, roots) {
  if (element.isContentEditable || element.closest('textarea') || element.closest(drawnEditorFrames)) {
    return true;
  }
  for (var e = element; e; e = e.parentElement) { if (roots.has(e)) { return true; } }
  return false;
}
function stripped(root, inert, roots) {
  var copy = inert.importNode(root, true);
  var slice = Array.prototype.slice;
  var originals = slice.call(root.getElementsByTagName('*'));
  var copies = slice.call(copy.getElementsByTagName('*'));
  for (var i = 0; i < originals.length && i < copies.length; ++i) {
    var element = originals[i], name = element.localName;
    var parent = element.parentElement;
    if (name === 'textarea' || roots.has(element)
        || (element.isContentEditable && !(parent && parent.isContentEditable))) {
      copies[i].textContent = '';
    } else if (name === 'input') {
      copies[i].removeAttribute('value');
    } else if (name === 'iframe') {
      copies[i].removeAttribute('srcdoc');
    }
  }
  return copy;
}
function ownMarkup() {
  var body = document.body;
  if (!body) { return null; }
  var inert = document.implementation.createHTMLDocument('');
  if (body.isContentEditable) { return { outer: inert.importNode(body, false).outerHTML, inner: '' }; }
  var copy = stripped(body, inert, editorRoots(body));
  return { outer: copy.outerHTML, inner: copy.innerHTML };
}
