// The page's only door into the conversion core. JavaScript writes one
// request (numbers into Request, texts as UTF-16 into the text buffer), calls
// hc_convert and reads the result back from the linear memory. hc_interface
// describes the request and the counts field by field, and hands over the
// dialects, the defaults and the limits, so the page repeats none of them.
#include <emscripten/emscripten.h>

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/conversion.h"
#include "core/dialects.h"
#include "core/gradient_stops.h"
#include "core/markup_format.h"
#include "core/markup_template.h"
#include "core/strip_markup.h"
#include "core/surprise.h"
#include "core/surrogates.h"
#include "core/text_codes.h"

// The browser's Intl.Segmenter cuts user-perceived characters, so the page
// needs no copy of the Unicode tables. Writes the offsets where clusters
// begin and returns how many it wrote.
EM_JS(std::int32_t, hc_segment_graphemes,
      (const char16_t* text, std::int32_t units, std::uint32_t* out), {
        const view = HEAPU16.subarray(text >> 1, (text >> 1) + units);
        const string = new TextDecoder('utf-16le').decode(view);
        const offsets = HEAPU32.subarray(out >> 2, (out >> 2) + units + 1);
        let count = 0;
        for (const part of new Intl.Segmenter(undefined, {granularity : 'grapheme'})
                 .segment(string)) {
          offsets[count++] = part.index;
        }
        return count;
      });

// Hands a piece of the markup, as UTF-8 bytes, to the page, which takes it
// before the next piece is written over it.
EM_JS(void, hc_markup_piece, (const char* piece, std::int32_t bytes),
      { Module['onMarkupPiece'](piece, bytes); });

namespace {

using huecode::ColourValue;

std::vector<std::uint32_t> GraphemeBoundaries(std::u16string_view text) {
  std::vector<std::uint32_t> boundaries(text.size() + 1);
  const std::int32_t count =
      hc_segment_graphemes(text.data(), static_cast<std::int32_t>(text.size()), boundaries.data());
  boundaries.resize(static_cast<std::size_t>(count));
  boundaries.push_back(static_cast<std::uint32_t>(text.size()));
  return boundaries;
}

struct Request {
  std::int32_t textUnits = 0;
  std::int32_t stepUnits = 0;
  std::int32_t prefixUnits = 0;
  std::int32_t middleUnits = 0;
  std::int32_t suffixUnits = 0;
  std::int32_t space = 0;  // an index into kSpaces
  std::int32_t by = 0;     // an index into kUnits
  std::int32_t merge = 0;
  std::int32_t rainbow = 0;    // the core's rainbow instead of the stops
  std::int32_t escape = 0;     // the text's own codes as typed, by the dialect's means
  std::int32_t fitLimit = -1;  // in limitUnit; below 0 means no fitting
  std::int32_t limitUnit = 0;  // an index into kLimitUnits
  std::int32_t previewUnits = 0;
  std::int32_t styles = 0;     // bit k for kStyleNames[k]
  std::int32_t endpoints = 0;  // the first and last coloured chunk on the first and last stop
  std::int32_t stopCount = 2;
  std::array<ColourValue, huecode::kMaxStops> stops{};
  std::int32_t perLine = 0;      // each line through the whole gradient
  std::int32_t mirror = 0;       // to the last stop at the middle and back
  std::int32_t formatUnits = 0;  // a format string instead of the three parts, when not empty
  // Where each stop sits, in hundredths of a percent; below 0 for evenly
  // between its placed neighbours.
  std::array<std::int32_t, huecode::kMaxStops> positions{};
};

struct Field {
  std::u16string_view name;
  std::size_t offset;
};

constexpr Field kRequestFields[] = {
    {u"textUnits", offsetof(Request, textUnits)},
    {u"stepUnits", offsetof(Request, stepUnits)},
    {u"prefixUnits", offsetof(Request, prefixUnits)},
    {u"middleUnits", offsetof(Request, middleUnits)},
    {u"suffixUnits", offsetof(Request, suffixUnits)},
    {u"space", offsetof(Request, space)},
    {u"by", offsetof(Request, by)},
    {u"merge", offsetof(Request, merge)},
    {u"rainbow", offsetof(Request, rainbow)},
    {u"escape", offsetof(Request, escape)},
    {u"fitLimit", offsetof(Request, fitLimit)},
    {u"limitUnit", offsetof(Request, limitUnit)},
    {u"previewUnits", offsetof(Request, previewUnits)},
    {u"styles", offsetof(Request, styles)},
    {u"endpoints", offsetof(Request, endpoints)},
    {u"stopCount", offsetof(Request, stopCount)},
    {u"perLine", offsetof(Request, perLine)},
    {u"mirror", offsetof(Request, mirror)},
    {u"formatUnits", offsetof(Request, formatUnits)},
};
static_assert(std::size(kRequestFields) * sizeof(std::int32_t) + sizeof(Request::stops) +
                      sizeof(Request::positions) ==
                  sizeof(Request),
              "every number besides the stops and their positions is described");

// Counts as doubles, since JavaScript numbers are.
struct Counts {
  double charactersIn = 0;
  double chunks = 0;
  double colouredChunks = 0;
  double outputCharacters = 0;
  double outputUtf8 = 0;  // bytes
  double outputGbk = 0;   // bytes
  double step = 1;
  double fitFailed = 0;
  double shortest =
      0;  // the output of one chunk for the whole text in limitUnit, when nothing fits
  // The text's first sequence that the destination takes as a code (offset
  // below 0 for none), in code units, and whether --escape shows it as typed.
  double codeOffset = -1;
  double codeLength = 0;
  double codeEscapable = 0;
};

constexpr Field kCountFields[] = {
    {u"charactersIn", offsetof(Counts, charactersIn)},
    {u"chunks", offsetof(Counts, chunks)},
    {u"colouredChunks", offsetof(Counts, colouredChunks)},
    {u"outputCharacters", offsetof(Counts, outputCharacters)},
    {u"outputUtf8", offsetof(Counts, outputUtf8)},
    {u"outputGbk", offsetof(Counts, outputGbk)},
    {u"step", offsetof(Counts, step)},
    {u"fitFailed", offsetof(Counts, fitFailed)},
    {u"shortest", offsetof(Counts, shortest)},
    {u"codeOffset", offsetof(Counts, codeOffset)},
    {u"codeLength", offsetof(Counts, codeLength)},
    {u"codeEscapable", offsetof(Counts, codeEscapable)},
};
static_assert(std::size(kCountFields) * sizeof(double) == sizeof(Counts),
              "every count is described");

// How --escape shows a dialect's codes as typed: by "entities", the colour
// code again between & and the code character ("codeBetween"), a
// "backslash", or "nothing" (it is refused).
std::u16string_view LiteralName(huecode::LiteralMeans means) {
  switch (means) {
    case huecode::LiteralMeans::Entities:
      return u"entities";
    case huecode::LiteralMeans::CodeBetween:
      return u"codeBetween";
    case huecode::LiteralMeans::Backslash:
      return u"backslash";
    case huecode::LiteralMeans::Nothing:
      break;
  }
  return u"nothing";
}

// How the dialect's readers take HTML entities: "decoded" always, on
// "request" (HTML-safe text may be asked), or "never" (it is refused).
std::u16string_view EntitiesName(huecode::Entities entities) {
  switch (entities) {
    case huecode::Entities::Decoded:
      return u"decoded";
    case huecode::Entities::OnRequest:
      return u"request";
    case huecode::Entities::Never:
      break;
  }
  return u"never";
}

// "around" the coloured text, in every "tag", or "" for a dialect without codes.
std::u16string_view StylePlacementName(huecode::StylePlacement placement) {
  switch (placement) {
    case huecode::StylePlacement::AroundText:
      return u"around";
    case huecode::StylePlacement::InEveryTag:
      return u"tag";
    case huecode::StylePlacement::NoCodes:
      break;
  }
  return u"";
}

Request g_request;
huecode::GbkTable g_gbk{};  // filled once by the page from the browser's GBK decoder
std::u16string g_texts;
std::u16string g_error;  // JSON: where and why a format or markup could not be read
std::u16string g_markup;
Counts g_counts;
std::vector<std::int32_t> g_preview;  // offset, units, the colour or -1 for each chunk
std::u16string g_interface;
// The last conversion's plan, kept so that its markup can be built whole or
// written out in pieces after the counts; the text keeps views of the settings.
std::optional<huecode::StyledSettings> g_settings;
std::optional<huecode::StyledText> g_text;
std::int32_t g_step = 1;
bool g_markupBuilt = false;

void BuildMarkup() {
  if (!g_markupBuilt && g_text) {
    g_markup = g_text->markup(g_step);
  }
  g_markupBuilt = true;
}

// Collects the markup as UTF-8 into pieces of about a fixed size and hands
// each to the page, which keeps them in a Blob as they are: a long markup
// never becomes a string on the page. A piece ends between two code points;
// a surrogate pair split between two puts is joined, and a lone surrogate
// becomes U+FFFD, as the browser's own encoder writes it.
class Utf8PieceSink {
 public:
  explicit Utf8PieceSink(std::size_t bytes) : m_bytes(bytes) { m_buffer.reserve(bytes + 4); }

  void put(std::u16string_view piece) {
    for (const char16_t unit : piece) {
      take(unit);
    }
  }
  void flush() {
    if (m_lead != 0) {
      append(kReplacement);
      m_lead = 0;
    }
    send();
  }

 private:
  static constexpr char32_t kReplacement = 0xFFFD;

  void take(char16_t unit) {
    if (m_lead != 0) {
      const char32_t lead = m_lead;
      m_lead = 0;
      if (huecode::IsLowSurrogate(unit)) {
        append(huecode::CombineSurrogates(lead, unit));
        return;
      }
      append(kReplacement);
    }
    if (huecode::IsHighSurrogate(unit)) {
      m_lead = unit;
      return;
    }
    append(huecode::IsLowSurrogate(unit) ? kReplacement : unit);
  }
  void append(char32_t c) {
    if (c < 0x80) {
      m_buffer.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
      m_buffer.push_back(static_cast<char>(0xC0 | (c >> 6)));
      m_buffer.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
      m_buffer.push_back(static_cast<char>(0xE0 | (c >> 12)));
      m_buffer.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
      m_buffer.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
      m_buffer.push_back(static_cast<char>(0xF0 | (c >> 18)));
      m_buffer.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
      m_buffer.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
      m_buffer.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
    if (m_buffer.size() >= m_bytes) {
      send();
    }
  }
  void send() {
    if (!m_buffer.empty()) {
      hc_markup_piece(m_buffer.data(), static_cast<std::int32_t>(m_buffer.size()));
      m_buffer.clear();
    }
  }

  std::size_t m_bytes;
  std::string m_buffer;
  char16_t m_lead = 0;
};

// The request's value codes: a value is its index in these tables, by the
// names the page keeps, and the interface hands the names over in this order.
template <typename Value>
struct Named {
  std::u16string_view name;
  Value value;
};
constexpr Named<huecode::ColourSpace> kSpaces[] = {{u"rgb", huecode::ColourSpace::Rgb},
                                                   {u"oklab", huecode::ColourSpace::Oklab}};
// The units a text is cut into.
constexpr Named<huecode::Segmentation> kUnits[] = {{u"char", huecode::Segmentation::Characters},
                                                   {u"grapheme", huecode::Segmentation::Graphemes},
                                                   {u"word", huecode::Segmentation::Words}};
// In the order of Styles::asked().
constexpr std::u16string_view kStyleNames[] = {u"bold", u"italic", u"underline", u"strike"};
// How DialectOf recognises a template: one with a format is the dialect's
// with that format; one without, the format-less dialect's whose three parts
// equal its own.
constexpr std::u16string_view kTemplateParts[] = {u"prefix", u"middle", u"suffix"};
constexpr std::u16string_view kFormatPart = u"format";

// The value of a code; one out of range takes the first.
template <typename Value, std::size_t N>
Value Decode(const Named<Value> (&table)[N], std::int32_t code) {
  const auto index = static_cast<std::size_t>(code);
  return index < N ? table[index].value : table[0].value;
}

huecode::StyledSettings SettingsOfRequest() {
  huecode::StyledSettings settings;
  std::u16string_view texts = g_texts;
  const auto take = [&texts](std::int32_t units) {
    const auto part = texts.substr(0, static_cast<std::size_t>(std::max(units, 0)));
    texts.remove_prefix(part.size());
    return std::u16string(part);
  };
  settings.text = take(g_request.textUnits);
  settings.stepText = take(g_request.stepUnits);
  settings.markup.prefix = take(g_request.prefixUnits);
  settings.markup.middle = take(g_request.middleUnits);
  settings.markup.suffix = take(g_request.suffixUnits);
  settings.markup.format = take(g_request.formatUnits);
  settings.gradient.stops.clear();
  if (g_request.rainbow != 0) {
    settings.gradient.stops = huecode::RainbowStops();
  } else {
    const auto stops = static_cast<std::size_t>(
        std::clamp<std::int32_t>(g_request.stopCount, 2, huecode::kMaxStops));
    for (std::size_t k = 0; k < stops; ++k) {
      settings.gradient.stops.push_back(huecode::SplitColour(g_request.stops[k]));
    }
  }
  settings.gradient.space = Decode(kSpaces, g_request.space);
  settings.by = Decode(kUnits, g_request.by);
  if (settings.by == huecode::Segmentation::Graphemes) {
    settings.graphemes = &GraphemeBoundaries;
  }
  settings.merge = g_request.merge != 0;
  settings.escape = g_request.escape != 0;
  settings.styles = {(g_request.styles & 1) != 0, (g_request.styles & 2) != 0,
                     (g_request.styles & 4) != 0, (g_request.styles & 8) != 0};
  settings.endpoints = g_request.endpoints != 0;
  settings.perLine = g_request.perLine != 0;
  settings.gradient.mirror = g_request.mirror != 0;
  if (g_request.rainbow == 0) {
    const std::size_t count = settings.gradient.stops.size();
    settings.gradient.positions.resize(count);
    for (std::size_t k = 1; k + 1 < count; ++k) {
      if (g_request.positions[k] >= 0) {
        settings.gradient.positions[k] = g_request.positions[k];
      }
    }
  }
  return settings;
}

// The units a limit counts, by the names the page keeps and in the order of
// the request's limitUnit.
struct NamedUnit {
  std::u16string_view name;
  huecode::LengthUnit unit;
};
constexpr NamedUnit kLimitUnits[] = {{u"characters", huecode::LengthUnit::Characters},
                                     {u"utf8", huecode::LengthUnit::Utf8Bytes},
                                     {u"gbk", huecode::LengthUnit::GbkBytes}};

huecode::LengthMeasure MeasureOf(huecode::LengthUnit unit) {
  return {unit, unit == huecode::LengthUnit::GbkBytes ? &g_gbk : nullptr};
}

// An index out of range counts characters.
huecode::LengthMeasure LimitMeasure() {
  const auto index = static_cast<std::size_t>(g_request.limitUnit);
  return MeasureOf(index < std::size(kLimitUnits) ? kLimitUnits[index].unit
                                                  : huecode::LengthUnit::Characters);
}

// Chunks that start within the first previewUnits code units of the input:
// the page shows no more than fits on a screen or two.
// With ansi set the chunks show the colour the markup gives them: the nearest
// of the eight ANSI colours.
void CollectPreview(const huecode::StyledSettings& settings, const huecode::StyledText& text,
                    std::int32_t step, bool ansi) {
  const char16_t* base = settings.text.data();
  const auto limit = static_cast<std::ptrdiff_t>(g_request.previewUnits);
  text.forEachChunk(step, [&](const huecode::StyledChunk& chunk) {
    const std::ptrdiff_t offset = chunk.text.data() - base;
    if (offset >= limit) {
      return false;
    }
    g_preview.push_back(static_cast<std::int32_t>(offset));
    g_preview.push_back(static_cast<std::int32_t>(chunk.text.size()));
    const huecode::ColourTriple shown = ansi ? huecode::kAnsiColours[static_cast<std::size_t>(
                                                   huecode::NearestAnsiColour(chunk.colour))]
                                             : chunk.colour;
    g_preview.push_back(chunk.coloured ? huecode::ComposeColour(shown) : -1);
    return true;
  });
}

// Writes JSON into a UTF-16 string, with the commas between members.
class Json {
 public:
  explicit Json(std::u16string& out) : m_out(out) {}

  Json& open(char16_t bracket) {
    separate();
    m_out.push_back(bracket);
    m_first = true;
    return *this;
  }
  Json& close(char16_t bracket) {
    m_out.push_back(bracket);
    m_first = false;
    return *this;
  }
  Json& key(std::u16string_view name) {
    text(name);
    m_out.push_back(u':');
    m_first = true;
    return *this;
  }
  Json& text(std::u16string_view value) {
    separate();
    m_out.push_back(u'"');
    for (const char16_t c : value) {
      if (c < u' ') {
        std::array<char16_t, 2> digits{};
        huecode::detail::WriteHexByte(digits.data(), c);
        m_out.append(u"\\u00").append(digits.data(), digits.size());
        continue;
      }
      if (c == u'"' || c == u'\\') {
        m_out.push_back(u'\\');
      }
      m_out.push_back(c);
    }
    m_out.push_back(u'"');
    return *this;
  }
  template <typename Number>
  Json& number(Number value) {
    separate();
    for (const char c : std::to_string(value)) {
      m_out.push_back(static_cast<char16_t>(c));
    }
    return *this;
  }
  template <std::size_t N>
  Json& fields(const Field (&fields)[N]) {
    open(u'{');
    for (const Field& field : fields) {
      key(field.name).number(field.offset);
    }
    return close(u'}');
  }
  template <std::size_t N>
  Json& names(const std::u16string_view (&names)[N]) {
    open(u'[');
    for (const std::u16string_view name : names) {
      text(name);
    }
    return close(u']');
  }
  template <typename Value, std::size_t N>
  Json& names(const Named<Value> (&table)[N]) {
    open(u'[');
    for (const Named<Value>& entry : table) {
      text(entry.name);
    }
    return close(u']');
  }
  // The names of the styles the dialect has a code for.
  Json& codesOf(const huecode::DialectStyles& styles) {
    open(u'[');
    for (std::size_t k = 0; k < std::size(kStyleNames); ++k) {
      if (!styles.open[k].empty()) {
        text(kStyleNames[k]);
      }
    }
    return close(u']');
  }
  Json& templateOf(const huecode::MarkupTemplate& markup) {
    key(u"prefix").text(markup.prefix);
    key(u"middle").text(markup.middle);
    return key(u"suffix").text(markup.suffix);
  }

 private:
  void separate() {
    if (!m_first) {
      m_out.push_back(u',');
    }
    m_first = false;
  }

  std::u16string& m_out;
  bool m_first = true;
};

// The place as the page shows it: line and column in characters, from 1.
void SetError(std::u16string_view text, std::size_t offset, std::u16string_view message) {
  const huecode::TextPlace place = huecode::PlaceOf(text, offset);
  g_error.clear();
  Json json(g_error);
  json.open(u'{').key(u"line").number(place.line).key(u"column").number(place.column);
  json.key(u"message").text(message).close(u'}');
}

}  // namespace

extern "C" {

EMSCRIPTEN_KEEPALIVE Request* hc_request() {
  return &g_request;
}

// Room for every text of the next request, in the order of Request's fields.
EMSCRIPTEN_KEEPALIVE char16_t* hc_texts(std::int32_t units) {
  g_texts.assign(static_cast<std::size_t>(std::max(units, 0)), u'\0');
  return g_texts.data();
}

// Returns 0, 1 when fitting was asked for and not even one chunk fits, 2
// when the template has no codes for the formatting asked (as huecode-cli
// refuses it), or 3 when the format cannot be read (hc_error says where). Plans once, like the
// command line: the step (or the one fitting chose) is used for the markup, the counts and the
// preview alike.
EMSCRIPTEN_KEEPALIVE std::int32_t hc_convert() {
  g_text.reset();
  g_settings = SettingsOfRequest();
  // The settings hold their own copy of the text: a long one is not kept twice.
  g_texts = std::u16string();
  g_counts = {};
  g_markup = std::u16string();
  g_markupBuilt = true;
  g_preview.clear();
  const huecode::StyledSettings& settings = *g_settings;
  bool ansi = false;
  if (!settings.markup.format.empty()) {
    const huecode::ParsedFormat parsed = huecode::ParseFormat(
        settings.markup.format, huecode::DialectOf(settings.markup) != nullptr);
    if (!parsed.format) {
      SetError(settings.markup.format, parsed.error.offset,
               std::u16string(parsed.error.message.begin(), parsed.error.message.end()));
      return 3;
    }
    ansi = parsed.format->ansi;
  }
  if (!huecode::ComposeStyles(settings.markup, settings.styles)) {
    return 2;
  }
  const huecode::StyledText& text = g_text.emplace(settings);
  std::int32_t step = text.step();
  if (g_request.fitLimit >= 0) {
    const huecode::Fit fit = huecode::FitStep(text, g_request.fitLimit, LimitMeasure());
    if (!fit.step) {
      g_counts.fitFailed = 1;
      g_counts.shortest = static_cast<double>(fit.length);
      return 1;
    }
    step = *fit.step;
  }
  const huecode::ConversionStats stats = text.stats(step);
  g_counts.charactersIn = static_cast<double>(stats.charactersIn);
  g_counts.chunks = static_cast<double>(stats.chunks);
  g_counts.colouredChunks = static_cast<double>(stats.colouredChunks);
  g_counts.outputCharacters = static_cast<double>(stats.outputCharacters);
  g_counts.outputUtf8 =
      static_cast<double>(text.outputLength(step, MeasureOf(huecode::LengthUnit::Utf8Bytes)));
  g_counts.outputGbk =
      static_cast<double>(text.outputLength(step, MeasureOf(huecode::LengthUnit::GbkBytes)));
  g_counts.step = step;
  if (const auto code = text.firstTextCode(step)) {
    g_counts.codeOffset = static_cast<double>(code->offset);
    g_counts.codeLength = static_cast<double>(code->length);
    g_counts.codeEscapable = code->escapable ? 1 : 0;
  }
  CollectPreview(settings, text, step, ansi);
  g_step = step;
  g_markupBuilt = false;
  return 0;
}

// The plain text of the markup in the text buffer (all of it), in any
// dialect huecode writes, into the markup buffer. Returns 0, or 1 when it
// cannot be read (hc_error says where).
EMSCRIPTEN_KEEPALIVE std::int32_t hc_strip() {
  g_text.reset();
  g_markup.clear();
  g_markupBuilt = true;
  const huecode::Stripped stripped = huecode::StripMarkup(g_texts);
  if (!stripped.text) {
    SetError(g_texts, stripped.errorOffset, stripped.error);
    return 1;
  }
  g_markup = std::move(*stripped.text);
  return 0;
}

EMSCRIPTEN_KEEPALIVE const char16_t* hc_error() {
  return g_error.c_str();
}

EMSCRIPTEN_KEEPALIVE std::int32_t hc_error_units() {
  return static_cast<std::int32_t>(g_error.size());
}

// The markup of the last conversion written out as UTF-8 in pieces of about
// pieceBytes bytes through the page's Module.onMarkupPiece, instead of built
// whole: a long text's markup need never be in memory at once.
EMSCRIPTEN_KEEPALIVE void hc_write_markup(std::int32_t pieceBytes) {
  if (!g_text || g_markupBuilt) {
    return;
  }
  Utf8PieceSink sink(static_cast<std::size_t>(std::max(pieceBytes, 1)));
  g_text->write(g_step, sink);
  sink.flush();
}

// The GBK table's bytes, for the page to fill before it asks for GBK lengths.
EMSCRIPTEN_KEEPALIVE std::uint8_t* hc_gbk_table() {
  return g_gbk.data();
}

EMSCRIPTEN_KEEPALIVE std::int32_t hc_gbk_table_size() {
  return static_cast<std::int32_t>(g_gbk.size());
}

EMSCRIPTEN_KEEPALIVE const char16_t* hc_markup() {
  BuildMarkup();
  return g_markup.data();
}

EMSCRIPTEN_KEEPALIVE std::int32_t hc_markup_units() {
  BuildMarkup();
  return static_cast<std::int32_t>(g_markup.size());
}

EMSCRIPTEN_KEEPALIVE const Counts* hc_counts() {
  return &g_counts;
}

EMSCRIPTEN_KEEPALIVE const std::int32_t* hc_preview() {
  return g_preview.data();
}

EMSCRIPTEN_KEEPALIVE std::int32_t hc_preview_chunks() {
  return static_cast<std::int32_t>(g_preview.size() / 3);
}

// 256 colours of the request's gradient, for the gradient bar.
EMSCRIPTEN_KEEPALIVE const std::int32_t* hc_bar() {
  static std::array<std::int32_t, 256> bar{};
  // After a conversion the request's texts are gone, but its settings are kept.
  const huecode::GradientSampler sampler(g_settings ? g_settings->gradient
                                                    : SettingsOfRequest().gradient);
  for (std::size_t column = 0; column < bar.size(); ++column) {
    bar[column] = huecode::ComposeColour(sampler.at(static_cast<std::int32_t>(column), 255));
  }
  return bar.data();
}

// The interface as JSON: byte offsets of the request's and the counts' fields,
// the dialects in table order (with where each writes its formatting codes,
// which it has, how its readers take entities and how --escape shows the
// text's own codes),
// the one the page opens with, the template and the colours every front end
// opens with, and the most stops a gradient has.
EMSCRIPTEN_KEEPALIVE const char16_t* hc_interface() {
  if (g_interface.empty()) {
    Json json(g_interface);
    json.open(u'{');
    json.key(u"request").open(u'{').key(u"fields").fields(kRequestFields);
    json.key(u"stops").number(offsetof(Request, stops));
    json.key(u"positions").number(offsetof(Request, positions)).close(u'}');
    json.key(u"counts").fields(kCountFields);
    json.key(u"maxStops").number(huecode::kMaxStops);
    json.key(u"positionScale").number(huecode::kPositionScale);
    json.key(u"surprise").open(u'{');
    for (const auto& [board, shade] :
         {std::pair{u"light", huecode::kOnLightBoard}, std::pair{u"dark", huecode::kOnDarkBoard}}) {
      json.key(board).open(u'[');
      for (const huecode::ColourTriple colour :
           huecode::HueCircle(shade.lightness, shade.chroma, huecode::kSurpriseHues)) {
        json.number(huecode::ComposeColour(colour));
      }
      json.close(u']');
    }
    json.close(u'}');
    json.key(u"units").names(kUnits);
    json.key(u"limitUnits").open(u'[');
    for (const NamedUnit& unit : kLimitUnits) {
      json.text(unit.name);
    }
    json.close(u']');
    json.key(u"spaces").names(kSpaces);
    json.key(u"styleNames").names(kStyleNames);
    json.key(u"templateParts").names(kTemplateParts);
    json.key(u"formatPart").text(kFormatPart);
    json.key(u"dialects").open(u'[');
    for (const huecode::Dialect& dialect : huecode::Dialects()) {
      json.open(u'{').key(u"key").text(std::u16string(dialect.key.begin(), dialect.key.end()));
      json.key(u"label").text(dialect.label).templateOf(dialect.markup());
      json.key(u"labels").open(u'{').key(u"zh").text(dialect.label);
      json.key(u"en").text(dialect.englishLabel).close(u'}');
      json.key(u"html").number(dialect.html() ? 1 : 0);
      json.key(u"styles").text(StylePlacementName(dialect.styles.placement));
      json.key(u"codes").codesOf(dialect.styles);
      json.key(u"entities").text(EntitiesName(dialect.entities));
      json.key(u"literal").text(LiteralName(huecode::LiteralMeansOf(dialect.codes)));
      json.key(kFormatPart).text(dialect.format).close(u'}');
    }
    json.close(u']');
    const std::string_view initialKey = huecode::kDialects[huecode::kInitialDialect].key;
    json.key(u"initialDialect").text(std::u16string(initialKey.begin(), initialKey.end()));
    json.key(u"initial").open(u'{').templateOf(huecode::InitialTemplate()).close(u'}');
    json.key(u"defaultStops").open(u'[');
    json.number(huecode::ComposeColour(huecode::kDefaultStart));
    json.number(huecode::ComposeColour(huecode::kDefaultEnd)).close(u']');
    json.close(u'}');
  }
  return g_interface.c_str();
}

EMSCRIPTEN_KEEPALIVE std::int32_t hc_interface_units() {
  hc_interface();
  return static_cast<std::int32_t>(g_interface.size());
}

}  // extern "C"
