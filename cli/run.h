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

// The markup as written: UTF-8 with one line feed.
std::string RenderMarkup(const ConversionSettings& settings);

// Writes all bytes and flushes; a short write or a failing flush is an error.
std::optional<CliError> WriteAll(std::FILE* out, std::string_view bytes);

struct CliStreams {
  std::FILE* in = stdin;
  std::FILE* out = stdout;
  std::FILE* err = stderr;
};

// Writes the pictures the options ask for; called only when they ask for one,
// after the markup is complete and before anything goes to standard output.
using PictureWriter =
    std::function<std::optional<CliError>(const CliOptions&, const ConversionSettings&)>;

// The whole program: nothing reaches standard output unless everything
// before it succeeded. Returns the exit code.
int RunCli(std::span<const std::string> args, const CliStreams& streams,
           const PictureWriter& writePictures);

}  // namespace huecode
