// The result's markup: the output box, Copy and Download. The box shows one
// window of the markup at a time, since a long text's markup can be hundreds
// of megabytes and laying all of it out would freeze the page; scrolling
// past either edge of the window, or the slider beneath, moves it through
// the whole markup. Copy and Download always take the whole markup. A short
// text's markup is in memory as UTF-16 code units; a long one's is a Blob
// of UTF-8 from the worker, read a slice at a time, its first bytes shown
// while the rest is written.
import {pairSafeSpan} from '../shared/code-points.js';
import {acknowledge, showToast} from './feedback.js';
import {byId} from './dom.js';

// The box holds this many code units (in memory) or bytes (a Blob) at a
// time: a few screens, which lay out within a frame.
export const windowSize = 8192;
const half = windowSize / 2;

// UTF-8 bytes as text, without a character cut at either end: continuation
// bytes that open the slice are skipped, an unfinished sequence at its end
// is held back by the streaming decoder and never written.
function utf8Text(bytes, fromStart) {
  let from = 0;
  while (!fromStart && from < bytes.length && (bytes[from] & 0xc0) === 0x80) {
    from += 1;
  }
  return new TextDecoder('utf-8', {ignoreBOM: true}).decode(bytes.subarray(from), {stream: true});
}

/**
 * Where the box reads the markup from: the whole of it in memory, a long
 * one's first bytes, or its Blob.
 * @typedef {object} MarkupSource
 * @property {number} size
 * @property {boolean} complete
 * @property {(start: number, end: number) => string | Promise<string>} read
 * @property {() => string} [text]
 * @property {Blob} [blob]
 */

// A markup in memory: read answers at once, as text.
/** @returns {MarkupSource} */
function unitSource(units) {
  let whole = null;
  return {
    size: units.length,
    complete: true,
    text() {
      whole ??= new TextDecoder('utf-16le').decode(units);
      return whole;
    },
    read(start, end) {
      const [from, to] = pairSafeSpan(units, start, Math.min(end, units.length));
      return new TextDecoder('utf-16le').decode(units.subarray(from, to));
    },
  };
}

// The first bytes of a long markup, until its Blob arrives.
function headSource(bytes) {
  return {size: bytes.length, complete: false, read: (start, end) => utf8Text(bytes.subarray(start, end), start === 0)};
}

function blobSource(blob) {
  return {
    size: blob.size,
    complete: true,
    blob,
    read: async (start, end) => utf8Text(new Uint8Array(await blob.slice(start, end).arrayBuffer()), start === 0),
  };
}

const paged = (source) => source.size > windowSize;
// The slider counts half windows; its last step shows the markup's end.
const lastStep = (source) => Math.ceil((source.size - windowSize) / half);

// The view's state: what is shown (source), from where (start), and, for a
// long markup, the promise of its Blob (whole) and how it is kept (arrived).
function showSlider(view) {
  const {slider, source, start} = view;
  slider.hidden = !paged(source) || !source.complete;
  if (slider.hidden) {
    return;
  }
  slider.max = String(lastStep(source));
  slider.value = String(Math.round(start / half));
  const percent = Math.round(100 * Math.min(start + windowSize, source.size) / source.size);
  slider.setAttribute('aria-valuetext', view.texts().outputAt(percent));
}

// keep: where the reader was, as a position in the markup, and whether the
// box's bottom edge (rather than its top) is to stay there.
function place(view, text, from, keep) {
  const {box, source} = view;
  // The same window again (a setting that leaves the markup as it was) is
  // not laid out again.
  if (box.value !== text) {
    box.value = text;
  }
  view.start = from;
  showSlider(view);
  if (keep) {
    const fraction = (keep.at - from) / Math.max(1, Math.min(windowSize, source.size - from));
    box.scrollTop = fraction * box.scrollHeight - (keep.bottom ? box.clientHeight : 0);
  }
}

function showAt(view, at, keep = null) {
  const shown = view.source;
  const from = Math.max(0, Math.min(at, shown.size - windowSize));
  const text = shown.read(from, from + windowSize);
  if (typeof text === 'string') {
    place(view, text, from, keep);
  } else {
    text.then((t) => shown === view.source && place(view, t, from, keep));
  }
}

function onScroll(view) {
  const {box, source, start} = view;
  if (!paged(source) || !source.complete) {
    return;
  }
  const end = start + windowSize;
  if (box.scrollTop + box.clientHeight >= box.scrollHeight - 2 && end < source.size) {
    showAt(view, start + half, {at: end, bottom: true});
  } else if (box.scrollTop <= 0 && start > 0) {
    showAt(view, start - half, {at: start, bottom: false});
  }
}

const wholeText = (view) => (view.source.text ? view.source.text() : '');

// Ctrl+C on the whole box copies the whole markup, also what the window leaves out.
function onCopy(view, event) {
  const {box, source, whole} = view;
  if (box.selectionStart === 0 && box.selectionEnd === box.value.length && (whole || paged(source))) {
    event.preventDefault();
    if (whole) {
      copy(view);
    } else {
      event.clipboardData.setData('text/plain', wholeText(view));
    }
  }
}

// button: the Copy that was pressed (the result's or the phone bar's). A
// long markup goes to the clipboard from its Blob, never as one string on the page.
async function copy(view, button = byId('copy')) {
  const {whole, box} = view;
  const t = view.texts();
  let copied = true;
  try {
    if (whole) {
      await navigator.clipboard.write([new ClipboardItem({'text/plain': whole})]);
    } else {
      await navigator.clipboard.writeText(wholeText(view));
    }
  } catch {
    if (whole) {
      showToast('copy', button, t.copyRefused);
      return;
    }
    // Without clipboard permission the older command may still be allowed;
    // it copies the selected box, which onCopy fills with the whole markup.
    box.focus();
    box.select();
    copied = document.execCommand('copy');
  }
  if (copied) {
    acknowledge(button, t.copiedAck, t.copied);
  } else {
    showToast('copy', button, t.copyRefused);
  }
}

async function download(view) {
  const blob = await (view.whole ?? new Blob([wholeText(view)], {type: 'text/plain;charset=utf-8'}));
  const url = URL.createObjectURL(blob);
  const link = Object.assign(document.createElement('a'), {href: url, download: 'huecode.txt'});
  link.click();
  setTimeout(() => URL.revokeObjectURL(url), 1000);
  acknowledge(byId('download'), view.texts().downloadedAck);
}

// texts(): the page's texts in its current language.
export function createOutputView({texts}) {
  const view = {box: byId('output'), slider: byId('output-at'), texts, source: unitSource(new Uint16Array(0)),
    start: 0, whole: null, arrived: null, scrolled: false};
  // As in the window, the output is taken whole: focusing it selects it all.
  view.box.addEventListener('focus', () => view.box.select());
  view.box.addEventListener('copy', (event) => onCopy(view, event));
  view.box.addEventListener('scroll', () => {
    view.scrolled = true;
    onScroll(view);
  }, {passive: true});
  view.slider.addEventListener('input', () => showAt(view, Number(view.slider.value) * half));
  return {
    // A conversion's answer: the whole markup (code units), or a long
    // markup's first bytes, its Blob to follow through blobArrived.
    show(result) {
      view.source = result.markup ? unitSource(result.markup) : headSource(result.head);
      view.whole = result.markup ? null : new Promise((resolve) => {
        view.arrived = resolve;
      });
      showAt(view, 0);
      // Setting the scroll position would lay the box out at once, in the
      // middle of the update: only a box the reader has scrolled is reset.
      if (view.scrolled) {
        view.box.scrollTop = 0;
        view.scrolled = false;
      }
    },
    blobArrived(blob) {
      view.arrived(blob);
      view.source = blobSource(blob);
      showAt(view, view.start);
    },
    // What the note under the box says of a markup longer than the window.
    note: (t, characters) => (paged(view.source) || view.whole ? t.outputWindow(characters) : ''),
    retext: () => showSlider(view),
    copy: (button) => copy(view, button),
    download: () => download(view),
  };
}
