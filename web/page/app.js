// Wires the page. The settings object (state.js) is the one source of truth:
// every edit becomes a change to it (edits.js, recorded for undo), the
// controls are written from it, and a conversion in the worker
// (conversion.js) fills the output, the counts, the bar and the preview with
// the newest answer (results.js).
import {dialectName, fields} from './controls.js';
import {initFeedback} from './feedback.js';
import {createLibrary} from './library.js';
import {listenToAsk} from './ask.js';
import {createOutputView} from './output-view.js';
import {initPhone} from './phone.js';
import {sameSettings} from './model.js';
import {loadSettings, storageKey as settingsKey} from '../shared/settings.js';
import {startConverter} from '../core/runner.js';
import {leaving, loadText, startFailedBefore} from '../storage/text-store.js';
import {showNote} from './notice.js';
import {local, onRefused} from '../storage/storage.js';
import {watchForUpdates} from '../offline/update.js';
import {createMarkupTools} from './markup-tools.js';
import {listenToMarkers} from './markers.js';
import {createTextBox} from './text-box.js';
import {conversionAhead, convertClicked, convertNow, conversionSettings, scheduleConversion, withCoreDefaults}
  from './conversion.js';
import {addStop, applyGradient, moveMarker, onColourInput, onFieldInput, onHexInput, onPositionInput, onStopButton, pickDialect, positionsRead, reverse, shuffle, stopPositions} from './control-edits.js';
import {applyLanguage, applyTheme, confirmReset, coreReady, redo, systemDark, toggleLanguage, undo, valueRead} from './edits.js';
import {createReads} from './core-reads.js';
import {createQueue} from './worker-queue.js';
import {onCopyKey, onKey, jumpToResult} from './keys.js';
import {answerLinkOffer, openLink, share} from './links.js';
import {showResult} from './results.js';
import {savedMotion, togglePlaying} from './motion.js';
import {page, parts, setStatus} from './state.js';
import {byId} from './dom.js';
import {keptText, onTextInput} from './text-input.js';

const texts = () => page.texts;

// The whole text, also the part a long text's window leaves out.
parts.textBox = createTextBox({texts});
const failedStart = startFailedBefore();
// A kept text that arrives after the page has started still fills an untouched box.
const textLoaded = loadText((text) => {
  keptText(text, failedStart);
  convertNow();
}).then((text) => keptText(text, failedStart));
parts.worker = startConverter();
parts.queue = createQueue(parts.worker);
// A verdict on a position first takes effect in the boxes that waited for it.
parts.reads = createReads(parts.queue.ask, () => {
  positionsRead();
  valueRead();
});
parts.output = createOutputView({texts});
parts.markupTools = createMarkupTools({ask: parts.queue.ask, texts, core: () => page.core,
  request: conversionSettings, text: () => parts.textBox.value(),
  dialectName: (dialect) => dialectName(page.texts, dialect), setStatus});
parts.library = createLibrary({
  texts,
  limits: () => (page.core ? {maxStops: page.core.maxStops, spaces: page.core.spaces} : {}),
  current: () => ({stops: page.settings.stops, space: page.settings.space, positions: stopPositions(),
    format: page.settings.format, motion: savedMotion(page.settings)}),
  apply: applyGradient,
});

function onWorkerMessage({data}) {
  if (parts.queue.answer(data)) {
    return;
  }
  if (data.ready === false) {
    // A core that fails to start in a browser that has WebAssembly says why.
    setStatus(typeof WebAssembly === 'object' ? page.texts.coreFailed(data.error) : page.texts.noWasm);
    return;
  }
  if (data.ready) {
    coreReady(data.core);
    parts.markupTools.render();
    // The first conversion waits for the kept text.
    textLoaded.then(() => {
      convertNow();
      openLink();
    });
    return;
  }
  if (data.id === page.latest && data.blob) {
    parts.output.blobArrived(data.blob);
    if (!conversionAhead()) {
      delete byId('output').dataset.pending;
    }
  } else if (data.id === page.latest) {
    showResult(data);
  }
}

// Another tab changed a setting: this one shows it too.
function onStorageElsewhere(event) {
  if (event.key !== settingsKey && event.key !== null) {
    return;
  }
  const {core} = page;
  const stored = loadSettings(local, core ?? undefined);
  const next = core ? withCoreDefaults(stored) : stored;
  if (!sameSettings(next, page.settings)) {
    page.settings = next;
    applyLanguage();
    scheduleConversion();
  }
}

function listen() {
  byId('text').addEventListener('input', onTextInput);
  for (const {id} of fields) {
    byId(id).addEventListener(byId(id).tagName === 'SELECT' || byId(id).type === 'checkbox' ? 'change' : 'input',
      onFieldInput);
  }
  const colours = document.querySelector('.colours');
  colours.addEventListener('input', onColourInput);
  colours.addEventListener('input', onHexInput);
  colours.addEventListener('input', (event) => /** @type {Element} */ (event.target).classList.contains('position') &&
    onPositionInput(event));
  byId('stops').addEventListener('click', onStopButton);
  listenToMarkers(() => page.settings, moveMarker);
  byId('dialect').addEventListener('change', pickDialect);
  byId('convert').addEventListener('click', convertClicked);
  const {output} = parts;
  const clicks = {copy: () => output.copy(), download: output.download, share, undo, redo, shuffle, language: toggleLanguage,
    'link-keep': () => answerLinkOffer(false), 'link-use': () => answerLinkOffer(true),
    'reset-confirm': confirmReset, 'reset-cancel': () => byId('reset-dialog').close(),
    reset: () => byId('reset-dialog').showModal(), 'add-stop': addStop, reverse, 'motion-play': togglePlaying};
  for (const [id, handler] of Object.entries(clicks)) {
    byId(id).addEventListener('click', handler);
  }
  parts.markupTools.wire();
  document.addEventListener('keydown', onKey);
  document.addEventListener('keydown', onCopyKey);
  byId('link-dialog').addEventListener('cancel', () => answerLinkOffer(false));
  document.querySelector('.jump').addEventListener('click', jumpToResult);
  systemDark.addEventListener('change', applyTheme);
  addEventListener('hashchange', () => page.core && openLink());
  addEventListener('pagehide', leaving);
  addEventListener('storage', onStorageElsewhere);
}

function start() {
  initFeedback(texts);
  initPhone(parts.output.copy);
  parts.worker.addEventListener('message', onWorkerMessage);
  parts.worker.addEventListener('error', (event) => setStatus(page.texts.coreFailed(event.message || 'worker.js')));
  applyLanguage();

  listen();
  listenToAsk();
  onRefused(() => showNote('storage-note', page.texts, {message: (t) => t.nothingKept,
    actions: [{label: (t) => t.dismiss}]}));
  watchForUpdates((reload) => showNote('update-note', page.texts, {message: (t) => t.updateReady,
    actions: [{label: (t) => t.updateReload, run: () => {
      leaving();
      reload();
    }}]}));
}

start();
