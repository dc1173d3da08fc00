#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/conversion.h"
#include "core/dialects.h"
#include "core/strip_markup.h"
#include "tests/fuzz/fuzz_input.h"

namespace huecode::fuzz {
namespace {

// A text that the dialect's markup carries unmistakably: none of the
// characters that its tags and codes start with, unless they are escaped
// (JSON always, HTML entities when asked of the HTML dialects). Backticks
// are carried everywhere, in a code block with its runs broken.
bool CarriedWhole(std::u16string_view text, std::string_view key, bool escape) {
  if (key == "json") {
    return true;
  }
  const bool entities = escape && (key == "html" || key == "span");
  for (const char16_t c : text) {
    const bool markup =
        c == u'<' || c == u'>' || c == u'&' || c == u'[' || c == u']' || c == u'§' || c == u'\x1b';
    if (markup && !(entities && (c == u'<' || c == u'>' || c == u'&'))) {
      return false;
    }
  }
  return true;
}

}  // namespace
}  // namespace huecode::fuzz

// Any text reads back or is refused with a place inside it; the markup of a
// text in any dialect, with any formatting, merging, step and escaping,
// reads back to the text the conversion coloured.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace huecode;
  using namespace huecode::fuzz;
  FuzzInput input(data, size);
  const std::uint8_t flags = input.byte();
  const Dialect& dialect = Dialects()[input.byte() % Dialects().size()];
  StyledSettings settings;
  settings.markup = dialect.markup();
  settings.merge = (flags & 1) != 0;
  settings.escape = (flags & 2) != 0;
  settings.styles = {(flags & 4) != 0, (flags & 8) != 0, (flags & 16) != 0, (flags & 32) != 0};
  settings.step = 1 + input.byte() % 4;
  settings.gradient.stops = {{input.byte(), input.byte(), input.byte()},
                             {input.byte(), input.byte(), input.byte()}};
  settings.text = input.restAsUnits();

  const Stripped any = StripMarkup(settings.text);
  FUZZ_CHECK(any.text.has_value() || any.errorOffset <= settings.text.size());

  if (!ComposeStyles(settings.markup, settings.styles)) {
    return 0;
  }
  const std::u16string markup = GenerateStyledCode(settings);
  if (!CarriedWhole(settings.text, dialect.key, settings.escape)) {
    return 0;
  }
  // Nothing inside a code block closes it early.
  const FormatFrame& frame = dialect.frame;
  if (frame.codeBlock) {
    const std::u16string_view inside = std::u16string_view(markup).substr(
        frame.before.size(), markup.size() - frame.before.size() - frame.after.size());
    FUZZ_CHECK(inside.find(u"``") == std::u16string_view::npos);
  }
  const std::u16string_view coloured = TrimSpaces(settings.text);
  const Stripped given = StripMarkup(markup, &settings.markup, settings.escape);
  FUZZ_CHECK(given.text.has_value() && *given.text == coloured);
  const Stripped found = StripMarkup(markup, nullptr, settings.escape);
  FUZZ_CHECK(found.text.has_value() && *found.text == coloured);
  return 0;
}
