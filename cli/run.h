#pragma once

#include <cstdio>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "cli/cli_error.h"
#include "cli/options.h"
#include "core/conversion.h"

namespace huecode {

struct PreparedSettings {
  ConversionSettings settings;
  std::optional<CliError> error;
};

// Decodes every text of the options and reads the text from the file or
// stream when the command line has none.
PreparedSettings PrepareSettings(const CliOptions& options, std::FILE* in);

// Writes all bytes and flushes; a short write or a failing flush is an error.
std::optional<CliError> WriteAll(std::FILE* out, std::string_view bytes);

struct CliStreams {
  std::FILE* in = stdin;
  std::FILE* out = stdout;
  std::FILE* err = stderr;
};

// Writes the pictures the options ask for; called only when they ask for one,
// after the markup is complete and before anything goes to standard output.
// The settings are the window's; the options add what goes beyond them.
using PictureWriter =
    std::function<std::optional<CliError>(const CliOptions&, const ConversionSettings&)>;

// The whole program: nothing reaches standard output unless everything
// before it succeeded, and the notes of --fit and --stats follow on standard
// error only once the output is written. NO_COLOR is read from the
// environment. Returns the exit code.
int RunCli(std::span<const std::string> args, const CliStreams& streams,
           const PictureWriter& writePictures);

}  // namespace huecode
