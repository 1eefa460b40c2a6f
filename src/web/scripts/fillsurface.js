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
function selectWhole(surface) {
  var doc = surface.ownerDocument, view = doc.defaultView;
  try { view.focus(); } catch (e) {}
  surface.focus();
  var range = doc.createRange();
  range.selectNodeContents(surface);
  var selection = view.getSelection();
  selection.removeAllRanges();
  selection.addRange(range);
  doc.dispatchEvent(new Event('selectionchange'));
}
function fill(surface, plain, html) {
  var doc = surface.ownerDocument, view = doc.defaultView;
  if (!/^(pre|pre-wrap|break-spaces)$/.test(view.getComputedStyle(surface).whiteSpace)) {
    plain = plain.replace(/\t/g, '\u00a0\u00a0\u00a0\u00a0');
  }
  selectWhole(surface);
  var data = new DataTransfer();
  data.setData('text/plain', plain);
  if (html) { data.setData('text/html', html); }
  var paste = new ClipboardEvent('paste', { clipboardData: data, bubbles: true, cancelable: true });
  if (surface.dispatchEvent(paste)) {
    // Inserted as text, the browser keeps tabs and line breaks as the user would see them typed.
    doc.execCommand(html ? 'insertHTML' : 'insertText', false, html || plain);
  }
}
function empty(surface) {
  selectWhole(surface);
  var del = new InputEvent('beforeinput',
    { inputType: 'deleteContentBackward', bubbles: true, cancelable: true });
  if (surface.dispatchEvent(del)) { surface.ownerDocument.execCommand('delete', false); }
}
// The lines of a text as a reader compares them: white space runs made one blank, empty lines left out, as
// editors show paragraphs with a gap.
function shownLines(text) {
  return text.split(/\r\n|\r|\n/).map(function (line) {
    return line.replace(/[\s\u00a0\u200b\ufeff]+/g, ' ').trim();
  }).filter(function (line) { return line.length > 0; });
}
// How often the wanted lines show, in order, among the shown ones.
function timesShown(shown, wanted) {
  var found = 0;
  for (var i = 0; i + wanted.length <= shown.length; ++i) {
    var j = 0;
    while (j < wanted.length && shown[i + j] === wanted[j]) { ++j; }
    if (j === wanted.length) { ++found; }
  }
  return found;
}
