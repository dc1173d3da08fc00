#include "core/conversion.h"

#include <array>
#include <cstring>

#include "core/chunks.h"

namespace huecode {

namespace detail {
namespace {

struct HexTable {
  std::array<std::array<char16_t, 2>, 256> pairs{};
  constexpr HexTable() {
    constexpr char16_t digits[] = u"0123456789ABCDEF";
    for (std::size_t i = 0; i < 256; ++i) {
      pairs[i] = {digits[i / 16], digits[i % 16]};
    }
  }
};
constexpr HexTable kHex;

constexpr std::int64_t FloorDiv(std::int64_t a, std::int64_t b) {
  const std::int64_t q = a / b;
  return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

// One colour component from chunk to chunk, equal to GradientComponent at
// every position 1..span but without a division per chunk. The value
// start + (end - start) * position / span is kept as an exact quotient and
// remainder. The double-precision formula rounds to the same integer: its
// error stays below 2^-35, while a value that is not exactly a half lies at
// least 1 / (2 * span) >= 2^-32 away from one, and exact halves come out
// exactly in double precision too.
class ComponentWalk {
 public:
  ComponentWalk(std::int16_t start, std::int16_t end, std::int32_t step, std::int32_t span)
      : m_span(span) {
    const std::int64_t difference = std::int64_t{end} - start;
    const std::int64_t first = std::int64_t{start} * span + difference;
    m_quotient = FloorDiv(first, span);
    m_remainder = first - m_quotient * span;
    const std::int64_t delta = difference * step;
    m_stepQuotient = FloorDiv(delta, span);
    m_stepRemainder = delta - m_stepQuotient * span;
  }

  // Rounded to the nearest integer, halves to the even neighbour.
  std::int16_t value() const {
    const std::int64_t twice = 2 * m_remainder;
    const std::int64_t up = twice > m_span || (twice == m_span && (m_quotient & 1) != 0);
    return static_cast<std::int16_t>(m_quotient + up);
  }

  void advance() {
    m_quotient += m_stepQuotient;
    m_remainder += m_stepRemainder;
    if (m_remainder >= m_span) {
      m_remainder -= m_span;
      ++m_quotient;
    }
  }

 private:
  std::int64_t m_span;
  std::int64_t m_quotient = 0;
  std::int64_t m_remainder = 0;
  std::int64_t m_stepQuotient = 0;
  std::int64_t m_stepRemainder = 0;
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

// A component outside 0..255 has three or more hexadecimal digits, which the
// two-digit form turns into nothing.
inline char16_t* PutComponent(char16_t* out, std::int16_t component) {
  if (component < 0 || component > 255) {
    return out;
  }
  const auto& pair = kHex.pairs[static_cast<std::size_t>(component)];
  out[0] = pair[0];
  out[1] = pair[1];
  return out + 2;
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

bool IsByteColour(ColourTriple colour) {
  const auto isByte = [](std::int16_t c) { return c >= 0 && c <= 255; };
  return isByte(colour.r) && isByte(colour.g) && isByte(colour.b);
}

std::size_t CountColouredChunks(const ChunkPlan& plan) {
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
  // allocation and one pass; six digits per tag is exact for colours in 0..255.
  const std::size_t tagLength =
      markup.prefix.size() + 6 + markup.middle.size() + markup.suffix.size();
  std::u16string out(plan.text.size() + detail::CountColouredChunks(plan) * tagLength, u'\0');

  // The first chunk is already one step along the gradient: position 1 of n,
  // never 0, so only a chunk starting at n has exactly the end colour.
  detail::ComponentWalk red(settings.start.r, settings.end.r, plan.step, plan.length);
  detail::ComponentWalk green(settings.start.g, settings.end.g, plan.step, plan.length);
  detail::ComponentWalk blue(settings.start.b, settings.end.b, plan.step, plan.length);
  // For end points within 0..255 every colour between them has six digits,
  // which go into a copy of the tag's head; other colours lose their
  // components of three or more digits, so their tags are written piece by piece.
  const bool sixDigits = detail::IsByteColour(settings.start) && detail::IsByteColour(settings.end);
  const std::u16string head = markup.prefix + u"000000" + markup.middle;
  const std::size_t digitsAt = markup.prefix.size();
  char16_t* cursor = out.data();
  ForEachChunk(plan, [&](const Chunk& chunk) {
    if (detail::IsBare(chunk.text)) {
      cursor = detail::Put(cursor, chunk.text);
    } else if (sixDigits) {
      detail::Put(cursor, head);
      char16_t* const at = cursor + digitsAt;
      detail::PutComponent(at, red.value());
      detail::PutComponent(at + 2, green.value());
      detail::PutComponent(at + 4, blue.value());
      cursor = detail::Put(cursor + head.size(), chunk.text);
      cursor = detail::Put(cursor, markup.suffix);
    } else {
      cursor = detail::Put(cursor, markup.prefix);
      cursor = detail::PutComponent(cursor, red.value());
      cursor = detail::PutComponent(cursor, green.value());
      cursor = detail::PutComponent(cursor, blue.value());
      cursor = detail::Put(cursor, markup.middle);
      cursor = detail::Put(cursor, chunk.text);
      cursor = detail::Put(cursor, markup.suffix);
    }
    red.advance();
    green.advance();
    blue.advance();
  });
  out.resize(static_cast<std::size_t>(cursor - out.data()));
  return out;
}

}  // namespace huecode
