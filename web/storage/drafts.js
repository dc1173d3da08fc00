// The IndexedDB store of the text's drafts (text-store.js), opened by the page
// and by the worker that writes long drafts away from the page's thread.
const storeName = 'text';

export function openDatabase() {
  return new Promise((resolve, reject) => {
    const request = indexedDB.open('huecode', 1);
    request.onupgradeneeded = () => request.result.createObjectStore(storeName);
    request.onsuccess = () => {
      // A newer version of the page opening the database must not wait for this tab.
      request.result.onversionchange = () => request.result.close();
      resolve(request.result);
    };
    request.onerror = () => reject(request.error);
  });
}

// use gets the store and returns what to answer once the transaction is done.
export function inTransaction(db, mode, use) {
  return new Promise((resolve, reject) => {
    const t = db.transaction(storeName, mode);
    const answer = use(t.objectStore(storeName));
    t.oncomplete = () => resolve(typeof answer === 'function' ? answer() : answer?.result);
    t.onerror = () => reject(t.error);
    t.onabort = () => reject(t.error);
  });
}
