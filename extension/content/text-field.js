// Text areas and text inputs: reading the selection of the focused one and
// putting the markup in its place. Injected as a classic script after the
// editor scripts; focused-field.js uses it as
// globalThis.huecodeText. A code editor that types through a hidden text
// area of its own (EasyMDE's CodeMirror) keeps its text elsewhere and puts
// only its selection in that field: it is read and checked through the
// editor itself where the page's editor is a known one (editor-main.js),
// else through the editor's own keys, and its own undo takes the change
// back.
if (!globalThis.huecodeText) {
  const {settle, pressed} = globalThis.huecodeSelection;
  const {commanded} = globalThis.huecodeMethods;
  const mac = /Mac|iPhone|iPad/.test(navigator.platform);

  // A field drawn too small to read, cut off by a box round it that is, or
  // transparent: the input of an editor that shows its text elsewhere.
  function hiddenInput(field) {
    if (getComputedStyle(field).opacity === '0') {
      return true;
    }
    for (let [node, depth] = [field, 0]; node && depth < 3; [node, depth] = [node.parentElement, depth + 1]) {
      const box = node.getBoundingClientRect();
      if (Math.min(box.width, box.height) <= 3 && (node === field || getComputedStyle(node).overflow === 'hidden')) {
        return true;
      }
    }
    return false;
  }

  // A key with its modifiers, as the user would press it, for the editor's
  // own handling: the start or end of the text, with Shift extending the
  // selection to it, or a move that collapses the selection.
  function pressKey(field, name, shift = false) {
    const keys = {
      start: mac ? ['ArrowUp', 38, true] : ['Home', 36, true], end: mac ? ['ArrowDown', 40, true] : ['End', 35, true],
      left: ['ArrowLeft', 37, false], right: ['ArrowRight', 39, false],
    };
    const [key, keyCode, modified] = keys[name];
    field.dispatchEvent(new KeyboardEvent('keydown', {key, code: key, keyCode, shiftKey: shift,
      ctrlKey: modified && !mac, metaKey: modified && mac, bubbles: true, cancelable: true}));
  }

  // What the editor behind a hidden input holds, asked in the page's main
  // world (editor-main.js): {text, start, end}, its whole text and the
  // selection in it; null where no known editor answers.
  function editorState(field) {
    let answer = null;
    const take = (event) => {
      answer = event.detail;
    };
    field.addEventListener('huecode-answer', take);
    field.dispatchEvent(new CustomEvent('huecode-ask', {bubbles: true, composed: true}));
    field.removeEventListener('huecode-answer', take);
    try {
      const state = typeof answer === 'string' ? JSON.parse(answer) : null;
      const valid = typeof state?.text === 'string' && Number.isInteger(state.start) && Number.isInteger(state.end) &&
        state.start >= 0 && state.start <= state.end && state.end <= state.text.length;
      return valid ? state : null;
    } catch {
      return null;
    }
  }

  // The selection, or with a caret only the whole text. A hidden input holds
  // only the editor's selection: with a caret only, the editor's own Ctrl+A
  // puts the whole text there, when a change follows (a preview leaves the
  // editor's caret alone).
  async function read(field, forChange) {
    const hidden = hiddenInput(field);
    let whole = field.selectionStart === field.selectionEnd;
    if (hidden && forChange && whole) {
      pressed(field, 'a');
      await settle();
    }
    const [start, end] = whole ? [0, field.value.length] : [field.selectionStart, field.selectionEnd];
    // A hidden input holds the editor's whole text only where Ctrl+A put it there.
    whole &&= !hidden || field.selectionEnd > field.selectionStart;
    const text = field.value.slice(start, end);
    // The editor's own account, where it agrees with what the field holds.
    const state = hidden && forChange ? editorState(field) : null;
    const editor = state?.text.slice(state.start, state.end) === text ? state : null;
    return {kind: 'text', field, start, end, text, hidden, whole, editor};
  }

  // Past a size the editing command takes seconds in a text field (it lays
  // the field out again for every line it adds): the markup then goes in at
  // once, and the first Ctrl+Z that follows brings the original back.
  function undoOnce(field, original, start, units) {
    const coloured = field.value;
    const forget = () => {
      field.removeEventListener('keydown', onKey, true);
      field.removeEventListener('input', forget, true);
    };
    const onKey = (event) => {
      const undo = event.key.toLowerCase() === 'z' && (event.ctrlKey || event.metaKey) && !event.shiftKey;
      if (!undo || !event.isTrusted) {
        return;
      }
      forget();
      if (field.value === coloured) {
        event.preventDefault();
        field.setRangeText(original, start, start + units, 'select');
        field.dispatchEvent(new InputEvent('input', {bubbles: true, inputType: 'insertReplacementText'}));
      }
    };
    field.addEventListener('keydown', onKey, true);
    field.addEventListener('input', forget, true);
  }

  // What the hidden input's editor holds round its caret, through its own
  // keys: the text before the caret, and whether any follows. The caret is
  // where it was afterwards.
  async function aroundCaret(field) {
    pressKey(field, 'start', true);
    await settle();
    const before = field.value;
    pressKey(field, 'right');
    pressKey(field, 'end', true);
    await settle();
    const followed = field.value !== '';
    if (followed) {
      pressKey(field, 'left');
    }
    await settle();
    return {before, followed};
  }

  // Whether the change held, from the editor's own account of its text:
  // the selection became the replacement and nothing else changed. Reading
  // it is quick where selecting a long text through the editor's keys makes
  // it draw the selection over every line.
  function checkedByEditor(target, replacement) {
    const {text, start, end} = target.editor;
    const after = editorState(target.field)?.text;
    return after === undefined ? null
      : after === text.slice(0, start) + replacement + text.slice(end) ? 'done'
      : after === text ? 'notHeld' : 'undo';
  }

  // Without the editor's account: the markup must sit right before the
  // caret (and, for the whole text, be all of it).
  async function checkedByKeys(target, replacement) {
    const {field} = target;
    if (field.value === target.text && field.selectionEnd - field.selectionStart === target.text.length) {
      return 'notHeld';
    }
    const {before, followed} = await aroundCaret(field);
    return (target.whole ? before === replacement && !followed : before.endsWith(replacement)) ? 'done' : 'undo';
  }

  // The editor behind a hidden input takes what the field holds at an input
  // event as typed: the markup goes in at once, as one change of the
  // editor's own text and history. Where it did not hold, the editor's own
  // undo brings the selection back.
  async function writeHidden(target, replacement) {
    const {field} = target;
    field.setRangeText(replacement, 0, field.value.length, 'end');
    field.dispatchEvent(new InputEvent('input', {bubbles: true, inputType: 'insertReplacementText'}));
    await settle();
    const outcome = (target.editor && checkedByEditor(target, replacement)) ?? await checkedByKeys(target, replacement);
    if (outcome !== 'undo') {
      return outcome;
    }
    pressed(field, 'z');
    await settle();
    const restored = target.editor ? editorState(field)?.text === target.editor.text : field.value === target.text;
    return restored ? 'notHeld' : 'notRestored';
  }

  // Puts the replacement in place of what read() kept: through the
  // browser's editing command, so that the field's undo takes it back.
  async function write(target, expected, replacement) {
    const {field} = target;
    const before = field.value;
    if (before.slice(target.start, target.end) !== expected) {
      return 'changed';
    }
    field.setSelectionRange(target.start, target.end);
    if (target.hidden) {
      return writeHidden(target, replacement);
    }
    const after = before.slice(0, target.start) + replacement + before.slice(target.end);
    if (replacement.length <= 65536 && commanded(field, replacement, null)) {
      if (field.value === after) {
        return 'done';
      }
      // A code editor that keeps its text elsewhere and uses the field only
      // for input took the text and changed the field its own way: inserting
      // again would put the markup in twice, and its own undo is there.
      if (field.value !== before) {
        return 'unchecked';
      }
    }
    // Editors that refuse the command get the same text and event.
    field.value = before;
    field.setRangeText(replacement, target.start, target.end, 'end');
    field.dispatchEvent(new InputEvent('input', {bubbles: true, inputType: 'insertReplacementText'}));
    undoOnce(field, expected, target.start, replacement.length);
    return 'done';
  }

  globalThis.huecodeText = {read, write};
}
