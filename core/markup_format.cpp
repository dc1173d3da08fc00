#include "core/markup_format.h"

#include <algorithm>
#include <limits>

#include "core/gradient_stops.h"

namespace huecode {

namespace {

struct PlaceholderName {
  std::u16string_view name;
  FormatPiece piece;
  TextEscape escape = TextEscape::None;
};

using enum FormatSlot;

const PlaceholderName kPlaceholders[] = {
    {u"text", {Text}},
    {u"text:html", {Text}, TextEscape::Html},
    {u"text:json", {Text}, TextEscape::Json},
    {u"HEX", {Hex}},
    {u"hex", {Hex, 0, true}},
    {u"R1", {Digit, 0}},
    {u"R2", {Digit, 1}},
    {u"G1", {Digit, 2}},
    {u"G2", {Digit, 3}},
    {u"B1", {Digit, 4}},
    {u"B2", {Digit, 5}},
    {u"r1", {Digit, 0, true}},
    {u"r2", {Digit, 1, true}},
    {u"g1", {Digit, 2, true}},
    {u"g2", {Digit, 3, true}},
    {u"b1", {Digit, 4, true}},
    {u"b2", {Digit, 5, true}},
    {u"red", {Decimal, 0}},
    {u"green", {Decimal, 1}},
    {u"blue", {Decimal, 2}},
    {u"ansi", {Ansi}},
    {u"codes", {Codes}},
};

ParsedFormat Bad(std::size_t offset, std::string message, FormatProblem problem) {
  return {std::nullopt, {offset, std::move(message), problem}};
}

std::string Narrow(std::u16string_view text) {
  std::string narrow;
  for (const char16_t c : text) {
    narrow += c < 0x80 ? static_cast<char>(c) : '?';
  }
  return narrow;
}

void AddLiteral(MarkupFormat& format, std::u16string_view text) {
  if (text.empty()) {
    return;
  }
  if (format.pieces.empty() || format.pieces.back().slot != Literal) {
    format.pieces.push_back({});
  }
  format.pieces.back().literal += text;
}

}  // namespace

namespace {

// The format read so far, and where its {text} was.
struct FormatParse {
  MarkupFormat format;
  std::optional<std::size_t> textAt;
};

// Where reading goes on after one part of the format, or why it cannot.
struct PartRead {
  std::size_t next = 0;
  std::optional<FormatError> error{};
};

PartRead Refused(std::size_t offset, std::string message, FormatProblem problem,
                 std::u16string_view placeholder = {}) {
  return {offset, FormatError{offset, std::move(message), problem, std::u16string(placeholder)}};
}

// The '}' at k, which only a second one makes a brace.
PartRead CloseBrace(std::u16string_view source, std::size_t k, MarkupFormat& format) {
  if (k + 1 >= source.size() || source[k + 1] != u'}') {
    return Refused(k, "a lone '}' (write }} for a brace)", FormatProblem::LoneClose);
  }
  AddLiteral(format, u"}");
  return {k + 2};
}

const PlaceholderName* FindPlaceholder(std::u16string_view name) {
  const auto* found = std::find_if(std::begin(kPlaceholders), std::end(kPlaceholders),
                                   [&](const PlaceholderName& p) { return p.name == name; });
  return found != std::end(kPlaceholders) ? found : nullptr;
}

// The '{' at k: a brace when doubled, else a placeholder up to its '}'.
PartRead OpenBrace(std::u16string_view source, std::size_t k, bool allowCodes, FormatParse& parse) {
  if (k + 1 < source.size() && source[k + 1] == u'{') {
    AddLiteral(parse.format, u"{");
    return {k + 2};
  }
  const std::size_t close = source.find_first_of(u"{}", k + 1);
  if (close == std::u16string_view::npos || source[close] != u'}') {
    return Refused(k, "a '{' that no '}' closes (write {{ for a brace)",
                   FormatProblem::UnclosedOpen);
  }
  const std::u16string_view name = source.substr(k + 1, close - k - 1);
  const PlaceholderName* found = FindPlaceholder(name);
  if (found == nullptr) {
    return Refused(k,
                   "unknown placeholder {" + Narrow(name) +
                       "}; known: {text} {text:html} {text:json} {HEX} {hex} {R1}..{B2} "
                       "{r1}..{b2} {red} {green} {blue} {ansi}",
                   FormatProblem::UnknownPlaceholder, name);
  }
  // A dialect's own format places its formatting codes; a format changed
  // from it belongs to no dialect and has none to place.
  if (found->piece.slot == Codes && !allowCodes) {
    return Refused(k,
                   "{codes} places a dialect's formatting codes and only its own format has "
                   "them; remove {codes}",
                   FormatProblem::CodesOutsideDialect, name);
  }
  if (found->piece.slot == Text) {
    if (parse.textAt) {
      return Refused(k, "{text} appears twice; a chunk's text is written once",
                     FormatProblem::TextTwice);
    }
    parse.textAt = k;
    parse.format.escape = found->escape;
  }
  parse.format.ansi = parse.format.ansi || found->piece.slot == Ansi;
  parse.format.pieces.push_back(found->piece);
  return {close + 1};
}

}  // namespace

// One pass over the format, so that an error can name the exact character.
ParsedFormat ParseFormat(std::u16string_view source, bool allowCodes) {
  FormatParse parse;
  std::size_t k = 0;
  while (k < source.size()) {
    PartRead read;
    if (source[k] == u'}') {
      read = CloseBrace(source, k, parse.format);
    } else if (source[k] == u'{') {
      read = OpenBrace(source, k, allowCodes, parse);
    } else {
      read.next = std::min(source.find_first_of(u"{}", k), source.size());
      AddLiteral(parse.format, source.substr(k, read.next - k));
    }
    if (read.error) {
      return {std::nullopt, *std::move(read.error)};
    }
    k = read.next;
  }
  if (!parse.textAt) {
    return Bad(source.size(), "no {text}: the format must say where the chunk's text goes",
               FormatProblem::NoText);
  }
  return {std::move(parse.format), {}};
}

MarkupFormat FormatOfTemplate(std::u16string_view prefix, std::u16string_view middle,
                              std::u16string_view suffix) {
  MarkupFormat format;
  AddLiteral(format, prefix);
  format.pieces.push_back({Hex});
  format.pieces.push_back({Codes});
  AddLiteral(format, middle);
  format.pieces.push_back({Text});
  AddLiteral(format, suffix);
  return format;
}

int NearestAnsiColour(ColourTriple colour) {
  static const auto palette = [] {
    std::array<detail::Oklab, kAnsiColours.size()> converted{};
    std::transform(kAnsiColours.begin(), kAnsiColours.end(), converted.begin(), detail::ToOklab);
    return converted;
  }();
  const detail::Oklab lab = detail::ToOklab(colour);
  int nearest = 0;
  double best = std::numeric_limits<double>::max();
  for (std::size_t k = 0; k < palette.size(); ++k) {
    const double dl = lab.l - palette[k].l;
    const double da = lab.a - palette[k].a;
    const double db = lab.b - palette[k].b;
    const double distance = dl * dl + da * da + db * db;
    if (distance < best) {
      best = distance;
      nearest = static_cast<int>(k);
    }
  }
  return nearest;
}

namespace detail {

ColourFields FieldsOf(ColourTriple colour, bool ansi) {
  ColourFields fields;
  const std::array<std::int16_t, 3> channels{colour.r, colour.g, colour.b};
  for (std::size_t c = 0; c < channels.size(); ++c) {
    const auto value = static_cast<unsigned>(std::clamp<int>(channels[c], 0, 255));
    WriteHexByte(&fields.upper[2 * c], value);
    for (std::size_t d = 0; d < 2; ++d) {
      const char16_t digit = fields.upper[2 * c + d];
      fields.lower[2 * c + d] = digit >= u'A' ? static_cast<char16_t>(digit + 0x20) : digit;
    }
    std::uint8_t units = 0;
    for (unsigned scale : {100U, 10U, 1U}) {
      if (value >= scale || scale == 1) {
        fields.decimal[c][units++] = static_cast<char16_t>(u'0' + value / scale % 10);
      }
    }
    fields.decimalUnits[c] = units;
  }
  if (ansi) {
    fields.ansi = static_cast<char16_t>(u'0' + NearestAnsiColour(colour));
  }
  return fields;
}

}  // namespace detail

}  // namespace huecode
