#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/conversion.h"
#include "core/dialects.h"
#include "core/strip_markup.h"
#include "core/text_codes.h"
#include "tests/fuzz/fuzz_input.h"

namespace huecode::fuzz {
namespace {

// A text that the dialect's markup carries unmistakably. Where the readers
// take codes from the text (servers, chat), none that reaches them as one:
// with escape, none that the dialect's literal means cannot show. The
// boards' and HTML's tags are read by structure: none of the characters
// they start with, unless entities escape them. Backticks are carried
// everywhere, in a code block with its runs broken.
bool CarriedWhole(std::u16string_view text, const Dialect& dialect, bool escape) {
  if (dialect.codes != TextCodes::None && dialect.codes != TextCodes::Html) {
    return !FirstTextCode(dialect.codes, text,
                          escape && LiteralMeansOf(dialect.codes) != LiteralMeans::Nothing);
  }
  const bool entities = escape && dialect.html();
  for (const char16_t c : text) {
    const bool markup =
        c == u'<' || c == u'>' || c == u'&' || c == u'[' || c == u']' || c == u'§' || c == u'\x1b';
    if (markup && !(entities && (c == u'<' || c == u'>' || c == u'&'))) {
      return false;
    }
  }
  return true;
}

std::size_t CrLfs(std::u16string_view text) {
  std::size_t count = 0;
  for (std::size_t at = text.find(u"\r\n"); at != std::u16string_view::npos;
       at = text.find(u"\r\n", at + 2)) {
    ++count;
  }
  return count;
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
  const std::u16string_view coloured = TrimSpaces(settings.text);
  // Where a server or a chat reads the markup, no code splits CR LF.
  FUZZ_CHECK(!KeepsLineBreaksWhole(dialect.codes) || dialect.key == "json" ||
             CrLfs(markup) == CrLfs(coloured));
  if (!CarriedWhole(coloured, dialect, settings.escape)) {
    return 0;
  }
  // Nothing inside a code block closes it early.
  const FormatFrame& frame = dialect.frame;
  if (frame.codeBlock) {
    const std::u16string_view inside = std::u16string_view(markup).substr(
        frame.before.size(), markup.size() - frame.before.size() - frame.after.size());
    FUZZ_CHECK(inside.find(u"``") == std::u16string_view::npos);
  }
  const Stripped given = StripMarkup(markup, &settings.markup, settings.escape);
  FUZZ_CHECK(given.text.has_value() && *given.text == coloured);
  const Stripped found = StripMarkup(markup, nullptr, settings.escape);
  FUZZ_CHECK(found.text.has_value() && *found.text == coloured);
  return 0;
}
