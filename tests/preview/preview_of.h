#pragma once

#include "core/conversion.h"
#include "preview/previews.h"

namespace huecode::test {

// The effect preview of a conversion's settings at the step they ask for, as
// the window and the command line draw it.
template <typename Settings>
void DrawPreviewOf(DrawingSurface& surface, const Settings& settings) {
  const StyledText text(settings);
  DrawEffectPreview(surface, text, text.step());
}

}  // namespace huecode::test
