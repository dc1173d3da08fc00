#include "options/conversion_options.h"

#include <algorithm>
#include <limits>
#include <utility>

namespace huecode {

namespace {

Result<ColourTriple> ColourOf(std::string_view value, std::string_view option) {
  const auto colour = ReadColour(value);
  if (!colour) {
    return BadValue("colour", value, option, "six hexadecimal digits RRGGBB");
  }
  return *colour;
}

// One option that takes a value or is a flag; apply sets it.
struct ConversionOption {
  std::string_view name;
  std::optional<Failure> (*apply)(ConversionOptions& options, std::string_view value);
};

template <auto Field>
constexpr auto StoreText = &StoreOptionText<ConversionOptions, Field>;
template <auto Field>
constexpr auto SetFlag = &SetOptionFlag<ConversionOptions, Field>;

template <bool Styles::*Field>
std::optional<Failure> SetStyle(ConversionOptions& options, std::string_view) {
  options.styles.*Field = true;
  return std::nullopt;
}

template <ColourTriple ConversionOptions::*Field>
std::optional<Failure> StoreColour(ConversionOptions& options, std::string_view value,
                                   std::string_view option) {
  auto colour = ColourOf(value, option);
  if (!colour) {
    return colour.error();
  }
  options.*Field = *colour;
  return std::nullopt;
}

std::optional<Failure> AddVia(ConversionOptions& options, std::string_view value) {
  const std::size_t at = value.find('@');
  auto colour = ColourOf(value.substr(0, at), "--via");
  if (!colour) {
    return colour.error();
  }
  options.via.push_back(*colour);
  options.viaTexts.emplace_back(value);
  if (at == std::string_view::npos) {
    options.viaPositions.emplace_back();
    return std::nullopt;
  }
  const auto position = ReadPosition(value.substr(at + 1));
  if (!position) {
    return BadValue("position", value.substr(at + 1), "--via " + std::string(value),
                    "a number from 0 to 100 with at most two decimals");
  }
  options.viaPositions.push_back(position);
  return std::nullopt;
}

constexpr std::array<ConversionOption, 22> kConversionOptions{{
    {"--start",
     [](ConversionOptions& o, std::string_view v) {
       return StoreColour<&ConversionOptions::start>(o, v, "--start");
     }},
    {"--end",
     [](ConversionOptions& o, std::string_view v) {
       return StoreColour<&ConversionOptions::end>(o, v, "--end");
     }},
    {"--step", StoreText<&ConversionOptions::stepText>},
    {"--preset",
     [](ConversionOptions& o, std::string_view v) -> std::optional<Failure> {
       if (!FindDialect(v)) {
         return UsageFailure("unknown preset '" + std::string(v) + "': expected " +
                             Alternatives(Dialects()));
       }
       o.presetKey = std::string(v);
       return std::nullopt;
     }},
    {"--prefix", StoreText<&ConversionOptions::prefix>},
    {"--middle", StoreText<&ConversionOptions::middle>},
    {"--suffix", StoreText<&ConversionOptions::suffix>},
    {"--format", StoreText<&ConversionOptions::format>},
    {"--via", &AddVia},
    {"--rainbow", SetFlag<&ConversionOptions::rainbow>},
    {"--space",
     [](ConversionOptions& o, std::string_view v) {
       return PickNamed(kSpaces, o.space, v, "colour space", "--space");
     }},
    {"--by", [](ConversionOptions& o,
                std::string_view v) { return PickNamed(kUnits, o.by, v, "unit", "--by"); }},
    {"--merge", SetFlag<&ConversionOptions::merge>},
    {"--escape", SetFlag<&ConversionOptions::escape>},
    {"--bold", &SetStyle<&Styles::bold>},
    {"--italic", &SetStyle<&Styles::italic>},
    {"--underline", &SetStyle<&Styles::underline>},
    {"--strike", &SetStyle<&Styles::strike>},
    {"--endpoints", SetFlag<&ConversionOptions::endpoints>},
    {"--fit",
     [](ConversionOptions& o, std::string_view v) -> std::optional<Failure> {
       const auto limit = ParseLimit(v);
       if (!limit) {
         return BadValue("limit", v, "--fit", "a whole number of characters, 0 or more");
       }
       o.fitLimit = limit;
       return std::nullopt;
     }},
    {"--per-line", SetFlag<&ConversionOptions::perLine>},
    {"--mirror", SetFlag<&ConversionOptions::mirror>},
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

const ConversionOption* FindConversionOption(std::string_view name) {
  const auto* found =
      std::find_if(kConversionOptions.begin(), kConversionOptions.end(),
                   [&](const ConversionOption& option) { return option.name == name; });
  return found == kConversionOptions.end() ? nullptr : found;
}

std::optional<Failure> FindConflict(const std::vector<std::string_view>& given) {
  const auto wasGiven = [&](std::string_view name) {
    return std::find(given.begin(), given.end(), name) != given.end();
  };
  for (const auto& [option, other] : kConflicts) {
    if (wasGiven(option) && wasGiven(other)) {
      return UsageFailure(std::string(option) + " cannot be combined with " + std::string(other));
    }
  }
  return std::nullopt;
}

// The core blends at most kMaxStops stops, as the page and the binding allow.
std::optional<Failure> TooManyStops(const ConversionOptions& options) {
  if (options.via.size() + 2 <= kMaxStops) {
    return std::nullopt;
  }
  return UsageFailure("a gradient has at most " + std::to_string(kMaxStops) +
                      " stops: start, end and " + std::to_string(kMaxStops - 2) + " --via, not " +
                      std::to_string(options.via.size()));
}

// Positions must not decrease from one --via to the next.
std::optional<Failure> MisplacedVia(const ConversionOptions& options) {
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
  return UsageFailure("the stop --via " + options.viaTexts[*misplaced - 1] +
                      " is placed before an earlier stop: positions must increase");
}

}  // namespace

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

Failure UsageFailure(std::string message) {
  return {kExitUsageError, std::move(message)};
}

Failure BadValue(std::string_view what, std::string_view value, std::string_view option,
                 std::string_view expected) {
  return UsageFailure("invalid " + std::string(what) + " '" + std::string(value) + "' for " +
                      std::string(option) + ": expected " + std::string(expected));
}

bool IsConversionOption(std::string_view name) {
  return FindConversionOption(name) != nullptr;
}

std::optional<Failure> ApplyConversionOption(ConversionOptions& options, std::string_view name,
                                             std::string_view value) {
  const ConversionOption* option = FindConversionOption(name);
  return option ? option->apply(options, value) : std::nullopt;
}

std::optional<Failure> CheckCombination(const ConversionOptions& options,
                                        const std::vector<std::string_view>& given) {
  if (auto conflict = FindConflict(given)) {
    return conflict;
  }
  if (auto tooMany = TooManyStops(options)) {
    return tooMany;
  }
  return MisplacedVia(options);
}

}  // namespace huecode
