#include "cli/run.h"

#include <array>
#include <cstdlib>
#include <vector>

#include "cli/completion.h"
#include "cli/input.h"
#include "core/animation.h"
#include "core/dialects.h"
#include "core/markup_format.h"
#include "core/strip_markup.h"
#include "icu/grapheme.h"
#include "options/utf8.h"

namespace huecode {

namespace {

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
    return DecodeText(JoinWords(options.words), TextName(options));
  }
  auto input = options.inputPath ? ReadDecodedFile(*options.inputPath)
                                 : ReadDecodedStream(in, "standard input");
  if (!input) {
    return input.error();
  }
  if (input->fault) {
    return Failure{kExitInputError, TextName(options) + " is not valid UTF-8: " +
                                        std::string(DescribeUtf8Fault(input->fault->fault)) +
                                        " at byte offset " + std::to_string(input->fault->offset)};
  }
  return std::move(input->text);
}

std::string Note(const std::string& line) {
  return "huecode-cli: " + line + "\n";
}

void ReportError(std::FILE* err, const Failure& error) {
  // Messages quote the user's arguments, which may hold anything, escape
  // sequences and line breaks included.
  std::fputs(("huecode-cli: " + EscapeForTerminal(error.message) + "\n").c_str(), err);
  std::fflush(err);
}

// A usage failure of the conversion's options points to the help.
Failure SeeHelp(Failure failure) {
  if (failure.exitCode == kExitUsageError) {
    failure.message += " (see --help)";
  }
  return failure;
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

std::optional<Failure> WriteConversion(const CliOptions& options, const ConversionPlan& plan,
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
  const auto fail = [&](const Failure& error) {
    ReportError(streams.err, error);
    return error.exitCode;
  };
  // A usage error is found before any input is read.
  if (auto markup = MarkupOfOptions(options); !markup) {
    return fail(SeeHelp(markup.error()));
  }
  auto text = ReadText(options, streams.in);
  if (!text) {
    return fail(text.error());
  }
  auto stripped = StripWithOptions(options, *text, TextName(options));
  if (!stripped) {
    return fail(stripped.error());
  }
  Utf8StreamSink sink(streams.out);
  sink.put(*stripped);
  sink.putBytes("\n");
  if (auto error = sink.finish()) {
    return fail(*error);
  }
  return kExitOk;
}

// How the frames are written; a text with line breaks moves only line by line.
Result<Animation> AnimationOf(const CliOptions& options, const StyledSettings& settings) {
  auto name = DecodeText(options.animationName, "the value of --name");
  if (!name) {
    return name.error();
  }
  Animation animation{options.animation, std::move(*name), options.interval};
  if (settings.motion.moving() && FindMotionFault(settings, animation) == MotionFault::LineBreak) {
    return SeeHelp(
        UsageFailure("the text has line breaks, and each frame goes into a one-line "
                     "setting: give --per-line to move each line on its own"));
  }
  return animation;
}

int Convert(const CliOptions& options, const CliStreams& streams,
            const PictureWriter& writePictures) {
  const auto fail = [&](const Failure& error) {
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
  std::string notes = planned->fitNote.empty() ? "" : Note(planned->fitNote);
  if (options.stats) {
    notes += StatsNote(plan);
  }
  std::fputs(notes.c_str(), streams.err);
  std::fflush(streams.err);
  return kExitOk;
}

}  // namespace

Result<StyledSettings> PrepareSettings(const CliOptions& options, std::FILE* in) {
  auto settings = SettingsOfOptions(options, &GraphemeBoundaries);
  if (!settings) {
    return SeeHelp(settings.error());
  }
  auto text = ReadText(options, in);
  if (!text) {
    return text.error();
  }
  settings->text = std::move(*text);
  settings->motion = options.motion;
  return settings;
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
