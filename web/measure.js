// A conversion with the markup's lengths in every unit a limit can count,
// all as the core counts them: characters (a surrogate pair is one), UTF-8
// bytes and GBK bytes. The core also chooses the step for a limit in any of
// these units.
export function convertMeasured(converter, settings, text) {
  const result = converter.convert(settings, text);
  const {counts} = result;
  const lengths = {characters: counts.outputCharacters, utf8: counts.outputUtf8, gbk: counts.outputGbk};
  return {...result, lengths: result.failed ? null : lengths};
}
