#pragma once

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "core/colour.h"
#include "core/gradient_stops.h"
#include "core/motion.h"

// The walk's small steps run once per chunk: inlined, they cost a few
// instructions each; called, they would cost more than the chunk's copy. A
// build that weighs size (the page's WebAssembly) leaves it to the compiler:
// forced, every writer carries every path of the walk.
#if defined(__GNUC__) && !defined(HUECODE_NO_FORCED_INLINE)
#define HUECODE_INLINE __attribute__((always_inline))
#else
#define HUECODE_INLINE
#endif

namespace huecode::detail {

// RRGGBB between a tag's prefix and middle.
inline constexpr std::size_t kColourDigits = 6;

// The colour of each chunk in turn, for positions that only grow. Along a
// two-stop RGB gradient each component is monotonic in the position, so a
// colour that is equal at two positions is equal at every position between:
// the end of a run of one colour is found by galloping and bisecting with
// the formula itself, and the chunks inside the run cost a comparison. Other
// gradients are sampled at every chunk. The gradient runs over positions
// origin .. origin + span; chunks outside it (bare ones) take its nearest end.
class ColourCursor {
 public:
  ColourCursor(const GradientSampler& sampler, bool monotonic, std::int32_t span, std::int32_t step,
               std::int32_t origin = 0)
      : m_sampler(sampler), m_monotonic(monotonic), m_span(span), m_step(step), m_origin(origin) {}

  // Frame `frame` of a moving gradient over a line of so many units: chunk j
  // of c sits at j/c of the cycle there and back, moved frame/frames of it.
  ColourCursor(const GradientSampler& sampler, std::int32_t units, std::int32_t step,
               const Motion& motion, std::int32_t frame)
      : m_sampler(sampler), m_monotonic(false), m_span(0), m_step(std::max(step, 1)), m_origin(0) {
    const std::int64_t chunks = std::max<std::int64_t>((units + m_step - 1) / m_step, 1);
    m_frames = std::max(motion.frames, 1);
    m_period = chunks * m_frames;
    const std::int64_t moved = frame % m_frames * chunks;
    m_shift = motion.direction == Direction::Left ? moved : (m_period - moved) % m_period;
  }

  HUECODE_INLINE ColourTriple at(std::int32_t position) {
    if (position >= m_runEnd) {
      advance(position);
    }
    return m_colour;
  }

 private:
  // Sampled through the gradient's own span where the cycle's parts fit it;
  // a cycle over millions of chunks is sampled in 2^30 parts.
  ColourTriple cycleAt(std::int32_t position) const {
    const std::int64_t along = ((position - 1) / m_step * m_frames + m_shift) % m_period;
    const std::int64_t there = 2 * std::min(along, m_period - along);
    if (m_period <= INT32_MAX) {
      return m_sampler.at(static_cast<std::int32_t>(there), static_cast<std::int32_t>(m_period));
    }
    constexpr std::int32_t kParts = std::int32_t{1} << 30;
    const double fraction = static_cast<double>(there) / static_cast<double>(m_period);
    return m_sampler.at(static_cast<std::int32_t>(std::llround(fraction * kParts)), kParts);
  }

  void advance(std::int32_t position) {
    if (m_period > 0) {
      m_colour = cycleAt(position);
      m_runEnd = std::int64_t{position} + 1;
      return;
    }
    const std::int64_t local = std::int64_t{position} - m_origin;
    const auto clamped = static_cast<std::int32_t>(std::clamp<std::int64_t>(local, 0, m_span));
    m_colour = m_sampler.at(clamped, m_span);
    m_runEnd =
        m_monotonic && local == clamped ? m_origin + runEnd(local) : std::int64_t{position} + 1;
  }

  std::int64_t runEnd(std::int64_t position) const {
    const auto sameAfter = [&](std::int64_t chunks) {
      const std::int64_t later = position + chunks * m_step;
      return later <= m_span && m_sampler.at(static_cast<std::int32_t>(later), m_span) == m_colour;
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

  const GradientSampler& m_sampler;
  bool m_monotonic;
  std::int32_t m_span;
  std::int64_t m_step;
  std::int64_t m_origin;
  ColourTriple m_colour;
  std::int64_t m_runEnd = 0;
  std::int64_t m_frames = 0;
  std::int64_t m_period = 0;  // a moving gradient's cycle, in frames x chunks parts
  std::int64_t m_shift = 0;   // where this frame's first chunk sits in it
};

// Prefix, colour digits and middle, rebuilt only when the colour changes.
class TagHead {
 public:
  TagHead(std::u16string_view prefix, std::u16string_view middle)
      : m_prefix(prefix), m_middle(middle) {}

  HUECODE_INLINE std::u16string_view of(ColourTriple colour) {
    if (!m_built || colour != m_colour) {
      rebuild(colour);
    }
    return m_view;
  }

 private:
  void rebuild(ColourTriple colour) {
    m_head.assign(m_prefix.size() + kColourDigits + m_middle.size(), u'\0');
    char16_t* out = m_head.data();
    out = std::copy(m_prefix.begin(), m_prefix.end(), out);
    out = WriteColourDigits(out, colour);
    out = std::copy(m_middle.begin(), m_middle.end(), out);
    m_view = std::u16string_view(m_head.data(), static_cast<std::size_t>(out - m_head.data()));
    m_colour = colour;
    m_built = true;
  }

  std::u16string_view m_prefix;
  std::u16string_view m_middle;
  std::u16string m_head;
  std::u16string_view m_view;
  ColourTriple m_colour;
  bool m_built = false;
};

// The entity for a unit that HTML-safe text cannot carry as it is, or nothing.
// Each is stored in 16 units, so that the fixed-size copies of Put stay
// inside its storage whatever the compiler assumes of the length.
inline constexpr char16_t kEntities[3][16] = {u"&amp;", u"&lt;", u"&gt;"};

constexpr std::u16string_view EntityFor(char16_t c) {
  switch (c) {
    case u'&':
      return {kEntities[0], 5};
    case u'<':
      return {kEntities[1], 4};
    case u'>':
      return {kEntities[2], 4};
    default:
      return {};
  }
}

template <typename Sink>
void PutEscaped(Sink& sink, std::u16string_view text) {
  std::size_t from = 0;
  for (std::size_t k = 0; k < text.size(); ++k) {
    const std::u16string_view entity = EntityFor(text[k]);
    if (!entity.empty()) {
      sink.put(text.substr(from, k - from));
      sink.put(entity);
      from = k + 1;
    }
  }
  sink.put(text.substr(from));
}

// Tags and chunks are mostly a few units long, too short for a call into the
// library's memcpy to pay off: two overlapping copies of a fixed size cover
// every length up to 16 units with plain loads and stores.
HUECODE_INLINE inline char16_t* Put(char16_t* out, std::u16string_view text) {
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

// A size that was counted short: a fault in the counting, never in the input.
[[noreturn]] void MarkupCountedShort();

// The markup as one UTF-16 string, sized exactly before it is written, so
// that a megabyte of text costs one allocation and one pass. Its state stays
// private to the walk (nothing out of line ever sees it), which lets the
// compiler keep the write position in a register.
class StringSink {
 public:
  void reserve(std::size_t units) {
    m_out.resize(units);
    m_cursor = m_out.data();
    m_end = m_cursor + units;
  }

  HUECODE_INLINE void put(std::u16string_view piece) {
    if (piece.size() > static_cast<std::size_t>(m_end - m_cursor)) {
      MarkupCountedShort();
    }
    m_cursor = Put(m_cursor, piece);
  }

  std::u16string take() && {
    m_out.resize(static_cast<std::size_t>(m_cursor - m_out.data()));
    return std::move(m_out);
  }

 private:
  std::u16string m_out;
  char16_t* m_cursor = nullptr;
  char16_t* m_end = nullptr;
};

}  // namespace huecode::detail
