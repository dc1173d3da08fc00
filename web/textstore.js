// The text typed into the page, kept across reloads in IndexedDB: written to
// localStorage, a megabyte of text would block the page for a second, while
// IndexedDB writes it away from the main thread. A page being left cannot
// wait for IndexedDB, so it writes a short text to localStorage at once;
// whichever copy is newer wins.
const storeName = 'text';
const quickKey = 'huecode.text.v1';
const quickLimit = 100000;
let database = null;

function openDatabase() {
  return new Promise((resolve, reject) => {
    const request = indexedDB.open('huecode', 1);
    request.onupgradeneeded = () => request.result.createObjectStore(storeName);
    request.onsuccess = () => resolve(request.result);
    request.onerror = () => reject(request.error);
  });
}

async function transaction(mode, use) {
  database ??= openDatabase();
  const db = await database;
  return new Promise((resolve, reject) => {
    const t = db.transaction(storeName, mode);
    const request = use(t.objectStore(storeName));
    t.oncomplete = () => resolve(request.result);
    t.onerror = () => reject(t.error);
    t.onabort = () => reject(t.error);
  });
}

// '' when nothing is kept or the browser keeps nothing (some private windows).
const kept = (value) => (value && typeof value.text === 'string' && Number.isFinite(value.at) ? value
  : {text: '', at: -1});

function quickCopy() {
  try {
    return kept(JSON.parse(localStorage.getItem(quickKey)));
  } catch {
    return kept(null);
  }
}

export async function loadText() {
  let stored = kept(null);
  try {
    stored = kept(await transaction('readonly', (store) => store.get(storeName)));
  } catch {
    // Some private windows keep nothing; the quick copy may still be there.
  }
  const quick = quickCopy();
  return (quick.at > stored.at ? quick : stored).text;
}

export async function saveText(text) {
  try {
    await transaction('readwrite', (store) => store.put({text, at: Date.now()}, storeName));
    return true;
  } catch {
    return false;
  }
}

// For a page being left: the short text at once, the long one as well as it can.
export function saveTextNow(text) {
  try {
    if (text.length <= quickLimit) {
      localStorage.setItem(quickKey, JSON.stringify({text, at: Date.now()}));
      return;
    }
    localStorage.removeItem(quickKey);
  } catch {
    // Storage refused: the copy in IndexedDB is all there is.
  }
  saveText(text);
}
