// What runs inside the web page, through scripting.executeScript. Each
// function is sent on its own (its text, not its closure), so each one holds
// every helper it needs, or calls what the extension's classic scripts
// (content/scripts.js lists them),
// injected into the same frames before, left there. They run in the
// extension's isolated world: the page's scripts see neither these functions
// nor what they keep between calls.

// Describes the field that holds the focus, if this frame holds it, and
// keeps it for insertMarkup when a change follows (forChange). openings:
// [dialect key, pattern of its markup's opening], for suggesting the dialect
// from markup already in the field. The work is focused-field.js's,
// injected into the frames beforehand.
export function readFocusedField(forChange, openings) {
  return globalThis.huecodeField.read(forChange, openings);
}

// Replaces what readFocusedField kept with the markup (or the coloured
// text); 'done' once the field holds the change, or why it does not.
export function insertMarkup(expected, replacement, formatted) {
  return globalThis.huecodeField.insert(expected, replacement, formatted);
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
    const ordered = [...choices].sort((a, b) => Number(b.key === suggestion) - Number(a.key === suggestion));
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
