// The text typed into the page, kept across reloads and crashes. Each tab
// keeps its own draft in IndexedDB (a long one written by a worker, so that
// copying it in never pauses the page): two tabs never overwrite each
// other's text, a reload finds its tab's own draft, and a new tab opens with
// the draft edited last. A change is kept within keepWithin of the key that
// made it. A page being left cannot wait for IndexedDB (a closing tab drops
// its write), so it also writes the text to localStorage at once, a long one
// when there is room; whichever copy is newer wins. Storage
// that refuses, or IndexedDB that does not answer in time (a second for a
// short text, longer for a long one), is reported (storage.js) and never
// makes a kept text empty: only a text this tab changed is ever written.
import {inTransaction, openDatabase} from './drafts.js';
import {startConverter} from '../core/runner.js';
import {local, reportRefused, session} from './storage.js';
import {charactersOver} from '../shared/code-points.js';

const draftPrefix = 'draft:';
const quickKey = 'huecode.text.v1';
const quickLimit = 100000;
const keptDrafts = 8;
const answerWithin = 1000;
// IndexedDB still silent after this long is taken to keep nothing; a busy
// machine may need more than the second the page waits for it at start.
const silentAfter = 5000;
const keepWithin = 100;
// The longest text the page takes: 10 Mi characters. A longer one is
// refused before it is kept or converted.
export const maxTextLength = 10 * 2 ** 20;

// The text's characters when they are more than the page takes, else 0.
export const excessCharacters = (units, text) => charactersOver(maxTextLength, units, text);

const tabKey = 'huecode.tab';
const newTabId = () => `t${Date.now().toString(36)}${Math.random().toString(36).slice(2, 8)}`;
// A reload finds its id in the session storage. So does a duplicated tab,
// whose session storage starts as a copy of its source's: the id is claimed
// with a lock held for the page's life, and an id another live page holds is
// given up for a new one, so that the two never write the same draft. The
// copy still opens with its source's draft, as the browser copied the rest.
// A reloading page may still hold its own lock for a moment: claimWait.
const sourceTab = session.get(tabKey) ?? newTabId();
let tab = sourceTab;
const claimWait = 500;
session.set(tabKey, tab);

function holdLock(name, signal) {
  return new Promise((resolve) => {
    navigator.locks.request(name, {signal}, () => {
      resolve(true);
      return new Promise(() => {});
    }).catch(() => resolve(false));
  });
}

async function claimTab() {
  if (!navigator.locks || typeof AbortSignal.timeout !== 'function') {
    return;
  }
  if (!await holdLock(`huecode.tab.${tab}`, AbortSignal.timeout(claimWait))) {
    tab = newTabId();
    session.set(tabKey, tab);
    holdLock(`huecode.tab.${tab}`);
  }
}
const claimed = claimTab().catch(() => {});
let database = null;

function answered(promise, within = answerWithin) {
  return new Promise((resolve, reject) => {
    const timer = setTimeout(() => reject(new Error('IndexedDB did not answer')), within);
    promise.then(resolve, reject).finally(() => clearTimeout(timer));
  });
}

// Reports a refusal when the promise fails or has not settled after silentAfter.
function watched(promise) {
  const timer = setTimeout(reportRefused, silentAfter);
  promise.then(() => clearTimeout(timer), () => {
    clearTimeout(timer);
    reportRefused();
  });
  return promise;
}

// use gets the store and returns what to answer once the transaction is
// done. Callers wait through answered(): a second at most, while a late
// answer still completes the work.
function transaction(mode, use) {
  database ??= openDatabase();
  return watched(database.then((db) => inTransaction(db, mode, use)));
}

// A long draft is written by a worker of its own: the browser copies a
// value into IndexedDB on the thread that writes it, which for a text of
// megabytes is a pause the page would feel. Handing the text to the worker
// is a copy too, but a quicker one.
function startKeeper() {
  const worker = startConverter('keeper');
  const waiting = new Map();
  let next = 0;
  worker.addEventListener('message', ({data}) => {
    const {resolve, reject} = waiting.get(data.id) ?? {};
    waiting.delete(data.id);
    (data.kept ? resolve : reject)?.(new Error(data.error));
  });
  return (key, draft) => watched(new Promise((resolve, reject) => {
    next += 1;
    waiting.set(next, {resolve, reject});
    worker.postMessage({id: next, key, draft});
  }));
}

let keeper = null;
// Writes follow one another, from the page or the keeper, so that a draft
// never lands after a newer one.
let writing = Promise.resolve();

// direct: a page being left writes at once, itself, as its workers may
// stop before they write.
function write(key, draft, direct) {
  const put = () => {
    if (direct || draft.text.length <= quickLimit) {
      return transaction('readwrite', (store) => store.put(draft, key));
    }
    keeper ??= startKeeper();
    return keeper(key, draft);
  };
  const written = direct ? put() : writing.then(put);
  writing = written.catch(() => {});
  return written;
}

const isDraft = (value) => value && typeof value === 'object' && typeof value.text === 'string' &&
  Number.isFinite(value.at);

function storedDrafts() {
  return transaction('readonly', (store) => {
    const keys = store.getAllKeys();
    const values = store.getAll();
    return () => values.result.map((value, k) => ({key: keys.result[k], ...value})).filter(isDraft);
  });
}

// Drafts of tabs long closed go, the newest few stay.
function forgetOld(drafts) {
  const old = drafts.filter((d) => d.tab !== tab).sort((a, b) => b.at - a.at).slice(keptDrafts);
  if (old.length > 0) {
    transaction('readwrite', (store) => old.forEach((d) => store.delete(d.key))).catch(() => {});
  }
}

function chosen(drafts) {
  const quick = local.getJson(quickKey);
  const all = isDraft(quick) ? [...drafts, quick] : drafts;
  const newest = (list) => list.reduce((best, d) => (!best || d.at > best.at ? d : best), null);
  return (newest(all.filter((d) => d.tab === sourceTab)) ?? newest(all))?.text ?? '';
}

// This tab's own draft after a reload, else the one edited last; '' when
// nothing is kept or the browser keeps nothing. The page waits a second for
// IndexedDB; when its drafts arrive later, late(text) hears the text.
/** @param {(text: string) => void} [late] */
export async function loadText(late = () => {}) {
  await claimed;
  const drafts = storedDrafts();
  drafts.then(forgetOld, () => {});
  try {
    return chosen(await answered(drafts));
  } catch {
    drafts.then((list) => late(chosen(list)), () => {});
    return chosen([]);
  }
}

// at is when the text was last edited, which decides the newest draft. When
// IndexedDB refuses, localStorage keeps what it can take. A long text takes
// IndexedDB a while on a busy machine: only a refusal, or silence as long as
// the one reported as a refusal, sends it there.
export async function saveText(text, at = Date.now(), direct = false) {
  const draft = {tab, text, at};
  unconfirmed = draft;
  await claimed;
  draft.tab = tab;
  try {
    const written = write(`${draftPrefix}${tab}`, draft, direct);
    await answered(written, text.length > quickLimit ? silentAfter : answerWithin);
    return true;
  } catch {
    return local.set(quickKey, JSON.stringify(draft));
  } finally {
    if (unconfirmed === draft) {
      unconfirmed = null;
    }
  }
}

let changed = null;
let editedAt = 0;
// A draft IndexedDB has not yet confirmed: a page closed meanwhile may lose it.
let unconfirmed = null;
let timer = 0;

function keepChanged() {
  clearTimeout(timer);
  timer = 0;
  const read = changed;
  changed = null;
  return read?.();
}

// read gives the text as it is when its turn comes: the timer is not
// restarted by every key, so at most keepWithin of typing is ever unkept.
export function textChanged(read) {
  changed = read;
  editedAt = Date.now();
  if (!timer) {
    timer = setTimeout(() => saveText(keepChanged(), editedAt), keepWithin);
  }
}

// For a page being left: a change not yet kept (or not yet confirmed) goes
// to localStorage at once, a long text when it fits, and to IndexedDB as well
// as it can. An unchanged text is left alone, so closing an idle tab never
// overwrites a newer draft.
export function leaving() {
  if (!changed && !unconfirmed) {
    return;
  }
  const text = changed ? keepChanged() : unconfirmed.text;
  const quick = JSON.stringify({tab, text, at: editedAt});
  if (text.length <= quickLimit) {
    local.set(quickKey, quick);
  } else {
    local.setIfRoom(quickKey, quick);
  }
  saveText(text, editedAt, true);
}

// A start with a long kept text is marked until its first markup is shown:
// a mark left over means the last start never got that far (the tab crashed
// or was killed), and the page then asks before it takes that text again.
const startKey = 'huecode.starting.v1';

let startMarked = local.get(startKey) !== null;

export function startFailedBefore() {
  return startMarked;
}

export function markStart(marked) {
  if (marked) {
    local.set(startKey, String(Date.now()));
  } else if (startMarked) {
    local.remove(startKey);
  }
  startMarked = marked;
}

