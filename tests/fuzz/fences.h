#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/markup_template.h"
#include "tests/fuzz/fuzz_input.h"

namespace huecode::fuzz {

// Private-use characters that fence the three template strings in the output,
// so that the tags can be cut out again exactly. They are removed from every
// fuzzed string first, so nothing else in the output can look like a fence.
constexpr char16_t kPrefixOpen = 0xE000;
constexpr char16_t kPrefixClose = 0xE001;
constexpr char16_t kMiddleOpen = 0xE002;
constexpr char16_t kMiddleClose = 0xE003;
constexpr char16_t kSuffixOpen = 0xE004;
constexpr char16_t kSuffixClose = 0xE005;

inline bool IsFence(char16_t c) {
  return c >= kPrefixOpen && c <= kSuffixClose;
}

inline std::u16string WithoutFences(std::u16string_view text) {
  std::u16string kept;
  for (const char16_t c : text) {
    if (!IsFence(c)) {
      kept.push_back(c);
    }
  }
  return kept;
}

inline MarkupTemplate Fenced(const MarkupTemplate& markup) {
  return {kPrefixOpen + markup.prefix + kPrefixClose, kMiddleOpen + markup.middle + kMiddleClose,
          kSuffixOpen + markup.suffix + kSuffixClose};
}

struct WrittenChunk {
  std::size_t offset = 0;  // in the text with the tags removed
  std::u16string text;
  std::int64_t rgb[3] = {0, 0, 0};
};

namespace detail {

inline bool IsUpperHexDigit(char16_t c) {
  return (c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'F');
}

inline int HexValue(char16_t c) {
  return c <= u'9' ? c - u'0' : c - u'A' + 10;
}

// Expects `expected` at `at` in `out` and moves past it.
inline void Expect(std::u16string_view out, std::size_t& at, std::u16string_view expected) {
  FUZZ_CHECK(out.substr(at, expected.size()) == expected);
  at += expected.size();
}

}  // namespace detail

// Splits an output written with a Fenced template into the text outside the
// tags and the coloured chunks, checking every tag's shape on the way: the
// template strings verbatim and six upper-case hexadecimal colour digits.
inline std::u16string RemoveTags(std::u16string_view out, const MarkupTemplate& fenced,
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
    detail::Expect(out, at, fenced.prefix);
    FUZZ_CHECK(at + 6 <= out.size());
    for (std::int64_t& component : chunk.rgb) {
      const char16_t high = out[at++];
      const char16_t low = out[at++];
      FUZZ_CHECK(detail::IsUpperHexDigit(high) && detail::IsUpperHexDigit(low));
      component = detail::HexValue(high) * 16 + detail::HexValue(low);
    }
    detail::Expect(out, at, fenced.middle);
    const std::size_t chunkEnd = out.find(kSuffixOpen, at);
    FUZZ_CHECK(chunkEnd != std::u16string_view::npos);
    chunk.text = std::u16string(out.substr(at, chunkEnd - at));
    at = chunkEnd;
    detail::Expect(out, at, fenced.suffix);
    plain += chunk.text;
    chunks.push_back(std::move(chunk));
  }
  return plain;
}

// Reads the step text, the three template parts and the text, in that order,
// the parts and the text with no fence characters in them.
template <typename Settings>
void ReadStepTemplateAndText(FuzzInput& input, Settings& settings) {
  const std::size_t stepUnits = input.byte();
  const std::size_t prefixUnits = input.byte();
  const std::size_t middleUnits = input.byte();
  const std::size_t suffixUnits = input.byte();
  settings.stepText = input.units(stepUnits);
  settings.markup.prefix = WithoutFences(input.units(prefixUnits));
  settings.markup.middle = WithoutFences(input.units(middleUnits));
  settings.markup.suffix = WithoutFences(input.units(suffixUnits));
  settings.text = WithoutFences(input.restAsUnits());
}

inline std::size_t LoneSurrogatesOf(const MarkupTemplate& markup) {
  return CountLoneSurrogates(markup.prefix) + CountLoneSurrogates(markup.middle) +
         CountLoneSurrogates(markup.suffix);
}

}  // namespace huecode::fuzz
