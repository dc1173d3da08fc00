// The page and the extension start only with every fact the core's
// interface owes them; without one they refuse, naming it. These run in
// Node alone; page-interface.test.mjs takes the facts out of the built page's
// core.
import assert from 'node:assert/strict';
import {test} from 'node:test';
import {checkInterface, dialectLabel, facts, missingFact} from '../core/interface.js';

// A whole interface, written out here rather than taken from the core.
const whole = () => ({
  request: {fields: {}, stops: 0, positions: 0}, counts: {}, positionScale: 1000,
  surprise: {light: [0], dark: [0]}, maxStops: 64, limitUnits: ['characters'], spaces: ['rgb', 'oklab'],
  units: ['char', 'grapheme'], styleNames: ['bold', 'italic', 'underline', 'strike'],
  initialDialect: 'ubb',
  initial: {prefix: '[color=', middle: ']', suffix: '[/color]'},
  defaultStops: [0, 0],
  motion: {minFrames: 2, maxFrames: 240, defaultFrames: 40, minInterval: 50, maxInterval: 60000,
    defaultInterval: 100, defaultName: 'gradient', directions: ['left', 'right'], defaultDirection: 'left',
    forms: ['lines', 'yaml', 'json'], faults: ['', 'frames', 'interval', 'lineBreak']},
  dialects: [
    {key: 'html', label: 'Html(网页)', labels: {zh: 'Html(网页)', en: 'HTML font tags'}, prefix: '<font color=',
      middle: '>', suffix: '</font>', format: '', html: 1, styles: 'around',
      codes: ['bold', 'italic', 'underline', 'strike'], entities: 'decoded', literal: 'entities'},
    {key: 'brelvin', label: 'Brelvin', labels: {zh: 'Brelvin', en: 'Brelvin'}, prefix: '[ftc=', middle: ']',
      suffix: '[/ft]', format: '', html: 0, styles: '', codes: [], entities: 'request', literal: 'entities'},
    {key: 'rgb', label: 'rgb', labels: {zh: 'rgb', en: 'rgb'}, prefix: '', middle: '', suffix: '',
      format: '[C={red}]{text}', html: 0, styles: '', codes: [], entities: 'never', literal: 'nothing'},
  ],
});

// Every fact on the page's list, taken out in turn (from the last dialect, for
// a dialect's), stops the start with its name.
test('every fact removed in turn stops the start with its name', () => {
  const owner = (described, path) => path.split('.').filter(Boolean).reduce((object, step) =>
    (step.endsWith('[]') ? object[step.slice(0, -2)].at(-1) : object[step]), described);
  assert.equal(missingFact(whole()), null);
  const names = Object.entries(facts).flatMap(([path, list]) => list.map((name) => [path, name]));
  assert.ok(names.length > 30);
  for (const [path, name] of names) {
    const described = whole();
    delete owner(described, path)[name];
    const fact = path ? `${path}.${name}` : name;
    assert.equal(missingFact(described), fact);
    assert.throws(() => checkInterface(described), new Error(`the core's interface lacks ${fact}`));
  }
});

test('a dialect is named in either language as the core names it', () => {
  const core = whole();
  assert.deepEqual(['zh', 'en'].map((language) => dialectLabel(core.dialects[0], language)),
    ['Html(网页)', 'HTML font tags']);
});
