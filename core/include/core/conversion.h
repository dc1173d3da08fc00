#pragma once

#include <algorithm>
#include <concepts>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

#include "core/chunks.h"
#include "core/colour.h"
#include "core/detail/markup_pieces.h"
#include "core/dialects.h"
#include "core/gradient_stops.h"
#include "core/length.h"
#include "core/markup_format.h"
#include "core/markup_template.h"
#include "core/motion.h"

namespace huecode {

// Everything one conversion in the window reads, gathered from its controls.
struct ConversionSettings {
  std::u16string text;      // untrimmed
  std::u16string stepText;  // as typed into the step box
  ColourTriple start = kDefaultStart;
  ColourTriple end = kDefaultEnd;
  MarkupTemplate markup = InitialTemplate();
};

// Words: see FindWords; the white space between them is left bare.
enum class Segmentation { Characters, Graphemes, Words };

// Code-unit offsets where the user-perceived characters (extended grapheme
// clusters) of a text begin, followed by the text's size. The platform knows
// them (ICU on the desktop, Intl.Segmenter in the browser); the core does not.
using GraphemeFinder = std::function<std::vector<std::uint32_t>(std::u16string_view)>;

// The conversion with everything beyond the window: more stops, OKLab, chunks
// of user-perceived characters, merged runs and HTML-safe text. With its
// defaults it writes exactly what the window writes.
struct StyledSettings {
  std::u16string text;  // untrimmed
  std::u16string stepText = u"1";
  std::optional<std::int32_t> step;  // taken as it is (1 up to the whole text), bypassing stepText
  GradientStops gradient;
  MarkupTemplate markup = InitialTemplate();
  Segmentation by = Segmentation::Characters;
  GraphemeFinder graphemes;  // needed when by is Graphemes
  bool merge = false;        // neighbouring chunks of one colour share one tag
  bool escape = false;       // &, < and > inside chunks as entities, where AllowsEntities
  Styles styles;             // only for a dialect's own template that has codes for them
  // The first coloured chunk takes the first stop exactly and the last the
  // last stop; those between sit where they start, in proportion.
  bool endpoints = false;
  // Each line, up to a line feed, a carriage return or both, takes the whole
  // gradient from its own first chunk to its own last.
  bool perLine = false;
  // Frames of the gradient flowing along the text (each line on its own when
  // perLine), instead of one still gradient; they take the mirror path
  // whether asked or not, and have no endpoints.
  Motion motion;
};

struct StyledChunk {
  std::u16string_view text;
  ColourTriple colour;  // of its position, also for a chunk left bare
  bool coloured = true;
  std::int32_t position = 1;  // 1-based index of the chunk's first unit
};

namespace detail {

// Joins neighbouring coloured chunks of one colour into one. A run stays open
// across bare chunks; the bare chunks after its last coloured chunk are
// delivered bare once it closes. add and close return false once the
// visitor has stopped the walk.
template <typename Deliver>
class RunMerger {
 public:
  explicit RunMerger(Deliver& deliver) : m_deliver(deliver) {}

  bool add(const StyledChunk& chunk) {
    const char16_t* const end = chunk.text.data() + chunk.text.size();
    if (!chunk.coloured) {
      if (!m_open) {
        return m_deliver(chunk);
      }
      if (m_blanksEnd == m_runEnd) {
        m_blanks = chunk;
      }
      m_blanksEnd = end;
      return true;
    }
    if (m_open && chunk.colour == m_run.colour) {
      m_runEnd = end;
      m_blanksEnd = end;
      return true;
    }
    if (!close()) {
      return false;
    }
    m_open = true;
    m_run = chunk;
    m_runEnd = end;
    m_blanksEnd = end;
    return true;
  }

  bool close() {
    if (!m_open) {
      return true;
    }
    m_open = false;
    m_run.text = Slice(m_run.text.data(), m_runEnd);
    if (!m_deliver(m_run)) {
      return false;
    }
    m_blanks.text = Slice(m_runEnd, m_blanksEnd);
    return m_blanksEnd == m_runEnd || m_deliver(m_blanks);
  }

 private:
  static std::u16string_view Slice(const char16_t* begin, const char16_t* end) {
    return {begin, static_cast<std::size_t>(end - begin)};
  }

  Deliver& m_deliver;
  bool m_open = false;
  StyledChunk m_run;     // its text grows to m_runEnd when the run closes
  StyledChunk m_blanks;  // the first bare chunk after the run's last coloured one
  const char16_t* m_runEnd = nullptr;
  const char16_t* m_blanksEnd = nullptr;
};

}  // namespace detail

struct ConversionStats {
  std::int64_t charactersIn = 0;    // of the untrimmed input
  std::int64_t chunks = 0;          // as cut, before merging
  std::int64_t colouredChunks = 0;  // tags written
  std::int64_t outputCharacters = 0;
};

// Where the markup goes, piece by piece (tag heads, chunks, suffixes): a
// string, a stream, a counter. A sink that can size itself is told the exact
// length first.
template <typename Sink>
concept MarkupSink = requires(Sink& sink, std::u16string_view piece) {
  sink.put(piece);
};

// What fitting a text's output into a length limit found (see FitStep).
struct Fit {
  std::optional<std::int32_t> step;
  std::int64_t length = 0;  // in the limit's unit, at that step or of one chunk for the whole text
};

// One text cut into units (characters, a surrogate pair being one, or
// user-perceived characters) and ready to be written, counted or previewed
// with any step. It keeps views of the settings' text and template, so the
// settings must outlive it.
class StyledText {
 public:
  explicit StyledText(const StyledSettings& settings);
  // The window's conversion: two stops in RGB, chunks of characters.
  explicit StyledText(const ConversionSettings& settings);
  explicit StyledText(StyledSettings&&) = delete;
  explicit StyledText(ConversionSettings&&) = delete;

  // How many pieces the step counts: characters, graphemes or words (a
  // surrogate pair is one character).
  std::int32_t segments() const { return m_segments; }
  // The step the settings ask for: the explicit one, else read from the step text.
  std::int32_t step() const { return m_step; }

  // The trimmed text the chunks are cut from.
  std::u16string_view text() const { return m_text; }
  const Motion& motion() const { return m_motion; }
  // Which frame of a moving gradient the walks, writers and counts below
  // take; 0 until another is shown.
  void showFrame(std::int32_t frame) { m_shownFrame = std::max(frame, 0); }
  // Whether the frames' lengths can differ: merged runs and formats (decimal
  // channels, ANSI colours) depend on the colours, tags of six digits do not.
  bool framesDiffer() const { return m_motion.moving() && (m_merge || m_format); }
  // The markup is one JSON value (the json dialect's component array).
  bool writesJson() const { return m_format && m_frame.json; }

  // Calls visit(const StyledChunk&) for each chunk in order, merged runs as
  // one chunk. A visitor that returns bool stops the walk by returning false.
  template <typename Visitor>
  void forEachChunk(std::int32_t step, Visitor&& visit) const;

  // The markup into the sink: prefix RRGGBB middle chunk suffix for each
  // coloured chunk, bare chunks as they are.
  template <MarkupSink Sink>
  void write(std::int32_t step, Sink& sink) const;

  std::u16string markup(std::int32_t step) const;
  // Counts without building the output.
  ConversionStats stats(std::int32_t step) const;
  // The markup's length at the step in any unit, without building it.
  std::int64_t outputLength(std::int32_t step, const LengthMeasure& measure) const;

 private:
  // The markup with formatting codes around the coloured text; putColoured
  // writes one coloured chunk.
  template <MarkupSink Sink, typename PutColoured>
  void writeStyled(std::int32_t step, Sink& sink, const PutColoured& putColoured) const;
  // The markup of a format string, with its dialect's frame around the
  // chunks; returns how many coloured chunks it wrote.
  template <MarkupSink Sink>
  std::int64_t writeFormatted(std::int32_t step, Sink& sink) const;
  ConversionStats formattedStats(std::int32_t step, const LengthMeasure& measure) const;

  // Characters of the trimmed text in the gradient; the public constructors
  // add what their settings ask beyond that.
  StyledText(std::u16string_view text, const MarkupTemplate& markup, GradientStops gradient);

  template <typename Cut>
  void cut(std::int32_t step, Cut&& each) const;
  std::int64_t colouredChunks(std::int32_t step) const;
  // Code units the markup has at the step, for sizing it before it is written.
  std::size_t markupCodeUnits(std::int32_t step) const;
  std::int64_t escapeGrowth() const;
  // Prefix, colour digits, middle and suffix: what a coloured chunk adds.
  template <typename Measure>
  std::int64_t tagLength(Measure measure) const;
  // Where the first and the last coloured chunk start at the step, for
  // placing the gradient between them; nothing when no chunk is coloured.
  std::optional<std::pair<std::int32_t, std::int32_t>> colouredSpan(std::int32_t step) const;
  detail::ColourCursor colourCursor(std::int32_t step) const;
  // The span a gradient over so many units runs over: mirrored, one step
  // more, so that the first and the last chunk sit one step in from each end.
  std::int32_t gradientSpan(std::int32_t units) const;

  // Lines and words: the text as units that need not touch (white space or
  // line breaks between them stay bare), grouped into lines that each take
  // the whole gradient.
  struct ShapeUnit {
    std::uint32_t begin = 0;
    std::uint32_t end = 0;
  };
  struct ShapeLine {
    std::int32_t first = 0;  // index of its first unit
    std::int32_t count = 0;
  };
  void shapeUnits(bool perLine);
  // Calls each(begin, end, position in the line, coloured) for each chunk.
  template <typename Each>
  bool cutLine(const ShapeLine& line, std::int32_t step, Each&& each) const;
  detail::ColourCursor lineCursor(const ShapeLine& line, std::int32_t step) const;
  // Every chunk of every line with the bare text between them, unmerged.
  template <typename Deliver>
  void walkLines(std::int32_t step, Deliver&& deliver) const;
  std::int64_t shapedChunks(std::int32_t step, bool colouredOnly) const;

  // What stays the same at every step, counted once when fitting; the
  // lengths in one unit (characters unless asked otherwise).
  struct FixedCounts {
    std::int64_t charactersIn = 0;
    std::int64_t textLength = 0;
    std::int64_t tagLength = 0;
    std::int64_t escapeGrowth = 0;
    std::int64_t styleLength = 0;  // around the text, when any chunk is coloured
    LengthMeasure measure{};       // a format's markup is measured as it is written
  };
  // The lengths in the measure's unit.
  FixedCounts fixedCounts(const LengthMeasure& measure = {}) const;
  ConversionStats stats(std::int32_t step, const FixedCounts& fixed) const;
  friend Fit FitStep(const StyledText& text, std::int64_t limit, const LengthMeasure& measure);

  std::u16string_view m_untrimmed;
  std::u16string_view m_text;
  std::u16string_view m_prefix;
  std::u16string_view m_suffix;
  std::u16string m_tail;  // what the asked formatting puts in every tag, then the middle
  std::u16string m_styleOpen;
  std::u16string m_styleClose;
  std::vector<std::uint32_t> m_boundaries;  // only for user-perceived characters
  std::int32_t m_segments = 0;
  bool m_oneUnitEach = false;  // characters without surrogate pairs: plain slices
  bool m_linear = false;       // two stops in RGB: each component monotonic in the position
  GradientSampler m_sampler;
  bool m_merge = false;
  bool m_escape = false;
  bool m_endpoints = false;
  std::int32_t m_step = 1;
  bool m_mirror = false;
  bool m_words = false;
  bool m_shaped = false;  // per line or by words: cut from m_shapeUnits
  std::vector<ShapeUnit> m_shapeUnits;
  std::vector<ShapeLine> m_lines;
  std::optional<MarkupFormat> m_format;  // instead of prefix, middle and suffix
  std::optional<MarkupFormat> m_bare;    // how the format's dialect writes a blank chunk
  FormatFrame m_frame;
  std::u16string m_codes;  // the formatting codes the format's {codes} writes
  Motion m_motion;
  std::int32_t m_shownFrame = 0;
};

// The window's conversion: each chunk of the trimmed text written as prefix
// RRGGBB middle chunk suffix, bare chunks as they are.
std::u16string GenerateCode(const ConversionSettings& settings);

std::u16string GenerateStyledCode(const StyledSettings& settings);

// The smallest step from 1 up to one chunk for the whole text whose output is
// at most limit long in the measure's unit, and that output's length; when
// even one chunk does not fit, no step and the length of that shortest
// output. Every step is tried in turn: the length need not shrink as the step
// grows (a step that cuts blanks off into bare chunks can be shorter than a
// wider one), so no halving of the range would find the smallest.
Fit FitStep(const StyledText& text, std::int64_t limit, const LengthMeasure& measure = {});

template <typename Cut>
void StyledText::cut(std::int32_t step, Cut&& each) const {
  const std::size_t size = m_text.size();
  const std::int64_t stride = std::max(step, 1);
  if (!m_boundaries.empty()) {
    for (std::int64_t first = 0; first < m_segments; first += stride) {
      const std::int64_t last = std::min(first + stride, std::int64_t{m_segments});
      const std::uint32_t begin = m_boundaries[static_cast<std::size_t>(first)];
      const std::uint32_t end = m_boundaries[static_cast<std::size_t>(last)];
      if (!each(m_text.substr(begin, end - begin), first + 1, last - first == 1)) {
        return;
      }
    }
    return;
  }
  std::size_t offset = 0;
  std::int64_t position = 1;
  while (offset < size) {
    std::size_t end = offset;
    if (m_oneUnitEach) {
      end += std::min(static_cast<std::size_t>(stride), size - offset);
    } else {
      for (std::int64_t k = 0; k < stride && end < size; ++k) {
        end += detail::CharacterUnits(m_text, end);
      }
    }
    if (!each(m_text.substr(offset, end - offset), position, false)) {
      return;
    }
    offset = end;
    position += stride;
  }
}

template <typename Each>
bool StyledText::cutLine(const ShapeLine& line, std::int32_t step, Each&& each) const {
  const std::int64_t stride = std::max(step, 1);
  const bool graphemes = !m_boundaries.empty();
  for (std::int64_t first = 0; first < line.count; first += stride) {
    const std::int64_t last = std::min(first + stride, std::int64_t{line.count});
    const ShapeUnit& from = m_shapeUnits[static_cast<std::size_t>(line.first + first)];
    const ShapeUnit& to = m_shapeUnits[static_cast<std::size_t>(line.first + last - 1)];
    const std::u16string_view text = m_text.substr(from.begin, to.end - from.begin);
    const bool coloured = m_words || !IsBareChunk(text, graphemes && last - first == 1);
    if (!each(from.begin, to.end, static_cast<std::int32_t>(first + 1), coloured)) {
      return false;
    }
  }
  return true;
}

template <typename Deliver>
void StyledText::walkLines(std::int32_t step, Deliver&& deliver) const {
  std::uint32_t done = 0;
  ColourTriple colour;
  const auto slice = [this](std::uint32_t begin, std::uint32_t end) {
    return m_text.substr(begin, end - begin);
  };
  for (const ShapeLine& line : m_lines) {
    detail::ColourCursor colours = lineCursor(line, step);
    const bool go = cutLine(
        line, step, [&](std::uint32_t begin, std::uint32_t end, std::int32_t at, bool coloured) {
          colour = colours.at(at);
          const std::int32_t position = line.first + at;
          if (begin > done && !deliver(StyledChunk{slice(done, begin), colour, false, position})) {
            return false;
          }
          done = end;
          return static_cast<bool>(
              deliver(StyledChunk{slice(begin, end), colour, coloured, position}));
        });
    if (!go) {
      return;
    }
  }
  if (done < m_text.size()) {
    deliver(StyledChunk{slice(done, static_cast<std::uint32_t>(m_text.size())), colour, false,
                        m_segments});
  }
}

template <typename Visitor>
void StyledText::forEachChunk(std::int32_t step, Visitor&& visit) const {
  const auto deliver = [&visit](const StyledChunk& chunk) HUECODE_INLINE {
    if constexpr (std::is_same_v<std::invoke_result_t<Visitor&, const StyledChunk&>, bool>) {
      return visit(chunk);
    } else {
      visit(chunk);
      return true;
    }
  };
  step = std::max(step, 1);
  if (m_shaped) {
    if (!m_merge) {
      walkLines(step, deliver);
      return;
    }
    detail::RunMerger merger(deliver);
    bool stopped = false;
    walkLines(step, [&](const StyledChunk& chunk) {
      stopped = !merger.add(chunk);
      return !stopped;
    });
    if (!stopped) {
      merger.close();
    }
    return;
  }
  detail::ColourCursor colours = colourCursor(step);
  if (!m_merge) {
    cut(step,
        [&](std::u16string_view text, std::int64_t position, bool oneGrapheme) HUECODE_INLINE {
          const auto at = static_cast<std::int32_t>(position);
          return deliver({text, colours.at(at), !IsBareChunk(text, oneGrapheme), at});
        });
    return;
  }

  detail::RunMerger merger(deliver);
  bool stopped = false;
  cut(step, [&](std::u16string_view text, std::int64_t position, bool oneGrapheme) {
    const auto at = static_cast<std::int32_t>(position);
    stopped = !merger.add({text, colours.at(at), !IsBareChunk(text, oneGrapheme), at});
    return !stopped;
  });
  if (!stopped) {
    merger.close();
  }
}

// The one walk every writer shares, one loop for the common path.
template <MarkupSink Sink>
void StyledText::write(std::int32_t step, Sink& sink) const {
  if (m_format) {
    writeFormatted(step, sink);
    return;
  }
  if constexpr (requires { sink.reserve(std::size_t{}); }) {
    sink.reserve(markupCodeUnits(step));
  }
  detail::TagHead head(m_prefix, m_tail);
  const auto putColoured = [&](const StyledChunk& chunk) HUECODE_INLINE {
    sink.put(head.of(chunk.colour));
    if (m_escape) {
      detail::PutEscaped(sink, chunk.text);
    } else {
      sink.put(chunk.text);
    }
    sink.put(m_suffix);
  };
  if (!m_styleOpen.empty()) {
    writeStyled(step, sink, putColoured);
    return;
  }
  forEachChunk(step, [&](const StyledChunk& chunk) HUECODE_INLINE {
    if (chunk.coloured) {
      putColoured(chunk);
    } else {
      sink.put(chunk.text);
    }
  });
}

// The formatting opens at the first coloured chunk and closes after the
// last, so blanks before and after stay outside it; blanks are held back
// until it is known whether another coloured chunk follows.
template <MarkupSink Sink, typename PutColoured>
void StyledText::writeStyled(std::int32_t step, Sink& sink, const PutColoured& putColoured) const {
  bool opened = false;
  std::u16string_view held;
  forEachChunk(step, [&](const StyledChunk& chunk) {
    if (!chunk.coloured) {
      if (!opened) {
        sink.put(chunk.text);
      } else {
        held = held.empty()
                   ? chunk.text
                   : std::u16string_view(held.data(),
                                         static_cast<std::size_t>(chunk.text.data() +
                                                                  chunk.text.size() - held.data()));
      }
      return;
    }
    sink.put(opened ? held : std::u16string_view(m_styleOpen));
    opened = true;
    held = {};
    putColoured(chunk);
  });
  if (opened) {
    sink.put(m_styleClose);
  }
  sink.put(held);
}

template <MarkupSink Sink>
std::int64_t StyledText::writeFormatted(std::int32_t step, Sink& sink) const {
  sink.put(m_frame.before);
  sink.put(m_styleOpen);
  bool first = true;
  std::int64_t coloured = 0;
  std::optional<ColourTriple> fieldsOf;
  detail::ColourFields fields;
  const auto deliver = [&](const StyledChunk& chunk) {
    if (!first) {
      sink.put(m_frame.between);
    }
    first = false;
    if (!chunk.coloured) {
      if (m_bare) {
        detail::PutFormatted(sink, *m_bare, fields, chunk.text, {});
      } else {
        sink.put(chunk.text);
      }
      return true;
    }
    ++coloured;
    if (fieldsOf != chunk.colour) {
      fields = detail::FieldsOf(chunk.colour, m_format->ansi);
      fieldsOf = chunk.colour;
    }
    detail::PutFormatted(sink, *m_format, fields, chunk.text, m_codes);
    return true;
  };
  if (!m_format->ansi) {
    forEachChunk(step, deliver);
  } else {
    // The chunks take the ANSI colours first, so that neighbours of one merge.
    detail::RunMerger merger(deliver);
    std::optional<ColourTriple> from;
    ColourTriple to;
    forEachChunk(step, [&](StyledChunk chunk) {
      if (from != chunk.colour) {
        from = chunk.colour;
        to = kAnsiColours[static_cast<std::size_t>(NearestAnsiColour(chunk.colour))];
      }
      chunk.colour = to;
      return merger.add(chunk);
    });
    merger.close();
  }
  sink.put(m_styleClose);
  sink.put(m_frame.after);
  return coloured;
}

}  // namespace huecode
