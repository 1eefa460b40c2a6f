// The watch on changes the page's own scripts make, kept in our world's globals of the document: a new
// document starts without one. Added nodes are only gathered as they come; reading them waits for the next
// check, so a burst of changes costs one reading. Past a few thousand, the whole body is read instead.
function startWatch() {
  var watch = window.__postavoWatch;
  if (!watch) {
    watch = window.__postavoWatch = { added: [], whole: false, spent: 0 };
    watch.observer = new MutationObserver(function (records) {
      var start = performance.now();
      for (var r = 0; r < records.length && !watch.whole; ++r) {
        var record = records[r];
        if (record.type === 'characterData') { watch.added.push(record.target); }
        for (var n = 0; n < record.addedNodes.length; ++n) { watch.added.push(record.addedNodes[n]); }
        if (watch.added.length > 5000) { watch.added = []; watch.whole = true; }
      }
      watch.spent += performance.now() - start;
    });
    watch.observer.observe(document, { childList: true, subtree: true, characterData: true });
  }
  watch.added = [];
  watch.whole = false;
  watch.href = location.href;
  return watch;
}
function canonicalHref() {
  // Where the link belongs: a page's body may be megabytes of posts.
  var head = document.head;
  var link = head ? Element.prototype.querySelector.call(head, 'link[rel~="canonical" i][href]') : null;
  return link ? link.getAttribute('href') : null;
}
function withAddress(result) {
  if (result) { result.href = location.href; result.canonical = canonicalHref(); }
  return result;
}
// The outermost of the elements added or changed that are still in the page and are not editing surfaces
// or their contents.
function addedMarkup(nodes) {
  var elements = new Set(), roots = null;
  for (var i = 0; i < nodes.length; ++i) {
    var element = nodes[i].nodeType === Node.ELEMENT_NODE ? nodes[i] : nodes[i].parentElement;
    if (!element || !element.isConnected) { continue; }
    roots = roots || editorRoots(document.body || document.documentElement);
    if (!insideEditor(element, roots)) { elements.add(element); }
  }
  var parts = [], inert = null;
  elements.forEach(function (element) {
    for (var up = element.parentElement; up; up = up.parentElement) {
      if (elements.has(up)) { return; }
    }
    inert = inert || document.implementation.createHTMLDocument('');
    parts.push(stripped(element, inert, roots).outerHTML);
  });
  return parts.length ? { outer: parts.join('\n'), inner: '' } : null;
}
