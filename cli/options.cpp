#include "cli/options.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <iterator>
#include <limits>
#include <utility>
#include <vector>

#include "cli/utf8.h"
#include "core/dialects.h"
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
  ListPresets,
  Via,
  Rainbow,
  Space,
  Merge,
  Fit,
  Stats,
  By,
  Show,
  Completion,
};

struct OptionEntry {
  std::string_view name;
  std::string_view valueName;  // empty for a flag
  OptionId id;
  std::string_view help;
};

constexpr std::array<OptionEntry, 23> kOptions{{
    {"--start", "COLOUR", OptionId::Start, "start colour RRGGBB, '#' optional (default FF00FF)"},
    {"--end", "COLOUR", OptionId::End, "end colour RRGGBB, '#' optional (default 00FF00)"},
    {"--step", "TEXT", OptionId::Step, "characters per colour, read like the step box (default 1)"},
    {"--preset", "NAME", OptionId::Preset, "markup dialect, one of those listed below"},
    {"--prefix", "TEXT", OptionId::Prefix, "text before the colour digits"},
    {"--middle", "TEXT", OptionId::Middle, "text between the colour digits and the chunk"},
    {"--suffix", "TEXT", OptionId::Suffix, "text after the chunk"},
    {"--input", "FILE", OptionId::Input, "read the text from FILE instead of standard input"},
    {"--preview-png", "FILE", OptionId::PreviewPng, "also write the effect preview as a PNG"},
    {"--bar-png", "FILE", OptionId::BarPng, "also write the gradient bar as a PNG"},
    {"--via", "COLOUR", OptionId::Via, "a stop between start and end; repeat for more"},
    {"--rainbow", "", OptionId::Rainbow, "six stops from red to violet instead of start and end"},
    {"--space", "SPACE", OptionId::Space, "rgb (default) or oklab, a perceptual blend"},
    {"--by", "UNIT", OptionId::By, "char (default) or grapheme, a user-perceived character"},
    {"--merge", "", OptionId::Merge, "neighbouring chunks of one colour share one tag"},
    {"--fit", "N", OptionId::Fit, "the smallest step whose markup has at most N characters"},
    {"--stats", "", OptionId::Stats, "count the markup's parts on standard error"},
    {"--show", "", OptionId::Show, "print the text in its colours, not the markup"},
    {"--list-presets", "", OptionId::ListPresets, "show each dialect with an example and exit"},
    {"--completion", "SHELL", OptionId::Completion,
     "print the completion script for bash, zsh or fish and exit"},
    {"--help", "", OptionId::Help, "show this help and exit"},
    {"-h", "", OptionId::Help, ""},
    {"--version", "", OptionId::Version, "show the version and exit"},
}};

// Options that cannot be used together: the first of each pair is refused
// when the second is also given, whatever their order.
constexpr std::array<std::pair<OptionId, OptionId>, 4> kConflicts{{
    {OptionId::Rainbow, OptionId::Start},
    {OptionId::Rainbow, OptionId::End},
    {OptionId::Rainbow, OptionId::Via},
    {OptionId::Fit, OptionId::Step},
}};

struct NamedValue {
  std::string_view key;
  int value;
};

constexpr std::array<NamedValue, 2> kSpaces{{
    {"rgb", static_cast<int>(ColourSpace::Rgb)},
    {"oklab", static_cast<int>(ColourSpace::Oklab)},
}};

constexpr std::array<NamedValue, 2> kUnits{{
    {"char", static_cast<int>(Segmentation::Characters)},
    {"grapheme", static_cast<int>(Segmentation::Graphemes)},
}};

const OptionEntry* FindOption(std::string_view name) {
  for (const OptionEntry& entry : kOptions) {
    if (entry.name == name) {
      return &entry;
    }
  }
  return nullptr;
}

std::string_view NameOf(OptionId id) {
  for (const OptionEntry& entry : kOptions) {
    if (entry.id == id) {
      return entry.name;
    }
  }
  return {};
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

// "a, b or c" from the names of the items.
template <typename Items>
std::string Alternatives(const Items& items) {
  std::string text;
  const std::size_t count = std::size(items);
  std::size_t k = 0;
  for (const auto& item : items) {
    text += (k == 0 ? "" : k + 1 == count ? " or " : ", ") + std::string(item.key);
    ++k;
  }
  return text;
}

template <typename Items>
auto FindNamed(const Items& names, std::string_view name) {
  using Value = decltype(std::begin(names)->value);
  for (const auto& named : names) {
    if (named.key == name) {
      return std::optional<Value>(named.value);
    }
  }
  return std::optional<Value>();
}

template <typename Items>
std::vector<std::string_view> Keys(const Items& items) {
  std::vector<std::string_view> keys;
  keys.reserve(std::size(items));
  for (const auto& item : items) {
    keys.push_back(item.key);
  }
  return keys;
}

std::vector<std::string_view> ChoicesOf(OptionId id) {
  switch (id) {
    case OptionId::Preset:
      return Keys(Dialects());
    case OptionId::Space:
      return Keys(kSpaces);
    case OptionId::By:
      return Keys(kUnits);
    case OptionId::Completion:
      return Keys(kShells);
    default:
      return {};
  }
}

// Decimal digits only; a limit beyond what any output could reach is kept as
// the largest one, since every output fits it.
std::optional<std::int64_t> ParseLimit(std::string_view text) {
  if (text.empty()) {
    return std::nullopt;
  }
  constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
  std::int64_t limit = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') {
      return std::nullopt;
    }
    const int digit = c - '0';
    limit = limit > (kMax - digit) / 10 ? kMax : limit * 10 + digit;
  }
  return limit;
}

CliError BadValue(std::string_view what, const std::string& value, const OptionEntry& entry,
                  const std::string& expected) {
  return Usage("invalid " + std::string(what) + " '" + value + "' for " + std::string(entry.name) +
               ": expected " + expected);
}

std::optional<CliError> ApplyValue(CliOptions& options, const OptionEntry& entry,
                                   std::string value) {
  switch (entry.id) {
    case OptionId::Start:
    case OptionId::End:
    case OptionId::Via: {
      const auto colour = ParseColourArgument(value);
      if (!colour) {
        return BadValue("colour", value, entry, "six hexadecimal digits RRGGBB");
      }
      if (entry.id == OptionId::Via) {
        options.via.push_back(*colour);
      } else {
        (entry.id == OptionId::Start ? options.start : options.end) = *colour;
      }
      return std::nullopt;
    }
    case OptionId::Preset:
      if (!FindDialect(value)) {
        return Usage("unknown preset '" + value + "': expected " + Alternatives(Dialects()));
      }
      options.presetKey = std::move(value);
      return std::nullopt;
    case OptionId::Space: {
      const auto space = FindNamed(kSpaces, value);
      if (!space) {
        return BadValue("colour space", value, entry, Alternatives(kSpaces));
      }
      options.space = static_cast<ColourSpace>(*space);
      return std::nullopt;
    }
    case OptionId::By: {
      const auto unit = FindNamed(kUnits, value);
      if (!unit) {
        return BadValue("unit", value, entry, Alternatives(kUnits));
      }
      options.by = static_cast<Segmentation>(*unit);
      return std::nullopt;
    }
    case OptionId::Completion: {
      const auto shell = FindNamed(kShells, value);
      if (!shell) {
        return BadValue("shell", value, entry, Alternatives(kShells));
      }
      options.completionShell = *shell;
      options.action = CliAction::Completion;
      return std::nullopt;
    }
    case OptionId::Fit: {
      const auto limit = ParseLimit(value);
      if (!limit) {
        return BadValue("limit", value, entry, "a whole number of characters, 0 or more");
      }
      options.fitLimit = limit;
      return std::nullopt;
    }
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
    case OptionId::Rainbow:
      options.rainbow = true;
      return std::nullopt;
    case OptionId::Merge:
      options.merge = true;
      return std::nullopt;
    case OptionId::Stats:
      options.stats = true;
      return std::nullopt;
    case OptionId::Show:
      options.show = true;
      return std::nullopt;
    case OptionId::Help:
    case OptionId::Version:
    case OptionId::ListPresets:
      break;
  }
  return std::nullopt;
}

std::optional<CliAction> ActionOf(OptionId id) {
  switch (id) {
    case OptionId::Help:
      return CliAction::Help;
    case OptionId::Version:
      return CliAction::Version;
    case OptionId::ListPresets:
      return CliAction::ListPresets;
    default:
      return std::nullopt;
  }
}

std::optional<CliError> FindConflict(const std::vector<OptionId>& given) {
  const auto wasGiven = [&](OptionId id) {
    return std::find(given.begin(), given.end(), id) != given.end();
  };
  for (const auto& [option, other] : kConflicts) {
    if (wasGiven(option) && wasGiven(other)) {
      return Usage(std::string(NameOf(option)) + " cannot be combined with " +
                   std::string(NameOf(other)));
    }
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
  std::vector<OptionId> given;
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
    const OptionEntry* entry = FindOption(name);
    if (!entry) {
      parsed.error =
          Usage("unknown option '" + name + "'; a text that starts with '-' goes after --");
      return parsed;
    }
    given.push_back(entry->id);
    if (entry->valueName.empty()) {
      if (equals != std::string::npos) {
        parsed.error = Usage("option " + name + " takes no value");
        return parsed;
      }
      if (const auto action = ActionOf(entry->id)) {
        options.action = *action;
        return parsed;
      }
      ApplyValue(options, *entry, std::string());
      continue;
    }
    std::string value;
    if (equals != std::string::npos) {
      value = arg.substr(equals + 1);
    } else if (k + 1 < args.size()) {
      value = args[++k];
    } else {
      parsed.error = Usage("option " + name + " needs a value " + std::string(entry->valueName));
      return parsed;
    }
    if (auto error = ApplyValue(options, *entry, std::move(value))) {
      parsed.error = std::move(error);
      return parsed;
    }
  }
  parsed.error = FindConflict(given);
  return parsed;
}

std::vector<OptionSummary> OptionSummaries() {
  std::vector<OptionSummary> summaries;
  summaries.reserve(kOptions.size());
  for (const OptionEntry& entry : kOptions) {
    summaries.push_back({entry.name, entry.valueName, entry.help, ChoicesOf(entry.id)});
  }
  return summaries;
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
  for (const OptionEntry& entry : kOptions) {
    if (entry.help.empty()) {
      continue;
    }
    std::string left = "  " + std::string(entry.name);
    if (!entry.valueName.empty()) {
      left += " " + std::string(entry.valueName);
    }
    left.resize(std::max<std::size_t>(left.size() + 2, 24), ' ');
    text += left + std::string(entry.help) + "\n";
  }
  text +=
      "  --                    end of options: what follows is text, even if it starts with '-'\n"
      "\n"
      "Without --preset the markup is [color=#RRGGBB]chunk[/color]; the dialects are\n"
      "  " +
      Alternatives(Dialects()) +
      ".\n"
      "Without --via, --rainbow, --space, --by and --merge the markup is exactly what\n"
      "the window writes. --rainbow cannot be combined with --start, --end or --via.\n"
      "--fit counts characters as the markup has them (a surrogate pair is one, the\n"
      "final line break is not counted), cannot be combined with --step, tells on\n"
      "standard error which step it chose, and fails with status 1 when even one\n"
      "chunk for the whole text is longer than N.\n"
      "--stats writes: characters in, chunks, coloured chunks, output characters\n"
      "(always of the markup, also with --show).\n"
      "--show uses 24-bit colour escapes; with NO_COLOR set it prints the plain text.\n"
      "Exit status: 0 success, 1 input or output error, 2 usage error.\n";
  return text;
}

std::string PresetListText() {
  // Every dialect shown wrapping the chunk "a" in the default start colour.
  const auto dialects = Dialects();
  std::size_t width = 0;
  for (const Dialect& dialect : dialects) {
    width = std::max(width, dialect.key.size());
  }
  std::string text;
  for (const Dialect& dialect : dialects) {
    std::string line(dialect.key);
    line.resize(width + 2, ' ');
    text += line + EncodeUtf8(dialect.prefix) + "FF00FF" + EncodeUtf8(dialect.middle) + "a" +
            EncodeUtf8(dialect.suffix) + "\n";
  }
  return text;
}

std::string VersionText() {
  return std::string("huecode-cli ") + HUECODE_VERSION + "\n";
}

}  // namespace huecode
