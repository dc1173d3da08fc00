// The field that holds the focus: found in the frame that holds it, read,
// and changed. Injected as a classic script after the editor scripts and
// text-field.js; page-side.js's readFocusedField and
// insertMarkup call it as globalThis.huecodeField. It runs in the
// extension's isolated world: the page's scripts see neither it nor the
// field it keeps between the reading and the change.
if (!globalThis.huecodeField) {
  let kept = null;

  // A frame holds the focus when every frame above it has it on this
  // frame's element: that works for frames of the same origin, the only
  // ones the extension may enter.
  function onFocusPath() {
    for (let view = /** @type {Window} */ (window); view !== view.top; view = view.parent) {
      const element = view.frameElement;
      if (!element || element.ownerDocument.activeElement !== element) {
        return false;
      }
    }
    return true;
  }

  // The board's own editor says which markup it reads more reliably than
  // anything else: markup already in the field, whose opening each dialect
  // gives ([key, pattern] from the core's table), or the editor's name.
  function suggest(text, openings) {
    const found = openings.find(([, pattern]) => new RegExp(pattern, 'i').test(text));
    if (found) {
      return found[0];
    }
    const names = [...document.querySelectorAll('[class],[id]')].slice(0, 2000)
      .map((element) => `${element.id} ${element.getAttribute('class')}`).join(' ');
    return /bbcode|sceditor/i.test(names) ? 'bbcode' : /\bubb|discuz|fastpost/i.test(names) ? 'ubb' : null;
  }

  function focusedElement() {
    let field = document.activeElement;
    while (field?.shadowRoot?.activeElement) {
      field = field.shadowRoot.activeElement;
    }
    return field && field.tagName !== 'IFRAME' && field.tagName !== 'FRAME' ? field : null;
  }

  // Why the field cannot be coloured, or null.
  function refusalOf(field) {
    if (field.tagName === 'TEXTAREA' || field.tagName === 'INPUT') {
      const textTypes = ['text', 'search', 'url', 'tel'];
      return field.type === 'password' ? 'password'
        : field.tagName === 'INPUT' && !textTypes.includes(field.type) ? 'noField'
        : field.readOnly || field.disabled ? 'readOnly' : null;
    }
    return !field.isContentEditable ? 'noField' : field.getAttribute('aria-readonly') === 'true' ? 'readOnly' : null;
  }

  // A rich editor's selection, read through the editor (editor-read.js).
  async function readRich(field, forChange) {
    let host = field;
    while (host.parentElement?.isContentEditable) {
      host = host.parentElement;
    }
    const read = await globalThis.huecodeReading.readSelection(field, host, forChange);
    return read && {kind: 'rich', element: field, host, ...read, text: read.picked.text, all: read.all};
  }

  // Describes the field that holds the focus, if this frame holds it, and,
  // when a change follows (forChange), keeps it with its selection for
  // insert().
  async function read(forChange, openings) {
    const site = location.origin;
    const field = onFocusPath() ? focusedElement() : null;
    if (!field) {
      return {site, focused: false};
    }
    const refusal = refusalOf(field);
    if (refusal) {
      return {site, focused: true, refusal};
    }
    const text = field.tagName === 'TEXTAREA' || field.tagName === 'INPUT';
    const target = text ? await globalThis.huecodeText.read(field, forChange) : await readRich(field, forChange);
    if (!target) {
      return {site, focused: true, refusal: 'changed'};
    }
    kept = forChange ? target : null;
    const context = text ? /** @type {HTMLInputElement} */ (field).value : target.all?.text ?? target.text;
    return {site, focused: true, kind: target.kind, text: target.text, suggestion: suggest(context, openings)};
  }

  // Replaces what read() kept with the markup (or, in a rich editor when
  // `formatted` brings the core's coloured chunks, with the coloured text),
  // through the field's own editing: its undo brings the original back and
  // the page hears the input events it listens to. The markup goes in as
  // text, so nothing in it is ever read as HTML. Returns 'done' once the
  // field holds the change, or why it does not.
  async function insert(expected, replacement, formatted) {
    const target = kept;
    kept = null;
    const field = target?.field ?? target?.element;
    if (!target || !field.isConnected || target.text !== expected) {
      return 'changed';
    }
    field.focus({preventScroll: true});
    return target.kind === 'rich' ? globalThis.huecodeWriting.write(target, replacement, formatted)
      : globalThis.huecodeText.write(target, expected, replacement);
  }

  globalThis.huecodeField = {read, insert};
}
