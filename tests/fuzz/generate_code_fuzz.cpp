#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "core/chunks.h"
#include "core/conversion.h"
#include "tests/fuzz/fuzz_input.h"
#include "tests/fuzz/reference.h"

namespace huecode::fuzz {
namespace {

// Private-use characters that fence the three template strings in the output,
// so that the tags can be cut out again exactly. They are removed from every
// fuzzed string first, so nothing else in the output can look like a fence.
constexpr char16_t kPrefixOpen = 0xE000;
constexpr char16_t kPrefixClose = 0xE001;
constexpr char16_t kMiddleOpen = 0xE002;
constexpr char16_t kMiddleClose = 0xE003;
constexpr char16_t kSuffixOpen = 0xE004;
constexpr char16_t kSuffixClose = 0xE005;

bool IsFence(char16_t c) {
  return c >= kPrefixOpen && c <= kSuffixClose;
}

std::u16string WithoutFences(std::u16string_view text) {
  std::u16string kept;
  for (const char16_t c : text) {
    if (!IsFence(c)) {
      kept.push_back(c);
    }
  }
  return kept;
}

bool IsUpperHexDigit(char16_t c) {
  return (c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'F');
}

int HexValue(char16_t c) {
  return c <= u'9' ? c - u'0' : c - u'A' + 10;
}

struct WrittenChunk {
  std::size_t offset = 0;  // in the text with the tags removed
  std::u16string text;
  std::int64_t rgb[3] = {0, 0, 0};
};

// Expects `expected` at `at` in `out` and moves past it.
void Expect(std::u16string_view out, std::size_t& at, std::u16string_view expected) {
  FUZZ_CHECK(out.substr(at, expected.size()) == expected);
  at += expected.size();
}

// Splits the output into the text outside the tags and the coloured chunks,
// checking every tag's shape on the way.
std::u16string RemoveTags(std::u16string_view out, const MarkupTemplate& markup,
                          std::vector<WrittenChunk>& chunks) {
  std::u16string plain;
  std::size_t at = 0;
  while (at < out.size()) {
    if (out[at] != kPrefixOpen) {
      FUZZ_CHECK(!IsFence(out[at]));
      plain.push_back(out[at++]);
      continue;
    }
    WrittenChunk chunk;
    chunk.offset = plain.size();
    Expect(out, at, markup.prefix);
    FUZZ_CHECK(at + 6 <= out.size());
    for (std::int64_t& component : chunk.rgb) {
      const char16_t high = out[at++];
      const char16_t low = out[at++];
      FUZZ_CHECK(IsUpperHexDigit(high) && IsUpperHexDigit(low));
      component = HexValue(high) * 16 + HexValue(low);
    }
    Expect(out, at, markup.middle);
    const std::size_t chunkEnd = out.find(kSuffixOpen, at);
    FUZZ_CHECK(chunkEnd != std::u16string_view::npos);
    chunk.text = std::u16string(out.substr(at, chunkEnd - at));
    at = chunkEnd;
    Expect(out, at, markup.suffix);
    plain += chunk.text;
    chunks.push_back(std::move(chunk));
  }
  return plain;
}

}  // namespace
}  // namespace huecode::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace huecode;
  using namespace huecode::fuzz;
  FuzzInput input(data, size);
  ConversionSettings real;
  real.start = {input.byte(), input.byte(), input.byte()};
  real.end = {input.byte(), input.byte(), input.byte()};
  const std::size_t stepUnits = input.byte();
  const std::size_t prefixUnits = input.byte();
  const std::size_t middleUnits = input.byte();
  const std::size_t suffixUnits = input.byte();
  real.stepText = input.units(stepUnits);
  real.markup.prefix = WithoutFences(input.units(prefixUnits));
  real.markup.middle = WithoutFences(input.units(middleUnits));
  real.markup.suffix = WithoutFences(input.units(suffixUnits));
  real.text = WithoutFences(input.restAsUnits());

  ConversionSettings fenced = real;
  fenced.markup.prefix = kPrefixOpen + real.markup.prefix + kPrefixClose;
  fenced.markup.middle = kMiddleOpen + real.markup.middle + kMiddleClose;
  fenced.markup.suffix = kSuffixOpen + real.markup.suffix + kSuffixClose;

  const std::u16string out = GenerateCode(fenced);
  std::vector<WrittenChunk> written;
  const std::u16string plain = RemoveTags(out, fenced.markup, written);

  // Not a character of the text is lost, added or moved; only the outer spaces go.
  const std::u16string trimmed = TrimOuterSpaces(real.text);
  FUZZ_CHECK(plain == trimmed);

  const std::int64_t n = CharacterCount(trimmed);
  const std::int32_t step = StepLength(real.stepText, static_cast<std::int32_t>(n));
  std::vector<ReferenceChunk> expected = ReferenceChunks(trimmed, step);
  std::erase_if(expected, [](const ReferenceChunk& chunk) { return chunk.bare; });
  FUZZ_CHECK(written.size() == expected.size());
  const ColourTriple& s = real.start;
  const ColourTriple& e = real.end;
  for (std::size_t k = 0; k < written.size(); ++k) {
    FUZZ_CHECK(written[k].offset == expected[k].offset);
    FUZZ_CHECK(written[k].text == expected[k].text);
    const std::int64_t position = expected[k].position;
    FUZZ_CHECK(written[k].rgb[0] == ExactGradient(s.r, e.r, position, n));
    FUZZ_CHECK(written[k].rgb[1] == ExactGradient(s.g, e.g, position, n));
    FUZZ_CHECK(written[k].rgb[2] == ExactGradient(s.b, e.b, position, n));
  }
  const std::size_t templateLone = CountLoneSurrogates(real.markup.prefix) +
                                   CountLoneSurrogates(real.markup.middle) +
                                   CountLoneSurrogates(real.markup.suffix);
  // No chunk ends between the halves of a surrogate pair, so the only lone
  // surrogates written are those of the text and of the template.
  FUZZ_CHECK(CountLoneSurrogates(out) ==
             CountLoneSurrogates(trimmed) + written.size() * templateLone);

  // The fences only mark the template strings: without them the output is
  // exactly what the real template gives.
  FUZZ_CHECK(GenerateCode(real) == WithoutFences(out));
  return 0;
}
