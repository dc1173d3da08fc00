#pragma once

#include <cstddef>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

#include "core/surrogates.h"
#include "options/failure.h"

namespace huecode {

namespace detail {

// Writes one code point as UTF-8; returns the end of what was written.
inline char* PutUtf8(char* out, char32_t c) {
  if (c < 0x80) {
    *out++ = static_cast<char>(c);
  } else if (c < 0x800) {
    *out++ = static_cast<char>(0xC0 | (c >> 6));
    *out++ = static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    *out++ = static_cast<char>(0xE0 | (c >> 12));
    *out++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    *out++ = static_cast<char>(0x80 | (c & 0x3F));
  } else {
    *out++ = static_cast<char>(0xF0 | (c >> 18));
    *out++ = static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    *out++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    *out++ = static_cast<char>(0x80 | (c & 0x3F));
  }
  return out;
}

}  // namespace detail

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

// Strict UTF-8: rejects everything that is not the shortest encoding of a
// Unicode scalar value, so that no byte sequence can smuggle in a surrogate.
Result<std::u16string, Utf8Error> DecodeUtf8(std::string_view bytes);

// Decodes bytes as DecodeUtf8 does and appends the text to out through a
// small buffer, so that room reserved in out is written once and never
// cleared first. On a fault its offset is into bytes, and out has gained
// the text before it (so a character cut at the end of a block, Truncated,
// can be finished with the next).
std::optional<Utf8Error> AppendUtf8(std::string_view bytes, std::u16string& out);

// Room in text for up to so many units, to be written once from front to back.
void ReserveText(std::u16string& text, std::size_t units);

// A lone surrogate (never produced by DecodeUtf8) is written as U+FFFD.
std::string EncodeUtf8(std::u16string_view text);

std::string_view DescribeUtf8Fault(Utf8Fault fault);

// Bytes made safe to print in a one-line message: control characters (C0,
// DEL and C1, which terminals obey) and bytes that are not well-formed UTF-8
// are written as \xNN, or \u00NN for C1; everything else stays as it is.
std::string EscapeForTerminal(std::string_view bytes);

// A markup sink that hands UTF-8 to a writer through a fixed buffer, drained
// as it fills, so that output of any length needs no more memory than that.
// The writer returns 0, or a code (an errno value, say) that stops the
// writing: the first such code is kept, and nothing more is written after it.
class Utf8Sink {
 public:
  using Writer = int (*)(void* context, const char* bytes, std::size_t size);
  Utf8Sink(Writer writer, void* context) : m_writer(writer), m_context(context) {}
  Utf8Sink(const Utf8Sink&) = delete;
  Utf8Sink& operator=(const Utf8Sink&) = delete;

  // Short pieces without surrogates (every tag, nearly every chunk) are
  // encoded here; the rest goes through the general encoder.
  void put(std::u16string_view piece) {
    if (piece.size() <= kShortPiece && m_pendingHigh == 0 &&
        kBufferSize - m_used >= 3 * kShortPiece) {
      char* to = m_buffer + m_used;
      bool whole = true;
      for (const char16_t c : piece) {
        if (IsSurrogate(c)) {
          whole = false;
          break;
        }
        to = detail::PutUtf8(to, c);
      }
      if (whole) {
        m_used = static_cast<std::size_t>(to - m_buffer);
        return;
      }
    }
    encode(piece);
  }
  void putBytes(std::string_view bytes);
  // Writes what is buffered; the writer's first code other than 0, or 0.
  int finish();

 private:
  static constexpr std::size_t kBufferSize = std::size_t{64} * 1024;
  static constexpr std::size_t kShortPiece = 32;
  void encode(std::u16string_view piece);
  void putCodePoint(char32_t c);
  void drain();

  Writer m_writer;
  void* m_context;
  char m_buffer[kBufferSize];
  std::size_t m_used = 0;
  char16_t m_pendingHigh = 0;  // a high surrogate whose partner may start the next piece
  int m_failure = 0;
};

// The sink into a stream, for standard output and files.
class Utf8StreamSink : public Utf8Sink {
 public:
  explicit Utf8StreamSink(std::FILE* out) : Utf8Sink(&Write, out), m_out(out) {}
  // Writes what is buffered and flushes the stream; the first error, if any.
  std::optional<Failure> finish();

 private:
  static int Write(void* stream, const char* bytes, std::size_t size);

  std::FILE* m_out;
};

}  // namespace huecode
