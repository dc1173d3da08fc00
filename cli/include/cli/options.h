#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "cli/completion.h"
#include "core/animation.h"
#include "core/colour.h"
#include "core/conversion.h"
#include "core/dialects.h"
#include "core/gradient_stops.h"
#include "options/conversion_options.h"

namespace huecode {

enum class CliAction { Convert, Help, Version, ListPresets, Completion };

// The command line as parsed: the conversion's options, and what the
// program does with its input and output.
struct CliOptions : ConversionOptions {
  CliAction action = CliAction::Convert;
  std::vector<std::string> words;  // the text, when given on the command line
  std::optional<std::string> inputPath;
  std::optional<std::string> previewPngPath;
  std::optional<std::string> barPngPath;
  bool stats = false;
  bool show = false;
  bool strip = false;                   // read markup back to its plain text
  Shell completionShell = Shell::Bash;  // for CliAction::Completion
  // Frames of the gradient flowing along the text, and how they are written.
  Motion motion;
  AnimationForm animation = AnimationForm::Lines;
  std::string animationName = "gradient";
  std::int32_t interval = kDefaultInterval;

  bool WantsPictures() const { return previewPngPath || barPngPath; }
};

// Options are read in order; the first error, --help, --version or
// --list-presets ends the reading. Options that contradict each other (such
// as --rainbow with --start) are usage errors found once all are read. An
// option's value is the next argument whatever it looks like, so "--step -3"
// and "--prefix --" work; "--name=value" is accepted as well.
Result<CliOptions> ParseCommandLine(std::span<const std::string> args);

// One option as the help shows it, with the values it accepts when they are
// a fixed list, so that other descriptions of the command line can follow it.
struct OptionSummary {
  std::string_view name;
  std::string_view valueName;  // empty for a flag; "FILE" for a file name
  std::string_view help;       // empty for a spelling the help leaves out
  std::vector<std::string_view> choices;
};

std::vector<OptionSummary> OptionSummaries();

std::string UsageText();
// Every dialect --preset knows, each with a chunk written in it.
std::string PresetListText();
std::string VersionText();

}  // namespace huecode
