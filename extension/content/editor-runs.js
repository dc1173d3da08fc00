// The coloured text as HTML for a rich editor: the core's chunks as runs of
// one colour, the runs as elements, and lines as blocks. Injected after
// editor-read.js; the writing scripts find it as globalThis.huecodeRuns.
if (!globalThis.huecodeRuns) {
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
      /** @type {Node} */
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

  // The blocks a field's lines are: paragraphs where it has them.
  const blockTag = (host) => (host.querySelector(':scope > p') ? 'p' : 'div');

  globalThis.huecodeRuns = {formattedBox, linesHtml, blockTag};
}
