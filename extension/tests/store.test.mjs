// The extension's storage shared by the popup and the background: each
// change is made to what is stored now, so a writer holding an older copy
// undoes nobody's change and never drops a saved gradient it cannot read.
import assert from 'node:assert/strict';
import {test} from 'node:test';

const stateKey = 'huecode.extension.v1';
const savedKey = 'huecode.gradients.v1';
const stored = new Map();
// Answers a turn later, as the browser's storage does, so that two changes
// not made in turn would interleave.
const later = () => new Promise((resolve) => setTimeout(resolve, 0));
globalThis.chrome = {storage: {local: {
  async get(keys) {
    await later();
    return Object.fromEntries([keys].flat().filter((k) => stored.has(k)).map((k) => [k, stored.get(k)]));
  },
  async set(items) {
    await later();
    Object.entries(items).forEach(([k, v]) => stored.set(k, v));
  },
}}};

// The sources as they stand: the store and the page's modules it imports need no build.
const store = await import('../background/store.js');

const unreadable = {id: 'gbad', name: 'from a newer version', stops: ['#FF00FF', 'not a colour']};
const good = {id: 'ggood', name: 'kept', stops: ['#FF0000', '#0000FF'], space: 'rgb'};

test('changes from a stale copy keep other writers\' changes and unreadable gradients', async () => {
  stored.set(savedKey, JSON.stringify({format: 'huecode-gradients', version: 2, gradients: [good, unreadable]}));
  stored.set(stateKey, {choice: {step: '1'}, sites: {'https://a.example': {dialect: 'ubb'}}});
  const popup = await store.loadState();
  assert.deepEqual(popup.saved.map((g) => g.name), ['kept']);

  // The background, meanwhile, learns another site's dialect.
  stored.set(stateKey, {...stored.get(stateKey), sites: {...popup.sites, 'https://b.example': {dialect: 'html'}}});
  await store.updateState((now) => ({...now, choice: {...popup.choice, step: '4'}}));
  await Promise.all(['c', 'd'].map((site) =>
    store.updateState((now) => store.withSiteDialect(now, `https://${site}.example`, 'bbcode'))));
  await store.changeSavedGradients((list) => [...list, {id: 'gnew', name: 'added', stops: ['#00FF00', '#FFFF00'],
    space: 'oklab'}]);

  const own = stored.get(stateKey);
  assert.equal(own.choice.step, '4');
  assert.deepEqual(Object.keys(own.sites).sort(), ['a', 'b', 'c', 'd'].map((s) => `https://${s}.example`));
  const file = JSON.parse(stored.get(savedKey));
  assert.deepEqual(file.gradients.map((g) => g.id).sort(), ['gbad', 'ggood', 'gnew']);
  assert.deepEqual(file.gradients.find((g) => g.id === 'gbad'), unreadable, 'the unreadable entry is kept as stored');
});
