#include "icu/grapheme.h"

#include <unicode/ubrk.h>
#include <unicode/utypes.h>

#include <limits>
#include <memory>
#include <stdexcept>

namespace huecode {

std::vector<std::uint32_t> GraphemeBoundaries(std::u16string_view text) {
  if (text.size() > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max())) {
    throw std::length_error("text too long for grapheme segmentation");
  }
  std::vector<std::uint32_t> boundaries{0};
  if (text.empty()) {
    return boundaries;
  }
  UErrorCode status = U_ZERO_ERROR;
  std::unique_ptr<UBreakIterator, decltype(&ubrk_close)> iterator(
      ubrk_open(UBRK_CHARACTER, "", reinterpret_cast<const UChar*>(text.data()),
                static_cast<std::int32_t>(text.size()), &status),
      &ubrk_close);
  if (U_FAILURE(status)) {
    throw std::runtime_error(std::string("grapheme segmentation failed: ") + u_errorName(status));
  }
  for (std::int32_t next = ubrk_next(iterator.get()); next != UBRK_DONE;
       next = ubrk_next(iterator.get())) {
    boundaries.push_back(static_cast<std::uint32_t>(next));
  }
  return boundaries;
}

}  // namespace huecode
