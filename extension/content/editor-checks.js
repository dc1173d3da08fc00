// Whether a change to a rich editor's text held: the editor waited for
// until it stops redrawing, then its text compared with what it should have
// become. Injected after editor-runs.js; the writing scripts find it as
// globalThis.huecodeChecks.
if (!globalThis.huecodeChecks) {
  const {settle, same, normalised, currentRange, putRange} = globalThis.huecodeSelection;
  const {domText, readAll} = globalThis.huecodeReading;

  // Waits until the editor has stopped redrawing: a change it makes in a
  // task of its own is then in place.
  function quiet(host, pause = 40, limit = 1500) {
    return /** @type {Promise<void>} */ (new Promise((resolve) => {
      let timer = null;
      let cap = null;
      const observer = new MutationObserver(() => {
        clearTimeout(timer);
        timer = setTimeout(done, pause);
      });
      function done() {
        observer.disconnect();
        clearTimeout(timer);
        clearTimeout(cap);
        resolve();
      }
      observer.observe(host, {subtree: true, childList: true, characterData: true});
      timer = setTimeout(done, pause);
      cap = setTimeout(done, limit);
    }));
  }

  const hex = (value) => {
    const rgb = /^rgb\((\d+), (\d+), (\d+)\)$/.exec(value);
    return rgb ? `#${rgb.slice(1).map((n) => Number(n).toString(16).padStart(2, '0')).join('')}`
      : value.toLowerCase();
  };

  // The colours a piece of HTML shows, as #rrggbb.
  function coloursIn(html) {
    const doc = new DOMParser().parseFromString(html, 'text/html');
    const found = new Set();
    for (const element of doc.querySelectorAll('[style], font[color]')) {
      found.add(hex(/** @type {HTMLElement} */ (element).style.color || element.getAttribute('color') || ''));
    }
    return found;
  }

  // Whether `after` is `before` with `selected` replaced by `inserted` at
  // one place, and nothing else changed.
  function replacedOnce(before, selected, inserted, after) {
    const [b, s, r, a] = [before, selected, inserted, after].map((t) => t.replace(/\u00A0/g, ' '));
    if (a.length !== b.length - s.length + r.length) {
      return false;
    }
    let prefix = 0;
    while (prefix < a.length && a[prefix] === b[prefix]) {
      ++prefix;
    }
    let suffix = 0;
    while (suffix < a.length && suffix < b.length && a.at(-1 - suffix) === b.at(-1 - suffix)) {
      ++suffix;
    }
    for (let at = Math.max(0, a.length - r.length - suffix); at <= Math.min(prefix, b.length - s.length); ++at) {
      if (a.startsWith(r, at) && b.startsWith(s, at)) {
        return true;
      }
    }
    return false;
  }

  // One way of writing, then the change checked: 'done', 'unchanged', or
  // 'wrong' (the text changed, but not as it should have). Where the page
  // shows the change, the editor's text, which it draws the page from,
  // holds it; otherwise the editor's whole text is read again.
  async function attempt(target, way, check) {
    way();
    await settle();
    await quiet(target.host);
    if (check.shown(domText(target.host))) {
      return 'done';
    }
    const caret = currentRange(target.host);
    const after = await readAll(target.element, target.host);
    if (check.held(after)) {
      if (caret?.startContainer.isConnected) {
        putRange(target.host, caret);
      } else {
        target.host.ownerDocument.getSelection().collapseToEnd();
      }
      return 'done';
    }
    return check.unchanged(after) ? 'unchanged' : 'wrong';
  }

  // The whole text after a change: held when the selection became the
  // insertion and nothing else changed (and, for coloured text, every colour
  // is there); unchanged when it is still the text that was read. Only a
  // changed text is undone: an undo after nothing happened would take back
  // the user's own last edit.
  function checks({all, picked, shown}, inserted, chunks) {
    const colours = chunks && new Set(chunks.filter((chunk) => chunk[2]).map((chunk) => chunk[2].toLowerCase()));
    const holds = (found) => [...colours].every((colour) => found.has(colour));
    return {
      held: (after) => replacedOnce(all.text, picked.text, inserted, after.text) &&
        (!colours || holds(coloursIn(after.html))),
      // The quick check, for markup only: what the page shows.
      shown: (page) => !colours && replacedOnce(...[shown, picked.text, inserted, page].map(normalised)),
      unchanged: (after) => same(after.text, all.text),
    };
  }

  globalThis.huecodeChecks = {quiet, checks, attempt};
}
