// What reading and writing a rich editor's text both need: waiting for the
// editor to catch up, comparing its text with the page's, the selection
// taken and put back, and a key pressed as the user would. Injected first of
// the classic scripts into the frames of the tab; the others find it as
// globalThis.huecodeSelection.
if (!globalThis.huecodeSelection) {
  const mac = /Mac|iPhone|iPad/.test(navigator.platform);

  // Editors follow a selection change or an edit in a task or a microtask
  // of their own: two turns of the event loop let them catch up.
  const settle = () => new Promise((resolve) => setTimeout(resolve, 0))
    .then(() => new Promise((resolve) => setTimeout(resolve, 0)));

  // The page's spaces and invisible marks differ from the editor's copy in
  // ways that are no difference in the text: no-break spaces for runs of
  // spaces, zero-width fillers round the caret.
  const normalised = (text) => text.replace(/\u00A0/g, ' ').replace(/[\u200B\u2060\uFEFF]/g, '');
  const same = (a, b) => normalised(a) === normalised(b);

  const currentRange = (host) => {
    const selection = host.ownerDocument.getSelection();
    return selection.rangeCount > 0 ? selection.getRangeAt(0).cloneRange() : null;
  };

  function putRange(host, range) {
    const selection = host.ownerDocument.getSelection();
    selection.removeAllRanges();
    if (range) {
      selection.addRange(range);
    }
  }

  // A key the editor may handle itself, as the user would press it.
  function pressed(element, key) {
    const event = new KeyboardEvent('keydown', {key, code: `Key${key.toUpperCase()}`,
      keyCode: key.toUpperCase().charCodeAt(0), ctrlKey: !mac, metaKey: mac, bubbles: true, cancelable: true,
      composed: true});
    element.dispatchEvent(event);
    return event.defaultPrevented;
  }

  globalThis.huecodeSelection = {settle, normalised, same, currentRange, putRange, pressed};
}
