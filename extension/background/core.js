// The WebAssembly core as the extension uses it, through the page's own
// converter: the dialects, the default gradient, the stop limit and the
// conversion all come from what the core exports, the dialects' names in
// both languages too: the extension keeps no list of its own.
import {createConverter} from '../../web/core/convert.js';
import {hexOf} from '../../web/shared/gradients.js';

let loading = null;

async function load() {
  const converter = await createConverter();
  const core = converter.interface;
  const dialects = Object.fromEntries(
    core.dialects.map(({key, prefix, middle, suffix, format, labels}) =>
      [key, {prefix, middle, suffix, format, labels}]));
  return {
    dialects,
    // Bold, italic, underline, strikethrough and endpoints.
    formatting: true,
    defaultDialect: core.initialDialect,
    defaultStops: core.defaultStops,
    maxStops: core.maxStops,
    spaces: core.spaces,
    // The markup as a string, and the preview's chunks as [offset, units,
    // '#RRGGBB' or null for a bare chunk].
    convert(settings, text) {
      const styles = {bold: settings.bold, italic: settings.italic, underline: settings.underline,
        strike: settings.strike};
      const result = converter.convert({...settings, styles}, text);
      const chunks = [];
      for (let k = 0; k + 2 < result.preview.length; k += 3) {
        const [offset, units, colour] = result.preview.slice(k, k + 3);
        chunks.push([offset, units, colour < 0 ? null : hexOf(colour)]);
      }
      return {failed: result.failed, stylesRefused: result.stylesRefused, counts: result.counts, chunks,
        markup: new TextDecoder('utf-16le').decode(result.markup)};
    },
  };
}

export function loadCore() {
  loading ??= load();
  return loading;
}
