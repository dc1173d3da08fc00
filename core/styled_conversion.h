#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/colour.h"
#include "core/conversion.h"
#include "core/gradient_stops.h"
#include "core/markup_template.h"

namespace huecode {

// The command line's conversion: the window's conversion, plus more stops,
// OKLab interpolation, grapheme chunks and merged runs. With its defaults it
// writes exactly what GenerateCode writes.
enum class Segmentation { Characters, Graphemes };

struct StyledSettings {
  std::u16string text;  // untrimmed
  std::u16string stepText = u"1";
  std::optional<std::int32_t> step;  // taken as it is (1 up to the whole text), bypassing stepText
  GradientStops gradient;
  MarkupTemplate markup = InitialTemplate();
  Segmentation by = Segmentation::Characters;
  bool merge = false;  // neighbouring chunks of one colour share one tag
};

struct StyledChunk {
  std::u16string_view text;
  ColourTriple colour;
  bool coloured = true;
  std::int32_t position = 1;  // 1-based index of the chunk's first unit
};

struct ConversionStats {
  std::int64_t charactersIn = 0;    // of the untrimmed input
  std::int64_t chunks = 0;          // as cut, before merging
  std::int64_t colouredChunks = 0;  // tags written
  std::int64_t outputCharacters = 0;
};

// One text cut into units (characters or grapheme clusters), ready to be
// converted with any step. Keeps a view of the settings' text.
class StyledText {
 public:
  explicit StyledText(const StyledSettings& settings);

  std::int32_t units() const { return static_cast<std::int32_t>(m_boundaries.size() - 1); }
  // The step the settings ask for: the explicit one, else read from stepText.
  std::int32_t step() const { return m_step; }

  void forEachChunk(std::int32_t step, const std::function<void(const StyledChunk&)>& visit) const;
  std::u16string markup(std::int32_t step) const;
  // Counts without building the output.
  ConversionStats stats(std::int32_t step) const;
  // The text itself with each chunk in its colour, as 24-bit ANSI escapes.
  std::u16string ansi(std::int32_t step) const;

 private:
  struct RawChunk {
    std::uint32_t begin = 0;
    std::uint32_t end = 0;
    std::int32_t position = 1;
  };
  bool isBare(const RawChunk& chunk) const;
  // forEachChunk without the cost of a std::function per chunk; defined and
  // used in the .cpp only.
  template <typename Visitor>
  void visitChunks(std::int32_t step, Visitor&& visit) const;

  const StyledSettings& m_settings;
  std::u16string_view m_text;
  std::vector<std::uint32_t> m_boundaries;
  std::vector<std::uint32_t> m_spacesBefore;  // U+0020 among the first k code units
  GradientSampler m_sampler;
  std::int64_t m_tagCharacters = 0;
  std::int64_t m_textCharacters = 0;
  std::int32_t m_step = 1;
};

// The window's own settings, when the styled ones ask for nothing beyond them.
std::optional<ConversionSettings> WindowSettingsOf(const StyledSettings& settings);

std::u16string GenerateStyledCode(const StyledSettings& settings);

// The smallest step from 1 up to one chunk for the whole text whose output has
// at most limit characters; nothing when even one chunk does not fit.
std::optional<std::int32_t> FitStep(const StyledText& text, std::int64_t limit);

}  // namespace huecode
