// Writing the markup (or the coloured text) in place of a rich editor's
// selection, the way a paste would, and checking that it held. Injected
// after editor-read.js; focused-field.js uses it as
// globalThis.huecodeWriting. The editor's own paste comes first, so its model
// and its history take the change and one Ctrl+Z restores the original. The
// browser's editing command comes first instead for fields with no editor
// behind them and for editors of a frame's whole document, whose text is
// that document; direct insertion is the last resort, and only where no
// editor has answered anything.
if (!globalThis.huecodeWriting) {
  const {settle, same, normalised, domText, read, pressed, readAll, currentRange, putRange} =
    globalThis.huecodeReading;

  // Waits until the editor has stopped redrawing: a change it makes in a
  // task of its own is then in place.
  function quiet(host, pause = 40, limit = 1500) {
    return new Promise((resolve) => {
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
    });
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
      found.add(hex(element.style.color || element.getAttribute('color') || ''));
    }
    return found;
  }

  // The core's chunks as runs of one colour, [start, end, colour or null]:
  // neighbours of the same colour join, and so do two of the same colour
  // around spaces when no line is drawn under or through the text (the
  // spaces then take a colour, which shows nothing). A long gradient changes
  // colour every few characters only: an editor gets far fewer elements to
  // take in.
  function runsOf(text, chunks, spacesJoin) {
    const runs = [];
    const push = (start, end, colour) => {
      const [gap, last] = [runs.at(-2), runs.at(-1)];
      if (start >= end) {
        return;
      }
      if (last?.[2] === colour) {
        last[1] = end;
      } else if (spacesJoin && colour && last?.[2] === null && gap?.[2] === colour &&
        /^ +$/.test(text.slice(last[0], last[1]))) {
        runs.pop();
        gap[1] = end;
      } else {
        runs.push([start, end, colour]);
      }
    };
    let covered = 0;
    for (const [offset, units, colour] of chunks) {
      push(covered, offset, null);
      push(offset, offset + units, colour);
      covered = offset + units;
    }
    push(covered, text.length, null);
    return runs;
  }

  // The coloured text as elements: one coloured span for each run of a
  // colour, the formatting as b, i, u and s inside it, one block (tag) for
  // each line when there are several.
  function formattedBox(text, chunks, styles, tag) {
    const tags = [['bold', 'b'], ['italic', 'i'], ['underline', 'u'], ['strike', 's']]
      .filter(([name]) => styles[name]).map(([, tag]) => tag);
    const lines = [document.createElement(tag)];
    const add = (piece, colour) => piece.split('\n').forEach((part, k) => {
      if (k > 0) {
        lines.push(document.createElement(tag));
      }
      let node = document.createTextNode(part);
      if (colour && part) {
        for (const tag of [...tags].reverse()) {
          const wrapper = document.createElement(tag);
          wrapper.append(node);
          node = wrapper;
        }
        const span = document.createElement('span');
        span.style.color = colour;
        span.append(node);
        node = span;
      }
      lines.at(-1).append(node);
    });
    for (const [start, end, colour] of runsOf(text, chunks, !styles.underline && !styles.strike)) {
      add(text.slice(start, end), colour);
    }
    const box = document.createElement('div');
    for (const line of lines) {
      line.normalize();
      if (!line.hasChildNodes()) {
        line.append(document.createElement('br'));
      }
    }
    box.append(...(lines.length === 1 ? lines[0].childNodes : lines));
    return box;
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

  function pasted(element, items) {
    const data = new DataTransfer();
    for (const [type, value] of Object.entries(items)) {
      data.setData(type, value);
    }
    const event = new ClipboardEvent('paste', {clipboardData: data, bubbles: true, cancelable: true, composed: true});
    element.dispatchEvent(event);
    return event.defaultPrevented;
  }

  // Lines of text as blocks of HTML, runs of spaces kept with no-break
  // spaces. For the browser's editing (filled: an empty line holds a line
  // break, as the browser makes it) in the blocks the field already has, p
  // or div: the browser inserts them as one piece of HTML several times
  // faster than the same text with its line breaks. p blocks for an editor's
  // paste, which keeps empty ones as empty paragraphs where some editors
  // join the line breaks of plain text.
  function linesHtml(text, tag, filled) {
    const box = document.createElement('div');
    box.append(...text.split('\n').map((line) => {
      const block = document.createElement(tag);
      const spaced = line.replace(/ {2}/g, ' \u00A0').replace(/^ | $/g, '\u00A0');
      block.append(spaced || (filled ? document.createElement('br') : ''));
      return block;
    }));
    return box.innerHTML;
  }

  // The browser's editing command, a long text in several pieces that the
  // browser joins into one undo step; the spelling checker would read every
  // piece, so it rests meanwhile.
  function commanded(host, text, html) {
    if (html !== null) {
      return document.execCommand('insertHTML', false, html);
    }
    const spellcheck = host.getAttribute('spellcheck');
    host.setAttribute('spellcheck', 'false');
    let inserted = true;
    for (let at = 0; at < text.length && inserted;) {
      let end = Math.min(text.length, at + 8192);
      end -= end < text.length && /[\uD800-\uDBFF]/.test(text[end - 1]) ? 1 : 0;
      inserted = document.execCommand('insertText', false, text.slice(at, end));
      at = end;
    }
    if (spellcheck === null) {
      host.removeAttribute('spellcheck');
    } else {
      host.setAttribute('spellcheck', spellcheck);
    }
    return inserted;
  }

  function directly(host, text, box) {
    const range = currentRange(host);
    range.deleteContents();
    const fragment = document.createDocumentFragment();
    fragment.append(...(box ? box.cloneNode(true).childNodes : [document.createTextNode(text)]));
    range.insertNode(fragment);
    host.dispatchEvent(new InputEvent('input', {bubbles: true, inputType: 'insertReplacementText'}));
    return true;
  }

  // The selection that was read, selected again if the editor lost it
  // meanwhile; false when it cannot be found.
  async function reselected(target) {
    if (target.untouched?.() || same(read(target.element, target.host).text, target.picked.text)) {
      return true;
    }
    putRange(target.host, target.range);
    await settle();
    return same(read(target.element, target.host).text, target.picked.text);
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

  // Brings the original back after a change that went wrong: the editor's
  // own undo where it has one, else the browser's.
  async function undone(target) {
    if (!pressed(target.element, 'z')) {
      document.execCommand('undo');
    }
    await settle();
    await quiet(target.host);
    return same((await readAll(target.element, target.host)).text, target.all.text);
  }

  // What goes to the editor's paste: the markup as plain text (with two
  // line breaks for a new paragraph where the editor reads them so), or the
  // coloured text as HTML beside its plain text. Some of the editors that
  // read two line breaks as a new paragraph join the empty lines of plain
  // text: empty lines go as paragraphs of HTML first, as plain text second.
  function pastes(picked, inserted, box) {
    const plain = {'text/plain': picked.doubled ? inserted.replace(/\n/g, '\n\n') : inserted};
    if (box) {
      return [{...plain, 'text/html': box.innerHTML}];
    }
    return picked.doubled && inserted.includes('\n\n') ? [{...plain, 'text/html': linesHtml(inserted, 'p', false)}, plain]
      : [plain];
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

  // The blocks a field's lines are: paragraphs where it has them.
  const blockTag = (host) => (host.querySelector(':scope > p') ? 'p' : 'div');

  // Tells an editor that keeps its history by the input events it hears
  // that the text is being replaced: such an editor records the text before
  // and after the change as two steps of its own history, so that its undo
  // brings back exactly what was there.
  const announce = (host) => host.dispatchEvent(new InputEvent('input', {bubbles: true,
    inputType: 'insertReplacementText'}));

  // The browser's editing command (told to the editor, where one answers
  // copies), then, where the command itself failed and no editor answers,
  // direct insertion. 'unchanged' when the text stayed as it was.
  async function writeByCommand(target, inserted, box, check) {
    const {host, picked} = target;
    let commandWorked = true;
    const html = box?.innerHTML ?? (inserted.includes('\n') ? linesHtml(inserted, blockTag(host), true) : null);
    const outcome = await attempt(target, () => {
      if (picked.editor) {
        announce(host);
      }
      commandWorked = commanded(host, inserted, html);
      if (picked.editor) {
        announce(host);
      }
    }, check);
    if (outcome !== 'unchanged' || commandWorked || picked.editor) {
      return outcome !== 'wrong' ? outcome : (await undone(target)) ? 'notHeld' : 'notRestored';
    }
    if (!(await reselected(target))) {
      return 'changed';
    }
    const last = await attempt(target, () => directly(host, inserted, box), check);
    // A direct change is in no history: undoing it would take back something else.
    return last === 'done' ? 'done' : last === 'unchanged' ? 'notHeld' : 'notRestored';
  }

  // The editor's own paste, in the forms pastes() gives, until one holds.
  async function writeByPaste(target, inserted, box, check) {
    for (const items of pastes(target.picked, inserted, box)) {
      if (!(await reselected(target))) {
        return 'changed';
      }
      const outcome = await attempt(target, () => pasted(target.element, items), check);
      if (outcome === 'done') {
        return 'done';
      }
      if (outcome === 'wrong' && !(await undone(target))) {
        return 'notRestored';
      }
    }
    return 'notHeld';
  }

  // A partial selection that begins or ends with line breaks (a paragraph
  // picked up to the start of the next one) is narrowed to leave them out
  // where the replacement keeps them as they are: editors differ in what
  // they make of a paste that ends a paragraph, not in one inside lines.
  // Answers how many line breaks were left out at each end.
  async function narrowed(target, replacement) {
    const {text} = target.picked;
    const lead = /^\n*/.exec(text)[0].length;
    const trail = lead === text.length ? 0 : /\n*$/.exec(text)[0].length;
    if (target.whole || lead + trail === 0 || !replacement.startsWith('\n'.repeat(lead)) ||
      !replacement.endsWith('\n'.repeat(trail))) {
      return [0, 0];
    }
    const selection = target.host.ownerDocument.getSelection();
    for (let k = 0; k < trail; ++k) {
      selection.modify('extend', 'backward', 'character');
    }
    const range = currentRange(target.host);
    selection.setBaseAndExtent(range.endContainer, range.endOffset, range.startContainer, range.startOffset);
    for (let k = 0; k < lead; ++k) {
      selection.modify('extend', 'forward', 'character');
    }
    await settle();
    const picked = read(target.element, target.host);
    if (!same(picked.text, text.slice(lead, text.length - trail))) {
      putRange(target.host, target.range);
      await settle();
      return [0, 0];
    }
    Object.assign(target, {picked, range: currentRange(target.host), untouched: null});
    return [lead, trail];
  }

  // An editor that edits the whole document of a frame keeps its text in
  // that document, as the browser's own editing does: the browser's editing
  // command suits it, where its paste may read markup as formatting (as
  // SCEditor's reads BBCode) or split paragraphs. A field that hands out no
  // copies of its own has no editor behind it: the browser's editing is its
  // only one.
  const editsItsDocument = (host) => host === host.ownerDocument.body;

  // TinyMCE edits a frame's document too, but its paste takes a whole text
  // of markup as text, into its own history, in a fraction of the time the
  // browser's command takes to insert many paragraphs. Into part of a
  // paragraph it pastes lines as paragraphs of their own, and coloured text
  // it takes its own way: there, and where its paste did not hold, the
  // command.
  const pastesWholeText = (target, formatted) => target.whole && !formatted &&
    target.host.classList.contains('mce-content-body');

  // The ways of writing to try, in order: the next one only where the one
  // before left the text as it was.
  function waysFor(target, formatted) {
    if (!target.picked.editor) {
      return [writeByCommand];
    }
    if (pastesWholeText(target, formatted)) {
      return [writeByPaste, writeByCommand];
    }
    return editsItsDocument(target.host) ? [writeByCommand, writeByPaste] : [writeByPaste];
  }

  // Returns 'done', 'changed' (the selection is not what was read), or
  // 'notHeld' / 'notRestored' when the editor did not take the change (the
  // text as it was, or changed in a way that could not be undone).
  async function write(target, markup, formatted) {
    if (!(await reselected(target))) {
      return 'changed';
    }
    const [lead, trail] = await narrowed(target, formatted ? target.picked.text : markup);
    const {picked, host} = target;
    const chunks = formatted?.chunks.filter(([offset]) => offset >= lead && offset < lead + picked.text.length)
      .map(([offset, units, colour]) => [offset - lead, units, colour]);
    const ways = waysFor(target, formatted);
    const box = formatted ? formattedBox(picked.text, chunks, formatted.styles,
      ways[0] === writeByCommand ? blockTag(host) : 'p') : null;
    const inserted = box ? picked.text : markup.slice(lead, markup.length - trail);
    const check = checks(target, inserted, chunks);
    let outcome = 'unchanged';
    for (const [k, way] of ways.entries()) {
      // A paste that did not hold was taken back: the next way may try.
      if (k > 0 && outcome !== 'unchanged' && !(outcome === 'notHeld' && ways[k - 1] === writeByPaste)) {
        break;
      }
      outcome = k > 0 && !(await reselected(target)) ? 'changed' : await way(target, inserted, box, check);
    }
    if (outcome !== 'done') {
      putRange(host, target.range);
    }
    return outcome === 'unchanged' ? 'notHeld' : outcome;
  }

  globalThis.huecodeWriting = {write, commanded};
}
