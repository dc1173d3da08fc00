#include "core/strip_markup.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "core/chunks.h"
#include "core/dialects.h"
#include "core/markup_format.h"
#include "core/text_codes.h"

namespace huecode {

namespace {

constexpr std::size_t kNone = std::u16string_view::npos;

// A chunk's head (what comes before its text) as units of fixed width, so
// that matching it, once or twice for every chunk, is one tight loop rather
// than a walk over the format's pieces: literal units, and any digit where
// the colour goes. The formatting codes a dialect writes in every tag vary
// in width, so they split the head in two, matched before and after them.
struct HeadUnit {
  enum Kind : std::uint8_t { Literal, HexDigit, AnsiDigit };
  char16_t unit = 0;
  Kind kind = Literal;
};

struct HeadPattern {
  std::vector<HeadUnit> beforeCodes;
  std::vector<HeadUnit> afterCodes;
  bool codes = false;
};

// Nothing for a head with a part of any other varying width (decimal channels).
std::optional<HeadPattern> HeadOf(const MarkupFormat& format, std::size_t textIndex) {
  HeadPattern head;
  for (std::size_t k = 0; k < textIndex; ++k) {
    const FormatPiece& piece = format.pieces[k];
    std::vector<HeadUnit>& units = head.codes ? head.afterCodes : head.beforeCodes;
    switch (piece.slot) {
      case FormatSlot::Literal:
        for (const char16_t c : piece.literal) {
          units.push_back({c, HeadUnit::Literal});
        }
        break;
      case FormatSlot::Hex:
        units.insert(units.end(), detail::kColourDigits, {0, HeadUnit::HexDigit});
        break;
      case FormatSlot::Digit:
        units.push_back({0, HeadUnit::HexDigit});
        break;
      case FormatSlot::Ansi:
        units.push_back({0, HeadUnit::AnsiDigit});
        break;
      case FormatSlot::Codes:
        if (head.codes) {
          return std::nullopt;
        }
        head.codes = true;
        break;
      case FormatSlot::Decimal:
      case FormatSlot::Text:
        return std::nullopt;
    }
  }
  return head;
}

// What reading the markup of one dialect, template or format needs.
struct Reading {
  MarkupFormat chunk;
  std::optional<HeadPattern> head;
  std::optional<MarkupFormat> bare;
  FormatFrame frame;
  DialectStyles styles;
  TextCodes codes = TextCodes::None;
  std::string_view key;
  bool readable = true;  // {text} ends the format or literal text follows it
};

std::size_t TextIndex(const MarkupFormat& format) {
  const auto text = std::find_if(format.pieces.begin(), format.pieces.end(),
                                 [](const FormatPiece& p) { return p.slot == FormatSlot::Text; });
  return static_cast<std::size_t>(text - format.pieces.begin());
}

bool Readable(const MarkupFormat& format) {
  const std::size_t text = TextIndex(format);
  return text + 1 >= format.pieces.size() || format.pieces[text + 1].slot == FormatSlot::Literal;
}

Reading ReadingOf(const MarkupTemplate& markup, bool entities) {
  const Dialect* dialect = DialectOf(markup);
  Reading reading;
  if (markup.format.empty()) {
    reading.chunk = FormatOfTemplate(markup.prefix, markup.middle, markup.suffix);
  } else {
    ParsedFormat parsed = ParseFormat(markup.format, dialect != nullptr);
    reading.readable = parsed.format.has_value();
    reading.chunk = std::move(parsed.format).value_or(MarkupFormat{});
  }
  if (dialect != nullptr) {
    reading.frame = dialect->frame;
    reading.styles = dialect->styles;
    reading.codes = dialect->codes;
    reading.key = dialect->key;
    if (!dialect->frame.bare.empty()) {
      reading.bare = ParseFormat(dialect->frame.bare).format;
    }
    if (dialect->frame.codeBlock) {
      reading.chunk.escape = TextEscape::CodeBlock;
    }
    // HTML shows entities decoded; where they are never read, an & is text.
    entities = dialect->entities == Entities::Decoded ||
               (entities && dialect->entities == Entities::OnRequest);
  }
  if (entities && reading.chunk.escape == TextEscape::None) {
    reading.chunk.escape = TextEscape::Html;
  }
  reading.readable = reading.readable && Readable(reading.chunk);
  reading.head = HeadOf(reading.chunk, TextIndex(reading.chunk));
  return reading;
}

bool IsBlank(char16_t c) {
  return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r';
}

bool IsHex(char16_t c) {
  return detail::HexDigitValue(c) >= 0;
}

bool IsDecimal(char16_t c) {
  return c >= u'0' && c <= u'9';
}

// The entity at the start of the text: its length and what it stands for.
std::pair<std::size_t, char32_t> EntityAt(std::u16string_view text) {
  static constexpr std::pair<std::u16string_view, char16_t> kNamed[] = {
      {u"&amp;", u'&'}, {u"&lt;", u'<'}, {u"&gt;", u'>'}, {u"&quot;", u'"'}, {u"&#39;", u'\''}};
  for (const auto& [name, c] : kNamed) {
    if (text.starts_with(name)) {
      return {name.size(), c};
    }
  }
  return {0, 0};
}

// The JSON escape at the start of the text, decoded into out: how many units
// it takes, or 0 for an escape that JSON does not have.
std::size_t DecodeJsonEscape(std::u16string_view text, std::u16string& out) {
  static constexpr std::u16string_view kEscaped = u"\"\\/bfnrt";
  static constexpr std::u16string_view kMeant = u"\"\\/\b\f\n\r\t";
  const char16_t next = text.size() > 1 ? text[1] : u'\0';
  if (const std::size_t simple = kEscaped.find(next); simple != kNone) {
    out += kMeant[simple];
    return 2;
  }
  const std::u16string_view digits = text.substr(std::min<std::size_t>(2, text.size()), 4);
  if (next != u'u' || digits.size() < 4 || !std::all_of(digits.begin(), digits.end(), IsHex)) {
    return 0;
  }
  char32_t value = 0;
  for (const char16_t digit : digits) {
    value = value * 16 + static_cast<char32_t>(detail::HexDigitValue(digit));
  }
  // Four digits reach U+FFFF at most: a character beyond it comes as two
  // escapes, one per surrogate, and they pair up again in the text.
  out += static_cast<char16_t>(value);
  return 6;
}

// A terminal's control sequence at the start of the text (ESC [, its
// parameters and its final character; ESC and one character otherwise):
// how many units it takes.
std::size_t TerminalCodeLength(std::u16string_view text) {
  if (text.size() < 2 || text[1] != u'[') {
    return std::min<std::size_t>(text.size(), 2);
  }
  std::size_t k = 2;
  while (k < text.size() && (text[k] < u'@' || text[k] > u'~')) {
    ++k;
  }
  return std::min(k + 1, text.size());
}

// Reads markup with one reading, from start to finish.
class Reader {
 public:
  Reader(const Reading& reading, std::u16string_view markup)
      : m_reading(reading),
        m_markup(markup),
        m_textIndex(TextIndex(reading.chunk)),
        m_bareTextIndex(reading.bare ? TextIndex(*reading.bare) : 0) {}

  // Where a chunk is found first after blanks and formatting codes, or
  // nothing; the end of the chunks when there is nothing but those.
  std::optional<std::size_t> firstChunk();
  Stripped read();

 private:
  bool frame();
  std::size_t item(std::size_t pos);
  std::size_t pieces(const MarkupFormat& format, std::size_t first, std::size_t last,
                     std::size_t pos) const;
  // Where the head of a chunk that starts at pos ends, or kNone.
  std::size_t head(std::size_t pos) const;
  std::size_t units(const std::vector<HeadUnit>& units, std::size_t pos) const;
  std::size_t codes(std::size_t pos) const;
  std::size_t styleCode(std::size_t pos);
  std::size_t openTextEnd(std::size_t from, std::size_t limit) const;
  std::size_t literalAfterText(std::u16string_view literal, TextEscape escape,
                               std::size_t from) const;
  bool appendText(TextEscape escape, std::size_t from, std::size_t to);
  bool decodeText(TextEscape escape, std::size_t from, std::u16string_view text);
  // Blanks between chunks, and in a code block the zero-width spaces that
  // keep its first and last lines.
  bool isBare(char16_t c) const {
    return IsBlank(c) || (m_reading.frame.codeBlock && c == detail::kZeroWidthSpace);
  }
  // The text as the destination shows it, from what was read.
  std::u16string shown();
  Stripped fail(std::size_t offset, std::u16string why) const;
  std::u16string_view rest(std::size_t pos) const { return m_markup.substr(pos, m_end - pos); }

  const Reading& m_reading;
  std::u16string_view m_markup;
  std::size_t m_textIndex;
  std::size_t m_bareTextIndex;
  std::size_t m_begin = 0;
  std::size_t m_end = 0;
  bool m_styled = false;  // formatting codes opened around the text
  std::u16string m_out;
  std::optional<std::pair<std::size_t, std::u16string>> m_error;
};

bool Reader::frame() {
  m_begin = 0;
  m_end = m_markup.size();
  const FormatFrame& frame = m_reading.frame;
  if (!m_markup.starts_with(frame.before)) {
    return false;
  }
  m_begin = frame.before.size();
  std::u16string_view body = m_markup.substr(m_begin);
  // A file's last line break may be CR LF, of which only the LF was dropped.
  if (!frame.after.empty() && body.ends_with(u'\r')) {
    body.remove_suffix(body.substr(0, body.size() - 1).ends_with(frame.after) ? 1 : 0);
  }
  if (!body.ends_with(frame.after)) {
    return false;
  }
  m_end = m_begin + body.size() - frame.after.size();
  return true;
}

std::size_t Reader::codes(std::size_t pos) const {
  const DialectStyles& styles = m_reading.styles;
  if (styles.placement != StylePlacement::InEveryTag) {
    return pos;
  }
  bool headSeen = false;
  for (const std::u16string_view code : styles.open) {
    if (code.empty()) {
      continue;
    }
    const bool shared = !styles.sharedHead.empty() && code.starts_with(styles.sharedHead);
    const std::u16string_view there = rest(pos);
    if (shared && headSeen) {
      const std::u16string_view value = code.substr(styles.sharedHead.size());
      if (there.starts_with(u' ') && there.substr(1).starts_with(value)) {
        pos += 1 + value.size();
      }
      continue;
    }
    if (there.starts_with(code)) {
      pos += code.size();
      headSeen = headSeen || shared;
    }
  }
  return pos;
}

std::size_t Reader::pieces(const MarkupFormat& format, std::size_t first, std::size_t last,
                           std::size_t pos) const {
  const auto run = [&](auto accepts, std::size_t least, std::size_t most) {
    std::size_t n = 0;
    while (n < most && pos + n < m_end && accepts(m_markup[pos + n])) {
      ++n;
    }
    return n >= least ? pos + n : kNone;
  };
  for (std::size_t k = first; k < last && pos != kNone; ++k) {
    const FormatPiece& piece = format.pieces[k];
    switch (piece.slot) {
      case FormatSlot::Literal:
        pos = rest(pos).starts_with(piece.literal) ? pos + piece.literal.size() : kNone;
        break;
      case FormatSlot::Hex:
        pos = run(IsHex, 6, 6);
        break;
      case FormatSlot::Digit:
        pos = run(IsHex, 1, 1);
        break;
      case FormatSlot::Decimal:
        pos = run(IsDecimal, 1, 3);
        break;
      case FormatSlot::Ansi:
        pos = run([](char16_t c) { return c >= u'0' && c <= u'7'; }, 1, 1);
        break;
      case FormatSlot::Codes:
        pos = codes(pos);
        break;
      case FormatSlot::Text:
        break;
    }
  }
  return pos;
}

std::size_t Reader::units(const std::vector<HeadUnit>& units, std::size_t pos) const {
  if (pos == kNone || m_end - pos < units.size()) {
    return kNone;
  }
  const char16_t* const at = m_markup.data() + pos;
  for (std::size_t k = 0; k < units.size(); ++k) {
    const char16_t c = at[k];
    const bool matches = units[k].kind == HeadUnit::Literal    ? c == units[k].unit
                         : units[k].kind == HeadUnit::HexDigit ? IsHex(c)
                                                               : c >= u'0' && c <= u'7';
    if (!matches) {
      return kNone;
    }
  }
  return pos + units.size();
}

std::size_t Reader::head(std::size_t pos) const {
  const std::optional<HeadPattern>& head = m_reading.head;
  if (!head) {
    return pieces(m_reading.chunk, 0, m_textIndex, pos);
  }
  pos = units(head->beforeCodes, pos);
  if (!head->codes || pos == kNone) {
    return pos;
  }
  return units(head->afterCodes, codes(pos));
}

// Where a text that ends its format stops: at the next chunk, or at a
// formatting code that closes what was opened around the text.
std::size_t Reader::openTextEnd(std::size_t from, std::size_t limit) const {
  const std::vector<FormatPiece>& chunk = m_reading.chunk.pieces;
  const std::u16string_view lead =
      chunk.front().slot == FormatSlot::Literal ? std::u16string_view(chunk.front().literal) : u"";
  const DialectStyles& styles = m_reading.styles;
  const bool closes = m_styled && styles.placement == StylePlacement::AroundText;
  for (std::size_t k = from; k < limit; ++k) {
    // The head begins with the lead, so its first unit rules out most places.
    if (!lead.empty() && m_markup[k] == lead.front() && head(k) != kNone) {
      return k;
    }
    if (closes && std::any_of(styles.close.begin(), styles.close.end(), [&](auto code) {
          return !code.empty() && rest(k).starts_with(code);
        })) {
      return k;
    }
  }
  return limit;
}

std::size_t Reader::literalAfterText(std::u16string_view literal, TextEscape escape,
                                     std::size_t from) const {
  if (escape != TextEscape::Json) {
    const std::size_t found = rest(from).find(literal);
    return found == kNone ? kNone : from + found;
  }
  // Escaped characters are text, and a JSON string ends at its first
  // quotation mark that is not escaped.
  for (std::size_t k = from; k < m_end; ++k) {
    if (m_markup[k] == u'\\') {
      ++k;
    } else if (rest(k).starts_with(literal)) {
      return k;
    } else if (m_markup[k] == u'"') {
      return kNone;
    }
  }
  return kNone;
}

bool Reader::appendText(TextEscape escape, std::size_t from, std::size_t to) {
  const std::u16string_view text = m_markup.substr(from, to - from);
  if (escape == TextEscape::None) {
    m_out += text;
    return true;
  }
  const std::size_t before = m_out.size();
  if (!decodeText(escape, from, text)) {
    return false;
  }
  // A Minecraft client reads the § codes of each component's text on its own.
  if (m_reading.codes == TextCodes::Json) {
    const std::u16string shown = ReadAsDestination(TextCodes::Section, m_out.substr(before));
    m_out.replace(before, std::u16string::npos, shown);
  }
  return true;
}

bool Reader::decodeText(TextEscape escape, std::size_t from, std::u16string_view text) {
  for (std::size_t k = 0; k < text.size();) {
    const char16_t c = text[k];
    std::size_t units = 1;
    if (escape == TextEscape::Html && c == u'&') {
      const auto [entity, decoded] = EntityAt(text.substr(k));
      m_out += entity > 0 ? static_cast<char16_t>(decoded) : c;
      units = std::max<std::size_t>(entity, 1);
    } else if (escape == TextEscape::CodeBlock && c == u'`') {
      m_out += c;
      units = k + 1 < text.size() && text[k + 1] == detail::kZeroWidthSpace ? 2 : 1;
    } else if (escape == TextEscape::CodeBlock && c == u'\x1b') {
      units = TerminalCodeLength(text.substr(k));
    } else if (escape == TextEscape::Json && c == u'\\') {
      units = DecodeJsonEscape(text.substr(k), m_out);
      if (units == 0) {
        m_error = {from + k, u"an escape that JSON does not have"};
        return false;
      }
    } else {
      m_out += c;
    }
    k += units;
  }
  return true;
}

// A coloured chunk or a blank one at pos, its text added; returns where it ends.
std::size_t Reader::item(std::size_t pos) {
  for (const MarkupFormat* format :
       {&m_reading.chunk, m_reading.bare ? &*m_reading.bare : nullptr}) {
    if (format == nullptr) {
      continue;
    }
    const std::size_t text = format == &m_reading.chunk ? m_textIndex : m_bareTextIndex;
    const std::size_t from = format == &m_reading.chunk ? head(pos) : pieces(*format, 0, text, pos);
    if (from == kNone) {
      continue;
    }
    std::size_t to = 0;
    std::size_t after = 0;
    if (text + 1 == format->pieces.size()) {
      to = after = openTextEnd(from, m_end);
    } else {
      to = literalAfterText(format->pieces[text + 1].literal, format->escape, from);
      // The literal was found at to: when nothing follows it, the chunk ends there.
      const bool literalEnds = text + 2 == format->pieces.size();
      after = to == kNone   ? kNone
              : literalEnds ? to + format->pieces[text + 1].literal.size()
                            : pieces(*format, text + 1, format->pieces.size(), to);
      // Tags that do not pair: a second one opened before the first closed.
      if (const std::size_t nested = to == kNone ? to : openTextEnd(from, to); nested < to) {
        m_error = {nested, u"a colour tag opened inside another"};
        return kNone;
      }
    }
    if (after != kNone) {
      return appendText(format->escape, from, to) ? after : kNone;
    }
  }
  return kNone;
}

// A formatting code written around the text, at pos: where it ends, or pos.
std::size_t Reader::styleCode(std::size_t pos) {
  const DialectStyles& styles = m_reading.styles;
  if (styles.placement != StylePlacement::AroundText) {
    return pos;
  }
  for (std::size_t k = 0; k < styles.open.size(); ++k) {
    for (const std::u16string_view code : {styles.open[k], styles.close[k]}) {
      if (!code.empty() && rest(pos).starts_with(code)) {
        m_styled = m_styled || code == styles.open[k];
        return pos + code.size();
      }
    }
  }
  return pos;
}

std::optional<std::size_t> Reader::firstChunk() {
  if (!m_reading.readable || !frame()) {
    return std::nullopt;
  }
  std::size_t pos = m_begin;
  while (pos < m_end) {
    // A chunk's head is enough: a chunk that does not close is this
    // dialect's markup all the same, and reading it says where it breaks.
    if (head(pos) != kNone || item(pos) != kNone) {
      return pos;
    }
    if (const std::size_t code = styleCode(pos); code != pos) {
      pos = code;
    } else if (isBare(m_markup[pos]) && m_reading.frame.between.empty()) {
      ++pos;
    } else {
      return std::nullopt;
    }
  }
  return m_end;
}

Stripped Reader::fail(std::size_t offset, std::u16string why) const {
  return {std::nullopt, offset, std::move(why), m_reading.key};
}

Stripped Reader::read() {
  if (!m_reading.readable) {
    return fail(0, u"this format cannot be read back: literal text must follow {text}");
  }
  if (!frame()) {
    return fail(
        m_markup.starts_with(m_reading.frame.before) ? m_markup.size() : 0,
        u"the markup does not " +
            std::u16string(m_markup.starts_with(m_reading.frame.before) ? u"end with "
                                                                        : u"start with ") +
            std::u16string(m_markup.starts_with(m_reading.frame.before) ? m_reading.frame.after
                                                                        : m_reading.frame.before));
  }
  const std::u16string_view between = m_reading.frame.between;
  // Never more text than markup: reserved once, it is never copied to grow.
  m_out.reserve(m_end - m_begin);
  std::size_t pos = m_begin;
  bool separate = false;
  while (pos < m_end) {
    if (separate && !between.empty()) {
      if (!rest(pos).starts_with(between)) {
        return fail(pos, u"expected '" + std::u16string(between) + u"' between two chunks");
      }
      pos += between.size();
    }
    if (const std::size_t next = item(pos); next != kNone) {
      pos = next;
      separate = true;
      continue;
    }
    if (m_error) {
      return fail(m_error->first, m_error->second);
    }
    if (const std::size_t code = styleCode(pos); code != pos) {
      pos = code;
      continue;
    }
    if (isBare(m_markup[pos]) && between.empty()) {
      m_out += m_markup[pos++];
      continue;
    }
    const bool open = head(pos) != kNone;
    return fail(pos, open ? u"a colour tag that is not closed"
                          : u"neither a colour tag nor text inside one");
  }
  return {shown(), 0, {}, m_reading.key};
}

std::u16string Reader::shown() {
  switch (m_reading.codes) {
    case TextCodes::Ampersand:
    case TextCodes::Legacy:
    case TextCodes::Section:
    case TextCodes::MiniMessage:
      // Their readers take codes from anywhere, the colour codes among them.
      return ReadAsDestination(m_reading.codes, m_markup.substr(m_begin, m_end - m_begin));
    default:
      break;
  }
  if (m_reading.frame.codeBlock) {
    if (m_out.starts_with(detail::kZeroWidthSpace) && detail::BlankFirstLine(m_out)) {
      m_out.erase(0, 1);
    }
    if (m_out.ends_with(detail::kZeroWidthSpace) && detail::BlankLastLine(m_out)) {
      m_out.pop_back();
    }
  }
  return std::move(m_out);
}

}  // namespace

Stripped StripMarkup(std::u16string_view markup, const MarkupTemplate* as, bool entities) {
  if (as != nullptr) {
    return Reader(ReadingOf(*as, entities), markup).read();
  }
  // The dialect whose first chunk starts first; ties go to the earlier row.
  std::optional<Reading> best;
  std::size_t bestAt = kNone;
  std::optional<Reading> plain;  // nothing but blanks (or an empty frame)
  for (const Dialect& dialect : Dialects()) {
    Reading reading = ReadingOf(dialect.markup(), entities);
    const std::optional<std::size_t> at = Reader(reading, markup).firstChunk();
    if (at && *at < bestAt) {
      const bool onlyBlanks = *at == markup.size() - reading.frame.after.size();
      if (onlyBlanks) {
        if (!plain) {
          plain = std::move(reading);
        }
        continue;
      }
      bestAt = *at;
      best = std::move(reading);
    }
  }
  if (best || plain) {
    return Reader(best ? *best : *plain, markup).read();
  }
  const std::size_t first = std::min(markup.find_first_not_of(u" \t\r\n"), markup.size());
  return {std::nullopt, first, u"no colour markup of any dialect huecode writes starts here", {}};
}

TextPlace PlaceOf(std::u16string_view text, std::size_t offset) {
  TextPlace place;
  const std::u16string_view before = text.substr(0, std::min(offset, text.size()));
  const std::size_t lineStart = before.rfind(u'\n');
  place.line += std::count(before.begin(), before.end(), u'\n');
  const std::u16string_view line = lineStart == kNone ? before : before.substr(lineStart + 1);
  place.column += CountCharacters(line);
  return place;
}

}  // namespace huecode
