#include "cli/utf8.h"

#include <cstdint>

namespace huecode {

namespace {

constexpr bool IsContinuation(unsigned char byte) {
  return (byte & 0xC0) == 0x80;
}

void AppendUtf16(std::u16string& out, char32_t c) {
  if (c < 0x10000) {
    out.push_back(static_cast<char16_t>(c));
    return;
  }
  c -= 0x10000;
  out.push_back(static_cast<char16_t>(0xD800 + (c >> 10)));
  out.push_back(static_cast<char16_t>(0xDC00 + (c & 0x3FF)));
}

struct Sequence {
  char32_t codePoint = 0;
  std::size_t length = 0;
  std::optional<Utf8Fault> fault;
};

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
  if (value >= 0xD800 && value <= 0xDFFF) {
    return {0, 0, Utf8Fault::Surrogate};
  }
  if (value > 0x10FFFF) {
    return {0, 0, Utf8Fault::BeyondUnicode};
  }
  return {value, length, std::nullopt};
}

}  // namespace

Utf8Decoding DecodeUtf8(std::string_view bytes) {
  Utf8Decoding result;
  result.text.reserve(bytes.size());
  std::size_t offset = 0;
  while (offset < bytes.size()) {
    const Sequence sequence = DecodeOne(bytes, offset);
    if (sequence.fault) {
      return {std::u16string(), Utf8Error{offset, *sequence.fault}};
    }
    AppendUtf16(result.text, sequence.codePoint);
    offset += sequence.length;
  }
  return result;
}

std::string EncodeUtf8(std::u16string_view text) {
  std::string out;
  out.reserve(text.size() * 3);
  for (std::size_t k = 0; k < text.size(); ++k) {
    char32_t c = text[k];
    if (c >= 0xD800 && c <= 0xDBFF && k + 1 < text.size() && text[k + 1] >= 0xDC00 &&
        text[k + 1] <= 0xDFFF) {
      c = 0x10000 + ((c - 0xD800) << 10) + (text[k + 1] - 0xDC00);
      ++k;
    } else if (c >= 0xD800 && c <= 0xDFFF) {
      c = 0xFFFD;
    }
    if (c < 0x80) {
      out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
      out.push_back(static_cast<char>(0xC0 | (c >> 6)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
      out.push_back(static_cast<char>(0xE0 | (c >> 12)));
      out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
      out.push_back(static_cast<char>(0xF0 | (c >> 18)));
      out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
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
  static constexpr char kHex[] = "0123456789ABCDEF";
  const auto escape = [](std::string& out, std::string_view prefix, unsigned value) {
    out += prefix;
    out += kHex[(value >> 4) & 0xF];
    out += kHex[value & 0xF];
  };
  std::string out;
  out.reserve(bytes.size());
  std::size_t k = 0;
  while (k < bytes.size()) {
    const auto lead = static_cast<unsigned char>(bytes[k]);
    const std::size_t length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
    // One character at a time keeps this linear however many bytes are bad.
    const Utf8Decoding one = DecodeUtf8(bytes.substr(k, length));
    if (one.error || one.text.empty()) {
      escape(out, "\\x", lead);
      ++k;
      continue;
    }
    const char16_t c = one.text.front();
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

}  // namespace huecode
