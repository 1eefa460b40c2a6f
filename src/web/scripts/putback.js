// Gives the field back the value it had, told to the page as the write was.
function putBack(before) {
  try {
    if (before.field.value === before.value) { return; }
    before.field.value = before.value;
    before.field.dispatchEvent(new Event('input', { bubbles: true }));
    before.field.dispatchEvent(new Event('change', { bubbles: true }));
  } catch (e) {
  }
}
