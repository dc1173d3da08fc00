// In WebAssembly the JavaScript engine's segmenter finds the user-perceived
// characters, as the page's does: no ICU is compiled in.
#include <emscripten.h>

#include "library.h"

namespace {

// Writes where each grapheme of the UTF-16 text begins into starts (room for
// length + 1) and returns how many there are.
EM_JS(int, FindGraphemes, (const char16_t* text, int length, std::uint32_t* starts), {
  const units = HEAPU16.subarray(text >> 1, (text >> 1) + length);
  const segmenter = new Intl.Segmenter(undefined, {granularity : "grapheme"});
  let count = 0;
  for (const segment of segmenter.segment(new TextDecoder("utf-16le").decode(units))) {
    HEAPU32[(starts >> 2) + count++] = segment.index;
  }
  return count;
});

}  // namespace

namespace huecode::library {

GraphemeFinder Graphemes() {
  return [](std::u16string_view text) {
    std::vector<std::uint32_t> starts(text.size() + 1);
    const int count = FindGraphemes(text.data(), static_cast<int>(text.size()), starts.data());
    starts.resize(static_cast<std::size_t>(count));
    starts.push_back(static_cast<std::uint32_t>(text.size()));
    return starts;
  };
}

}  // namespace huecode::library
