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

// Appends into a buffer sized up front, so that a megabyte of text costs one
// allocation rather than a few dozen regrowths.
class Writer {
 public:
  explicit Writer(std::size_t capacity) : m_out(capacity, u'\0') {}

  void append(std::u16string_view text) {
    if (m_size + text.size() > m_out.size()) {
      m_out.resize(std::max(m_out.size() * 2, m_size + text.size()));
    }
    std::memcpy(m_out.data() + m_size, text.data(), text.size() * sizeof(char16_t));
    m_size += text.size();
  }

  void appendComponent(std::int16_t component) {
    if (component >= 0 && component <= 255) {
      append({kHex.pairs[static_cast<std::size_t>(component)].data(), 2});
    } else {
      append(HexPair(HexText(component)));
    }
  }

  std::u16string finish() && {
    m_out.resize(m_size);
    return std::move(m_out);
  }

 private:
  std::u16string m_out;
  std::size_t m_size = 0;
};

}  // namespace
}  // namespace detail

std::u16string GenerateCode(const ConversionSettings& settings) {
  const ChunkPlan plan = PlanChunks(settings.text, settings.stepText);
  const MarkupTemplate& markup = settings.markup;
  const std::size_t tagLength =
      markup.prefix.size() + 6 + markup.middle.size() + markup.suffix.size();
  detail::Writer out(plan.text.size() + static_cast<std::size_t>(ChunkCount(plan)) * tagLength);

  ForEachChunk(plan, [&](const Chunk& chunk) {
    if (IsBareChunk(chunk.text)) {
      out.append(chunk.text);
      return;
    }
    // The first chunk is already one step along the gradient: position 1 of
    // n, never 0, so only a chunk starting at n has exactly the end colour.
    const ColourTriple colour =
        GradientColour(settings.start, settings.end, chunk.position, plan.length);
    out.append(markup.prefix);
    out.appendComponent(colour.r);
    out.appendComponent(colour.g);
    out.appendComponent(colour.b);
    out.append(markup.middle);
    out.append(chunk.text);
    out.append(markup.suffix);
  });
  return std::move(out).finish();
}

}  // namespace huecode
