#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/markup_template.h"

namespace huecode {

// Coloured markup read back to its plain text: colour tags and codes and
// formatting codes gone, entities and JSON escapes decoded, blanks and line
// breaks kept. When the markup cannot be read, nothing but where and why.
struct Stripped {
  std::optional<std::u16string> text;
  std::size_t errorOffset = 0;  // code units into the markup
  std::u16string error;
  std::string_view dialect;  // the key of the dialect read; empty for a template of one's own
};

// Markup written with this template or format, or without one in the
// dialect whose colour markup starts first in the text. entities says that
// &amp;, &lt; and &gt; in the text stand for &, < and > (the HTML dialects
// and formats with {text:html} always decode them).
Stripped StripMarkup(std::u16string_view markup, const MarkupTemplate* as = nullptr,
                     bool entities = false);

// Line and column (in characters, a surrogate pair being one), both from 1.
struct TextPlace {
  std::int64_t line = 1;
  std::int64_t column = 1;
};

TextPlace PlaceOf(std::u16string_view text, std::size_t offset);

}  // namespace huecode
