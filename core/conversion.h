#pragma once

#include <string>

#include "core/colour.h"
#include "core/markup_template.h"

namespace huecode {

// Everything one conversion reads, gathered from the window's controls.
struct ConversionSettings {
  std::u16string text;      // untrimmed
  std::u16string stepText;  // as typed into the step box
  ColourTriple start{255, 0, 255};
  ColourTriple end{0, 255, 0};
  MarkupTemplate markup = InitialTemplate();
};

// The colour markup for the settings: each chunk of the trimmed text is
// written as prefix RRGGBB middle chunk suffix, bare chunks as they are.
std::u16string GenerateCode(const ConversionSettings& settings);

}  // namespace huecode
