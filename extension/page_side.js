// What runs inside the web page, through scripting.executeScript. Each
// function is sent on its own (its text, not its closure), so each one holds
// every helper it needs. They run in the extension's isolated world: the
// page's scripts see neither these functions nor what they keep between calls.

// Describes the field that holds the focus, if this frame holds it, and,
// when a change follows (forChange), keeps it with the selection for
// insertMarkup. A frame holds the focus when every frame above it has it on
// this frame's element: that works for frames of the same origin, the only
// ones the extension may enter. A rich editor's selection is read through the
// editor (editor_read.js, injected beforehand).
// Longer than the rule's 50 lines: it runs in the page on its own (see the top
// of this file) while its editor handling is still being reworked.
// eslint-disable-next-line max-lines-per-function -- see above
export async function readFocusedField(forChange) {
  const onFocusPath = () => {
    for (let view = window; view !== view.top; view = view.parent) {
      const element = view.frameElement;
      if (!element || element.ownerDocument.activeElement !== element) {
        return false;
      }
    }
    return true;
  };
  // The board's own editor says which markup it reads more reliably than
  // anything else: markup already in the field, or the editor's name.
  const suggest = (text) => {
    const hints = [[/\[ftc=/i, 'brelvin'], [/\[color=#/i, 'bbcode'], [/\[color=/i, 'ubb'],
      [/<span[^>]*color:/i, 'span'], [/<font[^>]*color/i, 'html'], [/<#[0-9a-f]{6}>/i, 'minimessage'],
      [/&#[0-9a-f]{6}/i, 'ampersand']];
    const found = hints.find(([pattern]) => pattern.test(text));
    if (found) {
      return found[1];
    }
    const names = [...document.querySelectorAll('[class],[id]')].slice(0, 2000)
      .map((element) => `${element.id} ${element.getAttribute('class')}`).join(' ');
    return /bbcode|sceditor/i.test(names) ? 'bbcode' : /\bubb|discuz|fastpost/i.test(names) ? 'ubb' : null;
  };
  const site = location.origin;
  if (!onFocusPath()) {
    return {site, focused: false};
  }
  let field = document.activeElement;
  while (field?.shadowRoot?.activeElement) {
    field = field.shadowRoot.activeElement;
  }
  if (!field || field.tagName === 'IFRAME' || field.tagName === 'FRAME') {
    return {site, focused: false};
  }
  const textTypes = ['text', 'search', 'url', 'tel'];
  if (field.tagName === 'TEXTAREA' || field.tagName === 'INPUT') {
    if (field.type === 'password') {
      return {site, focused: true, refusal: 'password'};
    }
    if (field.tagName === 'INPUT' && !textTypes.includes(field.type)) {
      return {site, focused: true, refusal: 'noField'};
    }
    if (field.readOnly || field.disabled) {
      return {site, focused: true, refusal: 'readOnly'};
    }
    const whole = field.selectionStart === field.selectionEnd;
    const start = whole ? 0 : field.selectionStart;
    const end = whole ? field.value.length : field.selectionEnd;
    const text = field.value.slice(start, end);
    globalThis.huecodeTarget = {kind: 'text', field, start, end, text};
    return {site, focused: true, kind: 'text', text, suggestion: suggest(field.value)};
  }
  if (!field.isContentEditable) {
    return {site, focused: true, refusal: 'noField'};
  }
  if (field.getAttribute('aria-readonly') === 'true') {
    return {site, focused: true, refusal: 'readOnly'};
  }
  let host = field;
  while (host.parentElement?.isContentEditable) {
    host = host.parentElement;
  }
  const read = await globalThis.huecodeReading.readSelection(field, host, forChange);
  if (!read) {
    return {site, focused: true, refusal: 'changed'};
  }
  const {text} = read.picked;
  globalThis.huecodeTarget = forChange ? {kind: 'rich', element: field, host, ...read} : null;
  return {site, focused: true, kind: 'rich', text, suggestion: suggest(read.all?.text ?? text)};
}

// Replaces what readFocusedField kept with the markup (or, in a rich editor
// when `formatted` brings the core's coloured chunks, with the coloured
// text), through the editor's own editing: the editor's undo brings the
// original back and the page hears the input events it listens to. The
// markup goes in as text, so nothing in it is ever read as HTML. Returns
// 'done' once the field holds the change, or why it does not.
// Longer than the rule's 50 lines: it runs in the page on its own (see the top
// of this file) while its editor handling is still being reworked.
// eslint-disable-next-line max-lines-per-function -- see above
export async function insertMarkup(expected, replacement, formatted) {
  // Past a size the editing command takes seconds in a text field (it lays
  // the field out again for every line it adds): the markup then goes in at
  // once, and the first Ctrl+Z that follows brings the original back.
  const undoOnce = (field, original, start, units) => {
    const coloured = field.value;
    const forget = () => {
      field.removeEventListener('keydown', onKey, true);
      field.removeEventListener('input', forget, true);
    };
    const onKey = (event) => {
      const undo = event.key.toLowerCase() === 'z' && (event.ctrlKey || event.metaKey) && !event.shiftKey;
      if (!undo || !event.isTrusted) {
        return;
      }
      forget();
      if (field.value === coloured) {
        event.preventDefault();
        field.setRangeText(original, start, start + units, 'select');
        field.dispatchEvent(new InputEvent('input', {bubbles: true, inputType: 'historyUndo'}));
      }
    };
    field.addEventListener('keydown', onKey, true);
    field.addEventListener('input', forget, true);
  };
  const target = globalThis.huecodeTarget;
  globalThis.huecodeTarget = null;
  const field = target?.kind === 'text' ? target.field : target?.element;
  if (!target || !field.isConnected || (target.picked?.text ?? target.text) !== expected) {
    return 'changed';
  }
  field.focus({preventScroll: true});
  if (target.kind === 'rich') {
    return globalThis.huecodeWriting.write(target, replacement, formatted);
  }
  const before = field.value;
  if (before.slice(target.start, target.end) !== expected) {
    return 'changed';
  }
  const after = before.slice(0, target.start) + replacement + before.slice(target.end);
  field.setSelectionRange(target.start, target.end);
  if (replacement.length <= 65536 && globalThis.huecodeWriting.commanded(field, replacement, null)) {
    if (field.value === after) {
      return 'done';
    }
    // A code editor that keeps its text elsewhere and uses the field only
    // for input took the text and changed the field its own way: inserting
    // again would put the markup in twice, and its own undo is there.
    if (field.value !== before) {
      return 'unchecked';
    }
  }
  // Editors that refuse the command get the same text and event.
  field.value = before;
  field.setRangeText(replacement, target.start, target.end, 'end');
  field.dispatchEvent(new InputEvent('input', {bubbles: true, inputType: 'insertReplacementText'}));
  undoOnce(field, expected, target.start, replacement.length);
  return 'done';
}

// A short notice next to the page's content, gone after a few seconds. Its
// own shadow root keeps the page's styles out of it. With an offer
// ({text, label, done}) it carries a button that copies the text to the
// clipboard, and stays longer.
export function showNotice(message, offer) {
  const copy = (text) => {
    const fill = (event) => {
      event.clipboardData.setData('text/plain', text);
      event.preventDefault();
    };
    document.addEventListener('copy', fill, true);
    const copied = document.execCommand('copy');
    document.removeEventListener('copy', fill, true);
    return copied ? Promise.resolve() : navigator.clipboard.writeText(text);
  };
  const host = document.createElement('huecode-notice');
  const root = host.attachShadow({mode: 'closed'});
  const box = document.createElement('div');
  box.setAttribute('role', 'status');
  box.textContent = message;
  box.style.cssText = 'position:fixed;z-index:2147483647;right:16px;bottom:16px;max-width:360px;' +
    'padding:10px 14px;border-radius:6px;background:#1d2330;color:#fff;font:14px/1.4 system-ui,sans-serif;' +
    'box-shadow:0 2px 10px rgba(0,0,0,.35)';
  if (offer) {
    const button = document.createElement('button');
    button.textContent = offer.label;
    button.style.cssText = 'display:block;margin-top:8px;font:inherit';
    button.addEventListener('click', (event) => {
      if (event.isTrusted) {
        copy(offer.text).then(() => {
          button.textContent = offer.done;
        }, () => {});
      }
    });
    box.append(button);
  }
  root.append(box);
  document.documentElement.append(host);
  setTimeout(() => host.remove(), offer ? 15000 : 4000);
}

// Asks which markup the site reads, the suggested dialect first and focused,
// so Enter takes it. Answers the chosen key, or null when the question was
// dismissed. Only the user's own clicks and keys count: the page's scripts
// cannot answer for them.
export function askDialect(choices, suggestion, texts) {
  return new Promise((resolve) => {
    const host = document.createElement('huecode-prompt');
    const root = host.attachShadow({mode: 'closed'});
    const dialog = document.createElement('div');
    dialog.setAttribute('role', 'dialog');
    dialog.setAttribute('aria-label', texts.title);
    dialog.style.cssText = 'position:fixed;z-index:2147483647;left:50%;top:20%;transform:translateX(-50%);' +
      'padding:14px;border-radius:8px;background:#fff;color:#111;font:14px/1.4 system-ui,sans-serif;' +
      'box-shadow:0 4px 24px rgba(0,0,0,.4);display:flex;flex-direction:column;gap:6px;min-width:240px';
    const title = document.createElement('strong');
    title.textContent = texts.title;
    dialog.append(title);
    const finish = (answer) => {
      host.remove();
      resolve(answer);
    };
    const ordered = [...choices].sort((a, b) => (b.key === suggestion) - (a.key === suggestion));
    for (const choice of [...ordered, {key: null, label: texts.cancel}]) {
      const button = document.createElement('button');
      button.textContent = choice.key === suggestion ? `${choice.label} ${texts.suggested}` : choice.label;
      button.addEventListener('click', (event) => event.isTrusted && finish(choice.key));
      dialog.append(button);
    }
    dialog.addEventListener('keydown', (event) => event.isTrusted && event.key === 'Escape' && finish(null));
    root.append(dialog);
    document.documentElement.append(host);
    dialog.querySelector('button').focus();
  });
}
