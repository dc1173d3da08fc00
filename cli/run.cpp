#include "cli/run.h"

#include <array>
#include <cstdlib>
#include <vector>

#include "cli/completion.h"
#include "cli/input.h"
#include "cli/utf8.h"
#include "core/animation.h"
#include "core/dialects.h"
#include "core/markup_format.h"
#include "core/strip_markup.h"
#include "icu/grapheme.h"

namespace huecode {

namespace {

CliError NotUtf8(std::string_view what, const Utf8Error& fault) {
  return {kExitInputError, std::string(what) + " is not valid UTF-8: " +
                               std::string(DescribeUtf8Fault(fault.fault)) + " at byte offset " +
                               std::to_string(fault.offset)};
}

Result<std::u16string> Decode(std::string_view bytes, std::string_view what) {
  auto decoded = DecodeUtf8(bytes);
  if (!decoded) {
    return NotUtf8(what, decoded.error());
  }
  return std::move(*decoded);
}

std::string JoinWords(std::span<const std::string> words) {
  std::string joined;
  for (std::size_t k = 0; k < words.size(); ++k) {
    if (k > 0) {
      joined += ' ';
    }
    joined += words[k];
  }
  return joined;
}

std::string TextName(const CliOptions& options) {
  if (!options.words.empty()) {
    return "the text";
  }
  return options.inputPath ? "'" + *options.inputPath + "'" : "standard input";
}

// The text from the words, the file or standard input, decoded.
Result<std::u16string> ReadText(const CliOptions& options, std::FILE* in) {
  if (!options.words.empty()) {
    return Decode(JoinWords(options.words), TextName(options));
  }
  auto input = options.inputPath ? ReadDecodedFile(*options.inputPath)
                                 : ReadDecodedStream(in, "standard input");
  if (!input) {
    return input.error();
  }
  if (input->fault) {
    return NotUtf8(TextName(options), *input->fault);
  }
  return std::move(input->text);
}

std::vector<ColourTriple> StopsFor(const CliOptions& options) {
  if (options.rainbow) {
    return RainbowStops();
  }
  std::vector<ColourTriple> stops{options.start};
  stops.insert(stops.end(), options.via.begin(), options.via.end());
  stops.push_back(options.end);
  return stops;
}

std::string Note(const std::string& line) {
  return "huecode-cli: " + line + "\n";
}

void ReportError(std::FILE* err, const CliError& error) {
  // Messages quote the user's arguments, which may hold anything, escape
  // sequences and line breaks included.
  std::fputs(("huecode-cli: " + EscapeForTerminal(error.message) + "\n").c_str(), err);
  std::fflush(err);
}

// https://no-color.org: set and not empty.
bool NoColorRequested() {
  const char* value = std::getenv("NO_COLOR");
  return value != nullptr && value[0] != '\0';
}

void PutDecimal(Utf8StreamSink& sink, int value) {
  char digits[3];
  int count = 0;
  if (value >= 100) {
    digits[count++] = static_cast<char>('0' + value / 100);
  }
  if (value >= 10) {
    digits[count++] = static_cast<char>('0' + value / 10 % 10);
  }
  digits[count++] = static_cast<char>('0' + value % 10);
  sink.putBytes(std::string_view(digits, static_cast<std::size_t>(count)));
}

// The text itself with each chunk in its colour, as 24-bit ANSI escapes.
void WriteAnsi(const StyledText& text, std::int32_t step, Utf8StreamSink& sink) {
  text.forEachChunk(step, [&](const StyledChunk& chunk) {
    if (!chunk.coloured) {
      sink.put(chunk.text);
      return;
    }
    sink.putBytes("\x1b[38;2;");
    PutDecimal(sink, chunk.colour.r);
    sink.putBytes(";");
    PutDecimal(sink, chunk.colour.g);
    sink.putBytes(";");
    PutDecimal(sink, chunk.colour.b);
    sink.putBytes("m");
    sink.put(chunk.text);
    sink.putBytes("\x1b[39m");
  });
}

void Show(const CliOptions& options, const StyledText& text, std::int32_t step,
          Utf8StreamSink& sink) {
  if (NoColorRequested()) {
    sink.put(text.text());
    return;
  }
  // Bold, italic, underline and crossed-out, as terminals know them.
  const auto asked = options.styles.asked();
  constexpr std::string_view kOn[] = {"\x1b[1m", "\x1b[3m", "\x1b[4m", "\x1b[9m"};
  for (std::size_t k = 0; k < asked.size(); ++k) {
    sink.putBytes(asked[k] ? kOn[k] : "");
  }
  WriteAnsi(text, step, sink);
  sink.putBytes(options.styles.any() ? "\x1b[22;23;24;29m" : "");
}

// Each frame in its colours, as the lines form separates them.
void ShowFrames(const CliOptions& options, StyledText text, std::int32_t step,
                Utf8StreamSink& sink) {
  const bool spansLines = text.text().find_first_of(u"\r\n") != std::u16string_view::npos;
  for (std::int32_t frame = 0; frame < text.motion().frames; ++frame) {
    sink.putBytes(frame == 0 ? "" : spansLines ? "\n\n" : "\n");
    text.showFrame(frame);
    Show(options, text, step, sink);
  }
}

std::optional<CliError> WriteConversion(const CliOptions& options, const ConversionPlan& plan,
                                        const Animation& animation, std::FILE* out) {
  Utf8StreamSink sink(out);
  const bool moving = plan.text().motion().moving();
  if (options.show) {
    moving ? ShowFrames(options, plan.text(), plan.step(), sink)
           : Show(options, plan.text(), plan.step(), sink);
  } else if (moving) {
    WriteAnimation(plan.text(), plan.step(), animation, sink);
  } else {
    plan.text().write(plan.step(), sink);
  }
  sink.putBytes("\n");
  return sink.finish();
}

// Of the longest frame when the gradient moves, and then of all frames.
std::string StatsNote(const ConversionPlan& plan) {
  StyledText text = plan.text();
  const FrameLengths frames = MeasureFrames(text, plan.step());
  text.showFrame(frames.longestFrame);
  const ConversionStats stats = text.stats(plan.step());
  std::string note =
      Note(std::to_string(stats.charactersIn) + " characters in, " + std::to_string(stats.chunks) +
           " chunks, " + std::to_string(stats.colouredChunks) + " coloured chunks, " +
           std::to_string(stats.outputCharacters) + " output characters");
  if (!text.motion().moving()) {
    return note;
  }
  return note + Note(std::to_string(text.motion().frames) + " frames, " +
                     std::to_string(frames.all) + " output characters in all");
}

// The plain text of coloured markup; nothing is written when it cannot be read.
int Strip(const CliOptions& options, const CliStreams& streams) {
  const auto fail = [&](const CliError& error) {
    ReportError(streams.err, error);
    return error.exitCode;
  };
  auto markup = MarkupOfOptions(options);
  if (!markup) {
    return fail(markup.error());
  }
  const bool given =
      options.presetKey || options.prefix || options.middle || options.suffix || options.format;
  auto text = ReadText(options, streams.in);
  if (!text) {
    return fail(text.error());
  }
  const Stripped stripped = StripMarkup(*text, given ? &*markup : nullptr, options.escape);
  if (!stripped.text) {
    const TextPlace place = PlaceOf(*text, stripped.errorOffset);
    const std::string dialect =
        stripped.dialect.empty() ? "" : " as " + std::string(stripped.dialect);
    return fail({kExitInputError, "cannot read " + TextName(options) + dialect + " at line " +
                                      std::to_string(place.line) + ", column " +
                                      std::to_string(place.column) + ": " +
                                      EncodeUtf8(stripped.error)});
  }
  Utf8StreamSink sink(streams.out);
  sink.put(*stripped.text);
  sink.putBytes("\n");
  if (auto error = sink.finish()) {
    return fail(*error);
  }
  return kExitOk;
}

// How the frames are written; a text with line breaks moves only line by line.
Result<Animation> AnimationOf(const CliOptions& options, const StyledSettings& settings) {
  auto name = Decode(options.animationName, "the value of --name");
  if (!name) {
    return name.error();
  }
  Animation animation{options.animation, std::move(*name), options.interval};
  if (settings.motion.moving() && FindMotionFault(settings, animation) == MotionFault::LineBreak) {
    return CliError{kExitUsageError,
                    "the text has line breaks, and each frame goes into a one-line setting: give "
                    "--per-line to move each line on its own (see --help)"};
  }
  return animation;
}

int Convert(const CliOptions& options, const CliStreams& streams,
            const PictureWriter& writePictures) {
  const auto fail = [&](const CliError& error) {
    ReportError(streams.err, error);
    return error.exitCode;
  };
  if (options.strip) {
    return Strip(options, streams);
  }
  auto settings = PrepareSettings(options, streams.in);
  if (!settings) {
    return fail(settings.error());
  }
  auto animation = AnimationOf(options, *settings);
  if (!animation) {
    return fail(animation.error());
  }
  auto planned = PlanConversion(options, std::move(*settings));
  if (!planned) {
    return fail(planned.error());
  }
  const ConversionPlan& plan = planned->plan;
  if (options.WantsPictures()) {
    if (!writePictures) {
      return fail({kExitUsageError, "this build cannot write pictures"});
    }
    if (auto error = writePictures(options, plan)) {
      return fail(*error);
    }
  }
  if (auto error = WriteConversion(options, plan, *animation, streams.out)) {
    return fail(*error);
  }
  std::string notes = std::move(planned->notes);
  if (options.stats) {
    notes += StatsNote(plan);
  }
  std::fputs(notes.c_str(), streams.err);
  std::fflush(streams.err);
  return kExitOk;
}

// "bold, italic, underline or strikethrough" when the dialect has none; else
// those asked that it lacks.
std::string MissingStyles(const DialectStyles& codes, Styles asked) {
  constexpr std::array<std::string_view, 4> kNames{"bold", "italic", "underline", "strikethrough"};
  const bool none = codes.placement == StylePlacement::NoCodes;
  std::vector<std::string_view> missing;
  for (std::size_t k = 0; k < kNames.size(); ++k) {
    if (none || (asked.asked()[k] && codes.open[k].empty())) {
      missing.push_back(kNames[k]);
    }
  }
  std::string text;
  for (std::size_t k = 0; k < missing.size(); ++k) {
    text += (k == 0 ? "" : k + 1 == missing.size() ? " or " : ", ") + std::string(missing[k]);
  }
  return text;
}

// Formatting asked of a template that has no codes for it is found before
// any input is read.
std::optional<CliError> RefusedStyles(const CliOptions& options, const MarkupTemplate& markup) {
  if (ComposeStyles(markup, options.styles)) {
    return std::nullopt;
  }
  const Dialect* dialect = DialectOf(markup);
  const std::string why =
      dialect ? "the " + std::string(dialect->key) + " dialect has no codes for " +
                    MissingStyles(dialect->styles, options.styles)
              : "bold, italic, underline and strikethrough need a dialect's own template, and "
                "--prefix, --middle, --suffix and --format make one of your own";
  return CliError{kExitUsageError, why + " (see --help)"};
}

// HTML-safe text in a dialect whose readers never decode entities is refused
// before any input is read, also when reading markup back.
std::optional<CliError> RefusedEscape(const CliOptions& options, const MarkupTemplate& markup) {
  if (!options.escape || AllowsEntities(markup)) {
    return std::nullopt;
  }
  return CliError{kExitUsageError,
                  "--escape cannot be used with the " + std::string(DialectOf(markup)->key) +
                      " dialect: its readers never decode HTML entities, so &lt; would show as "
                      "typed, and where & starts a code (&l is bold) it would change the text "
                      "(see --help)"};
}

// The stops, where they sit, and the blend.
GradientStops GradientOf(const CliOptions& options) {
  GradientStops gradient{StopsFor(options), options.space};
  if (!options.rainbow && !options.viaPositions.empty()) {
    gradient.positions = options.viaPositions;
    gradient.positions.insert(gradient.positions.begin(), std::nullopt);
    gradient.positions.emplace_back(std::nullopt);
  }
  gradient.mirror = options.mirror;
  return gradient;
}

// The preset's template (or the initial one) with the parts given by hand,
// or the format given; a bad format, or HTML-safe text where entities are
// never read, is a usage error.
Result<MarkupTemplate> MarkupOf(const CliOptions& options) {
  MarkupTemplate markup = options.presetKey
                              ? FindDialect(*options.presetKey).value_or(InitialTemplate())
                              : InitialTemplate();
  const struct {
    const std::optional<std::string>& bytes;
    std::string_view optionName;
    std::u16string& part;
  } overrides[] = {{options.prefix, "--prefix", markup.prefix},
                   {options.middle, "--middle", markup.middle},
                   {options.suffix, "--suffix", markup.suffix},
                   {options.format, "--format", markup.format}};
  for (const auto& override : overrides) {
    if (!override.bytes) {
      continue;
    }
    auto part = Decode(*override.bytes, "the value of " + std::string(override.optionName));
    if (!part) {
      return part.error();
    }
    override.part = std::move(*part);
  }
  if (options.format) {
    const ParsedFormat parsed = ParseFormat(markup.format, DialectOf(markup) != nullptr);
    if (!parsed.format) {
      const TextPlace place = PlaceOf(markup.format, parsed.error.offset);
      return CliError{kExitUsageError, "invalid --format '" + *options.format + "' at character " +
                                           std::to_string(place.column) + ": " +
                                           parsed.error.message + " (see --help)"};
    }
  }
  if (auto refused = RefusedEscape(options, markup)) {
    return *std::move(refused);
  }
  return markup;
}

}  // namespace

Result<MarkupTemplate> MarkupOfOptions(const CliOptions& options) {
  return MarkupOf(options);
}

Result<StyledSettings> PrepareSettings(const CliOptions& options, std::FILE* in) {
  StyledSettings settings;
  settings.gradient = GradientOf(options);
  settings.perLine = options.perLine;
  settings.by = options.by;
  if (options.by == Segmentation::Graphemes) {
    settings.graphemes = &GraphemeBoundaries;
  }
  settings.merge = options.merge;
  settings.escape = options.escape;
  settings.motion = options.motion;
  auto markup = MarkupOf(options);
  if (!markup) {
    return markup.error();
  }
  settings.markup = std::move(*markup);
  if (auto refused = RefusedStyles(options, settings.markup)) {
    return *std::move(refused);
  }
  settings.styles = options.styles;
  settings.endpoints = options.endpoints;
  auto step = Decode(options.stepText, "the value of --step");
  if (!step) {
    return step.error();
  }
  settings.stepText = std::move(*step);

  auto text = ReadText(options, in);
  if (!text) {
    return text.error();
  }
  settings.text = std::move(*text);
  return settings;
}

ConversionPlan::ConversionPlan(StyledSettings settings)
    : m_settings(std::make_unique<const StyledSettings>(std::move(settings))),
      m_text(*m_settings),
      m_step(m_text.step()) {}

Result<PlannedConversion> PlanConversion(const CliOptions& options, StyledSettings settings) {
  ConversionPlan plan(std::move(settings));
  if (!options.fitLimit) {
    return PlannedConversion{std::move(plan), {}};
  }
  const StyledText& text = plan.text();
  const Fit fit = FitStep(text, *options.fitLimit);
  if (!fit.step) {
    return CliError{kExitInputError, "--fit " + std::to_string(*options.fitLimit) +
                                         ": nothing fits, even one chunk for the whole "
                                         "text needs " +
                                         std::to_string(fit.length) + " characters"};
  }
  const std::int32_t step = *fit.step;
  plan.fixStep(step);
  const std::string characters = " (" + std::to_string(fit.length) + " characters)";
  // The step box reads a step as long as the text as 1, so a single chunk for
  // a longer text is said in words that give it back.
  const std::string chosen = step > 1 && step >= text.segments() ? "one tag for the whole text"
                                                                 : "step " + std::to_string(step);
  return PlannedConversion{std::move(plan), Note("--fit chose " + chosen + characters)};
}

int RunCli(std::span<const std::string> args, const CliStreams& streams,
           const PictureWriter& writePictures) {
  const auto parsed = ParseCommandLine(args);
  if (!parsed) {
    ReportError(streams.err, parsed.error());
    return parsed.error().exitCode;
  }
  const CliOptions& options = *parsed;
  std::string text;
  switch (options.action) {
    case CliAction::Convert:
      return Convert(options, streams, writePictures);
    case CliAction::Help:
      text = UsageText();
      break;
    case CliAction::Version:
      text = VersionText();
      break;
    case CliAction::ListPresets:
      text = PresetListText();
      break;
    case CliAction::Completion:
      text = CompletionScript(options.completionShell);
      break;
  }
  Utf8StreamSink sink(streams.out);
  sink.putBytes(text);
  if (auto error = sink.finish()) {
    ReportError(streams.err, *error);
    return error->exitCode;
  }
  return kExitOk;
}

}  // namespace huecode
