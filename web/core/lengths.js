// A conversion with the markup's lengths in every unit a limit can count,
// all as the core counts them: characters (a surrogate pair is one), UTF-8
// bytes and GBK bytes. The core also chooses the step for a limit in any of
// these units. pieces is the converter's (a markup written in pieces); its
// planned hears the result with the lengths.
function measured(result) {
  const {counts} = result;
  const lengths = {characters: counts.outputCharacters, utf8: counts.outputUtf8, gbk: counts.outputGbk};
  return {...result, lengths: result.failed ? null : lengths};
}

export function convertMeasured(converter, settings, text, pieces = null) {
  const written = pieces && {...pieces, planned: (result) => pieces.planned?.(measured(result))};
  return measured(converter.convert(settings, text, written));
}
