// The editing surface that shows a field the page does not render: a content-editable element, or the body
// of a same-origin frame in design mode, inside the field's form or beside the field. Of several, the first
// after the field wins (editors put theirs right after the field they replace), else the nearest before it.
function rendered(element) {
  if (!element.getClientRects().length) { return false; }
  var style = element.ownerDocument.defaultView.getComputedStyle(element);
  if (style.visibility === 'hidden' || style.visibility === 'collapse') { return false; }
  var box = element.getBoundingClientRect(), view = element.ownerDocument.defaultView;
  // Some editors move the field they replace off the page rather than hide it.
  if (box.right + view.scrollX < 0 || box.bottom + view.scrollY < 0) { return false; }
  return box.width > 0 || box.height > 0;
}
function editingSurface(element) {
  // A code editor's surface is filled through the editor itself, never through its content-editable part.
  var codeEditor = element.closest('.CodeMirror,.cm-editor');
  if (codeEditor) { return codeEditor; }
  if (element.localName === 'iframe') {
    var inner = null;
    try { inner = element.contentDocument; } catch (e) { return null; }
    if (!inner || !inner.body) { return null; }
    return inner.designMode === 'on' || inner.body.isContentEditable ? inner.body : null;
  }
  var parent = element.parentElement;
  return element.isContentEditable && !(parent && parent.isContentEditable) ? element : null;
}
function surfaceFor(field) {
  var scopes = [field.form, field.parentElement, field.parentElement && field.parentElement.parentElement];
  for (var s = 0; s < scopes.length; ++s) {
    if (!scopes[s]) { continue; }
    var elements = Element.prototype.querySelectorAll.call(scopes[s],
      'iframe,[contenteditable],.CodeMirror,.cm-editor');
    var before = null;
    for (var i = 0; i < elements.length; ++i) {
      if (!rendered(elements[i])) { continue; }
      var surface = editingSurface(elements[i]);
      if (!surface) { continue; }
      if (field.compareDocumentPosition(elements[i]) & Node.DOCUMENT_POSITION_FOLLOWING) { return surface; }
      before = surface;
    }
    if (before) { return before; }
  }
  return null;
}
