#include "ui/line_breaks.h"

namespace huecode {

std::u16string WithCrLfLineBreaks(std::u16string_view text) {
  std::u16string result;
  result.reserve(text.size() + text.size() / 8);
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    if (c == u'\r' || c == u'\n' || c == u'\u2029' || c == u'\u2028') {
      if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') {
        ++i;
      }
      result += u"\r\n";
    } else {
      result += c;
    }
  }
  return result;
}

}  // namespace huecode
