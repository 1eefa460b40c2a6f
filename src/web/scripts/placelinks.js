// Links in the surface as the editor shows them: placeLinks() makes each one missing from its text, in order,
// through the browser's editing command, which the editor sees as an edit of its own content.
function shownText(node) { return node.data.replace(/\u00a0/g, ' '); }
function linkOf(node) {
  var element = node.parentElement;
  return element && element.closest('a[href]');
}
function sameLink(anchor, link) {
  return !!anchor && (anchor.getAttribute('href') === link.href || anchor.href === link.href)
    && anchor.textContent.replace(/\u00a0/g, ' ').trim() === link.text.trim();
}
// Each link's text found after the one before, as [start node, offset, end node, offset, anchor].
function linkPlaces(surface, links) {
  var walker = surface.ownerDocument.createTreeWalker(surface, NodeFilter.SHOW_TEXT);
  var nodes = [], starts = [], all = '';
  for (var node = walker.nextNode(); node; node = walker.nextNode()) {
    nodes.push(node); starts.push(all.length); all += shownText(node);
  }
  function at(offset, isEnd) {
    for (var i = nodes.length - 1; i >= 0; --i) {
      if (isEnd ? starts[i] < offset : starts[i] <= offset) { return [nodes[i], offset - starts[i]]; }
    }
    return null;
  }
  var places = [], from = 0;
  for (var l = 0; l < links.length; ++l) {
    var index = links[l].text ? all.indexOf(links[l].text, from) : -1;
    if (index < 0) { return null; }
    from = index + links[l].text.length;
    var start = at(index, false), end = at(from, true);
    var anchor = linkOf(start[0]);
    places.push([start[0], start[1], end[0], end[1], anchor === linkOf(end[0]) ? anchor : null]);
  }
  return places;
}
// Whether every link was shown as one; else makes the missing ones and returns false, for a later look to
// tell whether the editor kept them. Only in content that has not changed since the last look: an editor
// may take a paste into a place of its own first and rework it a moment later. An editor that keeps undoing
// the links, or changes their text, may still take them as pasted markup: "markup", once.
function placeLinks(surface, links) {
  if (!links.length) { return true; }
  var seen = surface.innerHTML, settled = window.__postavoSeen === seen;
  window.__postavoSeen = seen;
  var doc = surface.ownerDocument, selection = doc.defaultView.getSelection(), range;
  for (var made = 0; made <= links.length; ++made) {
    var places = linkPlaces(surface, links), i = 0;
    while (places && i < places.length && sameLink(places[i][4], links[i])) { ++i; }
    if (places && i === places.length) { break; }
    if (made === 0 && !settled) { return false; }
    if (made === 0 && ++window.__postavoLinkTries > 3) {
      return window.__postavoMarkupOffered ? false : 'markup';
    }
    if (!places) { return false; }
    range = doc.createRange();
    range.setStart(places[i][0], places[i][1]);
    range.setEnd(places[i][2], places[i][3]);
    selection.removeAllRanges();
    selection.addRange(range);
    doc.execCommand('createLink', false, links[i].href);
  }
  if (made === 0) { return true; }
  // The caret goes back to the end, where the paste left it.
  range = doc.createRange();
  range.selectNodeContents(surface);
  range.collapse(false);
  selection.removeAllRanges();
  selection.addRange(range);
  return false;
}
