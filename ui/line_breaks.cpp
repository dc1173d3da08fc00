#include "ui/line_breaks.h"

namespace huecode {
namespace {

std::size_t LineEndLength(std::u16string_view text, std::size_t at, LineEnd& kind) {
  for (std::size_t k = 0; k < kLineEndTexts.size(); ++k) {
    if (text.substr(at, kLineEndTexts[k].size()) == kLineEndTexts[k]) {
      kind = static_cast<LineEnd>(k);
      return kLineEndTexts[k].size();
    }
  }
  return 0;
}

}  // namespace

std::vector<TextLine> SplitAtLineEnds(std::u16string_view text) {
  std::vector<TextLine> lines;
  LineEnd before = LineEnd::CrLf;
  std::size_t start = 0;
  for (std::size_t i = 0; i < text.size();) {
    LineEnd kind{};
    // CR LF is listed before CR, so a pair is never taken for a lone CR.
    const std::size_t length = LineEndLength(text, i, kind);
    if (length == 0) {
      ++i;
      continue;
    }
    lines.push_back({text.substr(start, i - start), before});
    before = kind;
    i += length;
    start = i;
  }
  lines.push_back({text.substr(start), before});
  return lines;
}

}  // namespace huecode
