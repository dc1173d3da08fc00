#pragma once

#include <optional>
#include <string>

#include "cli/cli_error.h"
#include "cli/options.h"
#include "core/conversion.h"
#include "core/styled_conversion.h"

namespace huecode {

// The conversion the options ask for: the window's settings with the stops,
// colour space, unit and merging of the command line, and the step that --fit
// chose fixed in them.
struct StyledPlan {
  StyledSettings settings;
  std::optional<std::int64_t> fitCharacters;  // the markup's length at the step --fit chose
  std::optional<CliError> error;              // nothing fits
};

StyledPlan PlanConversion(const CliOptions& options, const ConversionSettings& settings);

struct StyledOutput {
  std::string out;    // UTF-8 with one line feed
  std::string notes;  // whole lines for standard error, each after "huecode-cli: "
};

// The markup, or with --show the text in its colours (plain when noColor),
// with the notes that --fit and --stats ask for.
StyledOutput RenderConversion(const CliOptions& options, const StyledPlan& plan, bool noColor);

}  // namespace huecode
