// The core's verdicts on typed values, kept by the text they are about: each
// text asked once, unknown until its answer, and an answer that comes late
// never standing for a text typed after it.
import assert from 'node:assert/strict';
import {test} from 'node:test';
import {createReads} from '../page/core-reads.js';

// A worker whose answers come only when the test lets them, in any order.
function slowWorker() {
  const asked = [];
  return {
    asked,
    ask: (message) => new Promise((resolve) => asked.push({message, answer: (verdict) => resolve({verdict})})),
  };
}

test('a verdict is unknown until the core answers, then kept for its text alone', async () => {
  const worker = slowWorker();
  const heard = [];
  const reads = createReads(worker.ask, (kind, key) => heard.push(`${kind} ${key}`));
  const steps = [['1x', {error: 'notWhole'}], ['12', {value: 12}], ['&H3', {value: 3}]];
  for (const [text] of steps) {
    assert.equal(reads.get('step', text), null, text);
  }
  assert.equal(reads.get('step', '1x'), null, 'asked again before the answer');
  assert.deepEqual(worker.asked.map(({message}) => message.subject), ['1x', '12', '&H3'], 'each text asked once');
  // Answers come newest first: each stays its own text's.
  for (const [k, [, verdict]] of [...steps.entries()].reverse()) {
    worker.asked[k].answer(verdict);
  }
  await Promise.all(steps.map(([text]) => reads.when('step', text)));
  for (const [text, verdict] of steps) {
    assert.deepEqual(reads.get('step', text), {verdict}, text);
  }
  assert.deepEqual(heard, ['step &H3', 'step 12', 'step 1x']);
  assert.equal(worker.asked.length, 3, 'a known text is not asked again');
});

test('kinds are apart, a null verdict is a verdict, and the subject is what the core is sent', async () => {
  const worker = slowWorker();
  const reads = createReads(worker.ask, () => {});
  const template = {prefix: '[ftc=', middle: ']', suffix: '[/ft]', format: ''};
  const rows = [['dialect', 'own', {prefix: 'x'}, null], ['dialect', 'brelvin', template, 'brelvin'],
    ['position', '12', '12', {value: 12}], ['step', '12', '12', {value: 12}]];
  for (const [kind, key, subject, verdict] of rows) {
    const pending = reads.when(kind, key, subject);
    const {message, answer} = worker.asked.at(-1);
    assert.deepEqual(message, {tool: 'read', kind, subject}, `${kind} ${key}`);
    answer(verdict);
    assert.equal(await pending, verdict);
    assert.deepEqual(reads.get(kind, key, subject), {verdict}, `${kind} ${key}`);
  }
  assert.equal(worker.asked.length, rows.length);
});

test('the oldest known texts are forgotten, never one still waiting for its answer', async () => {
  const worker = slowWorker();
  const reads = createReads(worker.ask, () => {});
  reads.get('step', 'waiting');
  for (let k = 0; k < 300; ++k) {
    reads.get('step', String(k));
    worker.asked.at(-1).answer({value: k});
    await reads.when('step', String(k));
  }
  const asked = worker.asked.length;
  worker.asked[0].answer({error: 'notWhole'});
  assert.deepEqual(await reads.when('step', 'waiting'), {error: 'notWhole'});
  assert.equal(worker.asked.length, asked, 'the waiting text was kept');
  assert.deepEqual(reads.get('step', '299'), {verdict: {value: 299}});
  reads.get('step', '0');
  assert.equal(worker.asked.length, asked + 1, 'the oldest was forgotten and is asked again');
});
