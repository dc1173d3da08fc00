#include "cli/run.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "cli/completion.h"
#include "cli/input.h"
#include "cli/styled_output.h"
#include "cli/utf8.h"
#include "core/dialects.h"
#include "core/markup_template.h"

namespace huecode {

namespace {

struct DecodedText {
  std::u16string text;
  std::optional<CliError> error;
};

DecodedText Decode(std::string_view bytes, std::string_view what) {
  Utf8Decoding decoded = DecodeUtf8(bytes);
  if (decoded.error) {
    return {
        std::u16string(),
        CliError{kExitInputError, std::string(what) + " is not valid UTF-8: " +
                                      std::string(DescribeUtf8Fault(decoded.error->fault)) +
                                      " at byte offset " + std::to_string(decoded.error->offset)}};
  }
  return {std::move(decoded.text), std::nullopt};
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

InputBytes ReadText(const CliOptions& options, std::FILE* in) {
  if (!options.words.empty()) {
    return {JoinWords(options.words), std::nullopt};
  }
  InputBytes input =
      options.inputPath ? ReadFile(*options.inputPath) : ReadStream(in, "standard input");
  input.bytes.resize(DropTrailingLineBreak(input.bytes).size());
  return input;
}

std::string TextName(const CliOptions& options) {
  if (!options.words.empty()) {
    return "the text";
  }
  return options.inputPath ? "'" + *options.inputPath + "'" : "standard input";
}

struct PartOverride {
  const std::optional<std::string>* bytes;
  std::string_view optionName;
  std::u16string* target;
};

// Decodes one optional template part over the preset's value.
std::optional<CliError> OverridePart(const std::optional<std::string>& bytes,
                                     std::string_view optionName, std::u16string& part) {
  if (!bytes) {
    return std::nullopt;
  }
  DecodedText decoded = Decode(*bytes, "the value of " + std::string(optionName));
  if (decoded.error) {
    return decoded.error;
  }
  part = std::move(decoded.text);
  return std::nullopt;
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

}  // namespace

PreparedSettings PrepareSettings(const CliOptions& options, std::FILE* in) {
  PreparedSettings prepared;
  ConversionSettings& settings = prepared.settings;
  settings.start = options.start;
  settings.end = options.end;
  settings.markup = options.presetKey ? FindDialect(*options.presetKey).value_or(InitialTemplate())
                                      : InitialTemplate();
  const PartOverride overrides[] = {{&options.prefix, "--prefix", &settings.markup.prefix},
                                    {&options.middle, "--middle", &settings.markup.middle},
                                    {&options.suffix, "--suffix", &settings.markup.suffix}};
  for (const PartOverride& part : overrides) {
    if (auto error = OverridePart(*part.bytes, part.optionName, *part.target)) {
      prepared.error = std::move(error);
      return prepared;
    }
  }
  DecodedText step = Decode(options.stepText, "the value of --step");
  if (step.error) {
    prepared.error = std::move(step.error);
    return prepared;
  }
  settings.stepText = std::move(step.text);

  InputBytes input = ReadText(options, in);
  if (input.error) {
    prepared.error = std::move(input.error);
    return prepared;
  }
  DecodedText text = Decode(input.bytes, TextName(options));
  if (text.error) {
    prepared.error = std::move(text.error);
    return prepared;
  }
  settings.text = std::move(text.text);
  return prepared;
}

std::optional<CliError> WriteAll(std::FILE* out, std::string_view bytes) {
  errno = 0;
  const std::size_t written = std::fwrite(bytes.data(), 1, bytes.size(), out);
  if (written != bytes.size() || std::fflush(out) != 0 || std::ferror(out)) {
    return CliError{kExitInputError, std::string("cannot write the output: ") +
                                         std::strerror(errno != 0 ? errno : EIO)};
  }
  return std::nullopt;
}

int RunCli(std::span<const std::string> args, const CliStreams& streams,
           const PictureWriter& writePictures) {
  const auto fail = [&](const CliError& error) {
    ReportError(streams.err, error);
    return error.exitCode;
  };
  const ParsedCommandLine parsed = ParseCommandLine(args);
  if (parsed.error) {
    return fail(*parsed.error);
  }
  const CliOptions& options = parsed.options;
  std::string output;
  std::string notes;
  if (options.action == CliAction::Help) {
    output = UsageText();
  } else if (options.action == CliAction::Version) {
    output = VersionText();
  } else if (options.action == CliAction::ListPresets) {
    output = PresetListText();
  } else if (options.action == CliAction::Completion) {
    output = CompletionScript(options.completionShell);
  } else {
    PreparedSettings prepared = PrepareSettings(options, streams.in);
    if (prepared.error) {
      return fail(*prepared.error);
    }
    const StyledPlan plan = PlanConversion(options, prepared.settings);
    if (plan.error) {
      return fail(*plan.error);
    }
    StyledOutput rendered = RenderConversion(options, plan, NoColorRequested());
    output = std::move(rendered.out);
    notes = std::move(rendered.notes);
    if (options.WantsPictures()) {
      if (!writePictures) {
        return fail({kExitUsageError, "this build cannot write pictures"});
      }
      if (auto error = writePictures(options, prepared.settings)) {
        return fail(*error);
      }
    }
  }
  if (auto error = WriteAll(streams.out, output)) {
    return fail(*error);
  }
  std::fputs(notes.c_str(), streams.err);
  std::fflush(streams.err);
  return kExitOk;
}

}  // namespace huecode
