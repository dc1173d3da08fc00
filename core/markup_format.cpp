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

ParsedFormat Bad(std::size_t offset, std::string message) {
  return {std::nullopt, {offset, std::move(message)}};
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

// One pass over the format with its placeholders as cases, so an error can
// name the exact character.
// NOLINTNEXTLINE(readability-function-size)
ParsedFormat ParseFormat(std::u16string_view source, bool allowCodes) {
  MarkupFormat format;
  std::optional<std::size_t> textAt;
  std::size_t k = 0;
  while (k < source.size()) {
    const char16_t c = source[k];
    if (c == u'}') {
      if (k + 1 >= source.size() || source[k + 1] != u'}') {
        return Bad(k, "a lone '}' (write }} for a brace)");
      }
      AddLiteral(format, u"}");
      k += 2;
      continue;
    }
    if (c != u'{') {
      const std::size_t next = std::min(source.find_first_of(u"{}", k), source.size());
      AddLiteral(format, source.substr(k, next - k));
      k = next;
      continue;
    }
    if (k + 1 < source.size() && source[k + 1] == u'{') {
      AddLiteral(format, u"{");
      k += 2;
      continue;
    }
    const std::size_t close = source.find_first_of(u"{}", k + 1);
    if (close == std::u16string_view::npos || source[close] != u'}') {
      return Bad(k, "a '{' that no '}' closes (write {{ for a brace)");
    }
    const std::u16string_view name = source.substr(k + 1, close - k - 1);
    const auto* found = std::find_if(std::begin(kPlaceholders), std::end(kPlaceholders),
                                     [&](const PlaceholderName& p) { return p.name == name; });
    if (found == std::end(kPlaceholders) || (found->piece.slot == Codes && !allowCodes)) {
      return Bad(k, "unknown placeholder {" + Narrow(name) +
                        "}; known: {text} {text:html} {text:json} {HEX} {hex} {R1}..{B2} "
                        "{r1}..{b2} {red} {green} {blue} {ansi}");
    }
    if (found->piece.slot == Text) {
      if (textAt) {
        return Bad(k, "{text} appears twice; a chunk's text is written once");
      }
      textAt = k;
      format.escape = found->escape;
    }
    format.ansi = format.ansi || found->piece.slot == Ansi;
    format.pieces.push_back(found->piece);
    k = close + 1;
  }
  if (!textAt) {
    return Bad(source.size(), "no {text}: the format must say where the chunk's text goes");
  }
  return {std::move(format), {}};
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
