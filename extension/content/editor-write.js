// Writing the markup (or the coloured text) in place of a rich editor's
// selection: which way of writing comes first, and which next. Injected
// after editor-methods.js; focused-field.js uses it as
// globalThis.huecodeWriting. The editor's own paste comes first, so its model
// and its history take the change and one Ctrl+Z restores the original. The
// browser's editing command comes first instead for fields with no editor
// behind them and for editors of a frame's whole document, whose text is
// that document; direct insertion is the last resort, and only where no
// editor has answered anything.
if (!globalThis.huecodeWriting) {
  const {settle, same, currentRange, putRange} = globalThis.huecodeSelection;
  const {read} = globalThis.huecodeReading;
  const {formattedBox, blockTag} = globalThis.huecodeRuns;
  const {checks} = globalThis.huecodeChecks;
  const {reselected, writeByCommand, writeByPaste} = globalThis.huecodeMethods;

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

  globalThis.huecodeWriting = {write};
}
