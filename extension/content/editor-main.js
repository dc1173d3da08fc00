// The page's own editors, asked about from the extension's isolated world:
// an editor keeps its instance on the page's elements, where only the page's
// own scripts see it. Injected as a classic script into the page's main
// world of each frame before a change; the isolated world asks with a
// `huecode-ask` event on the focused field and reads the `huecode-answer`
// event that follows at once, whose detail is the editor's whole text and
// its selection (offsets into that text) as JSON. Nothing is answered for a
// field of no editor listed here. Only reading: the change itself goes
// through the editor's input like the user's, and its history takes it.
if (!globalThis[Symbol.for('huecode.editors')]) {
  globalThis[Symbol.for('huecode.editors')] = true;

  // The editors known by their instance, each as a function of the focused
  // element answering {text, start, end} or null.
  const editors = [
    // CodeMirror 5 (EasyMDE, SimpleMDE, many boards' Markdown boxes) keeps
    // itself on its wrapper element; it types through a hidden text area
    // that holds only its selection.
    (element) => {
      const cm = element.closest?.('.CodeMirror')?.CodeMirror;
      if (typeof cm?.getValue !== 'function' || typeof cm.indexFromPos !== 'function') {
        return null;
      }
      const [start, end] = ['from', 'to'].map((side) => cm.indexFromPos(cm.getCursor(side)));
      return {text: cm.getValue('\n'), start, end};
    },
  ];

  document.addEventListener('huecode-ask', (event) => {
    const element = event.composedPath()[0];
    let state = null;
    for (const editor of editors) {
      try {
        state = editor(element);
      } catch {
        state = null;
      }
      if (state) {
        break;
      }
    }
    element.dispatchEvent(new CustomEvent('huecode-answer', {detail: JSON.stringify(state)}));
  }, true);
}
