#include "cli/options.h"

#include <algorithm>
#include <array>
#include <cstdint>

#include "core/markup_template.h"

#ifndef HUECODE_VERSION
#error "HUECODE_VERSION must be defined by the build"
#endif

namespace huecode {

namespace {

enum class OptionId {
  Help,
  Version,
  Input,
  Start,
  End,
  Step,
  Preset,
  Prefix,
  Middle,
  Suffix,
  PreviewPng,
  BarPng,
};

struct OptionSpec {
  std::string_view name;
  std::string_view valueName;  // empty for a flag
  OptionId id;
  std::string_view help;
};

constexpr std::array<OptionSpec, 13> kOptions{{
    {"--start", "COLOUR", OptionId::Start, "start colour RRGGBB, '#' optional (default FF00FF)"},
    {"--end", "COLOUR", OptionId::End, "end colour RRGGBB, '#' optional (default 00FF00)"},
    {"--step", "TEXT", OptionId::Step, "characters per colour, read like the step box (default 1)"},
    {"--preset", "NAME", OptionId::Preset, "markup dialect: html, ubb or brelvin"},
    {"--prefix", "TEXT", OptionId::Prefix, "text before the colour digits"},
    {"--middle", "TEXT", OptionId::Middle, "text between the colour digits and the chunk"},
    {"--suffix", "TEXT", OptionId::Suffix, "text after the chunk"},
    {"--input", "FILE", OptionId::Input, "read the text from FILE instead of standard input"},
    {"--preview-png", "FILE", OptionId::PreviewPng, "also write the effect preview as a PNG"},
    {"--bar-png", "FILE", OptionId::BarPng, "also write the gradient bar as a PNG"},
    {"--help", "", OptionId::Help, "show this help and exit"},
    {"-h", "", OptionId::Help, ""},
    {"--version", "", OptionId::Version, "show the version and exit"},
}};

const OptionSpec* FindOption(std::string_view name) {
  for (const OptionSpec& spec : kOptions) {
    if (spec.name == name) {
      return &spec;
    }
  }
  return nullptr;
}

int HexDigitValue(char c) {
  if (c >= '0' && c <= '9') {
    return c - '0';
  }
  if (c >= 'a' && c <= 'f') {
    return c - 'a' + 10;
  }
  if (c >= 'A' && c <= 'F') {
    return c - 'A' + 10;
  }
  return -1;
}

CliError Usage(std::string message) {
  return {kExitUsageError, std::move(message) + " (see --help)"};
}

std::optional<CliError> ApplyValue(CliOptions& options, const OptionSpec& spec, std::string value) {
  switch (spec.id) {
    case OptionId::Start:
    case OptionId::End: {
      const auto colour = ParseColourArgument(value);
      if (!colour) {
        return Usage("invalid colour '" + value + "' for " + std::string(spec.name) +
                     ": expected six hexadecimal digits RRGGBB");
      }
      (spec.id == OptionId::Start ? options.start : options.end) = *colour;
      return std::nullopt;
    }
    case OptionId::Preset:
      if (!FindPreset(value)) {
        return Usage("unknown preset '" + value + "': expected html, ubb or brelvin");
      }
      options.presetKey = std::move(value);
      return std::nullopt;
    case OptionId::Step:
      options.stepText = std::move(value);
      return std::nullopt;
    case OptionId::Input:
      options.inputPath = std::move(value);
      return std::nullopt;
    case OptionId::Prefix:
      options.prefix = std::move(value);
      return std::nullopt;
    case OptionId::Middle:
      options.middle = std::move(value);
      return std::nullopt;
    case OptionId::Suffix:
      options.suffix = std::move(value);
      return std::nullopt;
    case OptionId::PreviewPng:
      options.previewPngPath = std::move(value);
      return std::nullopt;
    case OptionId::BarPng:
      options.barPngPath = std::move(value);
      return std::nullopt;
    case OptionId::Help:
    case OptionId::Version:
      break;
  }
  return std::nullopt;
}

}  // namespace

std::optional<ColourTriple> ParseColourArgument(std::string_view text) {
  if (!text.empty() && text.front() == '#') {
    text.remove_prefix(1);
  }
  if (text.size() != 6) {
    return std::nullopt;
  }
  std::array<std::int16_t, 3> components{};
  for (std::size_t k = 0; k < 3; ++k) {
    const int high = HexDigitValue(text[2 * k]);
    const int low = HexDigitValue(text[2 * k + 1]);
    if (high < 0 || low < 0) {
      return std::nullopt;
    }
    components[k] = static_cast<std::int16_t>(high * 16 + low);
  }
  return ColourTriple{components[0], components[1], components[2]};
}

ParsedCommandLine ParseCommandLine(std::span<const std::string> args) {
  ParsedCommandLine parsed;
  CliOptions& options = parsed.options;
  bool optionsEnded = false;
  for (std::size_t k = 0; k < args.size(); ++k) {
    const std::string& arg = args[k];
    if (optionsEnded || arg.size() < 2 || arg.front() != '-') {
      options.words.push_back(arg);
      continue;
    }
    if (arg == "--") {
      optionsEnded = true;
      continue;
    }
    const std::size_t equals = arg.starts_with("--") ? arg.find('=') : std::string::npos;
    const std::string name = arg.substr(0, equals);
    const OptionSpec* spec = FindOption(name);
    if (!spec) {
      parsed.error =
          Usage("unknown option '" + name + "'; a text that starts with '-' goes after --");
      return parsed;
    }
    if (spec->valueName.empty()) {
      if (equals != std::string::npos) {
        parsed.error = Usage("option " + name + " takes no value");
        return parsed;
      }
      options.action = spec->id == OptionId::Help ? CliAction::Help : CliAction::Version;
      return parsed;
    }
    std::string value;
    if (equals != std::string::npos) {
      value = arg.substr(equals + 1);
    } else if (k + 1 < args.size()) {
      value = args[++k];
    } else {
      parsed.error = Usage("option " + name + " needs a value " + std::string(spec->valueName));
      return parsed;
    }
    if (auto error = ApplyValue(options, *spec, std::move(value))) {
      parsed.error = std::move(error);
      return parsed;
    }
  }
  return parsed;
}

std::string UsageText() {
  std::string text =
      "Usage: huecode-cli [options] [--] [TEXT...]\n"
      "Writes TEXT as colour-gradient markup, every character (or group of --step\n"
      "characters) in its own colour tag. The words of TEXT are joined by single spaces;\n"
      "without TEXT the text is read from --input FILE or standard input, and one\n"
      "trailing line break is dropped.\n"
      "\n"
      "Options:\n";
  for (const OptionSpec& spec : kOptions) {
    if (spec.help.empty()) {
      continue;
    }
    std::string left = "  " + std::string(spec.name);
    if (!spec.valueName.empty()) {
      left += " " + std::string(spec.valueName);
    }
    left.resize(std::max<std::size_t>(left.size() + 2, 24), ' ');
    text += left + std::string(spec.help) + "\n";
  }
  text +=
      "  --                    end of options: what follows is text, even if it starts with '-'\n"
      "\n"
      "Without --preset the markup is [color=#RRGGBB]chunk[/color].\n"
      "Exit status: 0 success, 1 input or output error, 2 usage error.\n";
  return text;
}

std::string VersionText() {
  return std::string("huecode-cli ") + HUECODE_VERSION + "\n";
}

}  // namespace huecode
