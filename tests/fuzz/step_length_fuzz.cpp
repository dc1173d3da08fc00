#include <cstddef>
#include <cstdint>
#include <string>

#include "core/chunks.h"
#include "tests/fuzz/fuzz_input.h"

namespace huecode::fuzz {
namespace {

bool IsBlank(char16_t c) {
  return c == u' ' || c == u'\t' || c == u'\n';
}

std::u16string WithoutBlanks(std::u16string_view text) {
  std::u16string kept;
  for (const char16_t c : text) {
    if (!IsBlank(c)) {
      kept.push_back(c);
    }
  }
  return kept;
}

std::u16string WithBlankAfterEach(std::u16string_view text, char16_t blank) {
  std::u16string spread;
  for (const char16_t c : text) {
    spread.push_back(c);
    spread.push_back(blank);
  }
  return spread;
}

// The value of a text of 1 to 15 ASCII digits, or -1 for any other text.
std::int64_t PlainDecimal(std::u16string_view text) {
  if (text.empty() || text.size() > 15) {
    return -1;
  }
  std::int64_t value = 0;
  for (const char16_t c : text) {
    if (c < u'0' || c > u'9') {
      return -1;
    }
    value = value * 10 + (c - u'0');
  }
  return value;
}

}  // namespace
}  // namespace huecode::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace huecode;
  using namespace huecode::fuzz;
  FuzzInput input(data, size);
  const std::int32_t n = input.int32();
  const std::u16string stepText = input.units(input.byte());
  const std::u16string rest = input.restAsUnits();

  const std::int32_t step = StepLength(stepText, n);
  FUZZ_CHECK(step >= 1);
  FUZZ_CHECK(step == 1 || static_cast<std::int64_t>(step) <= static_cast<std::int64_t>(n) - 1);

  // Spaces, tabs and line feeds are ignored wherever they stand.
  FUZZ_CHECK(StepLength(WithoutBlanks(stepText), n) == step);
  FUZZ_CHECK(StepLength(WithBlankAfterEach(stepText, u'\t'), n) == step);
  FUZZ_CHECK(StepLength(u" \n" + stepText + u" ", n) == step);

  // 'x' continues no number in any notation, so reading stops there and
  // whatever follows cannot matter.
  FUZZ_CHECK(StepLength(stepText + u'x' + rest, n) == step);

  // The strict reading takes no text the lenient one reads otherwise, and
  // refuses whatever has more after the number.
  const StepCount strict = ReadStepCount(stepText);
  if (strict.fault == StepFault::None &&
      static_cast<std::int64_t>(strict.value) <= static_cast<std::int64_t>(n) - 1) {
    FUZZ_CHECK(step == strict.value);
  }
  FUZZ_CHECK(ReadStepCount(stepText + u'x' + rest).fault != StepFault::None);

  const std::int64_t plain = PlainDecimal(WithoutBlanks(stepText));
  if (plain >= 0) {
    const bool usable = plain >= 1 && plain <= static_cast<std::int64_t>(n) - 1;
    FUZZ_CHECK(step == (usable ? plain : 1));
    FUZZ_CHECK(strict.fault == (plain == 0         ? StepFault::TooSmall
                                : plain > kMaxStep ? StepFault::TooLarge
                                                   : StepFault::None));
  }
  return 0;
}
