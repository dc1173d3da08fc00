// Every action is answered where the user's eye is: the button that did it
// says so for a moment, and a message that offers Undo is a toast beside the
// control that caused it. Both are announced politely. A toast stays until
// it is dismissed or the next action of its kind replaces it.
const byId = (id) => document.getElementById(id);
const ackMillis = 2000;
const toasts = new Map();  // kind → {element, anchor}
const restorers = new Map();

let currentTexts = null;

// texts(): the page's texts in its current language.
export function initFeedback(texts) {
  currentTexts = texts;
  addEventListener('resize', () => {
    for (const {element, anchor} of toasts.values()) {
      place(element, anchor);
    }
  });
}

export function announce(message) {
  // The same message twice in a row is a change a screen reader hears too.
  byId('announce').textContent = '';
  requestAnimationFrame(() => {
    byId('announce').textContent = message;
  });
}

// The label of a button (or of its .label part, beside a swatch) becomes
// the acknowledgement, keeping the button's width so that nothing moves;
// spoken: the longer sentence a screen reader says.
export function acknowledge(button, message, spoken = message) {
  const target = button.querySelector('.label') ?? button;
  clearTimeout(restorers.get(button));
  if (!button.dataset.acked) {
    button.style.minWidth = `${button.getBoundingClientRect().width}px`;
    button.dataset.acked = target.textContent;
  }
  target.textContent = message;
  announce(spoken);
  restorers.set(button, setTimeout(() => {
    const key = target.dataset.i18n;
    target.textContent = key ? currentTexts()[key] : button.dataset.acked;
    delete button.dataset.acked;
    button.style.minWidth = '';
    restorers.delete(button);
  }, ackMillis));
}

// Below the anchor, in the document (it scrolls with the page), inside the
// window; above it for an anchor at the bottom of the screen (the phone bar).
function place(element, anchor) {
  const box = anchor.getBoundingClientRect();
  const fixed = getComputedStyle(anchor.closest('.phone-bar') ?? anchor).position === 'fixed';
  element.classList.toggle('fixed', fixed);
  const width = Math.min(element.offsetWidth, document.documentElement.clientWidth - 16);
  const left = Math.max(8, Math.min(box.left, document.documentElement.clientWidth - width - 8));
  const top = fixed ? box.top - element.offsetHeight - 8 : box.bottom + 6;
  element.style.left = `${left + (fixed ? 0 : scrollX)}px`;
  element.style.top = `${top + (fixed ? 0 : scrollY)}px`;
}

export function dismissToast(kind) {
  toasts.get(kind)?.element.remove();
  toasts.delete(kind);
}

function toastButton(text, className, onClick) {
  const button = Object.assign(document.createElement('button'), {type: 'button', textContent: text});
  button.className = className;
  button.addEventListener('click', onClick);
  return button;
}

// kind: what replaces it; undo: called by its Undo button, which also
// closes it. The focus stays where the user is.
export function showToast(kind, anchor, message, undo = null) {
  dismissToast(kind);
  const t = currentTexts();
  const element = document.createElement('div');
  element.className = 'toast';
  element.dataset.kind = kind;
  const text = Object.assign(document.createElement('span'), {textContent: message});
  element.append(text);
  if (undo) {
    element.append(toastButton(t.undo, 'secondary toast-undo', () => {
      dismissToast(kind);
      undo();
    }));
  }
  const close = toastButton('×', 'secondary toast-close', () => dismissToast(kind));
  close.setAttribute('aria-label', t.dismiss);
  element.append(close);
  document.body.append(element);
  toasts.set(kind, {element, anchor});
  place(element, anchor);
  announce(message);
  return element;
}
