#include "options/utf8.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <utility>

#include "core/colour.h"
#include "core/surrogates.h"

#ifdef __linux__
#include <sys/mman.h>
#endif

namespace huecode {

namespace {

constexpr bool IsContinuation(unsigned char byte) {
  return (byte & 0xC0) == 0x80;
}

struct Sequence {
  char32_t codePoint = 0;
  std::size_t length = 0;
  std::optional<Utf8Fault> fault;
};

// The code point that starts at k, moving k past it; a lone surrogate is U+FFFD.
char32_t NextCodePoint(std::u16string_view text, std::size_t& k) {
  const char32_t c = text[k++];
  if (IsHighSurrogate(c) && k < text.size() && IsLowSurrogate(text[k])) {
    return CombineSurrogates(c, text[k++]);
  }
  return IsSurrogate(c) ? 0xFFFD : c;
}

// How many units at the start of the text are ASCII.
std::size_t AsciiPrefix(std::u16string_view text) {
  std::size_t k = 0;
  for (; k + 4 <= text.size(); k += 4) {
    std::uint64_t four;
    std::memcpy(&four, text.data() + k, sizeof four);
    if ((four & 0xFF80FF80FF80FF80u) != 0) {
      break;
    }
  }
  while (k < text.size() && text[k] < 0x80) {
    ++k;
  }
  return k;
}

void NarrowAscii(const char16_t* from, std::size_t count, char* to) {
  for (std::size_t k = 0; k < count; ++k) {
    to[k] = static_cast<char>(from[k]);
  }
}

Sequence DecodeOne(std::string_view bytes, std::size_t offset) {
  const auto lead = static_cast<unsigned char>(bytes[offset]);
  if (lead < 0x80) {
    return {lead, 1, std::nullopt};
  }
  if (IsContinuation(lead)) {
    return {0, 0, Utf8Fault::UnexpectedContinuation};
  }
  std::size_t length = 0;
  char32_t value = 0;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
    value = lead & 0x1F;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    value = lead & 0x0F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    value = lead & 0x07;
  } else if (lead == 0xC0 || lead == 0xC1) {
    return {0, 0, Utf8Fault::Overlong};
  } else {
    return {0, 0, lead <= 0xF7 ? Utf8Fault::BeyondUnicode : Utf8Fault::InvalidLeadByte};
  }
  for (std::size_t k = 1; k < length; ++k) {
    if (offset + k >= bytes.size()) {
      return {0, 0, Utf8Fault::Truncated};
    }
    const auto next = static_cast<unsigned char>(bytes[offset + k]);
    if (!IsContinuation(next)) {
      return {0, 0, Utf8Fault::BadContinuation};
    }
    value = (value << 6) | (next & 0x3F);
  }
  constexpr char32_t kShortest[] = {0, 0, 0x80, 0x800, 0x10000};
  if (value < kShortest[length]) {
    return {0, 0, Utf8Fault::Overlong};
  }
  if (IsSurrogate(value)) {
    return {0, 0, Utf8Fault::Surrogate};
  }
  if (value > 0x10FFFF) {
    return {0, 0, Utf8Fault::BeyondUnicode};
  }
  return {value, length, std::nullopt};
}

}  // namespace

Result<std::u16string, Utf8Error> DecodeUtf8(std::string_view bytes) {
  // Every byte gives at most one unit, so the text is written through a
  // pointer into room for all of them and cut to size at the end.
  std::u16string text(bytes.size(), u'\0');
  char16_t* out = text.data();
  std::size_t offset = 0;
  while (offset < bytes.size()) {
    const auto byte = static_cast<unsigned char>(bytes[offset]);
    if (byte < 0x80) {
      *out++ = byte;
      ++offset;
      continue;
    }
    const Sequence sequence = DecodeOne(bytes, offset);
    if (sequence.fault) {
      return Utf8Error{offset, *sequence.fault};
    }
    const char32_t c = sequence.codePoint;
    if (c >= 0x10000) {
      const auto units = SplitSurrogates(c);
      out = std::copy(units.begin(), units.end(), out);
    } else {
      *out++ = static_cast<char16_t>(c);
    }
    offset += sequence.length;
  }
  text.resize(static_cast<std::size_t>(out - text.data()));
  return text;
}

std::optional<Utf8Error> AppendUtf8(std::string_view bytes, std::u16string& out) {
  std::array<char16_t, 8192> units{};
  std::size_t used = 0;
  const auto flush = [&] {
    out.append(units.data(), used);
    used = 0;
  };
  std::size_t offset = 0;
  while (offset < bytes.size()) {
    if (units.size() - used < 8) {
      flush();
    }
    // Tags are ASCII, and so is much of many texts: eight bytes at a time.
    std::uint64_t eight = 0;
    if (bytes.size() - offset >= 8) {
      std::memcpy(&eight, bytes.data() + offset, sizeof eight);
      if ((eight & 0x8080808080808080u) == 0) {
        for (std::size_t k = 0; k < 8; ++k) {
          units[used + k] = static_cast<unsigned char>(bytes[offset + k]);
        }
        used += 8;
        offset += 8;
        continue;
      }
    }
    const Sequence sequence = DecodeOne(bytes, offset);
    if (sequence.fault) {
      flush();
      return Utf8Error{offset, *sequence.fault};
    }
    const char32_t c = sequence.codePoint;
    if (c >= 0x10000) {
      const auto [high, low] = SplitSurrogates(c);
      units[used++] = high;
      units[used++] = low;
    } else {
      units[used++] = static_cast<char16_t>(c);
    }
    offset += sequence.length;
  }
  flush();
  return std::nullopt;
}

std::string EncodeUtf8(std::u16string_view text) {
  std::string out;
  out.reserve(text.size() * 3);
  for (std::size_t k = 0; k < text.size();) {
    char bytes[4];
    out.append(bytes,
               static_cast<std::size_t>(detail::PutUtf8(bytes, NextCodePoint(text, k)) - bytes));
  }
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

void Utf8Sink::encode(std::u16string_view piece) {
  if (m_pendingHigh != 0) {
    const char16_t high = std::exchange(m_pendingHigh, 0);
    if (!piece.empty() && IsLowSurrogate(piece.front())) {
      putCodePoint(CombineSurrogates(high, piece.front()));
      piece.remove_prefix(1);
    } else {
      putCodePoint(0xFFFD);
    }
  }
  if (!piece.empty() && IsHighSurrogate(piece.back())) {
    m_pendingHigh = piece.back();
    piece.remove_suffix(1);
  }
  std::size_t k = 0;
  while (k < piece.size()) {
    if (kBufferSize - m_used < 4) {
      drain();
    }
    // Tags are ASCII, and so is much of many texts: runs of it are narrowed
    // eight units at a time.
    const std::size_t ascii =
        AsciiPrefix(piece.substr(k, std::min(piece.size() - k, kBufferSize - m_used)));
    NarrowAscii(piece.data() + k, ascii, m_buffer + m_used);
    k += ascii;
    m_used += ascii;
    if (k < piece.size() && piece[k] >= 0x80 && kBufferSize - m_used >= 4) {
      m_used = static_cast<std::size_t>(
          detail::PutUtf8(m_buffer + m_used, NextCodePoint(piece, k)) - m_buffer);
    }
  }
}

void Utf8Sink::putBytes(std::string_view bytes) {
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

void Utf8Sink::putCodePoint(char32_t c) {
  if (kBufferSize - m_used < 4) {
    drain();
  }
  m_used = static_cast<std::size_t>(detail::PutUtf8(m_buffer + m_used, c) - m_buffer);
}

void Utf8Sink::drain() {
  if (m_failure == 0 && m_used > 0) {
    m_failure = m_writer(m_context, m_buffer, m_used);
  }
  m_used = 0;
}

int Utf8Sink::finish() {
  if (m_pendingHigh != 0) {
    m_pendingHigh = 0;
    putCodePoint(0xFFFD);
  }
  drain();
  return m_failure;
}

int Utf8StreamSink::Write(void* stream, const char* bytes, std::size_t size) {
  errno = 0;
  if (std::fwrite(bytes, 1, size, static_cast<std::FILE*>(stream)) != size) {
    return errno != 0 ? errno : EIO;
  }
  return 0;
}

std::optional<Failure> Utf8StreamSink::finish() {
  int failure = Utf8Sink::finish();
  if (failure == 0) {
    errno = 0;
    if (std::fflush(m_out) != 0 || std::ferror(m_out)) {
      failure = errno != 0 ? errno : EIO;
    }
  }
  if (failure != 0) {
    return Failure{kExitInputError,
                   std::string("cannot write the output: ") + std::strerror(failure)};
  }
  return std::nullopt;
}

// Faulting tens of megabytes in 4 KiB at a time costs more than reading
// and decoding them, so on Linux the room is offered huge pages where the
// kernel grants them on request (a refusal costs nothing but that time).
void ReserveText(std::u16string& text, std::size_t units) {
  text.reserve(units);
#ifdef __linux__
  constexpr std::uintptr_t kHugePage = std::uintptr_t{2} << 20;
  char* const data = reinterpret_cast<char*>(text.data());
  const auto begin = reinterpret_cast<std::uintptr_t>(data);
  const std::uintptr_t from = (begin + kHugePage - 1) & ~(kHugePage - 1);
  const std::uintptr_t to = (begin + text.capacity() * sizeof(char16_t)) & ~(kHugePage - 1);
  if (to > from) {
    static_cast<void>(madvise(data + (from - begin), to - from, MADV_HUGEPAGE));
  }
#endif
}

}  // namespace huecode
