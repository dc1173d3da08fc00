#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "options/utf8.h"

namespace huecode::test {

// The decoding as a text and an error side by side, so that each case reads both.
struct Utf8Decoding {
  std::u16string text;
  std::optional<Utf8Error> error;
};

inline Utf8Decoding Decoding(std::string_view bytes) {
  auto decoded = DecodeUtf8(bytes);
  if (!decoded) {
    return {std::u16string(), decoded.error()};
  }
  return {std::move(*decoded), std::nullopt};
}

}  // namespace huecode::test
