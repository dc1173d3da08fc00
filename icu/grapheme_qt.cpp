#include "icu/grapheme.h"

#include <QTextBoundaryFinder>
#include <limits>
#include <stdexcept>

namespace huecode {

std::vector<std::uint32_t> GraphemeBoundaries(std::u16string_view text) {
  if (text.size() > std::numeric_limits<std::uint32_t>::max()) {
    throw std::length_error("text too long for grapheme segmentation");
  }
  std::vector<std::uint32_t> boundaries{0};
  if (text.empty()) {
    return boundaries;
  }
  // The finder reads the text where it is; QChar is one UTF-16 code unit.
  QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme,
                             reinterpret_cast<const QChar*>(text.data()),
                             static_cast<qsizetype>(text.size()));
  for (qsizetype next = finder.toNextBoundary(); next != -1; next = finder.toNextBoundary()) {
    boundaries.push_back(static_cast<std::uint32_t>(next));
  }
  return boundaries;
}

}  // namespace huecode
