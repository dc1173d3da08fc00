// Two helpers beside the conversion: pasting coloured markup into the text
// box offers its plain text instead (one click, undone like any typing), and
// "copy as" copies the same text and gradient in another dialect without
// touching the settings. Both ask the converter, which knows every dialect,
// through one queue of requests to the worker.
import {byId} from './dom.js';

// The offer shown after a paste of markup, and its two buttons.
function createPasteOffer(host, ask) {
  let offer = null;  // {start, end, text, pasted}: where the pasted markup lies, and its text

  function hide() {
    offer = null;
    byId('paste-offer').hidden = true;
  }

  async function onPaste(event) {
    hide();
    // A long paste the text box took in itself is not looked at.
    if (event.defaultPrevented) {
      return;
    }
    const pasted = event.clipboardData?.getData('text/plain') ?? '';
    const start = byId('text').selectionStart;
    // ESC opens the ansi dialect's colour codes.
    // eslint-disable-next-line no-control-regex
    if (!host.core() || !/[<[&§\x1b{]/u.test(pasted)) {
      return;
    }
    const answer = await ask({tool: 'strip', text: pasted});
    if (answer.text === undefined || answer.text === pasted) {
      return;
    }
    offer = {start, end: start + pasted.length, text: answer.text, pasted};
    byId('paste-offer-text').textContent = host.texts().pasteOffer(answer.characters);
    byId('paste-offer').hidden = false;
  }

  const stillPasted = () => offer && byId('text').value.slice(offer.start, offer.end) === offer.pasted;

  // The pasted markup is replaced as typing would replace it, so the box's
  // own undo (Ctrl+Z) brings it back.
  function takePlainText() {
    const box = byId('text');
    if (!stillPasted()) {
      hide();
      return;
    }
    box.focus();
    box.setSelectionRange(offer.start, offer.end);
    if (!document.execCommand('insertText', false, offer.text)) {
      box.setRangeText(offer.text, offer.start, offer.end, 'end');
      box.dispatchEvent(new Event('input', {bubbles: true}));
    }
    hide();
  }

  return {
    wire() {
      byId('text').addEventListener('paste', onPaste);
      byId('text').addEventListener('input', () => offer && !stillPasted() && hide());
      byId('paste-plain').addEventListener('click', takePlainText);
      byId('paste-keep').addEventListener('click', hide);
    },
  };
}

// The copy menu: the same text and settings written in another dialect.
function createCopyAs(host, ask) {
  async function copyAs() {
    const select = byId('copy-as');
    const dialect = host.core()?.dialects.find(({key}) => key === select.value);
    select.value = '';
    const request = host.request();
    if (!dialect || !request) {
      return;
    }
    const {prefix, middle, suffix, format} = dialect;
    // The formatting goes along where the other dialect has codes for it.
    const styles = Object.fromEntries(Object.entries(request.styles).map(([name, on]) => [name,
      on && dialect.codes.includes(name)]));
    const answer = await ask({tool: 'as', text: host.text(),
      settings: {...request, prefix, middle, suffix, format, styles}});
    if (answer.failed) {
      host.setStatus(host.texts().copyAsFailed(host.dialectName(dialect)));
      return;
    }
    try {
      await navigator.clipboard.writeText(answer.markup);
      host.setStatus(host.texts().copiedAs(host.dialectName(dialect)));
    } catch {
      host.setStatus(host.texts().copyRefused);
    }
  }

  return {
    // The menu lists the core's dialects, in the page's language.
    render() {
      const select = byId('copy-as');
      const dialects = host.core()?.dialects ?? [];
      select.setAttribute('aria-label', host.texts().copyAs);
      select.replaceChildren(new Option(host.texts().copyAs, ''),
        ...dialects.map((d) => new Option(host.dialectName(d), d.key)));
    },
    wire() {
      byId('copy-as').addEventListener('change', copyAs);
    },
  };
}

// host: {ask(message) → the worker's answer, texts(), core(), request() →
// the conversion settings or null, text() → the whole text,
// dialectName(dialect), setStatus(message)}.
export function createMarkupTools(host) {
  const paste = createPasteOffer(host, host.ask);
  const copy = createCopyAs(host, host.ask);
  return {
    render: copy.render,
    wire() {
      paste.wire();
      copy.wire();
    },
  };
}
