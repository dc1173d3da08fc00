#include "core/conversion.h"

#include <cstring>
#include <limits>

#include "core/chunks.h"

namespace huecode {

namespace detail {
namespace {

// The chunks' colours, which along a long text stay the same for thousands
// of chunks at a time: each component is monotonic in the position, so a
// colour that is equal at two positions is equal at every position between.
// The tag head (prefix, digits, middle) is therefore rebuilt only where the
// colour changes, found by galloping and bisecting with the formula itself.
class ColourRuns {
 public:
  ColourRuns(const ConversionSettings& settings, const ChunkPlan& plan)
      : m_start(settings.start),
        m_end(settings.end),
        m_span(plan.length),
        m_step(plan.step),
        m_prefix(settings.markup.prefix),
        m_middle(settings.markup.middle) {}

  // The prefix, colour digits and middle for the chunk at the position.
  std::u16string_view headAt(std::int64_t position) {
    if (position >= m_runEnd) {
      const ColourTriple colour = colourAt(position);
      m_head = m_prefix;
      m_head += ColourDigits(colour);
      m_head += m_middle;
      m_runEnd = runEnd(position, colour);
    }
    return m_head;
  }

 private:
  ColourTriple colourAt(std::int64_t position) const {
    return GradientColour(m_start, m_end, static_cast<std::int32_t>(position), m_span);
  }

  // The first chunk position after the given one whose colour differs.
  std::int64_t runEnd(std::int64_t position, ColourTriple colour) const {
    const auto sameAfter = [&](std::int64_t chunks) {
      const std::int64_t later = position + chunks * m_step;
      return later <= m_span && colourAt(later) == colour;
    };
    std::int64_t same = 0;
    std::int64_t differs = 1;
    while (sameAfter(differs)) {
      same = differs;
      differs *= 2;
    }
    while (differs - same > 1) {
      const std::int64_t middle = same + (differs - same) / 2;
      (sameAfter(middle) ? same : differs) = middle;
    }
    return position + differs * m_step;
  }

  ColourTriple m_start;
  ColourTriple m_end;
  std::int32_t m_span;
  std::int64_t m_step;
  std::u16string_view m_prefix;
  std::u16string_view m_middle;
  std::u16string m_head;
  std::int64_t m_runEnd = 0;
};

// Tags and chunks are mostly a few units long, too short for a call into the
// library's memcpy to pay off: two overlapping copies of a fixed size cover
// every length up to 16 units with plain loads and stores.
inline char16_t* Put(char16_t* out, std::u16string_view text) {
  const char16_t* from = text.data();
  const std::size_t n = text.size();
  if (n >= 8) {
    if (n > 16) {
      std::memcpy(out, from, n * sizeof(char16_t));
    } else {
      std::memcpy(out, from, 16);
      std::memcpy(out + n - 8, from + n - 8, 16);
    }
  } else if (n >= 4) {
    std::memcpy(out, from, 8);
    std::memcpy(out + n - 4, from + n - 4, 8);
  } else if (n >= 2) {
    std::memcpy(out, from, 4);
    std::memcpy(out + n - 2, from + n - 2, 4);
  } else if (n == 1) {
    out[0] = from[0];
  }
  return out + n;
}

// Every bare chunk starts with a space, tab, line feed or carriage return,
// so most chunks are settled by their first unit.
inline bool IsBare(std::u16string_view chunk) {
  const char16_t first = chunk.front();
  if (first > u' ') {
    return false;
  }
  if (chunk.size() == 1) {
    return first == u' ' || first == u'\t' || first == u'\n' || first == u'\r';
  }
  return IsBareChunk(chunk);
}

std::size_t CountColouredChunks(const ChunkPlan& plan) {
  if (plan.text.size() > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max())) {
    // The character count saturates there; a tag per unit still bounds the output.
    return plan.text.size();
  }
  if (plan.step == 1) {
    // One character per chunk, and a blank unit is never half of a pair.
    std::size_t blanks = 0;
    for (const char16_t c : plan.text) {
      blanks += c == u' ' || c == u'\t' || c == u'\n' || c == u'\r';
    }
    return static_cast<std::size_t>(plan.length) - blanks;
  }
  std::size_t coloured = 0;
  ForEachChunk(plan, [&](const Chunk& chunk) { coloured += !IsBare(chunk.text); });
  return coloured;
}

}  // namespace
}  // namespace detail

std::u16string GenerateCode(const ConversionSettings& settings) {
  const ChunkPlan plan = PlanChunks(settings.text, settings.stepText);
  if (plan.length == 0) {
    return {};
  }
  const MarkupTemplate& markup = settings.markup;

  // The output is sized before it is written, so a megabyte of text costs one
  // allocation and one pass. Six digits per tag is exact for colours in
  // 0..255; components beyond two digits have none, leaving the end unused.
  const std::size_t tagLength =
      markup.prefix.size() + 6 + markup.middle.size() + markup.suffix.size();
  std::u16string out(plan.text.size() + detail::CountColouredChunks(plan) * tagLength, u'\0');

  // The first chunk is already one step along the gradient: position 1 of n,
  // never 0, so only a chunk starting at n has exactly the end colour.
  detail::ColourRuns colours(settings, plan);
  char16_t* cursor = out.data();
  ForEachChunk(plan, [&](const Chunk& chunk) {
    if (!detail::IsBare(chunk.text)) {
      cursor = detail::Put(cursor, colours.headAt(chunk.position));
      cursor = detail::Put(cursor, chunk.text);
      cursor = detail::Put(cursor, markup.suffix);
    } else {
      cursor = detail::Put(cursor, chunk.text);
    }
  });
  out.resize(static_cast<std::size_t>(cursor - out.data()));
  return out;
}

}  // namespace huecode
