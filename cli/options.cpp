#include "cli/options.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <limits>
#include <string>
#include <utility>
#include <vector>

#include "cli/utf8.h"
#include "core/dialects.h"
#include "core/gradient_stops.h"

#ifndef HUECODE_VERSION
#error "HUECODE_VERSION must be defined by the build"
#endif

namespace huecode {

namespace {

// One row of the option table, which drives parsing, --help and the shells'
// completions. An option with a value name takes the next argument (or the
// text after '=') as its value.
struct OptionEntry {
  std::string_view name;
  std::string_view valueName;  // empty for a flag
  std::string_view help;       // empty for an alias that --help does not list
  std::optional<CliError> (*apply)(CliOptions& options, std::string_view value);
  std::vector<std::string_view> (*choices)() = nullptr;  // a value's fixed list, if it has one
};

CliError UsageError(std::string message) {
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

template <typename Value>
struct Named {
  std::string_view key;
  Value value;
};

template <const auto& Names>
std::vector<std::string_view> KeysOf() {
  std::vector<std::string_view> keys;
  for (const auto& named : Names) {
    keys.push_back(named.key);
  }
  return keys;
}

constexpr std::array<Named<ColourSpace>, 2> kSpaces{{
    {"rgb", ColourSpace::Rgb},
    {"oklab", ColourSpace::Oklab},
}};

constexpr std::array<Named<Segmentation>, 3> kUnits{{
    {"char", Segmentation::Characters},
    {"grapheme", Segmentation::Graphemes},
    {"word", Segmentation::Words},
}};

constexpr std::array<Named<Direction>, 2> kDirections{{
    {"left", Direction::Left},
    {"right", Direction::Right},
}};

constexpr std::array<Named<AnimationForm>, 3> kForms{{
    {"lines", AnimationForm::Lines},
    {"yaml", AnimationForm::Yaml},
    {"json", AnimationForm::Json},
}};

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

// A stop's position in percent: digits with at most two decimals and an
// optional '%', from 0 to 100; in hundredths of a percent.
std::optional<std::int32_t> ParsePosition(std::string_view text) {
  if (text.ends_with('%')) {
    text.remove_suffix(1);
  }
  const std::size_t point = text.find('.');
  const std::string_view whole = text.substr(0, point);
  const std::string_view fraction =
      point == std::string_view::npos ? std::string_view() : text.substr(point + 1);
  const auto digits = [](std::string_view part) {
    return std::all_of(part.begin(), part.end(), [](char c) { return c >= '0' && c <= '9'; });
  };
  if (whole.empty() || whole.size() > 3 || fraction.size() > 2 || !digits(whole) ||
      !digits(fraction) || (point != std::string_view::npos && fraction.empty())) {
    return std::nullopt;
  }
  std::int32_t value = 0;
  for (const char c : whole) {
    value = value * 10 + (c - '0');
  }
  for (std::size_t k = 0; k < 2; ++k) {
    value = value * 10 + (k < fraction.size() ? fraction[k] - '0' : 0);
  }
  return value <= kPositionScale ? std::optional(value) : std::nullopt;
}

CliError BadValue(std::string_view what, std::string_view value, std::string_view option,
                  std::string_view expected) {
  return UsageError("invalid " + std::string(what) + " '" + std::string(value) + "' for " +
                    std::string(option) + ": expected " + std::string(expected));
}

// An option that stores a colour through the given setter.
template <auto Store>
std::optional<CliError> ApplyColour(CliOptions& options, std::string_view value,
                                    std::string_view option) {
  const auto colour = ReadColour(value);
  if (!colour) {
    return BadValue("colour", value, option, "six hexadecimal digits RRGGBB");
  }
  Store(options, *colour);
  return std::nullopt;
}

// Looks the value up in a table of rows with a key and a value.
template <typename Names, typename Value>
std::optional<CliError> ApplyNamed(const Names& names, Value& target, std::string_view value,
                                   std::string_view what, std::string_view option) {
  for (const auto& named : names) {
    if (named.key == value) {
      target = named.value;
      return std::nullopt;
    }
  }
  return BadValue(what, value, option, Alternatives(names));
}

// A whole number within the core's range for it.
template <bool (*InRange)(std::int64_t)>
std::optional<CliError> ApplyCount(std::int32_t& target, std::string_view value,
                                   std::string_view option, std::int64_t low, std::int64_t high) {
  const auto number = ParseLimit(value);
  if (!number || !InRange(*number)) {
    return BadValue("value", value, option,
                    "a whole number from " + std::to_string(low) + " to " + std::to_string(high));
  }
  target = static_cast<std::int32_t>(*number);
  return std::nullopt;
}

template <std::optional<std::string> CliOptions::*Field>
std::optional<CliError> StoreText(CliOptions& options, std::string_view value) {
  options.*Field = std::string(value);
  return std::nullopt;
}

template <bool CliOptions::*Field>
std::optional<CliError> SetFlag(CliOptions& options, std::string_view) {
  options.*Field = true;
  return std::nullopt;
}

template <bool Styles::*Field>
std::optional<CliError> SetStyle(CliOptions& options, std::string_view) {
  options.styles.*Field = true;
  return std::nullopt;
}

template <CliAction Action>
std::optional<CliError> SetAction(CliOptions& options, std::string_view) {
  options.action = Action;
  return std::nullopt;
}

constexpr std::array<OptionEntry, 38> kOptions{{
    {"--start", "COLOUR", "start colour RRGGBB, '#' optional (default FF00FF)",
     [](CliOptions& o, std::string_view v) {
       return ApplyColour<[](CliOptions& to, ColourTriple c) { to.start = c; }>(o, v, "--start");
     }},
    {"--end", "COLOUR", "end colour RRGGBB, '#' optional (default 00FF00)",
     [](CliOptions& o, std::string_view v) {
       return ApplyColour<[](CliOptions& to, ColourTriple c) { to.end = c; }>(o, v, "--end");
     }},
    {"--step", "TEXT", "characters per colour, read like the step box (default 1)",
     [](CliOptions& o, std::string_view v) -> std::optional<CliError> {
       o.stepText = std::string(v);
       return std::nullopt;
     }},
    {"--preset", "NAME", "markup dialect, one of those listed below",
     [](CliOptions& o, std::string_view v) -> std::optional<CliError> {
       if (!FindDialect(v)) {
         return UsageError("unknown preset '" + std::string(v) + "': expected " +
                           Alternatives(Dialects()));
       }
       o.presetKey = std::string(v);
       return std::nullopt;
     },
     &KeysOf<kDialects>},
    {"--prefix", "TEXT", "text before the colour digits", &StoreText<&CliOptions::prefix>},
    {"--middle", "TEXT", "text between the colour digits and the chunk",
     &StoreText<&CliOptions::middle>},
    {"--suffix", "TEXT", "text after the chunk", &StoreText<&CliOptions::suffix>},
    {"--input", "FILE", "read the text from FILE instead of standard input",
     &StoreText<&CliOptions::inputPath>},
    {"--preview-png", "FILE", "also write the effect preview as a PNG",
     &StoreText<&CliOptions::previewPngPath>},
    {"--bar-png", "FILE", "also write the gradient bar as a PNG",
     &StoreText<&CliOptions::barPngPath>},
    {"--via", "COLOUR[@POS]",
     "a stop between start and end, at POS percent (0 to 100) or evenly spaced; repeat for more",
     [](CliOptions& o, std::string_view v) -> std::optional<CliError> {
       const std::size_t at = v.find('@');
       if (auto error = ApplyColour<[](CliOptions& to, ColourTriple c) { to.via.push_back(c); }>(
               o, v.substr(0, at), "--via")) {
         return error;
       }
       o.viaTexts.emplace_back(v);
       if (at == std::string_view::npos) {
         o.viaPositions.emplace_back();
         return std::nullopt;
       }
       const auto position = ParsePosition(v.substr(at + 1));
       if (!position) {
         return BadValue("position", v.substr(at + 1), "--via " + std::string(v),
                         "a number from 0 to 100 with at most two decimals");
       }
       o.viaPositions.push_back(position);
       return std::nullopt;
     }},
    {"--rainbow", "", "six stops from red to violet instead of start and end",
     &SetFlag<&CliOptions::rainbow>},
    {"--space", "SPACE", "rgb (default) or oklab, a perceptual blend",
     [](CliOptions& o, std::string_view v) {
       return ApplyNamed(kSpaces, o.space, v, "colour space", "--space");
     },
     &KeysOf<kSpaces>},
    {"--by", "UNIT",
     "char (default), grapheme (a user-perceived character) or word (each CJK character "
     "one)",
     [](CliOptions& o, std::string_view v) { return ApplyNamed(kUnits, o.by, v, "unit", "--by"); },
     &KeysOf<kUnits>},
    {"--merge", "", "neighbouring chunks of one colour share one tag",
     &SetFlag<&CliOptions::merge>},
    {"--escape", "", "write &, < and > in the text as HTML entities (HTML, BBCode)",
     &SetFlag<&CliOptions::escape>},
    {"--bold", "", "bold text, in the dialect's own code", &SetStyle<&Styles::bold>},
    {"--italic", "", "italic text", &SetStyle<&Styles::italic>},
    {"--underline", "", "underlined text", &SetStyle<&Styles::underline>},
    {"--strike", "", "struck-through text", &SetStyle<&Styles::strike>},
    {"--endpoints", "", "first and last coloured chunk exactly on start and end",
     &SetFlag<&CliOptions::endpoints>},
    {"--fit", "N", "the smallest step whose markup has at most N characters",
     [](CliOptions& o, std::string_view v) -> std::optional<CliError> {
       const auto limit = ParseLimit(v);
       if (!limit) {
         return BadValue("limit", v, "--fit", "a whole number of characters, 0 or more");
       }
       o.fitLimit = limit;
       return std::nullopt;
     }},
    {"--stats", "", "count the markup's parts on standard error", &SetFlag<&CliOptions::stats>},
    {"--show", "", "print the text in its colours, not the markup", &SetFlag<&CliOptions::show>},
    {"--completion", "SHELL", "print the completion script for bash, zsh or fish and exit",
     [](CliOptions& o, std::string_view v) -> std::optional<CliError> {
       if (auto error = ApplyNamed(kShells, o.completionShell, v, "shell", "--completion")) {
         return error;
       }
       o.action = CliAction::Completion;
       return std::nullopt;
     },
     &KeysOf<kShells>},
    {"--list-presets", "", "show each dialect with an example and exit",
     &SetAction<CliAction::ListPresets>},
    {"--help", "", "show this help and exit", &SetAction<CliAction::Help>},
    {"-h", "", "", &SetAction<CliAction::Help>},
    {"--version", "", "show the version and exit", &SetAction<CliAction::Version>},
    {"--per-line", "", "each line takes the whole gradient", &SetFlag<&CliOptions::perLine>},
    {"--mirror", "", "run the gradient to the end at the middle and back",
     &SetFlag<&CliOptions::mirror>},
    {"--format", "FORMAT", "a format string for each chunk, such as '<#{HEX}>{text}' (below)",
     &StoreText<&CliOptions::format>},
    {"--strip", "", "read coloured markup back and write its plain text",
     &SetFlag<&CliOptions::strip>},
    {"--frames", "N", "write N frames of the colours flowing along the text (below)",
     [](CliOptions& o, std::string_view v) {
       return ApplyCount<&FramesInRange>(o.motion.frames, v, "--frames", kMinFrames, kMaxFrames);
     }},
    {"--direction", "DIR", "left (default) or right: where the frames move the colours",
     [](CliOptions& o, std::string_view v) {
       return ApplyNamed(kDirections, o.motion.direction, v, "direction", "--direction");
     },
     &KeysOf<kDirections>},
    {"--animation", "FORM", "lines (default), yaml or json: how the frames are written",
     [](CliOptions& o, std::string_view v) {
       return ApplyNamed(kForms, o.animation, v, "form", "--animation");
     },
     &KeysOf<kForms>},
    {"--name", "NAME", "the animation's name in the yaml block (default gradient)",
     [](CliOptions& o, std::string_view v) -> std::optional<CliError> {
       if (v.empty()) {
         return UsageError("--name needs a name for the animation");
       }
       o.animationName = std::string(v);
       return std::nullopt;
     }},
    {"--interval", "MS", "milliseconds between frames in the yaml block",
     [](CliOptions& o, std::string_view v) {
       return ApplyCount<&IntervalInRange>(o.interval, v, "--interval", kMinInterval, kMaxInterval);
     }},
}};

// Options that cannot be used together: the first of each pair is refused
// when the second is also given, whatever their order.
constexpr std::array<std::pair<std::string_view, std::string_view>, 18> kConflicts{{
    {"--rainbow", "--start"},
    {"--rainbow", "--end"},
    {"--rainbow", "--via"},
    {"--fit", "--step"},
    {"--format", "--preset"},
    {"--format", "--prefix"},
    {"--format", "--middle"},
    {"--format", "--suffix"},
    {"--strip", "--show"},
    {"--strip", "--fit"},
    {"--strip", "--stats"},
    {"--strip", "--preview-png"},
    {"--strip", "--bar-png"},
    {"--frames", "--endpoints"},
    {"--frames", "--strip"},
    {"--frames", "--preview-png"},
    {"--frames", "--bar-png"},
    {"--animation", "--show"},
}};

// Options that mean something only beside another: the first of each pair
// is refused without the second.
constexpr std::array<std::pair<std::string_view, std::string_view>, 4> kNeeds{{
    {"--direction", "--frames"},
    {"--animation", "--frames"},
    {"--name", "--animation"},
    {"--interval", "--animation"},
}};

const OptionEntry* FindOption(std::string_view name) {
  for (const OptionEntry& entry : kOptions) {
    if (entry.name == name) {
      return &entry;
    }
  }
  return nullptr;
}

std::optional<CliError> FindConflict(const std::vector<std::string_view>& given) {
  const auto wasGiven = [&](std::string_view name) {
    return std::find(given.begin(), given.end(), name) != given.end();
  };
  for (const auto& [option, other] : kConflicts) {
    if (wasGiven(option) && wasGiven(other)) {
      return UsageError(std::string(option) + " cannot be combined with " + std::string(other));
    }
  }
  for (const auto& [option, needed] : kNeeds) {
    if (wasGiven(option) && !wasGiven(needed)) {
      return UsageError(std::string(option) + " goes with " + std::string(needed));
    }
  }
  return std::nullopt;
}

// The name and the interval are the yaml block's.
std::optional<CliError> OutsideYaml(const CliOptions& options,
                                    const std::vector<std::string_view>& given) {
  const bool named = std::find(given.begin(), given.end(), "--name") != given.end();
  const bool timed = std::find(given.begin(), given.end(), "--interval") != given.end();
  if ((named || timed) && options.animation != AnimationForm::Yaml) {
    return UsageError(std::string(named ? "--name" : "--interval") + " goes with --animation yaml");
  }
  return std::nullopt;
}

// The core blends at most kMaxStops stops, as the page and the binding allow.
std::optional<CliError> TooManyStops(const CliOptions& options) {
  if (options.via.size() + 2 <= kMaxStops) {
    return std::nullopt;
  }
  return UsageError("a gradient has at most " + std::to_string(kMaxStops) +
                    " stops: start, end and " + std::to_string(kMaxStops - 2) + " --via, not " +
                    std::to_string(options.via.size()));
}

// Positions must not decrease from one --via to the next.
std::optional<CliError> MisplacedVia(const CliOptions& options) {
  GradientStops gradient;
  gradient.stops = options.via;
  gradient.stops.insert(gradient.stops.begin(), options.start);
  gradient.stops.push_back(options.end);
  gradient.positions = options.viaPositions;
  gradient.positions.insert(gradient.positions.begin(), std::nullopt);
  const auto misplaced = MisplacedStop(gradient);
  if (!misplaced) {
    return std::nullopt;
  }
  return UsageError("the stop --via " + options.viaTexts[*misplaced - 1] +
                    " is placed before an earlier stop: positions must increase");
}

// What the options say together, once all are read.
std::optional<CliError> RefusedCombination(const CliOptions& options,
                                           const std::vector<std::string_view>& given) {
  if (auto conflict = FindConflict(given)) {
    return conflict;
  }
  if (auto outside = OutsideYaml(options, given)) {
    return outside;
  }
  if (auto tooMany = TooManyStops(options)) {
    return tooMany;
  }
  return MisplacedVia(options);
}

}  // namespace

std::vector<OptionSummary> OptionSummaries() {
  std::vector<OptionSummary> summaries;
  summaries.reserve(kOptions.size());
  for (const OptionEntry& entry : kOptions) {
    summaries.push_back({entry.name, entry.valueName, entry.help,
                         entry.choices ? entry.choices() : std::vector<std::string_view>{}});
  }
  return summaries;
}

Result<CliOptions> ParseCommandLine(std::span<const std::string> args) {
  CliOptions options;
  std::vector<std::string_view> given;
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
      return UsageError("unknown option '" + name + "'; a text that starts with '-' goes after --");
    }
    given.push_back(entry->name);
    std::string_view value;
    if (entry->valueName.empty()) {
      if (equals != std::string::npos) {
        return UsageError("option " + name + " takes no value");
      }
    } else if (equals != std::string::npos) {
      value = std::string_view(arg).substr(equals + 1);
    } else if (k + 1 < args.size()) {
      value = args[++k];
    } else {
      return UsageError("option " + name + " needs a value " + std::string(entry->valueName));
    }
    if (auto error = entry->apply(options, value)) {
      return *std::move(error);
    }
    if (options.action != CliAction::Convert) {
      return options;
    }
  }
  if (auto refused = RefusedCombination(options, given)) {
    return *std::move(refused);
  }
  return options;
}

namespace {

// One line per option that has help, the names padded to one column.
std::string OptionLines() {
  std::string text;
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
  return text;
}

}  // namespace

namespace {

constexpr std::string_view kUsageHead =
    "Usage: huecode-cli [options] [--] [TEXT...]\n"
    "Writes TEXT as colour-gradient markup, every character (or group of --step\n"
    "characters) in its own colour tag. The words of TEXT are joined by single spaces;\n"
    "without TEXT the text is read from --input FILE or standard input, and one\n"
    "trailing line break is dropped.\n"
    "\n"
    "Options:\n";

constexpr std::string_view kEndOfOptions =
    "  --                    end of options: what follows is text, even if it starts with '-'\n"
    "\n"
    "Without --preset the markup is [color=#RRGGBB]chunk[/color]; the dialects are\n"
    "  ";

// What the options do beyond their one line, in the order they are listed.
constexpr std::string_view kConversionNotes =
    "Without --via, --rainbow, --space, --by, --merge, --escape, the formatting\n"
    "options, --endpoints, --per-line, --mirror and --frames the markup is exactly\n"
    "what the window writes.\n"
    "--via COLOUR@POS places a stop at POS percent of the gradient (25 or 12.5); a\n"
    "stop without a position sits evenly between its neighbours, and positions\n"
    "must not decrease from one stop to the next.\n"
    "--per-line: each line (up to a line break) runs through the whole gradient;\n"
    "the line breaks stay outside the tags.\n"
    "--mirror: the gradient reaches the end colour at the middle of the text (or\n"
    "of each line) and runs back through the stops to the start colour.\n"
    "--by word: a word is a run of characters that are not white space, each\n"
    "CJK ideograph, kana or hangul syllable a word of its own; --step and --fit\n"
    "count words, and the white space between words stays outside the tags.\n"
    "The ansi dialect writes a Discord code block: a zero-width space goes\n"
    "between two backticks of the text, so that none closes the block early\n"
    "(--strip takes it out again).\n"
    "--rainbow cannot be combined with --start, --end or --via.\n"
    "--escape is for dialects read as HTML (html, span) or turned into it (the\n"
    "BBCode ones); the others never decode entities, and in the & and § codes\n"
    "&lt; would even read as a code, so --escape with them is a usage error.\n"
    "--bold, --italic, --underline and --strike need a dialect that has codes for\n"
    "them (--list-presets shows which) and its own template, not --prefix, --middle\n"
    "or --suffix of your own; the codes nest, so strict parsers accept them.\n"
    "--endpoints: where the window puts the first chunk one step along the\n"
    "gradient, the first coloured chunk takes the start colour, the last the end\n"
    "colour, and those between sit in proportion to where they start.\n"
    "--fit counts characters as the markup has them (a surrogate pair is one, the\n"
    "final line break is not counted), cannot be combined with --step, tells on\n"
    "standard error which step it chose, and fails with status 1 when even one\n"
    "chunk for the whole text is longer than N.\n"
    "--stats writes: characters in, chunks, coloured chunks, output characters\n"
    "(always of the markup, also with --show).\n"
    "--show uses 24-bit colour escapes; with NO_COLOR set it prints the plain text.\n";

// The format strings and reading markup back.
constexpr std::string_view kFormatNotes =
    "--format writes each coloured chunk from placeholders in braces: {text} the\n"
    "chunk ({text:html} with &, < and > as entities, {text:json} as a JSON string),\n"
    "{HEX} or {hex} the six digits in upper or lower case, {R1} {R2} {G1} {G2} {B1}\n"
    "{B2} one digit each ({r1} ... {b2} in lower case), {red} {green} {blue} a\n"
    "channel in decimal, {ansi} the nearest ANSI colour 0-7 (neighbours of one\n"
    "merge); {{ and }} are braces. {text} appears once. The window's template is\n"
    "the format PREFIX{HEX}MIDDLE{text}SUFFIX. A bad format is a usage error that\n"
    "says at which character it is wrong.\n"
    "--strip reads markup of any dialect (found from the text, or as --preset,\n"
    "--prefix/--middle/--suffix or --format say) and writes its text: tags and\n"
    "codes removed, entities and JSON escapes decoded, line breaks kept; --escape\n"
    "decodes entities in the BBCode dialects too (HTML's always are). Markup it\n"
    "cannot read fails with status 1 and where it stopped, writing nothing. To\n"
    "recolour a post:\n"
    "  huecode-cli --strip < old.txt | huecode-cli --rainbow\n"
    "Exit status: 0 success, 1 input or output error, 2 usage error.\n";

// Moving gradients, with the core's limits.
std::string MotionNotes() {
  return "--frames N writes N frames (" + std::to_string(kMinFrames) + " to " +
         std::to_string(kMaxFrames) +
         ") of the colours flowing along the text,\n"
         "for the animations of tab-list, scoreboard and boss-bar plugins. One cycle\n"
         "of the gradient there and back (the --mirror path, which frames always take)\n"
         "spans the chunks: in frame 0 the first chunk has the start colour, as with\n"
         "--mirror --endpoints and one chunk more after the last; frame k has moved the\n"
         "colours k/N of the cycle, so the last frame leads into the first.\n"
         "--direction left (the default) moves them towards the start of the text,\n"
         "right towards its end. Every other option applies to each frame, but\n"
         "--endpoints, --strip and the pictures do not go with --frames. A text with\n"
         "line breaks needs --per-line, each line then moving on its own: a frame goes\n"
         "into a one-line setting.\n"
         "--animation lines writes one frame a line (frames that span lines with an\n"
         "empty line between them); yaml writes the block plugins read: NAME: (--name),\n"
         "change-interval: MS (--interval, " +
         std::to_string(kMinInterval) + " to " + std::to_string(kMaxInterval) + ", default " +
         std::to_string(kDefaultInterval) +
         ")\nand texts: with each frame a double-quoted line; json writes an array of the\n"
         "frames as strings, or with --preset json of their component arrays.\n"
         "--fit and --stats count every frame's markup, and the longest counts; --stats\n"
         "adds a line with the frames and their output characters in all.\n";
}

}  // namespace

// The help reads top to bottom: the usage, the options, then the notes.
std::string UsageText() {
  return std::string(kUsageHead) + OptionLines() + std::string(kEndOfOptions) +
         Alternatives(Dialects()) + ".\n" + std::string(kConversionNotes) + MotionNotes() +
         std::string(kFormatNotes);
}

namespace {

// How a dialect writes the formatting, as --list-presets says it.
std::string StylesNote(const DialectStyles& styles) {
  if (styles.placement == StylePlacement::NoCodes) {
    return "no formatting";
  }
  std::string codes;
  for (const std::u16string_view code : styles.open) {
    codes += code.empty() ? "" : " " + EncodeUtf8(code);
  }
  return (styles.placement == StylePlacement::AroundText ? "around the text:" : "in every tag:") +
         codes;
}

// A format dialect's chunk "a" in the default start colour, with its frame;
// line breaks and escape characters shown as \n and \e.
std::string FormatExample(const Dialect& dialect) {
  StyledSettings settings;
  settings.text = std::u16string(1, u'a');
  settings.gradient.stops = {kDefaultStart, kDefaultStart};
  settings.markup = dialect.markup();
  std::string shown;
  for (const char c : EncodeUtf8(GenerateStyledCode(settings))) {
    if (c == '\n' || c == '\x1b') {
      shown.push_back('\\');
      shown.push_back(c == '\n' ? 'n' : 'e');
    } else {
      shown.push_back(c);
    }
  }
  return shown;
}

// Characters of UTF-8 text, one column each in the list.
std::size_t Columns(std::string_view utf8) {
  return static_cast<std::size_t>(
      std::count_if(utf8.begin(), utf8.end(), [](char c) { return (c & 0xC0) != 0x80; }));
}

}  // namespace

std::string PresetListText() {
  // Every dialect shown wrapping the chunk "a" in the default start colour,
  // then the codes it has for bold, italic, underline and strikethrough.
  const std::string digits = EncodeUtf8(ColourDigits(kDefaultStart));
  const auto dialects = Dialects();
  std::size_t width = 0;
  std::size_t chunkWidth = 0;
  std::vector<std::string> chunks;
  for (const Dialect& dialect : dialects) {
    width = std::max(width, dialect.key.size());
    chunks.push_back(dialect.format.empty()
                         ? EncodeUtf8(dialect.prefix) + digits + EncodeUtf8(dialect.middle) + "a" +
                               EncodeUtf8(dialect.suffix)
                         : FormatExample(dialect));
    chunkWidth = std::max(chunkWidth, Columns(chunks.back()));
  }
  std::string text;
  for (std::size_t k = 0; k < dialects.size(); ++k) {
    std::string line(dialects[k].key);
    line.resize(width + 2, ' ');
    line += chunks[k];
    line.append(width + 2 + chunkWidth + 2 - Columns(line), ' ');
    text += line + StylesNote(dialects[k].styles) + "\n";
  }
  return text;
}

std::string VersionText() {
  return std::string("huecode-cli ") + HUECODE_VERSION + "\n";
}

}  // namespace huecode
