#pragma once

#include <string>
#include <string_view>

#include "core/markup_format.h"

namespace huecode {

// Writes JSON into a UTF-16 string, with the commas between members and
// elements. Strings are escaped as the json dialect escapes a chunk's text, so
// that one rule says what a JSON string may hold; the writer does not check
// that brackets match or that keys stand where keys belong.
class JsonWriter {
 public:
  explicit JsonWriter(std::u16string& out) : m_out(out) {}

  JsonWriter& open(char16_t bracket) {
    separate();
    m_out.push_back(bracket);
    m_first = true;
    return *this;
  }
  JsonWriter& close(char16_t bracket) {
    m_out.push_back(bracket);
    m_first = false;
    return *this;
  }
  JsonWriter& key(std::u16string_view name) {
    text(name);
    m_out.push_back(u':');
    m_first = true;
    return *this;
  }
  JsonWriter& text(std::u16string_view value) {
    separate();
    m_out.push_back(u'"');
    Appender sink{m_out};
    detail::PutJsonEscaped(sink, value);
    m_out.push_back(u'"');
    return *this;
  }
  // A text of ASCII characters only, such as a dialect's key.
  JsonWriter& text(std::string_view ascii) {
    return text(std::u16string(ascii.begin(), ascii.end()));
  }
  // An integer: JSON has no other numbers that this project writes.
  template <typename Integer>
  JsonWriter& number(Integer value) {
    separate();
    for (const char c : std::to_string(value)) {
      m_out.push_back(static_cast<char16_t>(c));
    }
    return *this;
  }

 private:
  struct Appender {
    std::u16string& out;
    void put(std::u16string_view piece) { out.append(piece); }
  };

  void separate() {
    if (!m_first) {
      m_out.push_back(u',');
    }
    m_first = false;
  }

  std::u16string& m_out;
  bool m_first = true;
};

}  // namespace huecode
