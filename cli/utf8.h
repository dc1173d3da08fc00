#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace huecode {

enum class Utf8Fault {
  UnexpectedContinuation,  // a continuation byte where a character should start
  InvalidLeadByte,         // C0, C1, F5..FF: never part of well-formed UTF-8
  Truncated,               // the text ends inside a character
  BadContinuation,         // a character's next byte is not 80..BF
  Overlong,                // a character written with more bytes than it needs
  Surrogate,               // U+D800..U+DFFF, which only UTF-16 may carry
  BeyondUnicode,           // above U+10FFFF
};

struct Utf8Error {
  std::size_t offset = 0;  // of the first byte of the malformed character
  Utf8Fault fault = Utf8Fault::InvalidLeadByte;
};

struct Utf8Decoding {
  std::u16string text;  // empty when there is an error
  std::optional<Utf8Error> error;
};

// Strict UTF-8: rejects everything that is not the shortest encoding of a
// Unicode scalar value, so that no byte sequence can smuggle in a surrogate.
Utf8Decoding DecodeUtf8(std::string_view bytes);

// A lone surrogate (never produced by DecodeUtf8) is written as U+FFFD.
std::string EncodeUtf8(std::u16string_view text);

std::string_view DescribeUtf8Fault(Utf8Fault fault);

// Bytes made safe to print in a one-line message: control characters (C0,
// DEL and C1, which terminals obey) and bytes that are not well-formed UTF-8
// are written as \xNN, or \u00NN for C1; everything else stays as it is.
std::string EscapeForTerminal(std::string_view bytes);

}  // namespace huecode
