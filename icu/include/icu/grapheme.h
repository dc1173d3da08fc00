#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace huecode {

// Code-unit offsets where user-perceived characters (extended grapheme
// clusters) begin, followed by the text's size. Empty text gives {0}. The
// core's GraphemeFinder for the desktop and the command line.
std::vector<std::uint32_t> GraphemeBoundaries(std::u16string_view text);

}  // namespace huecode
