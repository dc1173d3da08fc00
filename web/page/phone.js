// On a phone the settings fold into sections, one open at a time, and a bar
// at the bottom of the screen keeps the coloured result, its length and Copy
// in reach while the text is typed: it shows whenever the result itself is
// out of view. The layout (which elements, how tall) is the style sheet's,
// from the first paint; this only opens, closes and fills.
const byId = (id) => document.getElementById(id);
// The bar's line shows the beginning: a line's worth of characters.
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

// onCopy: what the bar's Copy does (the page's copy of the whole markup).
export function initPhone(onCopy) {
  for (const button of document.querySelectorAll('.fold-toggle')) {
    button.addEventListener('click', () => toggleSection(button));
  }
  const bar = byId('phone-bar');
  byId('bar-copy').addEventListener('click', () => onCopy(byId('bar-copy')));
  const away = new IntersectionObserver(([entry]) => {
    bar.toggleAttribute('data-away', entry.isIntersecting);
  });
  away.observe(document.querySelector('.result'));
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
