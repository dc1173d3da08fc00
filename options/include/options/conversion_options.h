#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/conversion.h"
#include "core/dialects.h"
#include "core/gradient_stops.h"
#include "core/names.h"
#include "options/failure.h"

namespace huecode {

// The options of one conversion as the command line names them, checked one
// value at a time as they are given. Every front end that takes options by
// name (huecode-cli, the C library and the npm package) fills this, so that
// each value is read and each mistake worded in one place. Texts stay UTF-8
// bytes here; they are decoded when the conversion is set up, so that a bad
// byte is an input error.
struct ConversionOptions {
  ColourTriple start = kDefaultStart;
  ColourTriple end = kDefaultEnd;
  std::string stepText = "1";
  std::optional<std::string> presetKey;
  std::optional<std::string> prefix;
  std::optional<std::string> middle;
  std::optional<std::string> suffix;
  std::optional<std::string> format;  // a format string instead of the template

  // Beyond the window: every one of these is off unless asked for.
  std::vector<ColourTriple> via;  // stops between start and end
  // Where each --via stop sits, in hundredths of a percent, when given as
  // COLOUR@POSITION; and each --via as typed, for naming a stop out of order.
  std::vector<std::optional<std::int32_t>> viaPositions;
  std::vector<std::string> viaTexts;
  bool rainbow = false;
  ColourSpace space = ColourSpace::Rgb;
  Segmentation by = Segmentation::Characters;
  bool merge = false;
  bool escape = false;
  Styles styles;  // only with a dialect that has codes for them
  bool endpoints = false;
  std::optional<std::int64_t> fitLimit;  // in characters, a surrogate pair being one
  bool perLine = false;
  bool mirror = false;
};

// Decimal digits only, as a limit or a count takes them; a number beyond
// what any output could reach is kept as the largest one.
std::optional<std::int64_t> ParseLimit(std::string_view text);

// A usage failure's message names the option as the command line spells it;
// huecode-cli adds where to read more.
Failure UsageFailure(std::string message);

// Sets the option named as on the command line ("--start", "--bold") from its
// value (ignored for a flag). Nothing for a name that is not a conversion's.
std::optional<Failure> ApplyConversionOption(ConversionOptions& options, std::string_view name,
                                             std::string_view value);
bool IsConversionOption(std::string_view name);
// What only the whole set can tell: options given together that contradict
// each other (given holds their names, in any order), too many stops, stops
// out of order.
std::optional<Failure> CheckCombination(const ConversionOptions& options,
                                        const std::vector<std::string_view>& given);

// "a, b or c" from the keys of the items.
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

Failure BadValue(std::string_view what, std::string_view value, std::string_view option,
                 std::string_view expected);

// Looks the value up in a table of rows with a key and a value.
template <typename Names, typename Value>
std::optional<Failure> PickNamed(const Names& names, Value& target, std::string_view value,
                                 std::string_view what, std::string_view option) {
  for (const auto& named : names) {
    if (named.key == value) {
      target = named.value;
      return std::nullopt;
    }
  }
  return BadValue(what, value, option, Alternatives(names));
}

// Setters for a table of options of any options struct: a text kept as
// given, a flag turned on.
template <typename Options, auto Field>
std::optional<Failure> StoreOptionText(Options& options, std::string_view value) {
  options.*Field = std::string(value);
  return std::nullopt;
}

template <typename Options, auto Field>
std::optional<Failure> SetOptionFlag(Options& options, std::string_view) {
  options.*Field = true;
  return std::nullopt;
}

// The text as UTF-8, or an input failure saying what is not: "the text is not
// valid UTF-8: ... at byte offset N".
Result<std::u16string> DecodeText(std::string_view bytes, std::string_view what);

// The template or format the options ask for: --preset's, then --prefix,
// --middle, --suffix and --format. A bad format, or HTML-safe text where
// entities are never read, is a usage failure.
Result<MarkupTemplate> MarkupOfOptions(const ConversionOptions& options);

// Everything but the text; usage failures come before the text is read.
Result<StyledSettings> SettingsOfOptions(const ConversionOptions& options,
                                         const GraphemeFinder& graphemes);

// A conversion planned once, for the markup, the notes and the pictures: the
// text cut into units and the step to write it with (the one --fit chose).
class ConversionPlan {
 public:
  explicit ConversionPlan(StyledSettings settings);

  const StyledSettings& settings() const { return *m_settings; }
  const StyledText& text() const { return m_text; }
  std::int32_t step() const { return m_step; }
  void fixStep(std::int32_t step) { m_step = step; }

 private:
  // On the heap, so that the text's views of it survive moving the plan.
  std::unique_ptr<const StyledSettings> m_settings;
  StyledText m_text;
  std::int32_t m_step;
};

// The plan, with the step --fit asks for and what it chose ("--fit chose step
// 3 (51 characters)"), empty without --fit.
struct PlannedConversion {
  ConversionPlan plan;
  std::string fitNote;
};
Result<PlannedConversion> PlanConversion(const ConversionOptions& options, StyledSettings settings);

// The text's first sequence that the destination takes as a code, where it
// is and what it makes of it ("note: "&l" in the text (line 1, column 2) is
// a code where legacy markup is read: bold; --escape shows it as typed"),
// control characters escaped; empty when there is none.
std::string TextCodeNote(const ConversionPlan& plan);

// The plain text of markup, read as the options' dialect, template or format
// say, or as found when they say none; an input failure naming textName and
// where it stopped when it cannot be read.
Result<std::u16string> StripWithOptions(const ConversionOptions& options,
                                        std::u16string_view markup, std::string_view textName);

}  // namespace huecode
