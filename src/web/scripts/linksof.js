// The links of our markup, in order, as {href, text}.
function linksOf(html) {
  if (!html) { return []; }
  var parsed = new DOMParser().parseFromString(html, 'text/html');
  return Array.prototype.map.call(parsed.querySelectorAll('a[href]'), function (a) {
    return { href: a.getAttribute('href'), text: a.textContent };
  });
}
