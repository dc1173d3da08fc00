#pragma once

#include <cstdio>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>

#include "cli/options.h"
#include "core/conversion.h"
#include "options/failure.h"

namespace huecode {

// The settings of one run, decoded from the options and the input text.
Result<StyledSettings> PrepareSettings(const CliOptions& options, std::FILE* in);

struct CliStreams {
  std::FILE* in = stdin;
  std::FILE* out = stdout;
  std::FILE* err = stderr;
};

// Writes the pictures the options ask for; called only when they ask for one,
// before anything goes to standard output.
using PictureWriter =
    std::function<std::optional<Failure>(const CliOptions&, const ConversionPlan&)>;

// The whole program. The markup streams to standard output as it is written;
// the notes of --fit and --stats follow on standard error once it is complete.
// NO_COLOR is read from the environment. Returns the exit code.
int RunCli(std::span<const std::string> args, const CliStreams& streams,
           const PictureWriter& writePictures);

}  // namespace huecode
