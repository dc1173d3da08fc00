// The gallery and the saved gradients on the page: swatches to pick from, the
// user's own list kept in localStorage, and its export and import as a file.
import * as gradients from './gradients.js';
import {acknowledge, showToast} from './feedback.js';
import {local} from './storage.js';

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

// The board a gallery gradient reads on: its swatch framed in the board's
// colour, said in words to a screen reader and in the button's title.
function markBoard(pick, board, t) {
  pick.querySelector('.swatch').classList.add(`on-${board}`);
  pick.title = t.suits[board];
  pick.append(Object.assign(document.createElement('span'), {className: 'visually-hidden',
    textContent: ` (${t.suits[board]})`}));
}

// The undo button beside the status line, made once.
function undoButton(text) {
  let element = byId('library-undo');
  if (!element) {
    element = button('', null, () => {});
    element.id = 'library-undo';
    element.hidden = true;
    byId('library-status').after(element);
  }
  element.textContent = text;
  return element;
}

// host: {texts(), current() → {stops, space} or null, apply(gradient, name,
// button), maxStops()}. The list shown is the one storage holds: every
// change is made to it as it is then, and another tab's changes are heard.
// Longer than the rule's 50 lines until it is split into its list, editing and
// import parts.
// eslint-disable-next-line max-lines-per-function -- see above
export function createLibrary(host) {
  let list = [];
  let skipped = 0;
  let error = null;
  // What the last import replaced, while its undo is offered.
  let undoImport = null;

  const say = (message, undo = null) => {
    byId('library-status').textContent = message;
    undoImport = undo;
    const offer = undoButton(host.texts().undo);
    offer.hidden = undo === null;
  };
  const problem = (e) => {
    const text = host.texts().gradientErrors[e.code] ?? e.code;
    return typeof text === 'function' ? text(e) : text;
  };

  function reload() {
    const read = gradients.loadSaved(local, {maxStops: host.maxStops()});
    ({list, skipped, error} = read);
    if (read.renumbered && !read.error) {
      gradients.storeSaved(local, list, read.unreadable);
    }
  }

  // A store that holds no readable list is replaced only when the user says so.
  const locked = () => error !== null && error.code !== 'storageRefused';

  function edit(change, asked = false) {
    const replace = locked();
    if (replace && !asked && !window.confirm(host.texts().savedUnreadable)) {
      return false;
    }
    try {
      gradients.changeSaved(local, change, {replace, maxStops: host.maxStops()});
      return true;
    } catch (e) {
      say(problem(e));
      return false;
    } finally {
      reload();
      render();
    }
  }

  // A deleted gradient goes back where it was, unless it is back already.
  function restore(entry, k) {
    edit((l) => (l.some((e) => e.id === entry.id) ? l : [...l.slice(0, k), entry, ...l.slice(k)]));
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
        if (edit((l) => gradients.deleteGradient(l, entry.id))) {
          showToast('gradient-delete', byId('saved-label'), t.gradientDeleted(entry.name), () => restore(entry, k));
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
      markBoard(pick, entry.board, t);
      item.append(pick);
      return item;
    }));
    byId('saved').replaceChildren(...list.map(savedItem));
    byId('saved-empty').hidden = list.length > 0;
    if (locked()) {
      say(t.savedUnreadable);
    } else if (skipped > 0 && !byId('library-status').textContent) {
      say(t.savedSkipped(skipped));
    }
  }

  function save() {
    const current = host.current();
    const name = byId('save-name').value;
    try {
      // The name is checked before the list is touched.
      const cleaned = gradients.cleanGradient({name, ...current}, {maxStops: host.maxStops()});
      if (edit((l) => gradients.saveGradient(l, cleaned, {maxStops: host.maxStops()}).list)) {
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

  // An import adds to the saved gradients, or replaces a store that cannot
  // be read, which it asks first; either way it can be undone.
  async function importFile(file) {
    const t = host.texts();
    try {
      const imported = gradients.readGradientFile(await file.text(), {maxStops: host.maxStops()});
      const replacing = locked();
      if (replacing && !window.confirm(t.importReplaces)) {
        return;
      }
      const before = {text: local.get(gradients.storageKey)};
      let merged = null;
      if (edit((l) => (merged = gradients.mergeGradients(l, imported)).list, replacing)) {
        say(t.imported(merged.added, merged.skipped), before);
      }
    } catch (e) {
      say(t.importFailed(problem(e), e.entry));
    }
  }

  function undoLastImport() {
    const before = undoImport;
    if (before?.text === null) {
      local.remove(gradients.storageKey);
    }
    if (before && (before.text === null || local.set(gradients.storageKey, before.text))) {
      say(host.texts().importUndone);
    }
    reload();
    render();
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
  undoButton(host.texts().undo).addEventListener('click', undoLastImport);
  // Another tab of the page saved, renamed or deleted a gradient.
  addEventListener('storage', (event) => {
    if (event.key === gradients.storageKey || event.key === null) {
      reload();
      render();
    }
  });
  reload();
  return {render, reload};
}
