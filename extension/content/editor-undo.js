// Taking a change back in a rich editor, and telling the editor of one so
// that its own history can. Injected after editor-checks.js; the writing
// scripts find it as globalThis.huecodeUndo.
if (!globalThis.huecodeUndo) {
  const {settle, same, pressed} = globalThis.huecodeSelection;
  const {readAll} = globalThis.huecodeReading;
  const {quiet} = globalThis.huecodeChecks;

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

  // Tells an editor that keeps its history by the input events it hears
  // that the text is being replaced: such an editor records the text before
  // and after the change as two steps of its own history, so that its undo
  // brings back exactly what was there.
  const announce = (host) => host.dispatchEvent(new InputEvent('input', {bubbles: true,
    inputType: 'insertReplacementText'}));

  globalThis.huecodeUndo = {undone, announce};
}
