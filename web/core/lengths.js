// A conversion with the markup's lengths in every unit a limit can count,
// all as the core counts them: characters (a surrogate pair is one), UTF-8
// bytes and GBK bytes. The core also chooses the step for a limit in any of
// these units. pieces is the converter's (a markup written in pieces); its
// planned hears the result with the lengths.
function measured(result) {
  const {counts} = result;
  const lengths = {characters: counts.outputCharacters, utf8: counts.outputUtf8, gbk: counts.outputGbk};
  // A moving gradient's are of its longest frame, and these of all its frames.
  if (counts.frames > 0) {
    lengths.all = {characters: counts.allCharacters, utf8: counts.allUtf8, gbk: counts.allGbk};
  }
  return {...result, lengths: result.failed ? null : lengths};
}

export function convertMeasured(converter, settings, text, pieces = null) {
  const written = pieces && {...pieces, planned: (result) => pieces.planned?.(measured(result))};
  return measured(converter.convert(settings, text, written));
}
