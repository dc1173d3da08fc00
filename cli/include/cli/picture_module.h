#pragma once

#include <optional>

#include "cli/options.h"
#include "cli/run.h"
#include "options/failure.h"

// The PNG writer lives in a module of its own, with Qt Gui behind it, so that
// huecode-cli loads Qt only when a picture is asked for. The module and the
// program come from one build, so they share these types as they stand.
extern "C" {
using HuecodeWritePictures = void(const huecode::CliOptions& options,
                                  const huecode::ConversionPlan& plan,
                                  std::optional<huecode::Failure>& error);
// The module's one entry point, found by this name.
HuecodeWritePictures huecode_write_pictures;
}

namespace huecode {

inline constexpr char kWritePicturesSymbol[] = "huecode_write_pictures";

// Loads the module on first use, from where the build and the install put it
// beside the program, and writes the pictures through it. A module that
// cannot be loaded is an error that says which file was looked for and why.
std::optional<Failure> WritePicturesOnDemand(const CliOptions& options, const ConversionPlan& plan);

}  // namespace huecode
