#include <algorithm>
#include <array>
#include <cstring>

#include "library.h"

namespace huecode::library {

namespace {

// The struct's fields by the command line's names, in the struct's order.
struct TextField {
  std::string_view name;
  const char* huecode_options::*field;
  bool markup;  // read when reading markup back, too
};
struct FlagField {
  std::string_view name;
  int huecode_options::*field;
  bool markup;
};

constexpr std::array<TextField, 11> kTextFields{{
    {"--preset", &huecode_options::preset, true},
    {"--format", &huecode_options::format, true},
    {"--prefix", &huecode_options::prefix, true},
    {"--middle", &huecode_options::middle, true},
    {"--suffix", &huecode_options::suffix, true},
    {"--start", &huecode_options::start, false},
    {"--end", &huecode_options::end, false},
    {"--step", &huecode_options::step, false},
    {"--space", &huecode_options::space, false},
    {"--by", &huecode_options::by, false},
    {"--fit", &huecode_options::fit, false},
}};

constexpr std::array<FlagField, 10> kFlagFields{{
    {"--rainbow", &huecode_options::rainbow, false},
    {"--merge", &huecode_options::merge, false},
    {"--escape", &huecode_options::escape, true},
    {"--bold", &huecode_options::bold, false},
    {"--italic", &huecode_options::italic, false},
    {"--underline", &huecode_options::underline, false},
    {"--strike", &huecode_options::strike, false},
    {"--endpoints", &huecode_options::endpoints, false},
    {"--per-line", &huecode_options::per_line, false},
    {"--mirror", &huecode_options::mirror, false},
}};

// The caller's struct as this version knows it: a shorter one is of no
// version there is, and a longer one (from a newer header) may only leave
// what this version does not know at zero, so that nothing asked is ignored.
Result<huecode_options, Error> Known(const huecode_options& given) {
  huecode_options known;
  HUECODE_OPTIONS_INIT(&known);
  if (given.size < sizeof known) {
    return Error{HUECODE_ERROR_ARGUMENT, "the options' size is " + std::to_string(given.size) +
                                             ", less than any version's; set it with "
                                             "huecode_options_init"};
  }
  const auto* bytes = reinterpret_cast<const unsigned char*>(&given);
  if (std::any_of(bytes + sizeof known, bytes + given.size, [](unsigned char b) { return b; })) {
    return Error{HUECODE_ERROR_ARGUMENT,
                 "the options ask for something this version of the library (" +
                     std::string(huecode_version()) + ") does not know"};
  }
  std::memcpy(&known, &given, sizeof known);
  return known;
}

std::optional<Error> ReadVia(const huecode_options& options, ConversionOptions& read,
                             std::vector<std::string_view>& given) {
  if (options.via_count > 0 && options.via == nullptr) {
    return Error{HUECODE_ERROR_ARGUMENT,
                 "via is NULL but via_count is " + std::to_string(options.via_count)};
  }
  for (std::size_t k = 0; k < options.via_count; ++k) {
    if (options.via[k] == nullptr) {
      return Error{HUECODE_ERROR_ARGUMENT, "via[" + std::to_string(k) + "] is NULL"};
    }
    if (auto failure = ApplyConversionOption(read, "--via", options.via[k])) {
      return FromFailure(*std::move(failure));
    }
    given.emplace_back("--via");
  }
  return std::nullopt;
}

}  // namespace

void ForEachOptionField(const OptionFieldVisitor& each) {
  const huecode_options probe{};
  const auto offset = [&probe](const auto& member) {
    return static_cast<std::size_t>(reinterpret_cast<const char*>(&member) -
                                    reinterpret_cast<const char*>(&probe));
  };
  for (const TextField& text : kTextFields) {
    each(text.name, offset(probe.*text.field), false);
  }
  for (const FlagField& flag : kFlagFields) {
    each(flag.name, offset(probe.*flag.field), true);
  }
}

Result<ConversionOptions, Error> ReadOptions(const huecode_options* options, bool markupOnly) {
  ConversionOptions read;
  if (options == nullptr) {
    return read;
  }
  auto known = Known(*options);
  if (!known) {
    return known.error();
  }
  std::vector<std::string_view> given;
  for (const TextField& text : kTextFields) {
    const char* value = (*known).*text.field;
    if (value == nullptr || (markupOnly && !text.markup)) {
      continue;
    }
    if (auto failure = ApplyConversionOption(read, text.name, value)) {
      return FromFailure(*std::move(failure));
    }
    given.push_back(text.name);
  }
  for (const FlagField& flag : kFlagFields) {
    if ((*known).*flag.field != 0 && (!markupOnly || flag.markup)) {
      ApplyConversionOption(read, flag.name, {});
      given.push_back(flag.name);
    }
  }
  if (!markupOnly) {
    if (auto error = ReadVia(*known, read, given)) {
      return *std::move(error);
    }
  }
  if (auto failure = CheckCombination(read, given)) {
    return FromFailure(*std::move(failure));
  }
  return read;
}

}  // namespace huecode::library
