// On a phone the settings fold into sections, one open at a time, and a bar
// at the bottom of the screen keeps the coloured result, its length and Copy
// in reach while the text is typed: it shows until Copy itself is wholly in
// view, above the keyboard too. The layout (which elements, how tall) is the style sheet's,
// from the first paint; this only opens, closes and fills.
// The bar's line shows the beginning: a line's worth of characters.
import {byId} from './dom.js';

const lineCharacters = 160;

function toggleSection(button) {
  const opening = button.getAttribute('aria-expanded') !== 'true';
  for (const other of document.querySelectorAll('.fold-toggle')) {
    const open = other === button && opening;
    other.setAttribute('aria-expanded', String(open));
    other.closest('fieldset').toggleAttribute('data-open', open);
  }
}

// The keyboard on a phone shrinks the visual viewport; where the browser
// does not resize the layout for it, the bar moves up above it.
function followKeyboard(bar) {
  const viewport = window.visualViewport;
  if (!viewport) {
    return;
  }
  const follow = () => {
    const hidden = window.innerHeight - viewport.height - viewport.offsetTop;
    bar.style.transform = hidden > 1 ? `translateY(${-hidden}px)` : '';
  };
  viewport.addEventListener('resize', follow);
  viewport.addEventListener('scroll', follow);
}

// Copy counts as in reach only when all of it lies inside the visual
// viewport: a keyboard that only shrinks that (not the layout) hides what
// lies beneath it, and a Copy half under the screen's edge is not a target.
function copyInView(copy) {
  const box = copy.getBoundingClientRect();
  const viewport = window.visualViewport;
  const top = viewport ? viewport.offsetTop : 0;
  const bottom = viewport ? top + viewport.height : window.innerHeight;
  return box.height > 0 && box.top >= top && box.bottom <= bottom;
}

// Checked once a frame at most, whenever anything may have moved Copy.
function watchCopy(bar, copy) {
  let queued = false;
  const check = () => {
    queued = false;
    bar.toggleAttribute('data-away', copyInView(copy));
  };
  const soon = () => {
    if (!queued) {
      queued = true;
      requestAnimationFrame(check);
    }
  };
  addEventListener('scroll', soon, {passive: true});
  addEventListener('resize', soon);
  window.visualViewport?.addEventListener('resize', soon);
  window.visualViewport?.addEventListener('scroll', soon);
  new ResizeObserver(soon).observe(document.body);
  new IntersectionObserver(soon, {threshold: [0, 1]}).observe(copy);
  soon();
}

// onCopy: what the bar's Copy does (the page's copy of the whole markup).
export function initPhone(onCopy) {
  for (const button of document.querySelectorAll('.fold-toggle')) {
    button.addEventListener('click', () => toggleSection(button));
  }
  const bar = byId('phone-bar');
  byId('bar-copy').addEventListener('click', () => onCopy(byId('bar-copy')));
  watchCopy(bar, byId('copy'));
  followKeyboard(bar);
}

// The first line of the drawn preview on the board's colour, and the
// markup's length in the unit the limit counts.
export function showOnBar({preview, board, length}) {
  const line = byId('bar-line');
  const parts = [];
  let characters = 0;
  for (const node of preview.childNodes) {
    if (characters >= lineCharacters) {
      break;
    }
    const part = node.cloneNode(true);
    part.textContent = part.textContent.replace(/\s+/g, ' ');
    characters += part.textContent.length;
    parts.push(part);
  }
  line.replaceChildren(...parts);
  line.style.backgroundColor = board;
  byId('bar-length').textContent = length.text;
  byId('bar-length').classList.toggle('over', length.over);
}
