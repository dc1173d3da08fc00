// The WebAssembly core as the extension uses it, through the page's own
// converter: the dialects, the default gradient and the conversion all come
// from what the core exports, so the extension keeps no list of its own.
import {createConverter} from './web/convert.js';
import {defaults} from './web/settings.js';

let loading = null;

async function load() {
  const converter = await createConverter();
  // 'initial' is the window's start-up template, not a dialect a board reads.
  const {initial: _, ...dialects} = converter.dialects();
  return {
    dialects,
    // Bold, italic, underline, strikethrough and endpoints.
    formatting: false,
    defaultDialect: defaults.dialect,
    defaultStops: defaults.stops.map((stop) => stop.toUpperCase()),
    // The markup as a string, and the preview's chunks as [offset, units,
    // '#RRGGBB' or null for a bare chunk].
    convert(settings, text) {
      const result = converter.convert(settings, text);
      const chunks = [];
      for (let k = 0; k + 2 < result.preview.length; k += 3) {
        const [offset, units, rgb] = result.preview.slice(k, k + 3);
        chunks.push([offset, units, rgb < 0 ? null : `#${rgb.toString(16).padStart(6, '0').toUpperCase()}`]);
      }
      return {failed: result.failed, counts: result.counts, chunks,
        markup: new TextDecoder('utf-16le').decode(result.markup)};
    },
  };
}

export function loadCore() {
  loading ??= load();
  return loading;
}
