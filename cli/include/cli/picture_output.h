#pragma once

#include <optional>

#include "cli/options.h"
#include "cli/run.h"
#include "options/failure.h"

namespace huecode {

// Renders the effect preview and the gradient bar that the options ask for,
// exactly as the window's two picture boxes show them for the planned
// conversion (the step --fit chose included), and saves them as PNG files.
// Works without a display. No file is changed unless both render and every
// file can be written.
std::optional<Failure> WritePictures(const CliOptions& options, const ConversionPlan& plan);

}  // namespace huecode
