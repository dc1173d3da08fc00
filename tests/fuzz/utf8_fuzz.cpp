#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "options/utf8.h"
#include "tests/cli/utf8_decoding.h"
#include "tests/fuzz/fuzz_input.h"

namespace huecode::fuzz {
namespace {

using test::Decoding;
using test::Utf8Decoding;

// Length of the well-formed sequence at offset by the table of well-formed
// UTF-8 byte sequences, or nothing when none starts there.
std::optional<std::size_t> WellFormedLength(std::string_view bytes, std::size_t offset) {
  const auto at = [&](std::size_t k) -> int {
    return offset + k < bytes.size() ? static_cast<unsigned char>(bytes[offset + k]) : -1;
  };
  const auto in = [](int byte, int low, int high) { return byte >= low && byte <= high; };
  const int b0 = at(0);
  if (in(b0, 0x00, 0x7F)) {
    return 1;
  }
  if (in(b0, 0xC2, 0xDF)) {
    return in(at(1), 0x80, 0xBF) ? std::optional<std::size_t>(2) : std::nullopt;
  }
  int low = 0x80;
  int high = 0xBF;
  std::size_t length = 0;
  if (b0 == 0xE0) {
    low = 0xA0, length = 3;
  } else if (in(b0, 0xE1, 0xEC) || in(b0, 0xEE, 0xEF)) {
    length = 3;
  } else if (b0 == 0xED) {
    high = 0x9F, length = 3;
  } else if (b0 == 0xF0) {
    low = 0x90, length = 4;
  } else if (in(b0, 0xF1, 0xF3)) {
    length = 4;
  } else if (b0 == 0xF4) {
    high = 0x8F, length = 4;
  } else {
    return std::nullopt;
  }
  if (!in(at(1), low, high)) {
    return std::nullopt;
  }
  for (std::size_t k = 2; k < length; ++k) {
    if (!in(at(k), 0x80, 0xBF)) {
      return std::nullopt;
    }
  }
  return length;
}

// Offset of the first sequence that is not well-formed, if any.
std::optional<std::size_t> FirstIllFormed(std::string_view bytes) {
  std::size_t offset = 0;
  while (offset < bytes.size()) {
    const auto length = WellFormedLength(bytes, offset);
    if (!length) {
      return offset;
    }
    offset += *length;
  }
  return std::nullopt;
}

std::u16string WithReplacedLoneSurrogates(std::u16string_view text) {
  std::u16string replaced(text);
  for (std::size_t k = 0; k < replaced.size(); ++k) {
    const char16_t c = replaced[k];
    if (c >= 0xD800 && c <= 0xDBFF && k + 1 < replaced.size() && replaced[k + 1] >= 0xDC00 &&
        replaced[k + 1] <= 0xDFFF) {
      ++k;
    } else if (IsSurrogate(c)) {
      replaced[k] = 0xFFFD;
    }
  }
  return replaced;
}

}  // namespace
}  // namespace huecode::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace huecode;
  using namespace huecode::fuzz;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);

  const Utf8Decoding decoded = Decoding(bytes);
  const std::optional<std::size_t> illFormed = FirstIllFormed(bytes);
  FUZZ_CHECK(decoded.error.has_value() == illFormed.has_value());
  if (decoded.error) {
    FUZZ_CHECK(decoded.error->offset == *illFormed);
    FUZZ_CHECK(decoded.text.empty());
    FUZZ_CHECK(!DescribeUtf8Fault(decoded.error->fault).empty());
  } else {
    FUZZ_CHECK(CountLoneSurrogates(decoded.text) == 0);
    FUZZ_CHECK(EncodeUtf8(decoded.text) == bytes);
  }

  // The same bytes read as UTF-16: whatever the text, what is written is
  // well-formed UTF-8 that reads back as the text, lone surrogates as U+FFFD.
  FuzzInput input(data, size);
  const std::u16string text = input.restAsUnits();
  const std::string encoded = EncodeUtf8(text);
  const Utf8Decoding again = Decoding(encoded);
  FUZZ_CHECK(!again.error);
  FUZZ_CHECK(again.text == WithReplacedLoneSurrogates(text));
  return 0;
}
