#include "cli/styled_output.h"

#include <optional>

#include "cli/utf8.h"
#include "core/chunks.h"

namespace huecode {

namespace {

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

}  // namespace

StyledPlan PlanConversion(const CliOptions& options, const ConversionSettings& settings) {
  StyledPlan plan;
  StyledSettings& styled = plan.settings;
  styled.text = settings.text;
  styled.stepText = settings.stepText;
  styled.gradient = {StopsFor(options), options.space};
  styled.markup = settings.markup;
  styled.by = options.by;
  styled.merge = options.merge;
  if (!options.fitLimit) {
    return plan;
  }
  const StyledText text(styled);
  const std::optional<std::int32_t> step = FitStep(text, *options.fitLimit);
  if (!step) {
    const std::int64_t shortest = text.stats(std::max(text.units(), 1)).outputCharacters;
    plan.error = CliError{kExitInputError, "--fit " + std::to_string(*options.fitLimit) +
                                               ": nothing fits, even one chunk for the whole "
                                               "text needs " +
                                               std::to_string(shortest) + " characters"};
    return plan;
  }
  plan.fitCharacters = text.stats(*step).outputCharacters;
  styled.step = step;
  return plan;
}

StyledOutput RenderConversion(const CliOptions& options, const StyledPlan& plan, bool noColor) {
  const StyledSettings& settings = plan.settings;
  StyledOutput output;
  // Built only for what GenerateStyledCode does not cover, so that the
  // window's settings still go straight to the window's conversion.
  std::optional<StyledText> text;
  const auto styledText = [&]() -> const StyledText& {
    if (!text) {
      text.emplace(settings);
    }
    return *text;
  };
  if (!options.show) {
    output.out = EncodeUtf8(GenerateStyledCode(settings));
  } else if (noColor) {
    output.out = EncodeUtf8(TrimSpaces(settings.text));
  } else {
    output.out = EncodeUtf8(styledText().ansi(styledText().step()));
  }
  output.out += '\n';
  if (plan.fitCharacters) {
    output.notes += Note("--fit chose step " + std::to_string(*settings.step) + " (" +
                         std::to_string(*plan.fitCharacters) + " characters)");
  }
  if (options.stats) {
    const ConversionStats stats = styledText().stats(styledText().step());
    output.notes +=
        Note(std::to_string(stats.charactersIn) + " characters in, " +
             std::to_string(stats.chunks) + " chunks, " + std::to_string(stats.colouredChunks) +
             " coloured chunks, " + std::to_string(stats.outputCharacters) + " output characters");
  }
  return output;
}

}  // namespace huecode
