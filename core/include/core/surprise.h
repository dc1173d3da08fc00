#pragma once

#include <cstddef>
#include <vector>

#include "core/colour.h"

namespace huecode {

// The colours a surprise gradient picks its stops from: hues evenly around
// the OKLCH circle at one lightness, each with as much of the asked chroma
// as sRGB can show without changing its hue.
std::vector<ColourTriple> HueCircle(double lightness, double chroma, std::size_t hues);

// Lightness and chroma that read on a light board and on a dark one.
struct HueCircleShade {
  double lightness;
  double chroma;
};
inline constexpr HueCircleShade kOnLightBoard{0.56, 0.17};
inline constexpr HueCircleShade kOnDarkBoard{0.80, 0.14};
inline constexpr std::size_t kSurpriseHues = 36;

}  // namespace huecode
