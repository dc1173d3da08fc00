#pragma once

#include <optional>

#include "cli/cli_error.h"
#include "cli/options.h"
#include "cli/run.h"

namespace huecode {

// Renders the effect preview and the gradient bar that the options ask for,
// exactly as the window's two picture boxes show them for the planned
// conversion (the step --fit chose included), and saves them as PNG files.
// Works without a display. No file is changed unless both render and every
// file can be written.
std::optional<CliError> WritePictures(const CliOptions& options, const ConversionPlan& plan);

}  // namespace huecode
