#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/colour.h"
#include "core/detail/markup_pieces.h"
#include "core/surrogates.h"

namespace huecode {

// A format string writes one coloured chunk with placeholders in braces:
//   {text}  {text:html}  {text:json}   the chunk's text, as it is or escaped
//   {HEX}  {hex}                       the colour's six digits, upper or lower case
//   {R1} {R2} {G1} {G2} {B1} {B2}      one digit each (lower case: {r1} … {b2})
//   {red}  {green}  {blue}             a channel in decimal, 0 to 255
//   {ansi}                             the nearest of the eight ANSI text colours, 0 to 7
// and {{ and }} for the braces themselves. {text} appears exactly once. The
// dialects' own formats also place their formatting codes with {codes}.
// A dialect whose chunks sit in a code block escapes its text as CodeBlock
// (see PutCodeBlockText).
enum class TextEscape : std::uint8_t { None, Html, Json, CodeBlock };

enum class FormatSlot : std::uint8_t { Literal, Text, Hex, Digit, Decimal, Ansi, Codes };

struct FormatPiece {
  FormatSlot slot = FormatSlot::Literal;
  std::uint8_t index = 0;    // Digit: 0..5 from R1 to B2; Decimal: 0..2 from red to blue
  bool lower = false;        // Hex and Digit
  std::u16string literal{};  // Literal only

  friend bool operator==(const FormatPiece&, const FormatPiece&) = default;
};

struct MarkupFormat {
  std::vector<FormatPiece> pieces;
  TextEscape escape = TextEscape::None;
  // With {ansi} each chunk takes the nearest ANSI colour, and neighbouring
  // chunks of one such colour share one code.
  bool ansi = false;

  friend bool operator==(const MarkupFormat&, const MarkupFormat&) = default;
};

// Why a format cannot be read, for a front end that says it in words of its own.
enum class FormatProblem : std::uint8_t {
  LoneClose,
  UnclosedOpen,
  UnknownPlaceholder,
  CodesOutsideDialect,
  TextTwice,
  NoText
};

// Where a format cannot be read: the code-unit offset into it and why, with
// the placeholder's name when it is one the format may not hold.
struct FormatError {
  std::size_t offset = 0;
  std::string message;
  FormatProblem problem = FormatProblem::NoText;
  std::u16string placeholder{};
};

struct ParsedFormat {
  std::optional<MarkupFormat> format;
  FormatError error;  // when there is no format
};

ParsedFormat ParseFormat(std::u16string_view source, bool allowCodes = false);

// The window's three-part template as a format: prefix{HEX}{codes}middle{text}suffix.
MarkupFormat FormatOfTemplate(std::u16string_view prefix, std::u16string_view middle,
                              std::u16string_view suffix);

// The eight text colours of ANSI codes 30 to 37 as Discord's code blocks show them.
inline constexpr std::array<ColourTriple, 8> kAnsiColours{{{0x4F, 0x54, 0x5C},
                                                           {0xDC, 0x32, 0x2F},
                                                           {0x85, 0x99, 0x00},
                                                           {0xB5, 0x89, 0x00},
                                                           {0x26, 0x8B, 0xD2},
                                                           {0xD3, 0x36, 0x82},
                                                           {0x2A, 0xA1, 0x98},
                                                           {0xFF, 0xFF, 0xFF}}};

// The index 0..7 of the ANSI colour nearest by distance in OKLab.
int NearestAnsiColour(ColourTriple colour);

namespace detail {

// The colour as the chunk's placeholders need it, built once per colour.
struct ColourFields {
  std::array<char16_t, 6> upper{};
  std::array<char16_t, 6> lower{};
  std::array<std::array<char16_t, 3>, 3> decimal{};
  std::array<std::uint8_t, 3> decimalUnits{};
  char16_t ansi = u'0';
};

ColourFields FieldsOf(ColourTriple colour, bool ansi);

// \" \\ and control characters as short escapes or \u00XX, a lone surrogate
// as \uXXXX, so that the output is valid JSON in any encoding.
template <typename Sink>
void PutJsonEscaped(Sink& sink, std::u16string_view text) {
  std::size_t from = 0;
  for (std::size_t k = 0; k < text.size(); ++k) {
    const char16_t c = text[k];
    const bool pairStart = IsHighSurrogate(c) && k + 1 < text.size() && IsLowSurrogate(text[k + 1]);
    if (pairStart) {
      ++k;
      continue;
    }
    if (c >= u' ' && c != u'"' && c != u'\\' && !IsSurrogate(c)) {
      continue;
    }
    sink.put(text.substr(from, k - from));
    std::array<char16_t, 6> escape{u'\\', u'u', u'0', u'0', u'0', u'0'};
    std::size_t units = 2;
    switch (c) {
      case u'"':
      case u'\\':
        escape[1] = c;
        break;
      case u'\n':
        escape[1] = u'n';
        break;
      case u'\r':
        escape[1] = u'r';
        break;
      case u'\t':
        escape[1] = u't';
        break;
      default:
        units = 6;
        for (std::size_t d = 0; d < 4; ++d) {
          escape[2 + d] = kHexDigits[(c >> (12 - 4 * d)) & 0xF];
        }
    }
    sink.put(std::u16string_view(escape.data(), units));
    from = k + 1;
  }
  sink.put(text.substr(from));
}

// What breaks a run of backticks in a code block's text: it does not show.
inline constexpr char16_t kZeroWidthSpace = u'\u200B';

// A code block fenced with ``` ends at the first three backticks in a row, so
// a zero-width space goes after every backtick that another backtick follows:
// the text shows as it is, and no run of two can form. A zero-width space that
// the text has after a backtick gets one more before it, so that reading back
// (one zero-width space dropped after each backtick) gives the text exactly.
template <typename Sink>
void PutCodeBlockText(Sink& sink, std::u16string_view text) {
  static constexpr char16_t kBreak = kZeroWidthSpace;
  std::size_t from = 0;
  for (std::size_t k = text.find(u'`'); k != std::u16string_view::npos && k + 1 < text.size();
       k = text.find(u'`', k + 1)) {
    if (text[k + 1] == u'`' || text[k + 1] == kBreak) {
      sink.put(text.substr(from, k + 1 - from));
      sink.put(std::u16string_view(&kBreak, 1));
      from = k + 1;
    }
  }
  sink.put(text.substr(from));
}

// The markup of a format, whose length is not known before it is written.
struct AppendSink {
  std::u16string out;
  void put(std::u16string_view piece) { out.append(piece); }
};

template <typename Sink>
void PutText(Sink& sink, TextEscape escape, std::u16string_view text) {
  switch (escape) {
    case TextEscape::None:
      sink.put(text);
      break;
    case TextEscape::Html:
      PutEscaped(sink, text);
      break;
    case TextEscape::Json:
      PutJsonEscaped(sink, text);
      break;
    case TextEscape::CodeBlock:
      PutCodeBlockText(sink, text);
      break;
  }
}

// One chunk in the format; codes are the formatting codes asked.
template <typename Sink>
void PutFormatted(Sink& sink, const MarkupFormat& format, const ColourFields& colour,
                  std::u16string_view text, std::u16string_view codes) {
  for (const FormatPiece& piece : format.pieces) {
    switch (piece.slot) {
      case FormatSlot::Literal:
        sink.put(piece.literal);
        break;
      case FormatSlot::Text:
        PutText(sink, format.escape, text);
        break;
      case FormatSlot::Hex:
        sink.put(std::u16string_view((piece.lower ? colour.lower : colour.upper).data(), 6));
        break;
      case FormatSlot::Digit:
        sink.put(std::u16string_view(&(piece.lower ? colour.lower : colour.upper)[piece.index], 1));
        break;
      case FormatSlot::Decimal:
        sink.put(std::u16string_view(colour.decimal[piece.index].data(),
                                     colour.decimalUnits[piece.index]));
        break;
      case FormatSlot::Ansi:
        sink.put(std::u16string_view(&colour.ansi, 1));
        break;
      case FormatSlot::Codes:
        sink.put(codes);
        break;
    }
  }
}

}  // namespace detail

}  // namespace huecode
