// Every action is answered where the user's eye is: the button that did it
// says so for a moment, and a message that offers Undo is a toast beside the
// control that caused it. Both are announced politely. A toast goes after a
// few seconds (not while the pointer or the focus is on it), on Esc, and when
// the next action of its kind replaces it.
import {byId} from './dom.js';

const ackMillis = 2000;
const toastMillis = 6000;
const toasts = new Map();  // kind → {element, anchor, timer}
const restorers = new Map();

let currentTexts = null;

// Esc closes the toasts, unless a dialog (which Esc closes) is open.
function onEscape(event) {
  if (event.key !== 'Escape' || toasts.size === 0 || document.querySelector('dialog[open]')) {
    return;
  }
  const inside = [...toasts.values()].find(({element}) => element.contains(document.activeElement));
  const anchor = inside?.anchor;
  dismissToasts();
  anchor?.focus();
}

// texts(): the page's texts in its current language.
export function initFeedback(texts) {
  currentTexts = texts;
  document.addEventListener('keydown', onEscape);
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

// A box whose children are laid out in lines of their own.
const flowing = (element) => ['block', 'flow-root', 'list-item'].includes(getComputedStyle(element).display);

// In the page's flow right after the anchor's line, so that the toast pushes
// what follows down rather than lying over another control: after the
// anchor's row of a grid (the gallery), across it; inside the phone bar, on
// a line above its own.
function insert(element, anchor) {
  const bar = anchor.closest('.phone-bar');
  if (bar) {
    bar.prepend(element);
    return;
  }
  let item = anchor;
  while (item.parentElement && !(flowing(item.parentElement) && !getComputedStyle(item).display.startsWith('inline'))) {
    if (getComputedStyle(item.parentElement).display === 'grid') {
      while (item.nextElementSibling && item.nextElementSibling.offsetTop === item.offsetTop) {
        item = item.nextElementSibling;
      }
      break;
    }
    item = item.parentElement;
  }
  item.after(element);
}

export function dismissToast(kind) {
  const toast = toasts.get(kind);
  if (toast) {
    clearTimeout(toast.timer);
    toast.element.remove();
    toasts.delete(kind);
  }
}

// All of them: on Esc, and when the page's language changes.
export function dismissToasts() {
  for (const kind of [...toasts.keys()]) {
    dismissToast(kind);
  }
}

// The time runs while neither the pointer nor the focus is on the toast.
function expireLater(kind, toast) {
  const {element} = toast;
  // Firefox still has the toast under :hover while it says the pointer left.
  const run = (pointerLeft = false) => {
    clearTimeout(toast.timer);
    if ((pointerLeft || !element.matches(':hover')) && !element.contains(document.activeElement)) {
      toast.timer = setTimeout(() => dismissToast(kind), toastMillis);
    }
  };
  const hold = () => clearTimeout(toast.timer);
  element.addEventListener('pointerenter', hold);
  element.addEventListener('focusin', hold);
  element.addEventListener('pointerleave', () => run(true));
  element.addEventListener('focusout', () => setTimeout(run));
  run();
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
  insert(element, anchor);
  const toast = {element, anchor, timer: 0};
  toasts.set(kind, toast);
  expireLater(kind, toast);
  announce(message);
  return element;
}
