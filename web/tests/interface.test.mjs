// The page and the extension start only with every dialect fact the core's
// interface owes them; without one they refuse, naming it.
import assert from 'node:assert/strict';
import {test} from 'node:test';
import {checkInterface, dialectLabel, findDialect, missingFact} from '../interface.js';

// A whole interface, written out here rather than taken from the core.
const whole = () => ({
  request: {fields: {}, stops: 0}, counts: {}, maxStops: 64, limitUnits: ['characters'], spaces: ['rgb', 'oklab'],
  segmentations: ['char', 'grapheme'], styleNames: ['bold', 'italic', 'underline', 'strike'],
  templateParts: ['prefix', 'middle', 'suffix'], initialDialect: 'ubb', initial: {}, defaultStops: [0, 0],
  dialects: [
    {key: 'html', label: 'Html(网页)', labels: {zh: 'Html(网页)', en: 'HTML font tags'}, prefix: '<font color=',
      middle: '>', suffix: '</font>', html: 1, styles: 'around'},
    {key: 'brelvin', label: 'Brelvin', labels: {zh: 'Brelvin', en: 'Brelvin'}, prefix: '[ftc=', middle: ']',
      suffix: '[/ft]', html: 0, styles: ''},
  ],
});

test('every fact removed in turn stops the start with its name', () => {
  const removals = [
    ...['request', 'counts', 'maxStops', 'limitUnits', 'spaces', 'segmentations', 'styleNames', 'templateParts',
      'dialects', 'initialDialect', 'initial', 'defaultStops'].map((name) => [(d) => delete d[name], name]),
    ...['key', 'label', 'labels', 'prefix', 'middle', 'suffix', 'html', 'styles'].map(
      (name) => [(d) => delete d.dialects[1][name], `dialects[].${name}`]),
    [(d) => delete d.dialects[0].labels.en, 'dialects[].labels.en'],
    [(d) => delete d.dialects[1].labels.zh, 'dialects[].labels.zh'],
  ];
  assert.equal(missingFact(whole()), null);
  for (const [remove, name] of removals) {
    const described = whole();
    remove(described);
    assert.equal(missingFact(described), name);
    assert.throws(() => checkInterface(described), new Error(`the core's interface lacks ${name}`));
  }
});

test('a template is a dialect\'s when the parts the core names match', () => {
  const core = whole();
  const rows = [[{prefix: '[ftc=', middle: ']', suffix: '[/ft]'}, 'brelvin'],
    [{prefix: '[ftc=', middle: ']', suffix: '[/FT]'}, null], [{prefix: '<font color=', middle: '>', suffix: '</font>'},
      'html']];
  for (const [template, key] of rows) {
    assert.equal(findDialect(template, core)?.key ?? null, key, JSON.stringify(template));
  }
  assert.equal(findDialect({prefix: 'x', middle: ']', suffix: '[/ft]'}, {...core, templateParts: ['middle', 'suffix']})
    ?.key, 'brelvin');
  assert.deepEqual(['zh', 'en'].map((language) => dialectLabel(core.dialects[0], language)),
    ['Html(网页)', 'HTML font tags']);
});
