#include <algorithm>
#include <stdexcept>

#include "core/conversion.h"
#include "core/words.h"

namespace huecode {

namespace {

// How a chunk's text is written: with escape, by the dialect's literal
// means; MiniMessage always keeps a backslash that ends a chunk its own.
TextEscape EscapeOf(TextCodes codes, LiteralMeans means, bool escape) {
  if (!escape) {
    return codes == TextCodes::MiniMessage ? TextEscape::MiniMessageEnd : TextEscape::None;
  }
  switch (means) {
    case LiteralMeans::Entities:
      return TextEscape::Html;
    case LiteralMeans::CodeBetween:
      return codes == TextCodes::Ampersand ? TextEscape::AmpersandCodes : TextEscape::LegacyCodes;
    case LiteralMeans::Backslash:
      return TextEscape::MiniMessage;
    case LiteralMeans::Nothing:
      break;
  }
  return TextEscape::None;
}

bool IsValidBoundaries(const std::vector<std::uint32_t>& boundaries, std::size_t size) {
  return !boundaries.empty() && boundaries.front() == 0 && boundaries.back() == size &&
         std::adjacent_find(boundaries.begin(), boundaries.end(), std::greater_equal<>()) ==
             boundaries.end();
}

}  // namespace

namespace detail {

void MarkupCountedShort() {
  throw std::logic_error("the markup was counted shorter than it is");
}

}  // namespace detail

namespace {

// A moving gradient makes its own way there and back.
GradientStops SampledGradient(const StyledSettings& settings) {
  GradientStops gradient = settings.gradient;
  gradient.mirror = gradient.mirror && !settings.motion.moving();
  return gradient;
}

}  // namespace

StyledText::StyledText(const StyledSettings& settings)
    : StyledText(settings.text, settings.markup, SampledGradient(settings)) {
  m_motion = settings.motion.moving() ? settings.motion : Motion{};
  m_merge = settings.merge;
  const Dialect* dialect = DialectOf(settings.markup);
  m_codes = dialect != nullptr ? dialect->codes : TextCodes::None;
  m_wholeBreaks = KeepsLineBreaksWhole(m_codes);
  // Where nothing shows the codes as typed, the text is left as it is.
  m_escape = EscapeOf(m_codes, LiteralMeansOf(settings.markup), settings.escape);
  m_escapeAsked = settings.escape && m_escape != TextEscape::None;
  m_endpoints = settings.endpoints && !m_motion.moving();
  std::optional<StyleMarkup> styles = ComposeStyles(settings.markup, settings.styles);
  if (!styles) {
    throw std::invalid_argument("the template has no codes for the formatting asked");
  }
  if (m_format) {
    m_styleCodes = std::move(styles->inTag);
    if (m_format->escape == TextEscape::None) {
      m_format->escape = m_escape;
    }
    m_escape = TextEscape::None;
  }
  m_tail = std::move(styles->inTag) + settings.markup.middle;
  m_styleOpen = std::move(styles->open);
  m_styleClose = std::move(styles->close);
  if (settings.by == Segmentation::Graphemes) {
    if (!settings.graphemes) {
      throw std::invalid_argument("grapheme chunks need a grapheme finder");
    }
    m_boundaries = settings.graphemes(m_text);
    // The boundaries come from outside the core (ICU, a browser): a slice
    // cut from wrong ones would read past the text.
    if (!IsValidBoundaries(m_boundaries, m_text.size()) ||
        m_boundaries.size() - 1 > static_cast<std::size_t>(INT32_MAX)) {
      throw std::invalid_argument("grapheme boundaries do not fit the text");
    }
    m_segments = static_cast<std::int32_t>(m_boundaries.size() - 1);
    m_oneUnitEach = false;
  }
  m_mirror = settings.gradient.mirror && !m_motion.moving();
  m_linear = m_linear && !m_mirror && settings.gradient.positions.empty();
  m_words = settings.by == Segmentation::Words;
  m_shaped = m_words || settings.perLine;
  if (m_shaped) {
    shapeUnits(settings.perLine);
  }
  m_step = settings.step ? std::clamp(*settings.step, 1, std::max(m_segments, 1))
                         : StepLength(settings.stepText, m_segments);
}

StyledText::StyledText(const ConversionSettings& settings)
    : StyledText(settings.text, settings.markup, GradientStops{{settings.start, settings.end}}) {
  m_step = StepLength(settings.stepText, m_segments);
}

StyledText::StyledText(std::u16string_view text, const MarkupTemplate& markup,
                       GradientStops gradient)
    : m_untrimmed(text),
      m_text(TrimSpaces(text)),
      m_prefix(markup.prefix),
      m_suffix(markup.suffix),
      m_tail(markup.middle),
      m_segments(CountCharacters(m_text)),
      m_oneUnitEach(static_cast<std::size_t>(m_segments) == m_text.size()),
      m_linear(gradient.stops.size() == 2 && gradient.space == ColourSpace::Rgb),
      m_sampler(std::move(gradient)) {
  if (markup.format.empty()) {
    return;
  }
  // Only a dialect's own format may place formatting codes.
  const Dialect* dialect = DialectOf(markup);
  ParsedFormat parsed = ParseFormat(markup.format, dialect != nullptr);
  if (!parsed.format) {
    throw std::invalid_argument("the format cannot be read: " + parsed.error.message);
  }
  m_format = std::move(parsed.format);
  if (dialect != nullptr) {
    m_frame = dialect->frame;
    if (!m_frame.bare.empty()) {
      m_bare = ParseFormat(m_frame.bare).format;
    }
    if (m_frame.codeBlock) {
      m_format->escape = TextEscape::CodeBlock;
    }
  }
}

std::int64_t StyledText::colouredChunks(std::int32_t step) const {
  std::int64_t coloured = 0;
  if (m_merge) {
    forEachChunk(step, [&](const StyledChunk& chunk) { coloured += chunk.coloured; });
    return coloured;
  }
  if (m_shaped) {
    return shapedChunks(step, true);
  }
  if (step <= 1 && m_boundaries.empty()) {
    // One character per chunk, and a blank unit is never half of a pair.
    std::int64_t blanks = 0;
    for (const char16_t c : m_text) {
      blanks += IsBareChunk(std::u16string_view(&c, 1));
    }
    return m_segments - blanks;
  }
  cut(step, [&](std::u16string_view text, std::int64_t, bool oneGrapheme) {
    coloured += !IsBareChunk(text, oneGrapheme);
    return true;
  });
  return coloured;
}

std::optional<std::pair<std::int32_t, std::int32_t>> StyledText::colouredSpan(
    std::int32_t step) const {
  std::optional<std::pair<std::int32_t, std::int32_t>> span;
  cut(step, [&](std::u16string_view text, std::int64_t position, bool oneGrapheme) {
    if (!IsBareChunk(text, oneGrapheme)) {
      const auto at = static_cast<std::int32_t>(position);
      span = {span ? span->first : at, at};
    }
    return true;
  });
  return span;
}

std::int32_t StyledText::gradientSpan(std::int32_t units) const {
  return m_mirror && units < INT32_MAX ? units + 1 : units;
}

detail::ColourCursor StyledText::colourCursor(std::int32_t step) const {
  if (m_motion.moving()) {
    return {m_sampler, m_segments, step, m_motion, m_shownFrame};
  }
  if (m_endpoints) {
    if (const auto span = colouredSpan(step)) {
      return {m_sampler, m_linear, span->second - span->first, step, span->first};
    }
  }
  return {m_sampler, m_linear, gradientSpan(m_segments), step};
}

void StyledText::shapeUnits(bool perLine) {
  if (m_words) {
    for (const WordSpan& word : FindWords(m_text)) {
      m_shapeUnits.push_back({word.begin, word.end});
    }
    m_segments = static_cast<std::int32_t>(std::min<std::size_t>(m_shapeUnits.size(), INT32_MAX));
  } else {
    // Characters or user-perceived characters, the line breaks left out.
    const bool graphemes = !m_boundaries.empty();
    for (std::size_t k = 0, offset = 0; offset < m_text.size(); ++k) {
      const std::size_t end =
          graphemes ? m_boundaries[k + 1] : offset + detail::CharacterUnits(m_text, offset);
      if (!IsLineBreak(m_text[offset])) {
        m_shapeUnits.push_back(
            {static_cast<std::uint32_t>(offset), static_cast<std::uint32_t>(end)});
      }
      offset = end;
    }
  }
  // A line starts with the first unit and with each unit after a line break.
  std::uint32_t previousEnd = 0;
  for (std::size_t k = 0; k < m_shapeUnits.size() && k < INT32_MAX; ++k) {
    const ShapeUnit unit = m_shapeUnits[k];
    const std::u16string_view gap = m_text.substr(previousEnd, unit.begin - previousEnd);
    const bool breaks = std::any_of(gap.begin(), gap.end(), IsLineBreak);
    if (m_lines.empty() || (perLine && breaks)) {
      m_lines.push_back({static_cast<std::int32_t>(k), 0});
    }
    ++m_lines.back().count;
    previousEnd = unit.end;
  }
}

detail::ColourCursor StyledText::lineCursor(const ShapeLine& line, std::int32_t step) const {
  if (m_motion.moving()) {
    return {m_sampler, line.count, step, m_motion, m_shownFrame};
  }
  if (m_endpoints) {
    std::optional<std::pair<std::int32_t, std::int32_t>> span;
    cutLine(line, step, [&](std::uint32_t, std::uint32_t, std::int32_t at, bool coloured) {
      if (coloured) {
        span = {span ? span->first : at, at};
      }
      return true;
    });
    if (span) {
      return {m_sampler, m_linear, span->second - span->first, step, span->first};
    }
  }
  return {m_sampler, m_linear, gradientSpan(line.count), step};
}

std::int64_t StyledText::shapedChunks(std::int32_t step, bool colouredOnly) const {
  std::int64_t count = 0;
  walkLines(step, [&](const StyledChunk& chunk) {
    count += !colouredOnly || chunk.coloured;
    return true;
  });
  return count;
}

std::int64_t StyledText::escapeGrowth() const {
  // Bare chunks are blanks only, so every &, <, > and backslash of the text
  // is in a coloured chunk and escaped.
  std::int64_t growth = 0;
  if (m_escape == TextEscape::Html) {
    for (const char16_t c : m_text) {
      growth += static_cast<std::int64_t>(detail::EntityFor(c).size());
      growth -= !detail::EntityFor(c).empty();
    }
  } else if (m_escape == TextEscape::MiniMessage) {
    growth = std::count_if(m_text.begin(), m_text.end(),
                           [](char16_t c) { return c == u'<' || c == u'\\'; });
  }
  return growth;
}

std::int64_t StyledText::steppedEscapeGrowth(std::int32_t step) const {
  if (m_escape != TextEscape::MiniMessageEnd && m_escape != TextEscape::AmpersandCodes &&
      m_escape != TextEscape::LegacyCodes) {
    return 0;
  }
  // The head written again is ASCII, as long in every unit.
  const auto head =
      static_cast<std::int64_t>(m_prefix.size() + detail::kColourDigits + m_tail.size());
  const bool hexCodes = m_escape == TextEscape::AmpersandCodes;
  std::int64_t growth = 0;
  forEachChunk(step, [&](const StyledChunk& chunk) {
    if (!chunk.coloured) {
      return;
    }
    if (m_escape == TextEscape::MiniMessageEnd) {
      growth += chunk.text.ends_with(u'\\');
      return;
    }
    for (std::size_t k = 0; k < chunk.text.size(); ++k) {
      growth += detail::StartsCodePair(chunk.text, k, hexCodes) ? head : 0;
    }
  });
  return growth;
}

std::int64_t StyledText::chunkCount(std::int32_t step) const {
  if (m_shaped) {
    return shapedChunks(step, false);
  }
  if (!m_wholeBreaks || step <= 1 || m_text.find(u"\r\n") == std::u16string_view::npos) {
    return (std::int64_t{m_segments} + step - 1) / step;
  }
  std::int64_t chunks = 0;
  cut(step, [&](std::u16string_view, std::int64_t, bool) { return ++chunks > 0; });
  return chunks;
}

std::u16string_view StyledText::keptLine(bool first) const {
  static constexpr char16_t kKeepLine = detail::kZeroWidthSpace;
  const bool blank = m_frame.codeBlock && m_wholeBreaks &&
                     (first ? detail::BlankFirstLine(m_text) : detail::BlankLastLine(m_text));
  return blank ? std::u16string_view(&kKeepLine, 1) : std::u16string_view();
}

std::optional<TextCode> StyledText::firstTextCode(std::int32_t step) const {
  std::optional<TextCode> found;
  const auto trimmed = static_cast<std::size_t>(m_text.data() - m_untrimmed.data());
  forEachChunk(step, [&](const StyledChunk& chunk) {
    if (chunk.coloured) {
      found = FirstTextCode(m_codes, chunk.text, m_escapeAsked);
      if (found) {
        found->offset += static_cast<std::size_t>(chunk.text.data() - m_text.data()) + trimmed;
      }
    }
    return !found;
  });
  return found;
}

template <typename Measure>
std::int64_t StyledText::tagLength(Measure measure) const {
  return static_cast<std::int64_t>(detail::kColourDigits) + measure(m_prefix) + measure(m_tail) +
         measure(m_suffix);
}

std::size_t StyledText::markupCodeUnits(std::int32_t step) const {
  const std::int64_t tagUnits =
      tagLength([](std::u16string_view text) { return static_cast<std::int64_t>(text.size()); });
  const std::int64_t coloured = colouredChunks(step);
  const std::int64_t styleUnits =
      coloured > 0 ? static_cast<std::int64_t>(m_styleOpen.size() + m_styleClose.size()) : 0;
  return m_text.size() + static_cast<std::size_t>(coloured * tagUnits + styleUnits +
                                                  escapeGrowth() + steppedEscapeGrowth(step));
}

std::u16string StyledText::markup(std::int32_t step) const {
  if (m_format) {
    detail::AppendSink appended;
    writeFormatted(step, appended);
    return std::move(appended.out);
  }
  detail::StringSink sink;
  write(step, sink);
  return std::move(sink).take();
}

StyledText::FixedCounts StyledText::fixedCounts(const LengthMeasure& measure) const {
  const auto length = [&measure](std::u16string_view text) { return MeasureLength(text, measure); };
  const bool unitsAreCharacters =
      m_boundaries.empty() && !m_words && measure.unit == LengthUnit::Characters;
  // The entities that escaping writes are ASCII in place of an ASCII
  // character, so they grow the markup alike in every unit.
  return {CountCharacters(m_untrimmed),
          unitsAreCharacters ? m_segments : length(m_text),
          tagLength(length),
          escapeGrowth(),
          length(m_styleOpen) + length(m_styleClose),
          measure};
}

ConversionStats StyledText::formattedStats(std::int32_t step, const LengthMeasure& measure) const {
  step = std::max(step, 1);
  // Pieces never split a surrogate pair, so their lengths add up.
  struct Counter {
    const LengthMeasure& measure;
    std::int64_t characters = 0;
    void put(std::u16string_view piece) { characters += MeasureLength(piece, measure); }
  } counter{measure};
  ConversionStats stats;
  stats.charactersIn = CountCharacters(m_untrimmed);
  stats.chunks = chunkCount(step);
  // Coloured chunks as written: merged runs count once.
  stats.colouredChunks = writeFormatted(step, counter);
  stats.outputCharacters = counter.characters;
  return stats;
}

ConversionStats StyledText::stats(std::int32_t step, const FixedCounts& fixed) const {
  if (m_format) {
    return formattedStats(step, fixed.measure);
  }
  step = std::max(step, 1);
  ConversionStats stats;
  stats.charactersIn = fixed.charactersIn;
  stats.chunks = chunkCount(step);
  stats.colouredChunks = colouredChunks(step);
  stats.outputCharacters = fixed.textLength + stats.colouredChunks * fixed.tagLength +
                           fixed.escapeGrowth + steppedEscapeGrowth(step) +
                           (stats.colouredChunks > 0 ? fixed.styleLength : 0);
  return stats;
}

ConversionStats StyledText::stats(std::int32_t step) const {
  return stats(step, fixedCounts());
}

std::int64_t StyledText::outputLength(std::int32_t step, const LengthMeasure& measure) const {
  return stats(step, fixedCounts(measure)).outputCharacters;
}

std::u16string GenerateCode(const ConversionSettings& settings) {
  const StyledText text(settings);
  return text.markup(text.step());
}

std::u16string GenerateStyledCode(const StyledSettings& settings) {
  const StyledText text(settings);
  return text.markup(text.step());
}

Fit FitStep(const StyledText& text, std::int64_t limit, const LengthMeasure& measure) {
  const StyledText::FixedCounts fixed = text.fixedCounts(measure);
  // Frames whose lengths differ are each measured, and the longest must fit.
  std::optional<StyledText> frames;
  if (text.framesDiffer()) {
    frames.emplace(text);
  }
  const auto length = [&](std::int32_t step) {
    if (!frames) {
      return text.stats(step, fixed).outputCharacters;
    }
    std::int64_t longest = 0;
    for (std::int32_t frame = 0; frame < text.motion().frames; ++frame) {
      frames->showFrame(frame);
      longest = std::max(longest, frames->stats(step, fixed).outputCharacters);
    }
    return longest;
  };
  const std::int32_t last = std::max(text.segments(), 1);
  for (std::int32_t step = 1; step <= last; ++step) {
    const std::int64_t output = length(step);
    if (output <= limit) {
      return {step, output};
    }
  }
  return {std::nullopt, length(last)};
}

}  // namespace huecode
