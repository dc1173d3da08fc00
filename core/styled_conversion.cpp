#include "core/styled_conversion.h"

#include <algorithm>

#include "core/chunks.h"
#include "core/conversion.h"
#include "core/grapheme.h"

namespace huecode {

namespace {

// Components outside 0..255 cannot come from a gradient between byte colours.
void WriteColourDigits(char16_t* out, ColourTriple colour) {
  constexpr std::u16string_view kDigits = u"0123456789ABCDEF";
  for (const std::int16_t component : {colour.r, colour.g, colour.b}) {
    const auto byte = static_cast<std::size_t>(std::clamp<std::int16_t>(component, 0, 255));
    *out++ = kDigits[byte / 16];
    *out++ = kDigits[byte % 16];
  }
}

void AppendDecimal(std::u16string& out, int value) {
  if (value >= 100) {
    out += static_cast<char16_t>(u'0' + value / 100);
  }
  if (value >= 10) {
    out += static_cast<char16_t>(u'0' + value / 10 % 10);
  }
  out += static_cast<char16_t>(u'0' + value % 10);
}

}  // namespace

StyledText::StyledText(const StyledSettings& settings)
    : m_settings(settings),
      m_text(TrimSpaces(settings.text)),
      m_boundaries(settings.by == Segmentation::Graphemes ? GraphemeBoundaries(m_text)
                                                          : CharacterBoundaries(m_text)),
      m_sampler(settings.gradient) {
  m_spacesBefore.reserve(m_text.size() + 1);
  std::uint32_t spaces = 0;
  m_spacesBefore.push_back(0);
  for (const char16_t c : m_text) {
    spaces += c == u' ' ? 1 : 0;
    m_spacesBefore.push_back(spaces);
  }
  const auto& markup = settings.markup;
  m_tagCharacters = std::int64_t{6} + CountCharacters(markup.prefix) +
                    CountCharacters(markup.middle) + CountCharacters(markup.suffix);
  m_textCharacters = CountCharacters(m_text);
  m_step = settings.step ? std::clamp(*settings.step, 1, std::max(units(), 1))
                         : StepLength(settings.stepText, units());
}

bool StyledText::isBare(const RawChunk& chunk) const {
  const std::uint32_t length = chunk.end - chunk.begin;
  // A CR LF is one user-perceived character, a line break like a lone CR or LF.
  if (m_settings.by == Segmentation::Graphemes && length == 2 &&
      m_text.substr(chunk.begin, 2) == u"\r\n") {
    return true;
  }
  if (length == 1) {
    const char16_t c = m_text[chunk.begin];
    if (c == u'\t' || c == u'\n' || c == u'\r') {
      return true;
    }
  }
  return m_spacesBefore[chunk.end] - m_spacesBefore[chunk.begin] == length;
}

void StyledText::forEachChunk(std::int32_t step,
                              const std::function<void(const StyledChunk&)>& visit) const {
  visitChunks(step, visit);
}

template <typename Visitor>
void StyledText::visitChunks(std::int32_t step, Visitor&& visit) const {
  const std::int64_t count = units();
  step = std::max(step, 1);
  const auto slice = [&](std::uint32_t begin, std::uint32_t end) {
    return m_text.substr(begin, end - begin);
  };

  // Under merging, a run of one colour stays open across blank chunks; the
  // blanks after its last coloured chunk are written bare once it closes.
  bool runOpen = false;
  ColourTriple runColour;
  std::uint32_t runBegin = 0;
  std::uint32_t runEnd = 0;
  std::uint32_t blanksEnd = 0;
  std::int32_t runPosition = 1;
  std::int32_t blanksPosition = 1;
  const auto closeRun = [&] {
    if (!runOpen) {
      return;
    }
    visit({slice(runBegin, runEnd), runColour, true, runPosition});
    if (blanksEnd > runEnd) {
      visit({slice(runEnd, blanksEnd), {}, false, blanksPosition});
    }
    runOpen = false;
  };

  for (std::int64_t first = 0; first < count; first += step) {
    const RawChunk chunk{m_boundaries[static_cast<std::size_t>(first)],
                         m_boundaries[static_cast<std::size_t>(std::min(first + step, count))],
                         static_cast<std::int32_t>(first + 1)};
    const bool bare = isBare(chunk);
    if (!m_settings.merge) {
      visit({slice(chunk.begin, chunk.end),
             bare ? ColourTriple{} : m_sampler.at(chunk.position, units()), !bare, chunk.position});
      continue;
    }
    if (bare) {
      if (!runOpen) {
        visit({slice(chunk.begin, chunk.end), {}, false, chunk.position});
        continue;
      }
      if (blanksEnd == runEnd) {
        blanksPosition = chunk.position;
      }
      blanksEnd = chunk.end;
      continue;
    }
    const ColourTriple colour = m_sampler.at(chunk.position, units());
    if (runOpen && colour == runColour) {
      runEnd = chunk.end;
      blanksEnd = chunk.end;
      continue;
    }
    closeRun();
    runOpen = true;
    runColour = colour;
    runPosition = chunk.position;
    runBegin = chunk.begin;
    runEnd = chunk.end;
    blanksEnd = chunk.end;
  }
  closeRun();
}

std::u16string StyledText::markup(std::int32_t step) const {
  const auto& markup = m_settings.markup;
  step = std::max(step, 1);
  const std::size_t tagUnits =
      6 + markup.prefix.size() + markup.middle.size() + markup.suffix.size();
  // Written through a pointer into a buffer sized for the worst case (every
  // chunk tagged), then cut to size: one allocation, no capacity checks.
  std::u16string out(
      m_text.size() + static_cast<std::size_t>((units() + step - 1) / step) * tagUnits, u'\0');
  char16_t* cursor = out.data();
  const auto put = [&cursor](std::u16string_view text) {
    cursor = std::copy(text.begin(), text.end(), cursor);
  };
  visitChunks(step, [&](const StyledChunk& chunk) {
    if (chunk.coloured) {
      put(markup.prefix);
      WriteColourDigits(cursor, chunk.colour);
      cursor += 6;
      put(markup.middle);
      put(chunk.text);
      put(markup.suffix);
    } else {
      put(chunk.text);
    }
  });
  out.resize(static_cast<std::size_t>(cursor - out.data()));
  return out;
}

ConversionStats StyledText::stats(std::int32_t step) const {
  ConversionStats stats;
  stats.charactersIn = CountCharacters(m_settings.text);
  step = std::max(step, 1);
  stats.chunks = (units() + step - 1) / step;
  if (m_settings.merge) {
    visitChunks(step, [&](const StyledChunk& chunk) { stats.colouredChunks += chunk.coloured; });
  } else {
    const std::int64_t count = units();
    for (std::int64_t first = 0; first < count; first += step) {
      const RawChunk chunk{m_boundaries[static_cast<std::size_t>(first)],
                           m_boundaries[static_cast<std::size_t>(std::min(first + step, count))],
                           static_cast<std::int32_t>(first + 1)};
      stats.colouredChunks += isBare(chunk) ? 0 : 1;
    }
  }
  stats.outputCharacters = m_textCharacters + stats.colouredChunks * m_tagCharacters;
  return stats;
}

std::u16string StyledText::ansi(std::int32_t step) const {
  std::u16string out;
  visitChunks(step, [&](const StyledChunk& chunk) {
    if (!chunk.coloured) {
      out += chunk.text;
      return;
    }
    out += u"\x1b[38;2;";
    AppendDecimal(out, chunk.colour.r);
    out += u';';
    AppendDecimal(out, chunk.colour.g);
    out += u';';
    AppendDecimal(out, chunk.colour.b);
    out += u'm';
    out += chunk.text;
    out += u"\x1b[39m";
  });
  return out;
}

std::optional<ConversionSettings> WindowSettingsOf(const StyledSettings& settings) {
  const bool asTheWindow = settings.gradient.stops.size() == 2 &&
                           settings.gradient.space == ColourSpace::Rgb && !settings.step &&
                           settings.by == Segmentation::Characters && !settings.merge;
  if (!asTheWindow) {
    return std::nullopt;
  }
  return ConversionSettings{settings.text, settings.stepText, settings.gradient.stops[0],
                            settings.gradient.stops[1], settings.markup};
}

std::u16string GenerateStyledCode(const StyledSettings& settings) {
  if (const auto window = WindowSettingsOf(settings)) {
    return GenerateCode(*window);
  }
  const StyledText text(settings);
  return text.markup(text.step());
}

std::optional<std::int32_t> FitStep(const StyledText& text, std::int64_t limit) {
  const std::int32_t last = std::max(text.units(), 1);
  for (std::int32_t step = 1; step <= last; ++step) {
    if (text.stats(step).outputCharacters <= limit) {
      return step;
    }
  }
  return std::nullopt;
}

}  // namespace huecode
