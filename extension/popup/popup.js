// The toolbar popup: the user's choice in a compact form, a live preview of
// the focused field's selection, and "apply", which runs the service
// worker's colourSelection like the menu and the shortcut do. Opened as the
// options page (a tab of its own) it keeps only the gradient file's import
// and export, since a popup closes when a file chooser opens.
import {exportGradients, gallery, GradientError, mergeGradients, readGradientFile} from '../../web/shared/gradients.js';
import {changeSavedGradients, loadState, updateState, withSiteDialect, withSiteFormatted} from '../background/store.js';
import {byId} from '../../web/page/dom.js';

const t = (key, ...values) => chrome.i18n.getMessage(key, values.map(String)) || key;
const language = chrome.i18n.getUILanguage().toLowerCase().startsWith('zh') ? 'zh' : 'en';
const flags = ['bold', 'italic', 'underline', 'strike', 'endpoints'];

let state = null;
let tabId = null;
let site = null;

function option(value, label) {
  const element = document.createElement('option');
  element.value = value;
  element.textContent = label;
  return element;
}

function group(label, options) {
  const element = document.createElement('optgroup');
  element.label = label;
  element.append(...options);
  return element;
}

function showGradients() {
  const select = byId('gradient');
  const saved = state.saved.map((g) => option(`saved:${g.id}`, g.name));
  const builtIn = gallery.map((g) => option(`gallery:${g.id}`, g.name[language] ?? g.name.en));
  select.replaceChildren(...(saved.length > 0 ? [group(t('savedGradients'), saved)] : []),
    group(t('galleryGradients'), builtIn));
  const current = state.choice.gradient;
  if (current.source === 'custom') {
    select.prepend(option('custom', current.name || t('customGradient')));
  }
  select.prepend(option('default', t('defaultGradient')));
  select.value = ['custom', 'default'].includes(current.source) ? current.source : `${current.source}:${current.id}`;
}

function showChoice() {
  showGradients();
  byId('step').value = state.choice.step;
  for (const flag of flags) {
    byId(flag).checked = state.choice[flag];
  }
}

function readChoice() {
  const [source, ...id] = byId('gradient').value.split(':');
  const gradient = source === 'custom' ? state.choice.gradient
    : source === 'default' ? {source} : {source, id: id.join(':')};
  const choice = {...state.choice, gradient, step: byId('step').value};
  for (const flag of flags) {
    choice[flag] = byId(flag).checked;
  }
  return choice;
}

function showPreview(answer) {
  const preview = byId('preview');
  byId('dialect').replaceChildren(...answer.dialects.map((d) => option(d.key, d.label)));
  if (answer.refusal) {
    preview.textContent = answer.refusal;
    byId('counts').textContent = '';
    byId('apply').disabled = true;
    return;
  }
  site = answer.site;
  for (const element of /** @type {NodeListOf<HTMLElement>} */ (document.querySelectorAll('.formatting'))) {
    element.hidden = !answer.formatting;
  }
  byId('dialect').value = answer.dialect;
  // Only a rich editor can take coloured text; a text area keeps markup.
  byId('formatted-row').hidden = !answer.rich;
  byId('formatted').checked = answer.formatted;
  byId('apply').disabled = false;
  byId('bar').style.background = `linear-gradient(to right, ${answer.stops.join(', ')})`;
  preview.replaceChildren(...answer.chunks.map(([offset, units, colour]) => {
    const span = document.createElement('span');
    span.textContent = answer.text.slice(offset, offset + units);
    span.style.color = colour ?? '';
    return span;
  }));
  preview.style.fontWeight = state.choice.bold ? 'bold' : '';
  preview.style.fontStyle = state.choice.italic ? 'italic' : '';
  preview.style.textDecorationLine = [state.choice.underline && 'underline', state.choice.strike && 'line-through']
    .filter(Boolean).join(' ');
  byId('counts').textContent = t('counts', answer.counts.charactersIn, answer.counts.outputCharacters);
}

async function refresh() {
  if (tabId !== null) {
    showPreview(await chrome.runtime.sendMessage({type: 'preview', tabId}));
  }
}

async function choiceChanged() {
  const choice = readChoice();
  state = await updateState((now) => ({...now, choice}));
  showGradients();
  await refresh();
}

async function dialectChanged() {
  if (site) {
    const dialect = byId('dialect').value;
    state = await updateState((now) => withSiteDialect(now, site, dialect));
    await refresh();
  }
}

async function formattedChanged() {
  if (site) {
    const formatted = byId('formatted').checked;
    state = await updateState((now) => withSiteFormatted(now, site, formatted));
  }
}

async function apply(event) {
  event.preventDefault();
  const dialect = byId('dialect').value;
  if (site && dialect) {
    state = await updateState((now) => withSiteDialect(now, site, dialect));
  }
  const result = await chrome.runtime.sendMessage({type: 'apply', tabId, options: {}});
  byId('status').textContent = result.replaced ? [t('applied', result.characters), result.note ?? ''].join(' ').trim()
    : result.message;
  if (result.replaced) {
    setTimeout(() => window.close(), 600);
  }
}

function exportFile() {
  const url = URL.createObjectURL(new Blob([exportGradients(state.saved)], {type: 'application/json'}));
  const link = document.createElement('a');
  link.href = url;
  link.download = 'huecode-gradients.json';
  link.click();
  setTimeout(() => URL.revokeObjectURL(url), 1000);
}

async function importFile() {
  const [file] = byId('file').files;
  byId('file').value = '';
  if (!file) {
    return;
  }
  try {
    // The core's stop limit and colour spaces: a gradient it cannot take is refused here, not
    // cut short or read in another space later.
    const limits = await chrome.runtime.sendMessage({type: 'limits'});
    const imported = readGradientFile(await file.text(), limits);
    let merged = null;
    const saved = await changeSavedGradients((list) => {
      merged = mergeGradients(list, imported);
      return merged.list;
    }, limits);
    state = {...state, saved};
    showGradients();
    byId('status').textContent = t('imported', merged.added, merged.skipped);
  } catch (error) {
    if (!(error instanceof GradientError)) {
      throw error;
    }
    byId('status').textContent = t('importRefused', error.message);
  }
}

async function start() {
  document.documentElement.lang = chrome.i18n.getUILanguage();
  for (const element of /** @type {NodeListOf<HTMLElement>} */ (document.querySelectorAll('[data-i18n]'))) {
    element.textContent = t(element.dataset.i18n);
  }
  state = await loadState();
  showChoice();
  const inTab = await chrome.tabs.getCurrent();
  document.body.classList.toggle('options', Boolean(inTab));
  if (!inTab) {
    const [tab] = await chrome.tabs.query({active: true, currentWindow: true});
    tabId = tab?.id ?? null;
  }
  for (const id of ['gradient', 'step', ...flags]) {
    byId(id).addEventListener('change', choiceChanged);
  }
  byId('dialect').addEventListener('change', dialectChanged);
  byId('formatted').addEventListener('change', formattedChanged);
  byId('form').addEventListener('submit', apply);
  byId('export').addEventListener('click', exportFile);
  byId('import').addEventListener('click', () => (inTab ? byId('file').click() : chrome.runtime.openOptionsPage()));
  byId('file').addEventListener('change', importFile);
  byId('apply').disabled = true;
  await refresh();
}

start();
