#include "icu/grapheme.h"
#include "library.h"

namespace huecode::library {

GraphemeFinder Graphemes() {
  return &GraphemeBoundaries;
}

}  // namespace huecode::library
