// The ways of writing into a rich editor: its own paste, the browser's
// editing command, and direct insertion as the last resort, each checked
// (editor-checks.js) and taken back where it went wrong (editor-undo.js).
// Injected after editor-undo.js; editor-write.js and text-field.js find it
// as globalThis.huecodeMethods.
if (!globalThis.huecodeMethods) {
  const {settle, same, currentRange, putRange} = globalThis.huecodeSelection;
  const {read} = globalThis.huecodeReading;
  const {linesHtml, blockTag} = globalThis.huecodeRuns;
  const {wholeLines, caretBack} = globalThis.huecodeLines;
  const {attempt} = globalThis.huecodeChecks;
  const {undone, announce} = globalThis.huecodeUndo;

  // A paste of the items ({type: text}) to the editor. Chromium hands the
  // page the data given to the event; Firefox ignores it and builds the
  // event's data from one type and its text, the HTML where there is some.
  function pasted(element, items) {
    const data = new DataTransfer();
    for (const [type, value] of Object.entries(items)) {
      data.setData(type, value);
    }
    const dataType = 'text/html' in items ? 'text/html' : 'text/plain';
    const init = {clipboardData: data, dataType, data: items[dataType], bubbles: true, cancelable: true, composed: true};
    const event = new ClipboardEvent('paste', init);
    element.dispatchEvent(event);
    return event.defaultPrevented;
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

  // The browser's editing command, told to the editor where one answers
  // copies. worked: whether the command itself did something.
  async function byCommand(target, inserted, html, check, after = 0) {
    const {host, picked} = target;
    let worked = true;
    const outcome = await attempt(target, () => {
      if (picked.editor) {
        announce(host);
      }
      worked = commanded(host, inserted, html);
      caretBack(host, worked ? after : 0);
      if (picked.editor) {
        announce(host);
      }
    }, check);
    return {outcome, worked};
  }

  // The browser's editing command, then, where the command itself failed and
  // no editor answers, direct insertion. 'unchanged' when the text stayed as
  // it was.
  async function writeByCommand(target, inserted, box, check) {
    const {host, picked} = target;
    let html = box?.innerHTML ?? (inserted.includes('\n') ? linesHtml(inserted, blockTag(host), true) : null);
    const range = currentRange(host);
    const lines = inserted.includes('\n') && range ? wholeLines(host, range, html) : null;
    if (lines) {
      putRange(host, lines.range);
      html = lines.html;
    }
    const {outcome, worked} = await byCommand(target, inserted, html, check, lines?.after);
    if (outcome !== 'unchanged' || worked || picked.editor) {
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

  globalThis.huecodeMethods = {commanded, reselected, writeByCommand, writeByPaste};
}
