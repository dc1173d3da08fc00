#include "cli/options.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <limits>
#include <string>
#include <utility>
#include <vector>

#include "core/dialects.h"
#include "core/gradient_stops.h"
#include "options/utf8.h"

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
  std::optional<Failure> (*apply)(CliOptions& options, std::string_view value);
  std::vector<std::string_view> (*choices)() = nullptr;  // a value's fixed list, if it has one
};

Failure UsageError(std::string message) {
  return {kExitUsageError, std::move(message) + " (see --help)"};
}

template <const auto& Names>
std::vector<std::string_view> KeysOf() {
  std::vector<std::string_view> keys;
  for (const auto& named : Names) {
    keys.push_back(named.key);
  }
  return keys;
}

template <auto Field>
constexpr auto StoreText = &StoreOptionText<CliOptions, Field>;
template <auto Field>
constexpr auto SetFlag = &SetOptionFlag<CliOptions, Field>;

// A whole number within the core's range for it.
template <bool (*InRange)(std::int64_t)>
std::optional<Failure> ApplyCount(std::int32_t& target, std::string_view value,
                                  std::string_view option, std::int64_t low, std::int64_t high) {
  const auto number = ParseLimit(value);
  if (!number || !InRange(*number)) {
    return BadValue("value", value, option,
                    "a whole number from " + std::to_string(low) + " to " + std::to_string(high));
  }
  target = static_cast<std::int32_t>(*number);
  return std::nullopt;
}

template <CliAction Action>
std::optional<Failure> SetAction(CliOptions& options, std::string_view) {
  options.action = Action;
  return std::nullopt;
}

// A row without apply is a conversion's option, read by ApplyConversionOption.
constexpr std::array<OptionEntry, 38> kOptions{{
    {"--start", "COLOUR", "start colour RRGGBB, '#' optional (default FF00FF)", nullptr},
    {"--end", "COLOUR", "end colour RRGGBB, '#' optional (default 00FF00)", nullptr},
    {"--step", "TEXT", "characters per colour, read like the step box (default 1)", nullptr},
    {"--preset", "NAME", "markup dialect, one of those listed below", nullptr, &KeysOf<kDialects>},
    {"--prefix", "TEXT", "text before the colour digits", nullptr},
    {"--middle", "TEXT", "text between the colour digits and the chunk", nullptr},
    {"--suffix", "TEXT", "text after the chunk", nullptr},
    {"--input", "FILE", "read the text from FILE instead of standard input",
     StoreText<&CliOptions::inputPath>},
    {"--preview-png", "FILE", "also write the effect preview as a PNG",
     StoreText<&CliOptions::previewPngPath>},
    {"--bar-png", "FILE", "also write the gradient bar as a PNG",
     StoreText<&CliOptions::barPngPath>},
    {"--via", "COLOUR[@POS]",
     "a stop between start and end, at POS percent (0 to 100) or evenly spaced; repeat for more",
     nullptr},
    {"--rainbow", "", "six stops from red to violet instead of start and end", nullptr},
    {"--space", "SPACE", "rgb (default) or oklab, a perceptual blend", nullptr, &KeysOf<kSpaces>},
    {"--by", "UNIT",
     "char (default), grapheme (a user-perceived character) or word (each CJK character "
     "one)",
     nullptr, &KeysOf<kUnits>},
    {"--merge", "", "neighbouring chunks of one colour share one tag", nullptr},
    {"--escape", "", "show the text's own codes as typed, the dialect's way (below)", nullptr},
    {"--bold", "", "bold text, in the dialect's own code", nullptr},
    {"--italic", "", "italic text", nullptr},
    {"--underline", "", "underlined text", nullptr},
    {"--strike", "", "struck-through text", nullptr},
    {"--endpoints", "", "first and last coloured chunk exactly on start and end", nullptr},
    {"--fit", "N", "the smallest step whose markup has at most N characters", nullptr},
    {"--stats", "", "count the markup's parts on standard error", SetFlag<&CliOptions::stats>},
    {"--show", "", "print the text in its colours, not the markup", SetFlag<&CliOptions::show>},
    {"--completion", "SHELL", "print the completion script for bash, zsh or fish and exit",
     [](CliOptions& o, std::string_view v) -> std::optional<Failure> {
       if (auto error = PickNamed(kShells, o.completionShell, v, "shell", "--completion")) {
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
    {"--per-line", "", "each line takes the whole gradient", nullptr},
    {"--mirror", "", "run the gradient to the end at the middle and back", nullptr},
    {"--format", "FORMAT", "a format string for each chunk, such as '<#{HEX}>{text}' (below)",
     nullptr},
    {"--strip", "", "read coloured markup back and write its plain text",
     SetFlag<&CliOptions::strip>},
    {"--frames", "N", "write N frames of the colours flowing along the text (below)",
     [](CliOptions& o, std::string_view v) {
       return ApplyCount<&FramesInRange>(o.motion.frames, v, "--frames", kMinFrames, kMaxFrames);
     }},
    {"--direction", "DIR", "left (default) or right: where the frames move the colours",
     [](CliOptions& o, std::string_view v) {
       return PickNamed(kDirections, o.motion.direction, v, "direction", "--direction");
     },
     &KeysOf<kDirections>},
    {"--animation", "FORM", "lines (default), yaml or json: how the frames are written",
     [](CliOptions& o, std::string_view v) {
       return PickNamed(kForms, o.animation, v, "form", "--animation");
     },
     &KeysOf<kForms>},
    {"--name", "NAME", "the animation's name in the yaml block (default gradient)",
     [](CliOptions& o, std::string_view v) -> std::optional<Failure> {
       if (v.empty()) {
         return UsageFailure("--name needs a name for the animation");
       }
       o.animationName = std::string(v);
       return std::nullopt;
     }},
    {"--interval", "MS", "milliseconds between frames in the yaml block",
     [](CliOptions& o, std::string_view v) {
       return ApplyCount<&IntervalInRange>(o.interval, v, "--interval", kMinInterval, kMaxInterval);
     }},
}};

// Options that mean something only beside another: the first of each pair
// is refused without the second.
constexpr std::array<std::pair<std::string_view, std::string_view>, 4> kNeeds{{
    {"--direction", "--frames"},
    {"--animation", "--frames"},
    {"--name", "--animation"},
    {"--interval", "--animation"},
}};

// The motion's options without what they go with; the name and the interval
// are the yaml block's.
std::optional<Failure> RefusedMotion(const CliOptions& options,
                                     const std::vector<std::string_view>& given) {
  const auto wasGiven = [&](std::string_view name) {
    return std::find(given.begin(), given.end(), name) != given.end();
  };
  for (const auto& [option, needed] : kNeeds) {
    if (wasGiven(option) && !wasGiven(needed)) {
      return UsageFailure(std::string(option) + " goes with " + std::string(needed));
    }
  }
  if ((wasGiven("--name") || wasGiven("--interval")) && options.animation != AnimationForm::Yaml) {
    return UsageFailure(std::string(wasGiven("--name") ? "--name" : "--interval") +
                        " goes with --animation yaml");
  }
  return std::nullopt;
}

const OptionEntry* FindOption(std::string_view name) {
  for (const OptionEntry& entry : kOptions) {
    if (entry.name == name) {
      return &entry;
    }
  }
  return nullptr;
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
    auto error = entry->apply ? entry->apply(options, value)
                              : ApplyConversionOption(options, entry->name, value);
    if (error) {
      return UsageError(std::move(error->message));
    }
    if (options.action != CliAction::Convert) {
      return options;
    }
  }
  auto wrong = CheckCombination(options, given);
  if (!wrong) {
    wrong = RefusedMotion(options, given);
  }
  if (wrong) {
    return UsageError(std::move(wrong->message));
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
    "trailing line break is dropped. The text's outer spaces are left out, as in the\n"
    "window (tabs, line breaks and other spaces stay).\n"
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
    "The ansi dialect writes a Discord code block: each colour of clear chroma\n"
    "takes the code of the nearest hue (31 red, 32 green, 33 yellow, 34 blue,\n"
    "35 magenta, 36 cyan), a grey 30 or 37 by lightness; Discord shows them as\n"
    "30 4F545C, 31 DC322F, 32 859900, 33 B58900, 34 268BD2, 35 D33682,\n"
    "36 2AA198, 37 FFFFFF. A zero-width space goes between two backticks of the\n"
    "text, so that none closes the block early, and on a blank first or last\n"
    "line, which Discord would drop (--strip takes them out again).\n"
    "In minimessage, ampersand, legacy, section, json and ansi a chunk never\n"
    "ends between CR and LF.\n"
    "--rainbow cannot be combined with --start, --end or --via.\n"
    "The text's own codes reach the destination as codes: a tag or an entity in\n"
    "html and span; & with a code character (0-9, a-f, k-o, r, x; &l is bold)\n"
    "in ampersand (also &#RRGGBB) and legacy; § with any character wherever a\n"
    "Minecraft client reads the text (ampersand, legacy, section, json,\n"
    "minimessage); a tag or a backslash before < or \\ in minimessage; ESC in\n"
    "ansi. A note on standard error names the first one and what it does.\n"
    "--escape shows them as typed, each dialect its own way: &, < and > as HTML\n"
    "entities in html and span (and in the BBCode dialects, whose boards turn\n"
    "them into HTML); the chunk's colour code again between & and the code\n"
    "character in ampersand and legacy; a backslash before < and \\ in\n"
    "minimessage. Nothing shows § in a Minecraft client or ESC in Discord, so\n"
    "--escape with section, json or ansi is a usage error, and a § that it\n"
    "cannot show elsewhere is named in the note.\n"
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
    "channel in decimal, {ansi} the ANSI colour 0-7 as ansi takes it (neighbours\n"
    "of one merge); {{ and }} are braces. {text} appears once. The window's template is\n"
    "the format PREFIX{HEX}MIDDLE{text}SUFFIX. A bad format is a usage error that\n"
    "says at which character it is wrong.\n"
    "--strip reads markup of any dialect (found from the text, or as --preset,\n"
    "--prefix/--middle/--suffix or --format say) and writes its text: tags and\n"
    "codes removed, entities and JSON escapes decoded, line breaks kept; --escape\n"
    "decodes entities in the BBCode dialects too (HTML's always are). The text is\n"
    "what the destination shows: the text's own codes are read as a server or a\n"
    "chat reads them. Only a final LF of the input is dropped, so a text ending\n"
    "in CR comes back whole. Markup it cannot read fails with status 1 and where\n"
    "it stopped, writing nothing. To recolour a post:\n"
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
