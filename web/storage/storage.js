// The browser's storage, guarded: with site data blocked even reading
// window.localStorage throws, and a full or private storage refuses writes.
// Every access here answers instead of throwing, and the first refusal of
// any storage (this one or IndexedDB in text-store.js) is reported once, so
// the page can say that nothing will be kept.
let refusedListener = null;
let refused = false;

export function reportRefused() {
  if (!refused) {
    refused = true;
    refusedListener?.();
  }
}

// The listener hears a refusal that happened before it was set as well.
export function onRefused(listener) {
  refusedListener = listener;
  if (refused) {
    listener();
  }
}

/** @param {'localStorage' | 'sessionStorage'} which */
function guarded(which) {
  const area = () => window[which];
  return {
    get(key) {
      try {
        return area().getItem(key);
      } catch {
        reportRefused();
        return null;
      }
    },
    set(key, value) {
      try {
        area().setItem(key, value);
        return true;
      } catch {
        reportRefused();
        return false;
      }
    },
    // A write that may not fit: a full storage refuses it quietly.
    setIfRoom(key, value) {
      try {
        area().setItem(key, value);
        return true;
      } catch (e) {
        if (e?.name !== 'QuotaExceededError') {
          reportRefused();
        }
        return false;
      }
    },
    remove(key) {
      try {
        area().removeItem(key);
      } catch {
        reportRefused();
      }
    },
    // A stored JSON value, or null when there is none or it cannot be read.
    getJson(key) {
      try {
        return JSON.parse(this.get(key));
      } catch {
        return null;
      }
    },
  };
}

// Shaped like the Storage interface's getItem and setItem, so that code
// written against localStorage takes it as it is.
export const local = guarded('localStorage');
export const session = guarded('sessionStorage');
local.getItem = local.get;
local.setItem = (key, value) => {
  if (!local.set(key, value)) {
    throw new Error('storage refused');
  }
};
