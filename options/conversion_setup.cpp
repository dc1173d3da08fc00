#include <array>
#include <utility>

#include "core/markup_format.h"
#include "core/strip_markup.h"
#include "options/conversion_options.h"
#include "options/utf8.h"

namespace huecode {

namespace {

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
std::optional<Failure> RefusedStyles(const ConversionOptions& options,
                                     const MarkupTemplate& markup) {
  if (ComposeStyles(markup, options.styles)) {
    return std::nullopt;
  }
  const Dialect* dialect = DialectOf(markup);
  return UsageFailure(dialect ? "the " + std::string(dialect->key) + " dialect has no codes for " +
                                    MissingStyles(dialect->styles, options.styles)
                              : "bold, italic, underline and strikethrough need a dialect's own "
                                "template, and --prefix, --middle, --suffix and --format make "
                                "one of your own");
}

// HTML-safe text in a dialect whose readers never decode entities is refused
// before any input is read, also when reading markup back.
std::optional<Failure> RefusedEscape(const ConversionOptions& options,
                                     const MarkupTemplate& markup) {
  if (!options.escape || AllowsEntities(markup)) {
    return std::nullopt;
  }
  return UsageFailure("--escape cannot be used with the " + std::string(DialectOf(markup)->key) +
                      " dialect: its readers never decode HTML entities, so &lt; would show as "
                      "typed, and where & starts a code (&l is bold) it would change the text");
}

// The stops, where they sit, and the blend.
GradientStops GradientOf(const ConversionOptions& options) {
  std::vector<ColourTriple> stops = RainbowStops();
  if (!options.rainbow) {
    stops = {options.start};
    stops.insert(stops.end(), options.via.begin(), options.via.end());
    stops.push_back(options.end);
  }
  GradientStops gradient{std::move(stops), options.space};
  if (!options.rainbow && !options.viaPositions.empty()) {
    gradient.positions = options.viaPositions;
    gradient.positions.insert(gradient.positions.begin(), std::nullopt);
    gradient.positions.emplace_back(std::nullopt);
  }
  gradient.mirror = options.mirror;
  return gradient;
}

std::optional<Failure> CheckFormat(const ConversionOptions& options, const MarkupTemplate& markup) {
  if (!options.format) {
    return std::nullopt;
  }
  const ParsedFormat parsed = ParseFormat(markup.format, DialectOf(markup) != nullptr);
  if (parsed.format) {
    return std::nullopt;
  }
  const TextPlace place = PlaceOf(markup.format, parsed.error.offset);
  return UsageFailure("invalid --format '" + *options.format + "' at character " +
                      std::to_string(place.column) + ": " + parsed.error.message);
}

}  // namespace

Result<std::u16string> DecodeText(std::string_view bytes, std::string_view what) {
  // Room for the text is reserved, not cleared: a long text is written once.
  std::u16string text;
  ReserveText(text, bytes.size());
  if (const auto fault = AppendUtf8(bytes, text)) {
    return Failure{kExitInputError, std::string(what) + " is not valid UTF-8: " +
                                        std::string(DescribeUtf8Fault(fault->fault)) +
                                        " at byte offset " + std::to_string(fault->offset)};
  }
  return text;
}

Result<MarkupTemplate> MarkupOfOptions(const ConversionOptions& options) {
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
    auto part = DecodeText(*override.bytes, "the value of " + std::string(override.optionName));
    if (!part) {
      return part.error();
    }
    override.part = std::move(*part);
  }
  if (auto bad = CheckFormat(options, markup)) {
    return *std::move(bad);
  }
  if (auto refused = RefusedEscape(options, markup)) {
    return *std::move(refused);
  }
  return markup;
}

Result<StyledSettings> SettingsOfOptions(const ConversionOptions& options,
                                         const GraphemeFinder& graphemes) {
  StyledSettings settings;
  settings.gradient = GradientOf(options);
  settings.perLine = options.perLine;
  settings.by = options.by;
  if (options.by == Segmentation::Graphemes) {
    settings.graphemes = graphemes;
  }
  settings.merge = options.merge;
  settings.escape = options.escape;
  auto markup = MarkupOfOptions(options);
  if (!markup) {
    return markup.error();
  }
  settings.markup = std::move(*markup);
  if (auto refused = RefusedStyles(options, settings.markup)) {
    return *std::move(refused);
  }
  settings.styles = options.styles;
  settings.endpoints = options.endpoints;
  auto step = DecodeText(options.stepText, "the value of --step");
  if (!step) {
    return step.error();
  }
  settings.stepText = std::move(*step);
  return settings;
}

ConversionPlan::ConversionPlan(StyledSettings settings)
    : m_settings(std::make_unique<const StyledSettings>(std::move(settings))),
      m_text(*m_settings),
      m_step(m_text.step()) {}

Result<PlannedConversion> PlanConversion(const ConversionOptions& options,
                                         StyledSettings settings) {
  ConversionPlan plan(std::move(settings));
  if (!options.fitLimit) {
    return PlannedConversion{std::move(plan), {}};
  }
  const StyledText& text = plan.text();
  const Fit fit = FitStep(text, *options.fitLimit);
  if (!fit.step) {
    return Failure{kExitInputError, "--fit " + std::to_string(*options.fitLimit) +
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
  return PlannedConversion{std::move(plan), "--fit chose " + chosen + characters};
}

Result<std::u16string> StripWithOptions(const ConversionOptions& options,
                                        std::u16string_view markup, std::string_view textName) {
  auto as = MarkupOfOptions(options);
  if (!as) {
    return as.error();
  }
  const bool given =
      options.presetKey || options.prefix || options.middle || options.suffix || options.format;
  Stripped stripped = StripMarkup(markup, given ? &*as : nullptr, options.escape);
  if (!stripped.text) {
    const TextPlace place = PlaceOf(markup, stripped.errorOffset);
    const std::string dialect =
        stripped.dialect.empty() ? "" : " as " + std::string(stripped.dialect);
    return Failure{kExitInputError, "cannot read " + std::string(textName) + dialect + " at line " +
                                        std::to_string(place.line) + ", column " +
                                        std::to_string(place.column) + ": " +
                                        EncodeUtf8(stripped.error)};
  }
  return std::move(*stripped.text);
}

}  // namespace huecode
