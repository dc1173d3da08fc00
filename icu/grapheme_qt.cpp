#include "icu/grapheme.h"

#include <QTextBoundaryFinder>
#include <limits>
#include <stdexcept>

namespace huecode {

namespace {

bool IsRegionalIndicatorAt(std::u16string_view text, std::size_t at) {
  // U+1F1E6..U+1F1FF, as a surrogate pair.
  return at + 1 < text.size() && text[at] == 0xD83C && text[at + 1] >= 0xDDE6 &&
         text[at + 1] <= 0xDDFF;
}

// Qt 6.4 splits a flag that follows an emoji: the emoji's state carries over
// into the regional indicators. In a run of them, every pair is one flag.
void PairRegionalIndicators(std::u16string_view text, std::vector<bool>& boundary) {
  for (std::size_t at = 0; at < text.size();) {
    if (!IsRegionalIndicatorAt(text, at)) {
      ++at;
      continue;
    }
    for (std::size_t count = 0; IsRegionalIndicatorAt(text, at); ++count, at += 2) {
      if (count > 0) {
        boundary[at] = count % 2 == 0;
      }
    }
  }
}

}  // namespace

std::vector<std::uint32_t> GraphemeBoundaries(std::u16string_view text) {
  if (text.size() > std::numeric_limits<std::uint32_t>::max()) {
    throw std::length_error("text too long for grapheme segmentation");
  }
  std::vector<bool> boundary(text.size() + 1, false);
  boundary[0] = true;
  // The finder reads the text where it is; QChar is one UTF-16 code unit.
  QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme,
                             reinterpret_cast<const QChar*>(text.data()),
                             static_cast<qsizetype>(text.size()));
  for (qsizetype next = finder.toNextBoundary(); next != -1; next = finder.toNextBoundary()) {
    boundary[static_cast<std::size_t>(next)] = true;
  }
  PairRegionalIndicators(text, boundary);
  std::vector<std::uint32_t> boundaries;
  for (std::size_t at = 0; at < boundary.size(); ++at) {
    if (boundary[at]) {
      boundaries.push_back(static_cast<std::uint32_t>(at));
    }
  }
  return boundaries;
}

}  // namespace huecode
