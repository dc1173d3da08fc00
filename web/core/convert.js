// Runs conversions in the WebAssembly core: writes a request into its
// memory, converts, and reads the markup, the counts and the preview back.
import createHuecode from './huecode.js';
import {wellFormed} from '../shared/code-points.js';
import {hexOf, packedOf} from '../shared/gradients.js';
import {readInterface, utf16} from './interface.js';
import {gbkTable} from './gbk-table.js';
import {alignedPositions, requestPositions} from '../shared/positions.js';

// The preview shows the beginning of a long text: a screen or two is enough
// to judge the colours, and more would only slow the page down.
const previewUnits = 4000;

// The request's numbers by field name; the core says where each one goes
// and which code each named value has.
function requestValues(settings, strings, stopCount, codes) {
  const code = (names, name) => Math.max(0, names.indexOf(name));
  return {
    textUnits: strings[0].length,
    stepUnits: strings[1].length,
    prefixUnits: strings[2].length,
    middleUnits: strings[3].length,
    suffixUnits: strings[4].length,
    space: code(codes.spaces, settings.space),
    by: code(codes.units, settings.by),
    merge: settings.merge ? 1 : 0,
    rainbow: settings.rainbow ? 1 : 0,
    escape: settings.escape ? 1 : 0,
    fitLimit: settings.fitLimit ?? -1,
    limitUnit: code(codes.limitUnits, settings.limitUnit),
    // The extension asks for every chunk of a text it colours as formatted text.
    previewUnits: settings.previewUnits ?? previewUnits,
    styles: codes.styleNames.reduce((bits, name, k) => bits | (settings.styles?.[name] ? 1 << k : 0), 0),
    endpoints: settings.endpoints ? 1 : 0,
    stopCount,
    perLine: settings.perLine ? 1 : 0,
    mirror: settings.mirror ? 1 : 0,
    formatUnits: strings[5].length,
    // A still gradient unless frames are asked for; the interval and the
    // name only shape the YAML form.
    frames: settings.frames ?? 0,
    direction: code(codes.motion.directions, settings.direction),
    form: code(codes.motion.forms, settings.form),
    interval: settings.interval ?? codes.motion.defaultInterval,
    nameUnits: strings[6].length,
  };
}

// A field that one side has and the other lacks would be left at its last
// value or written nowhere: the converter refuses to start instead.
function checkRequestFields(described) {
  const filled = Object.keys(requestValues({}, ['', '', '', '', '', '', ''], 0, described)).sort();
  const names = Object.keys(described.request.fields).sort();
  if (filled.join() !== names.join()) {
    throw new Error(`the core's request has the fields ${names.join()}, the page fills ${filled.join()}`);
  }
}

function describedBy(core) {
  const described = readInterface(core);
  checkRequestFields(described);
  return described;
}

// What the page needs of the core beyond conversions: its dialects, the one
// and the template and colours it opens with, and the most stops it takes.
function pageInterface(described) {
  return {
    dialects: described.dialects,
    initialDialect: described.initialDialect,
    initial: described.initial,
    defaultStops: described.defaultStops.map(hexOf),
    maxStops: described.maxStops,
    units: described.units,
    spaces: described.spaces,
    limitUnits: described.limitUnits,
    surprise: {light: described.surprise.light.map(hexOf), dark: described.surprise.dark.map(hexOf)},
    styleNames: described.styleNames,
    motion: described.motion,
  };
}

// The texts one after another into the core's text buffer.
function writeTexts(core, strings) {
  const total = strings.reduce((sum, s) => sum + s.length, 0);
  let at = core._hc_texts(total) >> 1;
  const heap = core.HEAPU16;
  for (const s of strings) {
    for (let k = 0; k < s.length; ++k) {
      heap[at++] = s.charCodeAt(k);
    }
  }
}

function writeRequest(core, described, settings, text) {
  const strings = [wellFormed(text), settings.step, settings.prefix, settings.middle, settings.suffix,
    settings.format ?? '', settings.name ?? ''];
  writeTexts(core, strings);
  const stops = settings.stops.slice(0, described.maxStops);
  const values = requestValues(settings, strings, stops.length, described);
  const request = core._hc_request();
  for (const [field, offset] of Object.entries(described.request.fields)) {
    core.HEAP32[(request + offset) >> 2] = values[field];
  }
  const stopsAt = (request + described.request.stops) >> 2;
  stops.forEach((stop, k) => {
    core.HEAP32[stopsAt + k] = packedOf(stop);
  });
  const positions = requestPositions(alignedPositions(settings.positions, stops.length), described.positionScale);
  core.HEAP32.set(positions, (request + described.request.positions) >> 2);
}

function readCounts(core, described) {
  const at = core._hc_counts();
  return Object.fromEntries(Object.entries(described.counts).map(
    ([field, offset]) => [field, core.HEAPF64[(at + offset) >> 3]]));
}

function readPreview(core) {
  const at = core._hc_preview() >> 2;
  return Int32Array.from(core.HEAP32.subarray(at, at + 3 * core._hc_preview_chunks()));
}

// Where and why the core could not read a format or markup ({line, column,
// message}), or why it refused a typed value ({error, ...}).
function readError(core) {
  return JSON.parse(utf16(core, core._hc_error(), core._hc_error_units()));
}

// Each frame's colours of the preview's chunks, frame after frame; empty for a still gradient.
function readPreviewFrames(core, frames) {
  const at = core._hc_preview_frames() >> 2;
  return Int32Array.from(core.HEAP32.subarray(at, at + frames * core._hc_preview_chunks()));
}

function readBar(core) {
  const at = core._hc_bar() >> 2;
  return Array.from(core.HEAP32.subarray(at, at + 256), hexOf);
}

function markupOf(core, failed) {
  const markup = core._hc_markup() >> 1;
  return core.HEAPU16.slice(markup, failed ? markup : markup + core._hc_markup_units());
}

// The values typed into the page's boxes, read by the core's rules: the step
// ({value} or {error, min, max}), a stop's position ({value} in percent or
// {error}), and a template's dialect (its key, or null for one's own).
function typedReaders(core, described) {
  return {
    step(text) {
      writeTexts(core, [text]);
      const value = core._hc_read_step();
      return value > 0 ? {value} : readError(core);
    },
    position(text) {
      writeTexts(core, [text]);
      const value = core._hc_read_position();
      return value >= 0 ? {value: value * 100 / described.positionScale} : readError(core);
    },
    dialect({prefix, middle, suffix, format}) {
      writeTexts(core, [prefix, middle, suffix, format]);
      const k = core._hc_dialect_of(prefix.length, middle.length, suffix.length);
      return k >= 0 ? described.dialects[k].key : null;
    },
  };
}

function writeMarkup(core, {bytes, take}) {
  core.onMarkupPiece = (pointer, length) => take(core.HEAPU8.subarray(pointer, pointer + length));
  try {
    core._hc_write_markup(bytes);
  } finally {
    core.onMarkupPiece = null;
  }
}

export async function createConverter() {
  const core = await createHuecode();
  const described = describedBy(core);
  core.HEAPU8.set(gbkTable().subarray(0, core._hc_gbk_table_size()), core._hc_gbk_table());
  const readers = typedReaders(core, described);
  return {
    interface: pageInterface(described),

    // kind: 'step', 'position' or 'dialect' (subject {prefix, middle, suffix, format}).
    read: (kind, subject) => (Object.hasOwn(readers, kind) ? readers[kind](subject) : null),

    // The text goes in as the page holds it; the preview's offsets are
    // offsets into that text. The markup comes back as UTF-16 code units,
    // which a worker can hand over without copying.
    //
    // With pieces = {bytes, take(piece), planned(result)} the markup is not
    // built whole: planned hears the result first, then take hears the
    // markup as UTF-8 in pieces of about that many bytes, each ending
    // between two characters (views into the core's memory, valid until
    // take returns), and markup is null.
    convert(settings, text, pieces = null) {
      writeRequest(core, described, settings, text);
      const status = core._hc_convert();
      const failed = status !== 0;
      const result = {
        markup: pieces ? null : markupOf(core, failed),
        counts: readCounts(core, described),
        preview: readPreview(core),
        previewFrames: readPreviewFrames(core, status === 0 ? readCounts(core, described).frames : 0),
        previewCut: text.length > previewUnits,
        bar: readBar(core),
        failed,
        stylesRefused: status === 2,
        formatError: status === 3 ? readError(core) : null,
        // Why the frames cannot be written: one of the core's motion.faults.
        motionFault: status === 4 ? described.motion.faults[readCounts(core, described).motionFault] : null,
      };
      if (pieces && !failed) {
        pieces.planned?.(result);
        writeMarkup(core, pieces);
      }
      return result;
    },

    // The plain text of coloured markup in any dialect the core writes, and
    // its length in characters as every count counts them: {text, characters}
    // or {error: {line, column, message}}.
    strip(markup) {
      writeTexts(core, [markup]);
      if (core._hc_strip() !== 0) {
        return {error: readError(core)};
      }
      return {text: utf16(core, core._hc_markup(), core._hc_markup_units()),
        characters: readCounts(core, described).charactersIn};
    },
  };
}
