#include "core/text_codes.h"

#include <algorithm>

#include "core/colour.h"

namespace huecode {

namespace {

constexpr std::size_t kNone = std::u16string_view::npos;
constexpr char16_t kSection = u'§';

bool IsAsciiLetter(char16_t c) {
  return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

bool IsAsciiDigit(char16_t c) {
  return c >= u'0' && c <= u'9';
}

bool IsHexDigit(char16_t c) {
  return detail::HexDigitValue(c) >= 0;
}

bool HexDigitsAt(std::u16string_view text, std::size_t from, std::size_t count) {
  return text.size() >= from + count &&
         std::all_of(text.begin() + static_cast<std::ptrdiff_t>(from),
                     text.begin() + static_cast<std::ptrdiff_t>(from + count), IsHexDigit);
}

constexpr std::u16string_view kDroppedPair = u"nothing shows, both characters are dropped";
constexpr std::u16string_view kDroppedSign =
    u"nothing shows, it is dropped with the character after it";

// A § at k: what a Minecraft client makes of it and the character after it.
TextCode SectionCode(std::u16string_view text, std::size_t k) {
  if (k + 1 >= text.size()) {
    return {k, 1, kDroppedSign};
  }
  const std::u16string_view effect = detail::LegacyCodeEffect(text[k + 1]);
  return {k, 2, effect.empty() ? kDroppedPair : effect};
}

// MiniMessage's standard tags, by which a < starts a tag rather than text;
// each name has a space on either side.
constexpr std::u16string_view kMiniMessageTags =
    u" black dark_blue dark_green dark_aqua dark_red dark_purple gold gray grey dark_gray "
    u"dark_grey blue green aqua red light_purple yellow white color colour c bold b italic em i "
    u"underlined u strikethrough st obfuscated obf reset click hover key lang tr translate lang_or "
    u"tr_or translate_or insertion rainbow gradient transition font newline br selector sel score "
    u"nbt data pride shadow sprite head ";

bool IsMiniMessageName(std::u16string_view name) {
  if (name.size() == 7 && name.front() == u'#') {
    return HexDigitsAt(name, 1, 6);
  }
  std::u16string spaced = u" " + std::u16string(name) + u" ";
  for (char16_t& c : spaced) {
    c = c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 0x20) : c;
  }
  return name.find(u' ') == kNone && kMiniMessageTags.find(spaced) != kNone;
}

// A MiniMessage tag at k (<name>, </name>, <!name>, <name:arguments>, with
// quoted arguments that may hold >): its length, or 0 for a < that is text.
std::size_t MiniMessageTag(std::u16string_view text, std::size_t k) {
  std::size_t pos = k + 1;
  if (pos < text.size() && (text[pos] == u'/' || text[pos] == u'!')) {
    ++pos;
  }
  const std::size_t nameEnd = std::min(text.find_first_of(u":>/< ", pos), text.size());
  if (nameEnd == text.size() || text[nameEnd] == u'<' || text[nameEnd] == u' ' ||
      !IsMiniMessageName(text.substr(pos, nameEnd - pos))) {
    return 0;
  }
  char16_t quote = 0;
  for (std::size_t end = nameEnd; end < text.size(); ++end) {
    const char16_t c = text[end];
    if (quote != 0) {
      end += c == u'\\' ? 1 : 0;
      quote = c == quote ? 0 : quote;
    } else if (c == u'\'' || c == u'"') {
      quote = c;
    } else if (c == u'>') {
      return end + 1 - k;
    } else if (c == u'<') {
      return 0;
    }
  }
  return 0;
}

std::optional<TextCode> HtmlCode(std::u16string_view text, std::size_t k) {
  const char16_t next = k + 1 < text.size() ? text[k + 1] : u'\0';
  if (text[k] == u'<') {
    const bool tag = IsAsciiLetter(next) || next == u'/' || next == u'!' || next == u'?';
    return tag ? std::optional<TextCode>({k, 2, u"the start of a tag", true}) : std::nullopt;
  }
  if (next == u'#') {
    const char16_t digit = k + 2 < text.size() ? text[k + 2] : u'\0';
    const bool hex = (digit == u'x' || digit == u'X') && HexDigitsAt(text, k + 3, 1);
    return hex || IsAsciiDigit(digit)
               ? std::optional<TextCode>({k, 3, u"a character reference", true})
               : std::nullopt;
  }
  std::size_t end = k + 1;
  while (end < text.size() && (IsAsciiLetter(text[end]) || IsAsciiDigit(text[end]))) {
    ++end;
  }
  if (end == k + 1 || !IsAsciiLetter(next) || end >= text.size() || text[end] != u';') {
    return std::nullopt;
  }
  return TextCode{k, end + 1 - k, u"an entity, shown as the character it names", true};
}

std::optional<TextCode> AmpersandCode(std::u16string_view text, std::size_t k, bool hexCodes) {
  if (text[k] == kSection) {
    return SectionCode(text, k);
  }
  if (hexCodes && k + 1 < text.size() && text[k + 1] == u'#' && HexDigitsAt(text, k + 2, 6)) {
    return TextCode{k, 8, u"a hex colour", true};
  }
  if (detail::StartsCodePair(text, k, false)) {
    return TextCode{k, 2, detail::LegacyCodeEffect(text[k + 1]), true};
  }
  return std::nullopt;
}

std::optional<TextCode> MiniMessageCode(std::u16string_view text, std::size_t k) {
  if (text[k] == kSection) {
    return SectionCode(text, k);
  }
  if (text[k] == u'\\') {
    const bool escape = k + 1 < text.size() && (text[k + 1] == u'<' || text[k + 1] == u'\\');
    return escape ? std::optional<TextCode>({k, 2, u"an escape: the backslash is dropped", true})
                  : std::nullopt;
  }
  const std::size_t tag = MiniMessageTag(text, k);
  return tag > 0 ? std::optional<TextCode>({k, tag, u"a tag", true}) : std::nullopt;
}

// The code that starts at k, if one does.
std::optional<TextCode> CodeAt(TextCodes codes, std::u16string_view text, std::size_t k) {
  switch (codes) {
    case TextCodes::Html:
      return HtmlCode(text, k);
    case TextCodes::Ampersand:
    case TextCodes::Legacy:
      return AmpersandCode(text, k, codes == TextCodes::Ampersand);
    case TextCodes::Section:
    case TextCodes::Json:
      return text[k] == kSection ? std::optional(SectionCode(text, k)) : std::nullopt;
    case TextCodes::MiniMessage:
      return MiniMessageCode(text, k);
    case TextCodes::Ansi:
      return TextCode{k, 1, u"the start of a terminal code"};
    case TextCodes::None:
      break;
  }
  return std::nullopt;
}

// The characters a code of the dialect starts with.
std::u16string_view CodeStarts(TextCodes codes) {
  switch (codes) {
    case TextCodes::Html:
      return u"<&";
    case TextCodes::Ampersand:
    case TextCodes::Legacy:
      return u"&§";
    case TextCodes::Section:
    case TextCodes::Json:
      return u"§";
    case TextCodes::MiniMessage:
      return u"<\\§";
    case TextCodes::Ansi:
      return u"\x1b";
    case TextCodes::None:
      break;
  }
  return {};
}

// What a Minecraft client shows of a text: § and the character after it
// are a code, a § at the end is dropped.
void AppendSectionRead(std::u16string& out, std::u16string_view text) {
  for (std::size_t k = 0; k < text.size(); ++k) {
    if (text[k] == kSection) {
      ++k;
    } else {
      out += text[k];
    }
  }
}

// A server turns &#RRGGBB into §x§R§R§G§G§B§B first, then & with a code
// character into § codes, which the client takes with the text's own §; the
// last two in one pass give the same.
std::u16string ReadAmpersand(std::u16string_view markup, bool hexCodes) {
  std::u16string spelled;
  if (hexCodes) {
    for (std::size_t k = 0; k < markup.size(); ++k) {
      const bool hex = markup[k] == u'&' && k + 1 < markup.size() && markup[k + 1] == u'#' &&
                       HexDigitsAt(markup, k + 2, 6);
      spelled += hex ? std::u16string_view(u"§x§0§0§0§0§0§0") : markup.substr(k, 1);
      k += hex ? 7 : 0;
    }
    markup = spelled;
  }
  std::u16string out;
  out.reserve(markup.size());
  for (std::size_t k = 0; k < markup.size(); ++k) {
    if (markup[k] == kSection) {
      ++k;
    } else if (const auto code = AmpersandCode(markup, k, false)) {
      k += code->length - 1;
    } else {
      out += markup[k];
    }
  }
  return out;
}

// MiniMessage takes its escapes and tags first; each run of text between
// tags is then a component of its own, whose § codes the client reads.
std::u16string ReadMiniMessage(std::u16string_view markup) {
  std::u16string out;
  std::u16string run;
  const auto endRun = [&] {
    AppendSectionRead(out, run);
    run.clear();
  };
  for (std::size_t k = 0; k < markup.size(); ++k) {
    const char16_t c = markup[k];
    const char16_t next = k + 1 < markup.size() ? markup[k + 1] : u'\0';
    if (c == u'\\' && (next == u'<' || next == u'\\')) {
      run += next;
      ++k;
    } else if (const std::size_t tag = c == u'<' ? MiniMessageTag(markup, k) : 0; tag > 0) {
      endRun();
      const std::u16string_view name = markup.substr(k + 1, tag - 2);
      if (name == u"newline" || name == u"br" || name == u"newline/" || name == u"br/") {
        out += u'\n';
      }
      k += tag - 1;
    } else {
      run += c;
    }
  }
  endRun();
  return out;
}

}  // namespace

namespace detail {

std::u16string_view LegacyCodeEffect(char16_t c) {
  const char16_t lower = c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 0x20) : c;
  if (IsAsciiDigit(lower) || (lower >= u'a' && lower <= u'f')) {
    return u"a colour";
  }
  switch (lower) {
    case u'k':
      return u"obfuscated text";
    case u'l':
      return u"bold";
    case u'm':
      return u"strikethrough";
    case u'n':
      return u"underline";
    case u'o':
      return u"italic";
    case u'r':
      return u"a reset of colour and formatting";
    case u'x':
      return u"the start of a hex colour";
    default:
      return {};
  }
}

namespace {

constexpr char16_t kKeepLine = u'\u200B';
constexpr std::u16string_view kBlank = u" \t\r\n";
constexpr std::u16string_view kBreaks = u"\r\n";

}  // namespace

bool BlankFirstLine(std::u16string_view text) {
  const std::size_t start = std::min(text.find_first_not_of(kKeepLine), text.size());
  const std::size_t visible = std::min(text.find_first_not_of(kBlank, start), text.size());
  return text.substr(start, visible - start).find_first_of(kBreaks) != kNone;
}

bool BlankLastLine(std::u16string_view text) {
  const std::size_t end = text.find_last_not_of(kKeepLine) + 1;
  const std::size_t visible = text.find_last_not_of(kBlank, end == 0 ? 0 : end - 1) + 1;
  return end > visible && text.substr(visible, end - visible).find_first_of(kBreaks) != kNone;
}

}  // namespace detail

LiteralMeans LiteralMeansOf(TextCodes codes) {
  switch (codes) {
    case TextCodes::Ampersand:
    case TextCodes::Legacy:
      return LiteralMeans::CodeBetween;
    case TextCodes::MiniMessage:
      return LiteralMeans::Backslash;
    case TextCodes::Section:
    case TextCodes::Json:
    case TextCodes::Ansi:
      return LiteralMeans::Nothing;
    case TextCodes::None:
    case TextCodes::Html:
      break;
  }
  return LiteralMeans::Entities;
}

LiteralMeans LiteralMeansOf(const MarkupTemplate& markup) {
  const Dialect* dialect = DialectOf(markup);
  return dialect == nullptr ? LiteralMeans::Entities : LiteralMeansOf(dialect->codes);
}

std::u16string_view WithoutLiteralMeans(TextCodes codes) {
  switch (codes) {
    case TextCodes::Section:
      return u"a Minecraft client reads § and the character after it as a code, and no code "
             u"shows a § itself; every other character shows as typed without --escape (a note "
             u"names the text's first §)";
    case TextCodes::Json:
      return u"its JSON escapes are always written, and a Minecraft client reads § in a "
             u"component's text as a code that nothing can show; leave --escape out (a note "
             u"names the text's first §)";
    case TextCodes::Ansi:
      return u"a Discord code block shows every character as typed but the escape character, "
             u"which nothing can show, and backticks are kept from closing it already; leave "
             u"--escape out";
    default:
      return {};
  }
}

std::optional<TextCode> FirstTextCode(TextCodes codes, std::u16string_view text, bool escaped) {
  const std::u16string_view starts = CodeStarts(codes);
  if (starts.empty()) {
    return std::nullopt;
  }
  for (std::size_t k = text.find_first_of(starts); k != kNone;
       k = text.find_first_of(starts, k + 1)) {
    std::optional<TextCode> code = CodeAt(codes, text, k);
    if (code && !(escaped && code->escapable)) {
      return code;
    }
  }
  return std::nullopt;
}

std::u16string ReadAsDestination(TextCodes codes, std::u16string_view markup) {
  switch (codes) {
    case TextCodes::Ampersand:
    case TextCodes::Legacy:
      return ReadAmpersand(markup, codes == TextCodes::Ampersand);
    case TextCodes::Section:
    case TextCodes::Json: {
      std::u16string out;
      out.reserve(markup.size());
      AppendSectionRead(out, markup);
      return out;
    }
    case TextCodes::MiniMessage:
      return ReadMiniMessage(markup);
    default:
      return std::u16string(markup);
  }
}

}  // namespace huecode
