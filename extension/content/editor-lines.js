// Several lines written over a selection by the browser's editing command,
// in a form every engine's editing takes as lines: Firefox's nests blocks
// inserted into part of a block, where Chromium's splits that block.
// Injected after editor-runs.js; editor-methods.js finds it as
// globalThis.huecodeLines.
if (!globalThis.huecodeLines) {
  const {isBlock} = globalThis.huecodeReading;

  const blockOf = (node, host) => {
    for (let at = node; at && at !== host; at = at.parentNode) {
      if (isBlock(at)) {
        return at;
      }
    }
    return null;
  };

  const partOf = (doc, [startNode, startOffset], [endNode, endOffset]) => {
    const range = doc.createRange();
    range.setStart(startNode, startOffset);
    range.setEnd(endNode, endOffset);
    return range;
  };

  // A part of a line joined to a line of HTML: the <br> that holds an empty
  // line open goes once the line has text, or it would draw a line of its own.
  function joined(line, part, where) {
    if (!part.textContent && !part.querySelector('br')) {
      return;
    }
    if (line.innerHTML === '<br>') {
      line.replaceChildren();
    }
    line[where](part);
  }

  // Lines of HTML (blocks, as huecodeRuns writes them) to put in place of a
  // range: where the range ends in two blocks, both selected whole, with
  // their parts outside the range kept at the ends of the first and last
  // line (`after`: how many characters of the last line follow the
  // insertion); where its lines are parted by <br>, the lines parted by
  // <br>. Null where the range starts or ends on the field itself, in a
  // block that is no line of text (a list item, a heading, a cell) or in
  // blocks that nest: the lines then go as they are.
  function wholeLines(host, range, html) {
    const {startContainer: start, endContainer: end} = range;
    const box = new DOMParser().parseFromString(html, 'text/html').body;
    const lines = [...box.children];
    const [first, last] = [start, end].map((node) => blockOf(node, host));
    if (first === last && start !== host && end !== host) {
      const parts = lines.map((line) => (line.innerHTML === '<br>' ? '' : line.innerHTML));
      return {range, html: parts.join('<br>'), after: 0};
    }
    const lineBlock = (block) => block?.tagName === 'P' || block?.tagName === 'DIV';
    if (!lineBlock(first) || !lineBlock(last) || first.contains(last) || last.contains(first)) {
      return null;
    }
    const doc = host.ownerDocument;
    const close = /** @type {[Node, number]} */ ([last, last.childNodes.length]);
    const suffix = partOf(doc, [end, range.endOffset], close).cloneContents();
    joined(lines[0], partOf(doc, [first, 0], [start, range.startOffset]).cloneContents(), 'prepend');
    const after = suffix.textContent.length;
    joined(lines.at(-1), suffix, 'append');
    return {range: partOf(doc, [first, 0], close), html: box.innerHTML, after};
  }

  // The caret moved back over the given number of characters of text before
  // it, to the end of the insertion where the rest of its line followed it in.
  function caretBack(host, units) {
    const selection = host.ownerDocument.getSelection();
    if (units === 0 || selection.rangeCount === 0) {
      return;
    }
    const caret = selection.getRangeAt(0);
    const walker = host.ownerDocument.createTreeWalker(host, NodeFilter.SHOW_TEXT);
    const before = [];
    for (let node = walker.nextNode(); node && caret.comparePoint(node, 0) <= 0; node = walker.nextNode()) {
      before.push(node);
    }
    let left = units;
    for (const node of before.reverse()) {
      const length = node === caret.endContainer ? caret.endOffset : node.length;
      if (left <= length) {
        selection.collapse(node, length - left);
        return;
      }
      left -= length;
    }
  }

  globalThis.huecodeLines = {wholeLines, caretBack};
}
