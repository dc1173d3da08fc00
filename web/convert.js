// Runs conversions in the WebAssembly core: writes a request into its
// memory, converts, and reads the markup, the counts and the preview back.
import createHuecode from './huecode.js';

// Field order of Request in binding.cpp, all 32-bit integers, then the stops.
const requestFields = ['textUnits', 'stepUnits', 'prefixUnits', 'middleUnits', 'suffixUnits', 'space',
  'by', 'merge', 'rainbow', 'escape', 'fitLimit', 'previewUnits', 'styles', 'endpoints', 'stopCount'];
// Bits of the styles field, in the core's order.
const styleNames = ['bold', 'italic', 'underline', 'strike'];
const maxStops = 64;
const countFields = ['charactersIn', 'chunks', 'colouredChunks', 'outputCharacters', 'step', 'fitFailed',
  'shortest'];
// The preview shows the beginning of a long text: a screen or two is enough
// to judge the colours, and more would only slow the page down.
const previewUnits = 4000;

// A lone surrogate cannot travel as UTF-8 (the clipboard, a file, the
// command line): like the browser's own encoder, the page converts it as the
// replacement character U+FFFD, which is what the command line reads.
export function wellFormed(text) {
  return text.toWellFormed ? text.toWellFormed()
    : text.replace(/[\uD800-\uDBFF](?![\uDC00-\uDFFF])|(?<![\uD800-\uDBFF])[\uDC00-\uDFFF]/g, '\uFFFD');
}

function rgbOf(hex) {
  return Number.parseInt(hex.slice(1), 16);
}

function hexOf(rgb) {
  return `#${rgb.toString(16).padStart(6, '0').toUpperCase()}`;
}

function decodeUtf16(units) {
  return new TextDecoder('utf-16le').decode(units);
}

export async function createConverter() {
  const core = await createHuecode();
  const utf16 = (pointer, units) => decodeUtf16(core.HEAPU16.subarray(pointer >> 1, (pointer >> 1) + units));

  function writeRequest(settings, text) {
    const strings = [wellFormed(text), settings.step, settings.prefix, settings.middle, settings.suffix];
    const total = strings.reduce((sum, s) => sum + s.length, 0);
    let at = core._hc_texts(total) >> 1;
    const heap = core.HEAPU16;
    for (const s of strings) {
      for (let k = 0; k < s.length; ++k) {
        heap[at++] = s.charCodeAt(k);
      }
    }
    const stops = settings.stops.slice(0, maxStops);
    const values = {
      textUnits: strings[0].length,
      stepUnits: strings[1].length,
      prefixUnits: strings[2].length,
      middleUnits: strings[3].length,
      suffixUnits: strings[4].length,
      space: settings.space === 'oklab' ? 1 : 0,
      by: settings.by === 'grapheme' ? 1 : 0,
      merge: settings.merge ? 1 : 0,
      rainbow: settings.rainbow ? 1 : 0,
      escape: settings.escape ? 1 : 0,
      fitLimit: settings.fitLimit ?? -1,
      previewUnits,
      styles: styleNames.reduce((bits, name, k) => bits | (settings.styles?.[name] ? 1 << k : 0), 0),
      endpoints: settings.endpoints ? 1 : 0,
      stopCount: stops.length,
    };
    const request = core._hc_request() >> 2;
    const heap32 = core.HEAP32;
    requestFields.forEach((field, k) => {
      heap32[request + k] = values[field];
    });
    stops.forEach((stop, k) => {
      heap32[request + requestFields.length + k] = rgbOf(stop);
    });
  }

  function readCounts() {
    const at = core._hc_counts() >> 3;
    return Object.fromEntries(countFields.map((field, k) => [field, core.HEAPF64[at + k]]));
  }

  function readPreview() {
    const at = core._hc_preview() >> 2;
    const chunks = core._hc_preview_chunks();
    return Int32Array.from(core.HEAP32.subarray(at, at + 3 * chunks));
  }

  function readBar() {
    const at = core._hc_bar() >> 2;
    return Array.from(core.HEAP32.subarray(at, at + 256), hexOf);
  }

  return {
    // Templates by dialect key, each with where its formatting goes
    // ('around', 'tag' or '' for none), and the template the window opens with.
    dialects() {
      const fields = utf16(core._hc_dialects(), core._hc_dialects_units()).split('\x1f');
      const table = {};
      for (let k = 0; k + 4 < fields.length; k += 5) {
        table[fields[k]] = {prefix: fields[k + 1], middle: fields[k + 2], suffix: fields[k + 3], styles: fields[k + 4]};
      }
      return table;
    },

    // The text goes in as the page holds it; the preview's offsets are
    // offsets into that text. The markup comes back as UTF-16 code units,
    // which a worker can hand over without copying.
    convert(settings, text) {
      writeRequest(settings, text);
      const status = core._hc_convert();
      const failed = status !== 0;
      const counts = readCounts();
      const markup = core._hc_markup() >> 1;
      return {
        markup: core.HEAPU16.slice(markup, failed ? markup : markup + core._hc_markup_units()),
        counts,
        preview: readPreview(),
        previewCut: text.length > previewUnits,
        bar: readBar(),
        failed,
        stylesRefused: status === 2,
      };
    },
  };
}
