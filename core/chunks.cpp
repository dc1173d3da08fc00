#include "core/chunks.h"

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <locale>
#include <optional>
#include <sstream>
#include <string>

#include "core/colour.h"

namespace huecode {

namespace detail {

namespace {

// Walks the step text the way the step box has always been read: spaces,
// tabs and line feeds are skipped wherever they stand, even inside a number.
class StepReader {
 public:
  explicit StepReader(std::u16string_view text) : m_text(text) {}

  char16_t peek() {
    skipBlanks();
    return m_pos < m_text.size() ? m_text[m_pos] : u'\0';
  }
  char16_t peekAfterNext() {
    skipBlanks();
    std::size_t pos = m_pos + 1;
    while (pos < m_text.size() && IsSkipped(m_text[pos])) {
      ++pos;
    }
    return pos < m_text.size() ? m_text[pos] : u'\0';
  }
  void next() {
    skipBlanks();
    ++m_pos;
  }
  bool atEnd() {
    skipBlanks();
    return m_pos >= m_text.size();
  }

 private:
  static bool IsSkipped(char16_t c) { return c == u' ' || c == u'\t' || c == u'\n'; }
  void skipBlanks() {
    while (m_pos < m_text.size() && IsSkipped(m_text[m_pos])) {
      ++m_pos;
    }
  }

  std::u16string_view m_text;
  std::size_t m_pos = 0;
};

bool IsDigit(char16_t c) {
  return c >= u'0' && c <= u'9';
}

int DigitValue(char16_t c, int radix) {
  const int value = HexDigitValue(c);
  return value < radix ? value : -1;
}

// &H and &O integers are read as non-negative; anything past 2^62 no longer
// matters, since it is out of the step's range long before.
double ReadRadixInteger(StepReader& reader, int radix, bool& anyDigit) {
  std::uint64_t value = 0;
  for (int digit; (digit = DigitValue(reader.peek(), radix)) >= 0; reader.next()) {
    anyDigit = true;
    value = value > (std::uint64_t{1} << 58)
                ? value
                : value * static_cast<std::uint64_t>(radix) + static_cast<std::uint64_t>(digit);
  }
  return static_cast<double>(value);
}

// A plain decimal number in ASCII, correctly rounded; nothing when it is out
// of the range of a double. Some standard libraries have no floating-point
// from_chars. Under Emscripten, strtod (musl's) reads the point the same in
// every locale and keeps the WebAssembly small; elsewhere strtod would follow
// the process's locale, so a stream in the classic locale reads instead.
std::optional<double> ParseDouble(const std::string& number) {
#if defined(__cpp_lib_to_chars)
  double value = 0.0;
  const auto result = std::from_chars(number.data(), number.data() + number.size(), value);
  if (result.ec == std::errc::result_out_of_range) {
    return std::nullopt;
  }
  return value;
#elif defined(__EMSCRIPTEN__)
  errno = 0;
  const double value = std::strtod(number.c_str(), nullptr);
  if (errno == ERANGE) {
    return std::nullopt;
  }
  return value;
#else
  std::istringstream stream(number);
  stream.imbue(std::locale::classic());
  double value = 0.0;
  stream >> value;
  if (stream.fail() || std::isinf(value)) {
    return std::nullopt;
  }
  return value;
#endif
}

// Digits, one decimal point and more digits, appended to the number;
// whether there was any digit at all.
bool ReadDigits(StepReader& reader, std::string& number) {
  bool anyDigit = false;
  const auto digits = [&] {
    for (; IsDigit(reader.peek()); reader.next()) {
      number += static_cast<char>(reader.peek());
      anyDigit = true;
    }
  };
  digits();
  if (reader.peek() == u'.') {
    number += '.';
    reader.next();
    digits();
  }
  return anyDigit;
}

// An exponent (E or D, an optional sign, digits) belongs to the number only
// if at least one digit follows the letter and the sign.
void ReadExponent(StepReader& reader, std::string& number) {
  const char16_t e = reader.peek();
  if (e != u'e' && e != u'E' && e != u'd' && e != u'D') {
    return;
  }
  std::string exponent = "e";
  StepReader probe = reader;
  probe.next();
  if (probe.peek() == u'+' || probe.peek() == u'-') {
    exponent += static_cast<char>(probe.peek());
    probe.next();
  }
  if (!IsDigit(probe.peek())) {
    return;
  }
  for (; IsDigit(probe.peek()); probe.next()) {
    exponent += static_cast<char>(probe.peek());
  }
  number += exponent;
  reader = probe;
}

// Sign, digits, one decimal point and an exponent, in ASCII only. Returns
// nothing when the number is too large for a double.
std::optional<double> ReadDecimal(StepReader& reader, StepNumber& read) {
  std::string number;
  if (reader.peek() == u'+' || reader.peek() == u'-') {
    if (reader.peek() == u'-') {
      number += '-';
    }
    reader.next();
  }
  read.anyDigit = ReadDigits(reader, number);
  if (!read.anyDigit) {
    return 0.0;
  }
  ReadExponent(reader, number);
  read.integer = number.find_first_of(".e") == std::string::npos;
  const std::optional<double> value = ParseDouble(number);
  if (!value) {
    // Too small rounds to 0; too large has no value at all.
    const auto e_pos = number.find('e');
    const bool negativeExponent = e_pos != std::string::npos && number[e_pos + 1] == '-';
    return negativeExponent ? std::optional<double>(0.0) : std::nullopt;
  }
  return value;
}

}  // namespace

StepNumber ReadStep(std::u16string_view stepText) {
  StepReader reader(stepText);
  StepNumber read;
  if (reader.peek() == u'&') {
    const char16_t kind = reader.peekAfterNext();
    if (kind == u'H' || kind == u'h' || kind == u'O' || kind == u'o') {
      reader.next();
      reader.next();
      read.value = ReadRadixInteger(reader, kind == u'H' || kind == u'h' ? 16 : 8, read.anyDigit);
    } else {
      read.value = 0.0;
    }
  } else {
    read.value = ReadDecimal(reader, read);
  }
  read.whole = reader.atEnd();
  return read;
}

}  // namespace detail

std::u16string_view TrimSpaces(std::u16string_view text) {
  const auto first = text.find_first_not_of(u' ');
  if (first == std::u16string_view::npos) {
    return {};
  }
  return text.substr(first, text.find_last_not_of(u' ') - first + 1);
}

std::int32_t CountCharacters(std::u16string_view text) {
  // A low surrogate right after a high one is the second half of a pair; a
  // high surrogate never is, so this matches cutting pair by pair.
  std::int64_t pairs = 0;
  for (std::size_t offset = 1; offset < text.size(); ++offset) {
    if (IsLowSurrogate(text[offset])) {
      pairs += IsHighSurrogate(text[offset - 1]);
    }
  }
  const auto count = static_cast<std::int64_t>(text.size()) - pairs;
  return count > std::numeric_limits<std::int32_t>::max() ? std::numeric_limits<std::int32_t>::max()
                                                          : static_cast<std::int32_t>(count);
}

std::int32_t StepLength(std::u16string_view stepText, std::int32_t n) {
  const std::optional<double> number = detail::ReadStep(stepText).value;
  if (!number) {
    return 1;
  }
  // Halves round to the even neighbour: 2.5 gives 2, 3.5 gives 4.
  const double rounded = std::nearbyint(*number);
  // A step that is 0, negative, or not smaller than the text would cut
  // nothing useful (a negative one would even cut nothing at all), and one
  // beyond 32 bits cannot be a step: each gives one chunk per character.
  if (!(rounded >= 1.0) || rounded > static_cast<double>(n) - 1.0) {
    return 1;
  }
  return static_cast<std::int32_t>(rounded);
}

StepCount ReadStepCount(std::u16string_view stepText) {
  if (stepText.find_first_not_of(u" \t\n") == std::u16string_view::npos) {
    return {0, StepFault::Empty};
  }
  const detail::StepNumber read = detail::ReadStep(stepText);
  if (!read.anyDigit || !read.whole || !read.integer) {
    return {0, StepFault::NotWhole};
  }
  if (!read.value || *read.value > kMaxStep) {
    return {0, StepFault::TooLarge};
  }
  if (*read.value < kMinStep) {
    return {0, StepFault::TooSmall};
  }
  return {static_cast<std::int32_t>(*read.value), StepFault::None};
}

}  // namespace huecode
