// Two helpers beside the conversion: pasting coloured markup into the text
// box offers its plain text instead (one click, undone like any typing), and
// "copy as" copies the same text and gradient in another dialect without
// touching the settings. Both ask the converter, which knows every dialect.
const byId = (id) => document.getElementById(id);

// host: {worker, texts(), core(), request() → the conversion settings or
// null, dialectName(dialect), setStatus(message)}. The paste offer and the
// copy-as menu share one request queue to the worker, so they stay in one
// closure for now rather than being split into two.
// eslint-disable-next-line max-lines-per-function -- see above
export function createMarkupTools(host) {
  let next = 0;
  const waiting = new Map();
  let offer = null;  // {start, end, text}: where the pasted markup lies, and its text

  function ask(message) {
    next += 1;
    return new Promise((resolve) => {
      waiting.set(next, resolve);
      host.worker.postMessage({...message, id: next});
    });
  }

  function hideOffer() {
    offer = null;
    byId('paste-offer').hidden = true;
  }

  async function onPaste(event) {
    const pasted = event.clipboardData?.getData('text/plain') ?? '';
    const start = byId('text').selectionStart;
    hideOffer();
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
    byId('paste-offer-text').textContent = host.texts().pasteOffer(answer.text.length);
    byId('paste-offer').hidden = false;
  }

  // The pasted markup is replaced as typing would replace it, so the box's
  // own undo (Ctrl+Z) brings it back.
  function takePlainText() {
    const box = byId('text');
    if (!offer || box.value.slice(offer.start, offer.end) !== offer.pasted) {
      hideOffer();
      return;
    }
    box.focus();
    box.setSelectionRange(offer.start, offer.end);
    if (!document.execCommand('insertText', false, offer.text)) {
      box.setRangeText(offer.text, offer.start, offer.end, 'end');
      box.dispatchEvent(new Event('input', {bubbles: true}));
    }
    hideOffer();
  }

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
    const styles = dialect.styles ? request.styles : {};
    const answer = await ask({tool: 'as', text: byId('text').value,
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
    // True when the worker's message was one of these answers.
    answer(data) {
      if (!data.tool || !waiting.has(data.id)) {
        return false;
      }
      waiting.get(data.id)(data);
      waiting.delete(data.id);
      return true;
    },
    // The copy menu lists the core's dialects, in the page's language.
    render() {
      const select = byId('copy-as');
      const dialects = host.core()?.dialects ?? [];
      select.setAttribute('aria-label', host.texts().copyAs);
      select.replaceChildren(new Option(host.texts().copyAs, ''),
        ...dialects.map((d) => new Option(host.dialectName(d), d.key)));
    },
    wire() {
      byId('text').addEventListener('paste', onPaste);
      byId('text').addEventListener('input', () => offer && byId('text').value.slice(offer.start, offer.end) !== offer.pasted && hideOffer());
      byId('paste-plain').addEventListener('click', takePlainText);
      byId('paste-keep').addEventListener('click', hideOffer);
      byId('copy-as').addEventListener('change', copyAs);
    },
  };
}
