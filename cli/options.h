#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "cli/cli_error.h"
#include "core/colour.h"

namespace huecode {

enum class CliAction { Convert, Help, Version };

// The command line as parsed. Texts stay raw bytes here; they are decoded as
// UTF-8 when the conversion is set up, so that a bad byte is an input error.
struct CliOptions {
  CliAction action = CliAction::Convert;
  std::vector<std::string> words;  // the text, when given on the command line
  std::optional<std::string> inputPath;
  ColourTriple start{255, 0, 255};
  ColourTriple end{0, 255, 0};
  std::string stepText = "1";
  std::optional<std::string> presetKey;
  std::optional<std::string> prefix;
  std::optional<std::string> middle;
  std::optional<std::string> suffix;
  std::optional<std::string> previewPngPath;
  std::optional<std::string> barPngPath;

  bool WantsPictures() const { return previewPngPath || barPngPath; }
};

struct ParsedCommandLine {
  CliOptions options;
  std::optional<CliError> error;
};

// Options are read in order; the first error, --help or --version ends the
// reading. An option's value is the next argument whatever it looks like, so
// "--step -3" and "--prefix --" work; "--name=value" is accepted as well.
ParsedCommandLine ParseCommandLine(std::span<const std::string> args);

// RRGGBB, six hexadecimal digits in either case, optionally after '#'.
std::optional<ColourTriple> ParseColourArgument(std::string_view text);

std::string UsageText();
std::string VersionText();

}  // namespace huecode
