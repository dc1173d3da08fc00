// The gallery and the saved gradients on the page: swatches to pick from, the
// user's own list kept in localStorage, and its export and import as a file.
import * as gradients from './gradients.js';
import {acknowledge, showToast} from './feedback.js';

const byId = (id) => document.getElementById(id);

function swatch(stops) {
  const span = document.createElement('span');
  span.className = 'swatch';
  span.setAttribute('aria-hidden', 'true');
  span.style.backgroundImage = `linear-gradient(to right, ${stops.join(', ')})`;
  return span;
}

function button(text, label, onClick) {
  const element = Object.assign(document.createElement('button'), {type: 'button', textContent: text});
  element.className = 'secondary';
  if (label) {
    element.setAttribute('aria-label', label);
  }
  element.addEventListener('click', onClick);
  return element;
}

// onClick(button): the pressed button, for the answer beside it.
function pickButton(name, stops, label, onClick) {
  const element = button('', label, () => onClick(element));
  element.className = 'pick';
  const text = Object.assign(document.createElement('span'), {className: 'label', textContent: name});
  element.append(swatch(stops), text);
  return element;
}

// The board a gallery gradient reads on, as a mark after its name (read
// out in full).
function boardMark(board, t) {
  const mark = Object.assign(document.createElement('span'), {className: `board-mark ${board}`,
    textContent: t.boardFor[board], title: t.suits[board]});
  mark.setAttribute('aria-hidden', 'true');
  const spoken = Object.assign(document.createElement('span'), {className: 'visually-hidden',
    textContent: ` (${t.suits[board]})`});
  return [mark, spoken];
}

// host: {texts(), current() → {stops, space} or null, apply(gradient, name),
// maxStops()}.
export function createLibrary(host) {
  let {list, error} = gradients.loadSaved(localStorage);
  // A stored list that cannot be read is kept until the user replaces it.
  let locked = error !== null && error.code !== 'storageRefused';

  const say = (message) => {
    byId('library-status').textContent = message;
  };
  const problem = (e) => {
    const text = host.texts().gradientErrors[e.code] ?? e.code;
    return typeof text === 'function' ? text(e) : text;
  };

  function store(next) {
    if (locked && !window.confirm(host.texts().savedUnreadable)) {
      return false;
    }
    if (!gradients.storeSaved(localStorage, next)) {
      say(host.texts().storageFull);
      return false;
    }
    locked = false;
    list = next;
    render();
    return true;
  }

  function edit(change) {
    try {
      return store(change(list));
    } catch (e) {
      say(problem(e));
      return false;
    }
  }

  function savedItem(entry, k) {
    const t = host.texts();
    const item = document.createElement('li');
    item.dataset.id = entry.id;
    item.append(
      pickButton(entry.name, entry.stops, t.useGradient(entry.name), (b) => host.apply(entry, entry.name, b)),
      button('↑', t.moveGradientUp(entry.name), () => edit((l) => gradients.moveGradient(l, entry.id, -1))),
      button('↓', t.moveGradientDown(entry.name), () => edit((l) => gradients.moveGradient(l, entry.id, 1))),
      button('✎', t.renameGradient(entry.name), () => {
        const name = window.prompt(t.renamePrompt, entry.name);
        if (name !== null) {
          edit((l) => gradients.renameGradient(l, entry.id, name));
        }
      }),
      button('×', t.deleteGradient(entry.name), () => {
        const before = list;
        if (edit((l) => gradients.deleteGradient(l, entry.id))) {
          showToast('gradient-delete', byId('saved-label'), t.gradientDeleted(entry.name), () => store(before));
        }
      }));
    item.children[1].disabled = k === 0;
    item.children[2].disabled = k === list.length - 1;
    return item;
  }

  function render() {
    const t = host.texts();
    const language = t.htmlLang.startsWith('zh') ? 'zh' : 'en';
    byId('gallery').replaceChildren(...gradients.gallery.map((entry) => {
      const item = document.createElement('li');
      const name = gradients.galleryName(entry, language);
      const pick = pickButton(name, entry.stops, null, (b) => host.apply(entry, name, b));
      pick.append(...boardMark(entry.board, t));
      item.append(pick);
      return item;
    }));
    byId('saved').replaceChildren(...list.map(savedItem));
    byId('saved-empty').hidden = list.length > 0;
    if (locked) {
      say(t.savedUnreadable);
    }
  }

  function save() {
    const current = host.current();
    const name = byId('save-name').value;
    try {
      const {list: next} = gradients.saveGradient(list, {name, ...current}, {maxStops: host.maxStops()});
      if (store(next)) {
        byId('save-name').value = '';
        acknowledge(byId('save-gradient'), host.texts().savedAck);
      }
      byId('save-name').removeAttribute('aria-invalid');
      byId('save-error').hidden = true;
    } catch (e) {
      byId('save-name').setAttribute('aria-invalid', 'true');
      byId('save-error').textContent = problem(e);
      byId('save-error').hidden = false;
    }
  }

  function exportFile() {
    const url = URL.createObjectURL(new Blob([gradients.exportGradients(list)], {type: 'application/json'}));
    const link = Object.assign(document.createElement('a'), {href: url, download: 'huecode-gradients.json'});
    link.click();
    setTimeout(() => URL.revokeObjectURL(url), 1000);
  }

  async function importFile(file) {
    const t = host.texts();
    try {
      const imported = gradients.readGradientFile(await file.text(), {maxStops: host.maxStops()});
      const {list: next, added, skipped} = gradients.mergeGradients(locked ? [] : list, imported);
      locked = false;
      if (store(next)) {
        say(t.imported(added, skipped));
      }
    } catch (e) {
      say(t.importFailed(problem(e), e.entry));
    }
  }

  byId('save-gradient').addEventListener('click', save);
  byId('save-name').addEventListener('keydown', (event) => {
    if (event.key === 'Enter') {
      save();
    }
  });
  byId('export').addEventListener('click', exportFile);
  byId('import').addEventListener('click', () => byId('import-file').click());
  byId('import-file').addEventListener('change', async () => {
    const [file] = byId('import-file').files;
    if (file) {
      await importFile(file);
    }
    byId('import-file').value = '';
  });
  // Another tab of the page saved or deleted a gradient.
  addEventListener('storage', (event) => {
    if (event.key === gradients.storageKey) {
      ({list, error} = gradients.loadSaved(localStorage));
      render();
    }
  });
  return {render};
}
