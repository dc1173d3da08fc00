// What the core makes of the values typed into the page's boxes (the step, a
// stop's position, the template), since the rules for reading them are the
// core's and the core lives in the worker. Each text is asked about once and
// its verdict kept: a verdict is a function of the text alone, so one that
// comes late can only ever be about the text it names, never mark a box
// that has since changed. Until the verdict comes, the value is unknown.

// Enough for every text typed in a long session's boxes; the oldest go first.
const kept = 256;

// ask(message) → a promise of the worker's answer {verdict}; heard(kind,
// key) is told whenever a verdict arrives.
export function createReads(ask, heard) {
  const known = new Map();

  function forgetOldest() {
    for (const [id, entry] of known) {
      if (known.size <= kept) {
        return;
      }
      if (entry.settled) {
        known.delete(id);
      }
    }
  }

  function entry(kind, key, subject) {
    const id = `${kind}\n${key}`;
    let found = known.get(id);
    if (!found) {
      const created = {settled: false, verdict: undefined, promise: null};
      created.promise = ask({tool: 'read', kind, subject}).then(({verdict}) => {
        Object.assign(created, {settled: true, verdict});
        heard(kind, key);
        return verdict;
      });
      found = created;
      known.set(id, found);
      forgetOldest();
    }
    return found;
  }

  return {
    // {verdict} once the core has read this key (subject, if it is not the
    // key itself, is what the core is sent), else null, asking it first.
    get(kind, key, subject = key) {
      const found = entry(kind, key, subject);
      return found.settled ? {verdict: found.verdict} : null;
    },
    // A promise of the verdict.
    when: (kind, key, subject = key) => entry(kind, key, subject).promise,
  };
}
