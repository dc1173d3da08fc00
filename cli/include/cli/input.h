#pragma once

#include <cstddef>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

#include "options/failure.h"
#include "options/utf8.h"

namespace huecode {

// echo and editors end a file with one line break; that one is not part of the text.
std::string_view DropTrailingLineBreak(std::string_view bytes);

// A text read as UTF-8: the text, or the first fault with its byte offset.
struct DecodedInput {
  std::u16string text;
  std::optional<Utf8Error> fault;
};

// Blocks read at once: large enough that reading costs a few calls per
// megabyte, small enough to stay in the cache while they are decoded.
inline constexpr std::size_t kReadBlock = std::size_t{256} << 10;

// Every byte of the stream but its final line break, in binary, decoded one
// block at a time as it is read, so that the bytes are never held whole; name
// is used in the error message. A fault does not stop the reading: a read
// error is still found.
Result<DecodedInput> ReadDecodedStream(std::FILE* stream, std::string_view name,
                                       std::size_t block = kReadBlock);
Result<DecodedInput> ReadDecodedFile(const std::string& path);

}  // namespace huecode
