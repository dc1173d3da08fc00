// Reading a rich editor's selection through the editor itself. Injected as a
// classic script into the frames of the tab, after editor-selection.js and
// before the writing scripts, text-field.js and focused-field.js, which find
// it as globalThis.huecodeReading. Rich editors keep their text in a model of their
// own and redraw the page from it: what the page shows may be only part of
// the text (an editor that draws the visible lines only), and a change made
// to the page behind the editor's back is undone at its next redraw. So the
// selection is read with the copy event the editor answers from its model,
// written with the paste event it takes into its model and history, and the
// result is read back the same way before it counts as done.
if (!globalThis.huecodeReading) {
  const {settle, same, currentRange, putRange, pressed} = globalThis.huecodeSelection;
  const blockTags = new Set(['ADDRESS', 'ARTICLE', 'ASIDE', 'BLOCKQUOTE', 'DD', 'DIV', 'DL', 'DT', 'FIELDSET',
    'FIGCAPTION', 'FIGURE', 'FOOTER', 'FORM', 'H1', 'H2', 'H3', 'H4', 'H5', 'H6', 'HEADER', 'HR', 'LI', 'MAIN',
    'NAV', 'OL', 'P', 'PRE', 'SECTION', 'TABLE', 'TBODY', 'THEAD', 'TR', 'UL']);
  const skippedTags = new Set(['SCRIPT', 'STYLE', 'TEMPLATE']);
  const isBlock = (node) => node.nodeType === Node.ELEMENT_NODE && blockTags.has(node.tagName);

  // A <br> that ends its block draws no line of its own: editors put one in
  // an empty paragraph to give it height.
  function endsItsBlock(br, root) {
    for (let node = br; node && node !== root && !isBlock(node); node = node.parentNode) {
      for (let next = node.nextSibling; next; next = next.nextSibling) {
        if (next.nodeType === Node.ELEMENT_NODE || next.data?.length > 0) {
          return false;
        }
      }
    }
    return true;
  }

  // The text of a part of the page as the user sees its lines: one line
  // break between two paragraphs (where innerText and toString() write two),
  // an empty paragraph as an empty line.
  function domText(root) {
    const lines = [];
    let line = null;
    const visit = (node) => {
      if (node.nodeType === Node.TEXT_NODE) {
        line = (line ?? '') + node.data;
      } else if (node.tagName === 'BR') {
        if (endsItsBlock(node, root)) {
          line ??= '';
        } else {
          lines.push(line ?? '');
          line = '';
        }
      } else if (node === root || (node.nodeType === Node.ELEMENT_NODE && !skippedTags.has(node.tagName))) {
        const block = node !== root && isBlock(node);
        if (block && line !== null) {
          lines.push(line);
          line = null;
        }
        const before = lines.length;
        node.childNodes.forEach(visit);
        if (block && (line !== null || lines.length === before)) {
          lines.push(line ?? '');
          line = null;
        }
      }
    };
    visit(root);
    if (line !== null) {
      lines.push(line);
    }
    return lines.join('\n');
  }

  // The selection as the editor hands it to the clipboard, or null where
  // no editor answers the copy event. The editor writes to the event's own
  // data: Chromium's is the one given, Firefox gives the event one of its own.
  function copied(element) {
    const event = new ClipboardEvent('copy', {clipboardData: new DataTransfer(), bubbles: true, cancelable: true,
      composed: true});
    element.dispatchEvent(event);
    const data = event.clipboardData;
    if (!event.defaultPrevented || !data?.types.includes('text/plain')) {
      return null;
    }
    return {text: data.getData('text/plain').replace(/\r\n?/g, '\n'), html: data.getData('text/html')};
  }

  // The editor's copy with the page's line breaks, where the two differ in
  // line breaks only: editors write paragraphs to the clipboard their own
  // way (an empty line between two, one more for an empty paragraph, none
  // after the last), while the page shows one line per paragraph. Null when
  // they differ in more, as where the page shows only part of the text.
  function withShownBreaks(copiedText, shown) {
    const [fromEditor, lines] = [copiedText, shown].map((text) => text.replace(/[\u200B\u2060\uFEFF]/g, ''));
    const kept = fromEditor.replace(/\n/g, '');
    if (kept.replace(/\u00A0/g, ' ') !== lines.replace(/\n/g, '').replace(/\u00A0/g, ' ')) {
      return null;
    }
    let at = 0;
    return lines.replace(/[^\n]/g, () => kept[at++]);
  }

  // The selected text, from the editor where one answers, else from the
  // page. Where the editor's copy and the page differ in line breaks only,
  // the page's lines count, and `doubled` says that the editor wrote more
  // line breaks than the page shows: it takes two line breaks for a new
  // paragraph when text is pasted.
  function read(element, host) {
    const range = currentRange(host);
    const box = document.createElement('div');
    if (range && !range.collapsed) {
      box.append(range.cloneContents());
    }
    const shown = domText(box);
    const editor = copied(element);
    if (!editor) {
      return {text: shown, html: box.innerHTML, editor: false, doubled: false};
    }
    const lines = withShownBreaks(editor.text, shown);
    const doubled = lines !== null && editor.text.split('\n').length > shown.split('\n').length;
    return {text: lines ?? editor.text, html: editor.html, editor: true, doubled};
  }

  // The field's text from its first character to its last. Selecting the
  // field's children instead would end the selection on the field itself,
  // which an editor may place past its last line, and then replace more than
  // its copy showed.
  function selectContents(host) {
    const walker = host.ownerDocument.createTreeWalker(host, NodeFilter.SHOW_TEXT | NodeFilter.SHOW_ELEMENT,
      (node) => (node.nodeType === Node.TEXT_NODE || node.tagName === 'BR' ? NodeFilter.FILTER_ACCEPT
        : NodeFilter.FILTER_SKIP));
    const first = walker.nextNode();
    let last = first;
    while (walker.nextNode()) {
      last = walker.currentNode;
    }
    const range = host.ownerDocument.createRange();
    range.selectNodeContents(host);
    if (first) {
      range.setStart(...(first.tagName === 'BR' ? [first.parentNode, [...first.parentNode.childNodes].indexOf(first)]
        : [first, 0]));
      range.setEnd(...(last.tagName === 'BR' ? [last.parentNode, [...last.parentNode.childNodes].indexOf(last)]
        : [last, last.length]));
    }
    putRange(host, range);
  }

  // Everything, selected in the editor's own model where it has one (its
  // page may hold only part of the text).
  async function selectAll(element, host) {
    if (!pressed(element, 'a')) {
      selectContents(host);
    }
    await settle();
  }

  async function readAll(element, host) {
    await selectAll(element, host);
    return read(element, host);
  }

  // Whether the field stayed as it was read: no change to its page and the
  // same selection. Reading a long text again through the editor takes a
  // noticeable time, so it is done only where this says no.
  let watching = null;
  function watch(host) {
    watching?.disconnect();
    let touched = false;
    watching = new MutationObserver(() => {
      touched = true;
    });
    watching.observe(host, {subtree: true, childList: true, characterData: true});
    const range = currentRange(host);
    let asked = false;
    return () => {
      if (asked) {
        return false;
      }
      asked = true;
      watching?.disconnect();
      watching = null;
      const now = currentRange(host);
      try {
        return !touched && range && now && range.compareBoundaryPoints(Range.START_TO_START, now) === 0 &&
          range.compareBoundaryPoints(Range.END_TO_END, now) === 0;
      } catch {
        return false;
      }
    };
  }

  // Reads what is selected (everything, when only a caret is), and for a
  // change also the whole text, so that the change can be checked and the
  // selection found again. Null when the selection cannot be put back after
  // the whole text was read.
  async function readSelection(element, host, forChange) {
    const original = currentRange(host);
    const inside = original && host.contains(original.commonAncestorContainer);
    let whole = !inside || original.collapsed;
    if (whole) {
      await selectAll(element, host);
    }
    const picked = read(element, host);
    if (!forChange) {
      if (whole) {
        putRange(host, original);
      }
      return {picked};
    }
    let all = picked;
    if (!whole) {
      all = await readAll(element, host);
      whole = same(all.text, picked.text);
      if (!whole) {
        putRange(host, original);
        await settle();
        if (!same(read(element, host).text, picked.text)) {
          return null;
        }
      }
    }
    // What the page shows of the whole text, for a quick check of the change.
    return {picked, all, whole, shown: domText(host), range: currentRange(host), untouched: watch(host)};
  }

  globalThis.huecodeReading = {isBlock, domText, read, readAll, readSelection};
}
