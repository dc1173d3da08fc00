#pragma once

#include <array>
#include <string_view>

#include "core/animation.h"
#include "core/conversion.h"
#include "core/gradient_stops.h"
#include "core/length.h"

namespace huecode {

// The names by which every front end takes a conversion's choices: the
// command line's values, the C library's, and the page's and the
// extension's, which the binding's interface hands over in this order.
template <typename Value>
struct Named {
  std::string_view key;
  Value value;
};

inline constexpr std::array<Named<ColourSpace>, 2> kSpaces{{
    {"rgb", ColourSpace::Rgb},
    {"oklab", ColourSpace::Oklab},
}};

// The units a text is cut into.
inline constexpr std::array<Named<Segmentation>, 3> kUnits{{
    {"char", Segmentation::Characters},
    {"grapheme", Segmentation::Graphemes},
    {"word", Segmentation::Words},
}};

// The units a length limit counts.
inline constexpr std::array<Named<LengthUnit>, 3> kLimitUnits{{
    {"characters", LengthUnit::Characters},
    {"utf8", LengthUnit::Utf8Bytes},
    {"gbk", LengthUnit::GbkBytes},
}};

// Where a moving gradient's colours go, and how its frames are written.
inline constexpr std::array<Named<Direction>, 2> kDirections{{
    {"left", Direction::Left},
    {"right", Direction::Right},
}};

inline constexpr std::array<Named<AnimationForm>, 3> kForms{{
    {"lines", AnimationForm::Lines},
    {"yaml", AnimationForm::Yaml},
    {"json", AnimationForm::Json},
}};

}  // namespace huecode
