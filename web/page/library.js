// The gallery and the saved gradients on the page: swatches to pick from, the
// user's own list kept in localStorage, and its export and import as a file.
import * as gradients from '../shared/gradients.js';
import {acknowledge, showToast} from './feedback.js';
import {local} from '../storage/storage.js';
import {ask} from './ask.js';
import {byId} from './dom.js';

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

// The library's state: the list as storage last held it, how many entries
// it skipped, why it could not be read, and what the last import replaced
// while its undo is offered. host: {texts(), current() → {stops, space} or
// null, apply(gradient, name, button), limits() → the core's {maxStops, spaces}
// once it is known}.
function say(lib, message, undo = null) {
  byId('library-status').textContent = message;
  lib.undoImport = undo;
  const offer = undoButton(lib.host.texts().undo);
  offer.hidden = undo === null;
}

function problem(lib, e) {
  const text = lib.host.texts().gradientErrors[e.code] ?? e.code;
  return typeof text === 'function' ? text(e) : text;
}

function reload(lib) {
  const read = gradients.loadSaved(local, lib.host.limits());
  ({list: lib.list, skipped: lib.skipped, error: lib.error} = read);
  if (read.renumbered && !read.error) {
    gradients.storeSaved(local, lib.list, read.unreadable);
  }
}

// A store that holds no readable list is replaced only when the user says so.
const locked = (lib) => lib.error !== null && lib.error.code !== 'storageRefused';

// Two tabs' changes take turns: each reads the list as storage holds it and
// writes it back whole, so neither writes over the other's.
const inTurn = (run) => (navigator.locks ? navigator.locks.request(gradients.storageKey, run)
  : Promise.resolve().then(run));

// Every change is made to the list as storage holds it then.
async function edit(lib, change, asked = false) {
  const replace = locked(lib);
  if (replace && !asked && !window.confirm(lib.host.texts().savedUnreadable)) {
    return false;
  }
  try {
    await inTurn(() => gradients.changeSaved(local, change, {replace, ...lib.host.limits()}));
    return true;
  } catch (e) {
    say(lib, problem(lib, e));
    return false;
  } finally {
    reload(lib);
    render(lib);
  }
}

// A deleted gradient goes back where it was, unless it is back already.
function restore(lib, entry, k) {
  edit(lib, (l) => (l.some((e) => e.id === entry.id) ? l : [...l.slice(0, k), entry, ...l.slice(k)]));
}

function savedItem(lib, entry, k) {
  const t = lib.host.texts();
  const item = document.createElement('li');
  item.dataset.id = entry.id;
  item.append(
    pickButton(entry.name, entry.stops, t.useGradient(entry.name), (b) => lib.host.apply(entry, entry.name, b)),
    button('↑', t.moveGradientUp(entry.name), () => edit(lib, (l) => gradients.moveGradient(l, entry.id, -1))),
    button('↓', t.moveGradientDown(entry.name), () => edit(lib, (l) => gradients.moveGradient(l, entry.id, 1))),
    button('✎', t.renameGradient(entry.name), async () => {
      const name = await ask({question: t.renamePrompt, value: entry.name, yes: t.rename, no: t.cancel});
      if (name !== null) {
        await edit(lib, (l) => gradients.renameGradient(l, entry.id, name));
      }
    }),
    button('×', t.deleteGradient(entry.name), async () => {
      if (await edit(lib, (l) => gradients.deleteGradient(l, entry.id))) {
        showToast('gradient-delete', byId('saved-label'), t.gradientDeleted(entry.name), () => restore(lib, entry, k));
      }
    }));
  /** @type {HTMLButtonElement} */ (item.children[1]).disabled = k === 0;
  /** @type {HTMLButtonElement} */ (item.children[2]).disabled = k === lib.list.length - 1;
  return item;
}

function render(lib) {
  const t = lib.host.texts();
  const language = t.htmlLang.startsWith('zh') ? 'zh' : 'en';
  byId('gallery').replaceChildren(...gradients.gallery.map((entry) => {
    const item = document.createElement('li');
    const name = gradients.galleryName(entry, language);
    const pick = pickButton(name, entry.stops, null, (b) => lib.host.apply(entry, name, b));
    markBoard(pick, entry.board, t);
    item.append(pick);
    return item;
  }));
  byId('saved').replaceChildren(...lib.list.map((entry, k) => savedItem(lib, entry, k)));
  byId('saved-empty').hidden = lib.list.length > 0;
  if (locked(lib)) {
    say(lib, t.savedUnreadable);
  } else if (lib.skipped > 0 && !byId('library-status').textContent) {
    say(lib, t.savedSkipped(lib.skipped));
  }
}

// A name saved already is replaced only when the user says so.
async function save(lib) {
  const t = lib.host.texts();
  const current = lib.host.current();
  const name = byId('save-name').value;
  try {
    // The name is checked before the list is touched.
    const cleaned = gradients.cleanGradient({name, ...current}, lib.host.limits());
    if (lib.list.some((g) => g.name === cleaned.name) &&
      !await ask({question: t.replaceSaved(cleaned.name), yes: t.replace, no: t.cancel})) {
      return;
    }
    if (await edit(lib, (l) => gradients.saveOverName(l, cleaned, lib.host.limits()))) {
      // A name typed while the list was being written is the next one, kept.
      if (byId('save-name').value === name) {
        byId('save-name').value = '';
      }
      acknowledge(byId('save-gradient'), lib.host.texts().savedAck);
    }
    byId('save-name').removeAttribute('aria-invalid');
    byId('save-error').hidden = true;
  } catch (e) {
    byId('save-name').setAttribute('aria-invalid', 'true');
    byId('save-error').textContent = problem(lib, e);
    byId('save-error').hidden = false;
  }
}

function exportFile(lib) {
  const url = URL.createObjectURL(new Blob([gradients.exportGradients(lib.list)], {type: 'application/json'}));
  const link = Object.assign(document.createElement('a'), {href: url, download: 'huecode-gradients.json'});
  link.click();
  setTimeout(() => URL.revokeObjectURL(url), 1000);
}

// An import adds to the saved gradients, or replaces a store that cannot
// be read, which it asks first; either way it can be undone.
async function importFile(lib, file) {
  const t = lib.host.texts();
  try {
    const imported = gradients.readGradientFile(await file.text(), lib.host.limits());
    const replacing = locked(lib);
    if (replacing && !window.confirm(t.importReplaces)) {
      return;
    }
    const clashes = gradients.nameClashes(lib.list, imported);
    if (clashes && !await ask({question: t.importClashes(clashes), yes: t.replace, no: t.cancel})) {
      return;
    }
    const before = {text: local.get(gradients.storageKey)};
    let merged = null;
    const merge = (l) => (merged = gradients.mergeGradients(l, imported, {replaceNamed: true})).list;
    if (await edit(lib, merge, replacing)) {
      say(lib, t.imported(merged.added + merged.replaced, merged.skipped), before);
    }
  } catch (e) {
    say(lib, t.importFailed(problem(lib, e), e.entry));
  }
}

function undoLastImport(lib) {
  const before = lib.undoImport;
  if (before?.text === null) {
    local.remove(gradients.storageKey);
  }
  if (before && (before.text === null || local.set(gradients.storageKey, before.text))) {
    say(lib, lib.host.texts().importUndone);
  }
  reload(lib);
  render(lib);
}

function listen(lib) {
  byId('save-gradient').addEventListener('click', () => save(lib));
  byId('save-name').addEventListener('keydown', (event) => {
    if (event.key === 'Enter') {
      save(lib);
    }
  });
  byId('export').addEventListener('click', () => exportFile(lib));
  byId('import').addEventListener('click', () => byId('import-file').click());
  byId('import-file').addEventListener('change', async () => {
    const [file] = byId('import-file').files;
    if (file) {
      await importFile(lib, file);
    }
    byId('import-file').value = '';
  });
  undoButton(lib.host.texts().undo).addEventListener('click', () => undoLastImport(lib));
  // Another tab of the page saved, renamed or deleted a gradient.
  addEventListener('storage', (event) => {
    if (event.key === gradients.storageKey || event.key === null) {
      reload(lib);
      render(lib);
    }
  });
}

// The list shown is the one storage holds: every change is made to it as it
// is then, and another tab's changes are heard.
export function createLibrary(host) {
  const lib = {host, list: [], skipped: 0, error: null, undoImport: null};
  listen(lib);
  reload(lib);
  return {render: () => render(lib), reload: () => reload(lib)};
}
