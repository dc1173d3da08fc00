#include "cli/utf8.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <utility>

#include "core/colour.h"

namespace huecode {

namespace {

// Why the character at offset, which U8_NEXT refused, is malformed.
Utf8Fault FaultAt(std::string_view bytes, std::size_t offset) {
  const auto lead = static_cast<std::uint8_t>(bytes[offset]);
  if (U8_IS_TRAIL(lead)) {
    return Utf8Fault::UnexpectedContinuation;
  }
  if (lead < 0xC2) {
    return Utf8Fault::Overlong;
  }
  if (lead > 0xF4) {
    return lead <= 0xF7 ? Utf8Fault::BeyondUnicode : Utf8Fault::InvalidLeadByte;
  }
  const std::size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
  for (std::size_t k = 1; k < length; ++k) {
    if (offset + k >= bytes.size()) {
      return Utf8Fault::Truncated;
    }
    if (!U8_IS_TRAIL(bytes[offset + k])) {
      return Utf8Fault::BadContinuation;
    }
  }
  // Every byte is in place, so the value is out of range for its lead:
  // ED A0.. would be a surrogate, F4 90.. beyond U+10FFFF, E0 and F0 overlong.
  return lead == 0xED   ? Utf8Fault::Surrogate
         : lead == 0xF4 ? Utf8Fault::BeyondUnicode
                        : Utf8Fault::Overlong;
}

// A lone surrogate, which UTF-8 cannot carry, becomes U+FFFD.
constexpr UChar32 Scalar(UChar32 c) {
  return U_IS_SURROGATE(c) ? 0xFFFD : c;
}

}  // namespace

Result<std::u16string, Utf8Error> DecodeUtf8(std::string_view bytes) {
  // Each character has one lead byte and gives one unit, two from a
  // four-byte lead: counted first, so that only the room the text takes is
  // allocated and touched.
  std::size_t units = 0;
  for (const char byte : bytes) {
    const auto b = static_cast<std::uint8_t>(byte);
    units += static_cast<std::size_t>(!U8_IS_TRAIL(b)) + static_cast<std::size_t>(b >= 0xF0);
  }
  std::u16string text(units, u'\0');
  std::size_t used = 0;
  std::size_t offset = 0;
  while (offset < bytes.size()) {
    const std::size_t start = offset;
    UChar32 c = 0;
    U8_NEXT(reinterpret_cast<const std::uint8_t*>(bytes.data()), offset, bytes.size(), c);
    if (c < 0) {
      return Utf8Error{start, FaultAt(bytes, start)};
    }
    U16_APPEND_UNSAFE(text.data(), used, c);
  }
  text.resize(used);
  return text;
}

std::string EncodeUtf8(std::u16string_view text) {
  std::string out(text.size() * 3, '\0');
  std::size_t used = 0;
  for (std::size_t k = 0; k < text.size();) {
    UChar32 c = 0;
    U16_NEXT(text.data(), k, text.size(), c);
    U8_APPEND_UNSAFE(out.data(), used, Scalar(c));
  }
  out.resize(used);
  return out;
}

std::string_view DescribeUtf8Fault(Utf8Fault fault) {
  switch (fault) {
    case Utf8Fault::UnexpectedContinuation:
      return "unexpected continuation byte";
    case Utf8Fault::InvalidLeadByte:
      return "invalid byte";
    case Utf8Fault::Truncated:
      return "truncated character";
    case Utf8Fault::BadContinuation:
      return "invalid continuation byte";
    case Utf8Fault::Overlong:
      return "overlong encoding";
    case Utf8Fault::Surrogate:
      return "encoded surrogate";
    case Utf8Fault::BeyondUnicode:
      return "code point above U+10FFFF";
  }
  return "invalid byte";
}

std::string EscapeForTerminal(std::string_view bytes) {
  const auto escape = [](std::string& out, std::string_view prefix, unsigned value) {
    char digits[2];
    detail::WriteHexByte(digits, value);
    out += prefix;
    out.append(digits, 2);
  };
  std::string out;
  out.reserve(bytes.size());
  std::size_t k = 0;
  while (k < bytes.size()) {
    const auto lead = static_cast<unsigned char>(bytes[k]);
    const std::size_t length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
    // One character at a time keeps this linear however many bytes are bad.
    const auto one = DecodeUtf8(bytes.substr(k, length));
    if (!one || one->empty()) {
      escape(out, "\\x", lead);
      ++k;
      continue;
    }
    const char16_t c = one->front();
    if (c < 0x20 || c == 0x7F) {
      escape(out, "\\x", c);
    } else if (c >= 0x80 && c <= 0x9F) {
      escape(out, "\\u00", c);
    } else {
      out += bytes.substr(k, length);
    }
    k += length;
  }
  return out;
}

void Utf8StreamSink::encode(std::u16string_view piece) {
  std::size_t k = 0;
  if (m_pendingHigh != 0) {
    const char16_t high = std::exchange(m_pendingHigh, 0);
    const bool paired = !piece.empty() && U16_IS_TRAIL(piece.front());
    putCodePoint(paired ? U16_GET_SUPPLEMENTARY(high, piece.front()) : 0xFFFD);
    k = paired ? 1 : 0;
  }
  // A high surrogate at the end waits for its partner in the next piece.
  if (piece.size() > k && U16_IS_LEAD(piece.back())) {
    m_pendingHigh = piece.back();
    piece.remove_suffix(1);
  }
  while (k < piece.size()) {
    if (kBufferSize - m_used < 4) {
      drain();
    }
    k += appendPlain(piece.substr(k, std::min(piece.size() - k, (kBufferSize - m_used) / 3)));
    if (k < piece.size() && U16_IS_SURROGATE(piece[k])) {
      UChar32 c = 0;
      U16_NEXT(piece.data(), k, piece.size(), c);
      putCodePoint(Scalar(c));
    }
  }
}

void Utf8StreamSink::putBytes(std::string_view bytes) {
  while (!bytes.empty()) {
    const std::size_t take = std::min(bytes.size(), kBufferSize - m_used);
    std::memcpy(m_buffer + m_used, bytes.data(), take);
    m_used += take;
    bytes.remove_prefix(take);
    if (m_used == kBufferSize) {
      drain();
    }
  }
}

void Utf8StreamSink::putCodePoint(char32_t c) {
  if (kBufferSize - m_used < 4) {
    drain();
  }
  U8_APPEND_UNSAFE(m_buffer, m_used, c);
}

void Utf8StreamSink::drain() {
  if (m_errno == 0 && m_used > 0) {
    errno = 0;
    if (std::fwrite(m_buffer, 1, m_used, m_out) != m_used) {
      m_errno = errno != 0 ? errno : EIO;
    }
  }
  m_used = 0;
}

std::optional<CliError> Utf8StreamSink::finish() {
  if (m_pendingHigh != 0) {
    m_pendingHigh = 0;
    putCodePoint(0xFFFD);
  }
  drain();
  if (m_errno == 0) {
    errno = 0;
    if (std::fflush(m_out) != 0 || std::ferror(m_out)) {
      m_errno = errno != 0 ? errno : EIO;
    }
  }
  if (m_errno != 0) {
    return CliError{kExitInputError,
                    std::string("cannot write the output: ") + std::strerror(m_errno)};
  }
  return std::nullopt;
}

}  // namespace huecode
