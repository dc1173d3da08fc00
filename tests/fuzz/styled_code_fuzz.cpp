#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/conversion.h"
#include "icu/grapheme.h"
#include "tests/fuzz/fences.h"
#include "tests/fuzz/fuzz_input.h"
#include "tests/support/reference.h"

namespace huecode::fuzz {
namespace {

using namespace huecode::reference;

// The settings the input asks for: space, cutting, merging and 2 to 6 stops
// from its first byte, then the step, template and text.
StyledSettings ReadSettings(FuzzInput& input, std::uint8_t flags) {
  StyledSettings real;
  real.gradient.space = (flags & 1) != 0 ? ColourSpace::Oklab : ColourSpace::Rgb;
  real.by = (flags & 2) != 0 ? Segmentation::Graphemes : Segmentation::Characters;
  real.graphemes = &GraphemeBoundaries;
  real.merge = (flags & 4) != 0;
  const std::size_t stops = 2 + (flags >> 3) % 5;
  real.gradient.stops.clear();
  for (std::size_t k = 0; k < stops; ++k) {
    real.gradient.stops.push_back({input.byte(), input.byte(), input.byte()});
  }
  ReadStepTemplateAndText(input, real);
  return real;
}

// However the text is cut, coloured and merged, not a character is lost,
// added or moved; only the outer spaces go. Two tags that meet with nothing
// between them never share a colour when merging.
void CheckText(const StyledSettings& real, const std::u16string& out, const std::u16string& plain,
               const std::vector<WrittenChunk>& written) {
  const std::u16string trimmed = TrimOuterSpaces(real.text);
  FUZZ_CHECK(plain == trimmed);
  FUZZ_CHECK(CountLoneSurrogates(out) ==
             CountLoneSurrogates(trimmed) + written.size() * LoneSurrogatesOf(real.markup));
  if (!real.merge) {
    return;
  }
  for (std::size_t k = 1; k < written.size(); ++k) {
    const bool adjacent = written[k - 1].offset + written[k - 1].text.size() == written[k].offset;
    const bool sameColour = written[k - 1].rgb[0] == written[k].rgb[0] &&
                            written[k - 1].rgb[1] == written[k].rgb[1] &&
                            written[k - 1].rgb[2] == written[k].rgb[2];
    FUZZ_CHECK(!(adjacent && sameColour));
  }
}

// Two stops blended in RGB, cut by characters and not merged: exactly the
// window's conversion.
void CheckWindowConversion(const StyledSettings& real) {
  if (real.gradient.stops.size() != 2 || real.gradient.space != ColourSpace::Rgb ||
      real.by != Segmentation::Characters || real.merge) {
    return;
  }
  ConversionSettings window;
  window.text = real.text;
  window.stepText = real.stepText;
  window.start = real.gradient.stops[0];
  window.end = real.gradient.stops[1];
  window.markup = real.markup;
  FUZZ_CHECK(GenerateStyledCode(real) == GenerateCode(window));
}

// The counts describe the markup as written, characters counted as the
// conversion counts them (a surrogate pair is one).
void CheckStats(const StyledText& text, const StyledSettings& real, const std::u16string& out,
                std::size_t writtenChunks) {
  const ConversionStats stats = text.stats(text.step());
  FUZZ_CHECK(stats.colouredChunks == static_cast<std::int64_t>(writtenChunks));
  FUZZ_CHECK(stats.outputCharacters == CharacterCount(out));
  FUZZ_CHECK(stats.charactersIn == CharacterCount(real.text));
}

// The fitted step is the smallest whose markup stays within the limit. The
// fences keep a template's lone surrogate from pairing with a chunk's.
void CheckFit(const StyledText& text, std::int64_t limit) {
  const auto fits = [&](std::int32_t step) { return CharacterCount(text.markup(step)) <= limit; };
  const Fit fit = FitStep(text, limit);
  const std::optional<std::int32_t> fitted = fit.step;
  const std::int32_t tried = std::min(fitted.value_or(text.units()), 200);
  for (std::int32_t step = 1; step < tried; ++step) {
    FUZZ_CHECK(!fits(step));
  }
  FUZZ_CHECK(fit.length == CharacterCount(text.markup(fitted.value_or(std::max(text.units(), 1)))));
  if (fitted) {
    FUZZ_CHECK(*fitted >= 1 && fits(*fitted));
  }
}

}  // namespace
}  // namespace huecode::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace huecode;
  using namespace huecode::fuzz;
  FuzzInput input(data, size);
  const std::uint8_t flags = input.byte();
  const StyledSettings real = ReadSettings(input, flags);

  StyledSettings fenced = real;
  fenced.markup = Fenced(real.markup);
  const std::u16string out = GenerateStyledCode(fenced);
  std::vector<WrittenChunk> written;
  const std::u16string plain = RemoveTags(out, fenced.markup, written);
  CheckText(real, out, plain, written);
  FUZZ_CHECK(GenerateStyledCode(real) == WithoutFences(out));
  CheckWindowConversion(real);

  const StyledText text(fenced);
  CheckStats(text, real, out, written.size());
  CheckFit(text, reference::CharacterCount(out) / 2 + (flags & 0x40));
  return 0;
}
