// Every fact the page and the extension take from the core's interface
// (hc_interface in web/core/binding.cpp): dialects with their names in both
// languages, which are HTML, where formatting goes and its names, which
// styles each has codes for, how its readers take entities, how the text's
// own codes are shown as typed (literal), the request's value codes and
// layout, the stops' position scale, the surprise gradient's colours and a
// moving gradient's limits, defaults and choices. A fact missing would leave
// them to guess, so the converter refuses to start and says which.
export const facts = {
  '': ['request', 'counts', 'maxStops', 'limitUnits', 'spaces', 'units', 'styleNames', 'dialects', 'initialDialect',
    'initial', 'defaultStops', 'positionScale', 'surprise', 'motion'],
  'request': ['fields', 'stops', 'positions'],
  'surprise': ['light', 'dark'],
  'motion': ['minFrames', 'maxFrames', 'defaultFrames', 'minInterval', 'maxInterval', 'defaultInterval',
    'defaultName', 'directions', 'defaultDirection', 'forms', 'faults'],
  'initial': ['prefix', 'middle', 'suffix'],
  'dialects[]': ['key', 'label', 'labels', 'prefix', 'middle', 'suffix', 'format', 'html', 'styles', 'codes',
    'entities', 'literal'],
  'dialects[].labels': ['zh', 'en'],
};

// The first fact the interface lacks, as a path, or null.
export function missingFact(described) {
  const objectsAt = (path) => path.split('.').filter(Boolean).reduce((objects, step) => objects.flatMap(
    (object) => (step.endsWith('[]') ? object[step.slice(0, -2)] ?? [] : [object[step] ?? {}])), [described]);
  for (const [path, names] of Object.entries(facts)) {
    for (const object of objectsAt(path)) {
      const missing = names.find((name) => object?.[name] === undefined);
      if (missing) {
        return path ? `${path}.${missing}` : missing;
      }
    }
  }
  return null;
}

export function checkInterface(described) {
  const missing = missingFact(described);
  if (missing) {
    throw new Error(`the core's interface lacks ${missing}`);
  }
  return described;
}

// A text of the core's, units UTF-16 code units long from pointer.
export function utf16(core, pointer, units) {
  return new TextDecoder('utf-16le').decode(core.HEAPU16.subarray(pointer >> 1, (pointer >> 1) + units));
}

// The interface a loaded core describes, every fact checked.
export function readInterface(core) {
  return checkInterface(JSON.parse(utf16(core, core._hc_interface(), core._hc_interface_units())));
}

// A dialect's name in a language ('zh' or 'en').
export const dialectLabel = (dialect, language) => dialect.labels[language];
