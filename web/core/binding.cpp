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
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/animation.h"
#include "core/conversion.h"
#include "core/dialects.h"
#include "core/gradient_stops.h"
#include "core/json_writer.h"
#include "core/markup_format.h"
#include "core/markup_template.h"
#include "core/names.h"
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
  std::int32_t space = 0;  // an index into huecode::kSpaces
  std::int32_t by = 0;     // an index into huecode::kUnits
  std::int32_t merge = 0;
  std::int32_t rainbow = 0;    // the core's rainbow instead of the stops
  std::int32_t escape = 0;     // the text's own codes as typed, by the dialect's means
  std::int32_t fitLimit = -1;  // in limitUnit; below 0 means no fitting
  std::int32_t limitUnit = 0;  // an index into huecode::kLimitUnits
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
  std::int32_t frames = 0;     // a moving gradient's frames; 0 for a still one
  std::int32_t direction = 0;  // an index into huecode::kDirections
  std::int32_t form = 0;       // an index into huecode::kForms
  std::int32_t interval = huecode::kDefaultInterval;
  std::int32_t nameUnits = 0;  // the YAML block's name, after the format
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
    {u"frames", offsetof(Request, frames)},
    {u"direction", offsetof(Request, direction)},
    {u"form", offsetof(Request, form)},
    {u"interval", offsetof(Request, interval)},
    {u"nameUnits", offsetof(Request, nameUnits)},
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
  // A moving gradient's: the output counts above are of its longest frame,
  // these of all its frames (without the form around them).
  double frames = 0;
  double allCharacters = 0;
  double allUtf8 = 0;
  double allGbk = 0;
  double motionFault = 0;  // an index into kMotionFaults when the frames cannot be written
  // The text's first sequence that the destination takes as a code (offset
  // below 0 for none), in code units, its place in lines and characters, and
  // whether --escape shows it as typed.
  double codeOffset = -1;
  double codeLength = 0;
  double codeLine = 0;
  double codeColumn = 0;
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
    {u"frames", offsetof(Counts, frames)},
    {u"allCharacters", offsetof(Counts, allCharacters)},
    {u"allUtf8", offsetof(Counts, allUtf8)},
    {u"allGbk", offsetof(Counts, allGbk)},
    {u"motionFault", offsetof(Counts, motionFault)},
    {u"codeOffset", offsetof(Counts, codeOffset)},
    {u"codeLength", offsetof(Counts, codeLength)},
    {u"codeLine", offsetof(Counts, codeLine)},
    {u"codeColumn", offsetof(Counts, codeColumn)},
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

// Takes the markup whole, as UTF-16 into a string, or collects it as UTF-8
// into pieces of about a fixed size and hands each to the page, which keeps
// them in a Blob as they are: a long markup never becomes a string on the
// page. Both in one type, so that the core's writers are compiled into the
// WebAssembly once. A piece ends between two code points; a surrogate pair
// split between two puts is joined, and a lone surrogate becomes U+FFFD, as
// the browser's own encoder writes it.
class MarkupOut {
 public:
  explicit MarkupOut(std::u16string& whole) : m_whole(&whole) {}
  explicit MarkupOut(std::size_t bytes) : m_bytes(bytes) { m_buffer.reserve(bytes + 4); }

  void put(std::u16string_view piece) {
    if (m_whole != nullptr) {
      m_whole->append(piece);
      return;
    }
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

  std::u16string* m_whole = nullptr;
  std::size_t m_bytes = 0;
  std::string m_buffer;
  char16_t m_lead = 0;
};

using huecode::Named;

// In the order of Styles::asked().
constexpr std::u16string_view kStyleNames[] = {u"bold", u"italic", u"underline", u"strike"};
// Why a format cannot be read, by the names the page's texts say it under.
constexpr std::array<Named<huecode::FormatProblem>, 6> kFormatProblems{
    {{"loneClose", huecode::FormatProblem::LoneClose},
     {"unclosedOpen", huecode::FormatProblem::UnclosedOpen},
     {"unknownPlaceholder", huecode::FormatProblem::UnknownPlaceholder},
     {"codesOutsideDialect", huecode::FormatProblem::CodesOutsideDialect},
     {"textTwice", huecode::FormatProblem::TextTwice},
     {"noText", huecode::FormatProblem::NoText}}};

// Why the frames cannot be written, by the names the page's texts say it under.
constexpr std::array<Named<huecode::MotionFault>, 4> kMotionFaults{
    {{"", huecode::MotionFault::None},
     {"frames", huecode::MotionFault::Frames},
     {"interval", huecode::MotionFault::Interval},
     {"lineBreak", huecode::MotionFault::LineBreak}}};

// Why a typed step or stop position is refused, by the names the page's texts
// say it under.
constexpr std::array<Named<huecode::StepFault>, 4> kStepFaults{
    {{"empty", huecode::StepFault::Empty},
     {"notWhole", huecode::StepFault::NotWhole},
     {"tooSmall", huecode::StepFault::TooSmall},
     {"tooLarge", huecode::StepFault::TooLarge}}};
constexpr std::array<Named<huecode::PositionFault>, 2> kPositionFaults{
    {{"notNumber", huecode::PositionFault::NotNumber},
     {"outOfRange", huecode::PositionFault::OutOfRange}}};

template <typename Value, std::size_t N>
std::string_view NameOf(const std::array<Named<Value>, N>& table, Value value) {
  const auto* named = std::find_if(table.begin(), table.end(),
                                   [&](const Named<Value>& entry) { return entry.value == value; });
  return named == table.end() ? std::string_view() : named->key;
}

// The value of a code, the request's index into the core's table of names
// (kSpaces, kUnits, kLimitUnits), which the interface hands over in order;
// one out of range takes the first.
template <typename Value, std::size_t N>
Value Decode(const std::array<Named<Value>, N>& table, std::int32_t code) {
  const auto index = static_cast<std::size_t>(code);
  return index < N ? table[index].value : table[0].value;
}

// Everything the page's calls share: its request and texts, the last
// conversion's plan and what it gave, and the GBK table the page fills once.
// The page runs one conversion at a time, so one session serves it.
class Session {
 public:
  Request& request() { return m_request; }
  char16_t* texts(std::int32_t units) {
    m_texts.assign(static_cast<std::size_t>(std::max(units, 0)), u'\0');
    return m_texts.data();
  }
  huecode::GbkTable& gbk() { return m_gbk; }
  const Counts& counts() const { return m_counts; }
  const std::vector<std::int32_t>& preview() const { return m_preview; }
  const std::vector<std::int32_t>& frameColours() const { return m_frameColours; }
  const std::u16string& error() const { return m_error; }

  std::int32_t convert();
  std::int32_t strip();
  std::int32_t readStep();
  std::int32_t readPosition();
  std::int32_t dialectOf(std::int32_t prefixUnits, std::int32_t middleUnits,
                         std::int32_t suffixUnits) const;
  const std::u16string& markup();
  void writeMarkup(std::size_t pieceBytes);
  const std::int32_t* bar();

 private:
  huecode::StyledSettings settingsOfRequest() const;
  huecode::Animation animationOfRequest() const;
  std::int32_t refuseMotion();
  std::optional<bool> readFormat(const huecode::MarkupTemplate& markup);
  bool plan(const huecode::StyledText& text, std::int32_t& step);
  void count(const huecode::StyledText& text, std::int32_t step);
  void countFrames(const huecode::StyledText& text, std::int32_t step);
  void collectPreview(const huecode::StyledText& text, std::int32_t step, bool ansi);
  void collectFrames(const huecode::StyledText& text, std::int32_t step, bool ansi);
  void write(MarkupOut& out) const;
  huecode::JsonWriter setError(std::u16string_view text, std::size_t offset,
                               std::u16string_view message);
  void setFormatError(std::u16string_view format, const huecode::FormatError& error);
  huecode::LengthMeasure measureOf(huecode::LengthUnit unit) const {
    return {unit, unit == huecode::LengthUnit::GbkBytes ? &m_gbk : nullptr};
  }

  Request m_request;
  huecode::GbkTable m_gbk{};
  std::u16string m_texts;
  // JSON: where and why a format or markup could not be read, or why a typed value was refused
  std::u16string m_error;
  std::u16string m_markup;
  Counts m_counts;
  std::vector<std::int32_t> m_preview;  // offset, units, the colour or -1 for each chunk
  // A moving gradient's preview: each frame's colours of the preview's chunks, frame by frame.
  std::vector<std::int32_t> m_frameColours;
  std::array<std::int32_t, 256> m_bar{};
  // The last conversion's plan, kept so that its markup can be built whole or
  // written out in pieces after the counts; the text keeps views of the settings.
  std::optional<huecode::StyledSettings> m_settings;
  std::optional<huecode::StyledText> m_text;
  huecode::Animation m_animation;
  std::int32_t m_step = 1;
  bool m_markupBuilt = false;
};

huecode::StyledSettings Session::settingsOfRequest() const {
  const Request& request = m_request;
  huecode::StyledSettings settings;
  std::u16string_view texts = m_texts;
  const auto take = [&texts](std::int32_t units) {
    const auto part = texts.substr(0, static_cast<std::size_t>(std::max(units, 0)));
    texts.remove_prefix(part.size());
    return std::u16string(part);
  };
  settings.text = take(request.textUnits);
  settings.stepText = take(request.stepUnits);
  settings.markup.prefix = take(request.prefixUnits);
  settings.markup.middle = take(request.middleUnits);
  settings.markup.suffix = take(request.suffixUnits);
  settings.markup.format = take(request.formatUnits);
  settings.gradient.stops.clear();
  if (request.rainbow != 0) {
    settings.gradient.stops = huecode::RainbowStops();
  } else {
    const auto stops = static_cast<std::size_t>(
        std::clamp<std::int32_t>(request.stopCount, 2, huecode::kMaxStops));
    settings.gradient.positions.resize(stops);
    for (std::size_t k = 0; k < stops; ++k) {
      settings.gradient.stops.push_back(huecode::SplitColour(request.stops[k]));
      if (k > 0 && k + 1 < stops && request.positions[k] >= 0) {
        settings.gradient.positions[k] = request.positions[k];
      }
    }
  }
  settings.gradient.space = Decode(huecode::kSpaces, request.space);
  settings.by = Decode(huecode::kUnits, request.by);
  if (settings.by == huecode::Segmentation::Graphemes) {
    settings.graphemes = &GraphemeBoundaries;
  }
  settings.merge = request.merge != 0;
  settings.escape = request.escape != 0;
  settings.styles = {(request.styles & 1) != 0, (request.styles & 2) != 0,
                     (request.styles & 4) != 0, (request.styles & 8) != 0};
  settings.endpoints = request.endpoints != 0;
  settings.perLine = request.perLine != 0;
  settings.gradient.mirror = request.mirror != 0;
  settings.motion = {request.frames, Decode(huecode::kDirections, request.direction)};
  return settings;
}

// The name comes after every text of the settings.
huecode::Animation Session::animationOfRequest() const {
  const Request& request = m_request;
  std::size_t before = 0;
  for (const std::int32_t units : {request.textUnits, request.stepUnits, request.prefixUnits,
                                   request.middleUnits, request.suffixUnits, request.formatUnits}) {
    before += static_cast<std::size_t>(std::max(units, 0));
  }
  const std::u16string_view texts = m_texts;
  const std::u16string_view name = texts.substr(
      std::min(before, texts.size()), static_cast<std::size_t>(std::max(request.nameUnits, 0)));
  return {Decode(huecode::kForms, request.form), std::u16string(name), request.interval};
}

// The place as the page shows it: line and column in characters, from 1. The
// error's object is left open for what else the caller says of it.
huecode::JsonWriter Session::setError(std::u16string_view text, std::size_t offset,
                                      std::u16string_view message) {
  const huecode::TextPlace place = huecode::PlaceOf(text, offset);
  m_error.clear();
  huecode::JsonWriter json(m_error);
  json.open(u'{').key(u"line").number(place.line).key(u"column").number(place.column);
  json.key(u"message").text(message);
  return json;
}

// A format's error also says which problem it is, for the page to say in
// its own language, and the placeholder it names.
void Session::setFormatError(std::u16string_view format, const huecode::FormatError& error) {
  const auto* problem = std::find_if(
      kFormatProblems.begin(), kFormatProblems.end(),
      [&](const Named<huecode::FormatProblem>& p) { return p.value == error.problem; });
  setError(format, error.offset, std::u16string(error.message.begin(), error.message.end()))
      .key(u"problem")
      .text(problem->key)
      .key(u"placeholder")
      .text(error.placeholder)
      .close(u'}');
}

// Whether the format (if any) shows the nearest ANSI colours; nothing when it
// cannot be read, with the error set.
std::optional<bool> Session::readFormat(const huecode::MarkupTemplate& markup) {
  if (markup.format.empty()) {
    return false;
  }
  const huecode::ParsedFormat parsed =
      huecode::ParseFormat(markup.format, huecode::DialectOf(markup) != nullptr);
  if (!parsed.format) {
    setFormatError(markup.format, parsed.error);
    return std::nullopt;
  }
  return parsed.format->ansi;
}

// The step the text is written with: its own, or the one fitting chose.
// False when fitting was asked for and not even one chunk fits.
bool Session::plan(const huecode::StyledText& text, std::int32_t& step) {
  step = text.step();
  if (m_request.fitLimit < 0) {
    return true;
  }
  const huecode::LengthUnit unit = Decode(huecode::kLimitUnits, m_request.limitUnit);
  const huecode::Fit fit = huecode::FitStep(text, m_request.fitLimit, measureOf(unit));
  if (!fit.step) {
    m_counts.fitFailed = 1;
    m_counts.shortest = static_cast<double>(fit.length);
    return false;
  }
  step = *fit.step;
  return true;
}

void Session::count(const huecode::StyledText& text, std::int32_t step) {
  const huecode::ConversionStats stats = text.stats(step);
  m_counts.charactersIn = static_cast<double>(stats.charactersIn);
  m_counts.chunks = static_cast<double>(stats.chunks);
  m_counts.colouredChunks = static_cast<double>(stats.colouredChunks);
  m_counts.outputCharacters = static_cast<double>(stats.outputCharacters);
  m_counts.outputUtf8 =
      static_cast<double>(text.outputLength(step, measureOf(huecode::LengthUnit::Utf8Bytes)));
  m_counts.outputGbk =
      static_cast<double>(text.outputLength(step, measureOf(huecode::LengthUnit::GbkBytes)));
  m_counts.step = step;
  if (const auto code = text.firstTextCode(step)) {
    m_counts.codeOffset = static_cast<double>(code->offset);
    m_counts.codeLength = static_cast<double>(code->length);
    const huecode::TextPlace place = huecode::PlaceOf(m_settings->text, code->offset);
    m_counts.codeLine = static_cast<double>(place.line);
    m_counts.codeColumn = static_cast<double>(place.column);
    m_counts.codeEscapable = code->escapable ? 1 : 0;
  }
}

// Of the longest frame, as the length limit counts it, and of all frames.
void Session::countFrames(const huecode::StyledText& text, std::int32_t step) {
  const huecode::FrameLengths characters = huecode::MeasureFrames(text, step);
  const huecode::FrameLengths utf8 =
      huecode::MeasureFrames(text, step, measureOf(huecode::LengthUnit::Utf8Bytes));
  const huecode::FrameLengths gbk =
      huecode::MeasureFrames(text, step, measureOf(huecode::LengthUnit::GbkBytes));
  huecode::StyledText longest = text;
  longest.showFrame(characters.longestFrame);
  count(longest, step);
  m_counts.outputUtf8 = static_cast<double>(utf8.longest);
  m_counts.outputGbk = static_cast<double>(gbk.longest);
  m_counts.frames = text.motion().frames;
  m_counts.allCharacters = static_cast<double>(characters.all);
  m_counts.allUtf8 = static_cast<double>(utf8.all);
  m_counts.allGbk = static_cast<double>(gbk.all);
}

// Chunks that start within the first previewUnits code units of the input:
// the page shows no more than fits on a screen or two.
// With ansi set the chunks show the colour the markup gives them: the nearest
// of the eight ANSI colours.
void Session::collectPreview(const huecode::StyledText& text, std::int32_t step, bool ansi) {
  const char16_t* base = m_settings->text.data();
  const auto limit = static_cast<std::ptrdiff_t>(m_request.previewUnits);
  text.forEachChunk(step, [&](const huecode::StyledChunk& chunk) {
    const std::ptrdiff_t offset = chunk.text.data() - base;
    if (offset >= limit) {
      return false;
    }
    m_preview.push_back(static_cast<std::int32_t>(offset));
    m_preview.push_back(static_cast<std::int32_t>(chunk.text.size()));
    const huecode::ColourTriple shown = ansi ? huecode::kAnsiColours[static_cast<std::size_t>(
                                                   huecode::NearestAnsiColour(chunk.colour))]
                                             : chunk.colour;
    m_preview.push_back(chunk.coloured ? huecode::ComposeColour(shown) : -1);
    return true;
  });
}

// Every frame's colours of the preview's chunks. Merged runs differ from
// frame to frame, so the frames are walked unmerged: the colours are the same.
void Session::collectFrames(const huecode::StyledText& text, std::int32_t step, bool ansi) {
  m_frameColours.clear();
  std::optional<huecode::StyledSettings> unmerged;
  std::optional<huecode::StyledText> walked;
  if (m_settings->merge) {
    unmerged.emplace(*m_settings).merge = false;
    walked.emplace(*unmerged);
  } else {
    walked.emplace(text);
  }
  m_preview.clear();
  collectPreview(*walked, step, ansi);
  const std::size_t chunks = m_preview.size() / 3;
  for (std::int32_t frame = 0; frame < text.motion().frames; ++frame) {
    walked->showFrame(frame);
    std::size_t taken = 0;
    walked->forEachChunk(step, [&](const huecode::StyledChunk& chunk) {
      if (taken == chunks) {
        return false;
      }
      const huecode::ColourTriple shown = ansi ? huecode::kAnsiColours[static_cast<std::size_t>(
                                                     huecode::NearestAnsiColour(chunk.colour))]
                                               : chunk.colour;
      m_frameColours.push_back(chunk.coloured ? huecode::ComposeColour(shown) : -1);
      ++taken;
      return true;
    });
  }
}

// The frames cannot be written: the counts say why, for the page to say it.
std::int32_t Session::refuseMotion() {
  const huecode::MotionFault fault = huecode::FindMotionFault(*m_settings, m_animation);
  const auto* named =
      std::find_if(kMotionFaults.begin(), kMotionFaults.end(),
                   [&](const Named<huecode::MotionFault>& entry) { return entry.value == fault; });
  m_counts.motionFault = static_cast<double>(named - kMotionFaults.begin());
  return fault == huecode::MotionFault::None ? 0 : 4;
}

// Returns 0, 1 when fitting was asked for and not even one chunk fits, 2
// when the template has no codes for the formatting asked (as huecode-cli
// refuses it), 3 when the format cannot be read (hc_error says where), or 4
// when the frames cannot be written (the counts' motionFault says why).
// Plans once, like the command line: the step (or the one fitting chose) is
// used for the markup, the counts and the preview alike.
std::int32_t Session::convert() {
  m_text.reset();
  m_settings = settingsOfRequest();
  m_animation = animationOfRequest();
  // The settings hold their own copy of the text: a long one is not kept twice.
  m_texts = std::u16string();
  m_counts = {};
  m_markup = std::u16string();
  m_markupBuilt = true;
  m_preview.clear();
  m_frameColours.clear();
  const bool moving = m_settings->motion.moving();
  if (moving && refuseMotion() != 0) {
    return 4;
  }
  const std::optional<bool> ansi = readFormat(m_settings->markup);
  if (!ansi) {
    return 3;
  }
  if (!huecode::ComposeStyles(m_settings->markup, m_settings->styles)) {
    return 2;
  }
  const huecode::StyledText& text = m_text.emplace(*m_settings);
  std::int32_t step = 1;
  if (!plan(text, step)) {
    return 1;
  }
  if (moving) {
    countFrames(text, step);
    collectFrames(text, step, *ansi);
  } else {
    count(text, step);
    collectPreview(text, step, *ansi);
  }
  m_step = step;
  m_markupBuilt = false;
  return 0;
}

// The plain text of the markup in the text buffer (all of it), in any
// dialect huecode writes, into the markup buffer. Returns 0, or 1 when it
// cannot be read (hc_error says where).
std::int32_t Session::strip() {
  m_text.reset();
  m_markup.clear();
  m_markupBuilt = true;
  huecode::Stripped stripped = huecode::StripMarkup(m_texts);
  if (!stripped.text) {
    setError(m_texts, stripped.errorOffset, stripped.error).close(u'}');
    return 1;
  }
  m_markup = std::move(*stripped.text);
  // Counted as every count of the page counts characters.
  m_counts = {};
  m_counts.charactersIn = huecode::CountCharacters(m_markup);
  return 0;
}

// The text buffer read as the step box's text: the step, or 0 with the
// reason in the error (and the bounds the reason speaks of).
std::int32_t Session::readStep() {
  const huecode::StepCount read = huecode::ReadStepCount(m_texts);
  if (read.fault == huecode::StepFault::None) {
    return read.value;
  }
  m_error.clear();
  huecode::JsonWriter json(m_error);
  json.open(u'{').key(u"error").text(NameOf(kStepFaults, read.fault));
  json.key(u"min").number(huecode::kMinStep).key(u"max").number(huecode::kMaxStep).close(u'}');
  return 0;
}

// The text buffer read as a stop's position: in hundredths of a percent, or
// -1 with the reason in the error. Only ASCII can be a digit, a point or '%'.
std::int32_t Session::readPosition() {
  std::string narrow;
  for (const char16_t unit : m_texts) {
    narrow.push_back(unit < 0x80 ? static_cast<char>(unit) : '\x7f');
  }
  const huecode::PositionReading read = huecode::ReadStopPosition(narrow);
  if (read.fault == huecode::PositionFault::None) {
    return read.value;
  }
  m_error.clear();
  huecode::JsonWriter(m_error)
      .open(u'{')
      .key(u"error")
      .text(NameOf(kPositionFaults, read.fault))
      .close(u'}');
  return -1;
}

// The dialect whose template the text buffer holds (the three parts, then
// the format), as its index in the dialects' table, or -1 for one's own.
std::int32_t Session::dialectOf(std::int32_t prefixUnits, std::int32_t middleUnits,
                                std::int32_t suffixUnits) const {
  std::u16string_view texts = m_texts;
  const auto take = [&texts](std::int32_t units) {
    const auto part = texts.substr(0, static_cast<std::size_t>(std::max(units, 0)));
    texts.remove_prefix(part.size());
    return std::u16string(part);
  };
  huecode::MarkupTemplate markup;
  markup.prefix = take(prefixUnits);
  markup.middle = take(middleUnits);
  markup.suffix = take(suffixUnits);
  markup.format = std::u16string(texts);
  const huecode::Dialect* dialect = huecode::DialectOf(markup);
  return dialect == nullptr ? -1 : static_cast<std::int32_t>(dialect - huecode::Dialects().data());
}

const std::u16string& Session::markup() {
  if (!m_markupBuilt && m_text) {
    // The counts know the length: the whole still markup, or every frame's.
    const double counted =
        m_text->motion().moving() ? m_counts.allCharacters : m_counts.outputCharacters;
    m_markup.reserve(static_cast<std::size_t>(counted));
    MarkupOut whole(m_markup);
    write(whole);
  }
  m_markupBuilt = true;
  return m_markup;
}

void Session::writeMarkup(std::size_t pieceBytes) {
  if (!m_text || m_markupBuilt) {
    return;
  }
  MarkupOut pieces(pieceBytes);
  write(pieces);
  pieces.flush();
}

void Session::write(MarkupOut& out) const {
  if (m_text->motion().moving()) {
    huecode::WriteAnimation(*m_text, m_step, m_animation, out);
  } else {
    m_text->write(m_step, out);
  }
}

// 256 colours of the request's gradient, for the gradient bar.
const std::int32_t* Session::bar() {
  // After a conversion the request's texts are gone, but its settings are kept.
  const huecode::GradientSampler sampler(m_settings ? m_settings->gradient
                                                    : settingsOfRequest().gradient);
  for (std::size_t column = 0; column < m_bar.size(); ++column) {
    m_bar[column] = huecode::ComposeColour(sampler.at(static_cast<std::int32_t>(column), 255));
  }
  return m_bar.data();
}

Session g_session;

void WriteFields(huecode::JsonWriter& json, std::span<const Field> fields) {
  json.open(u'{');
  for (const Field& field : fields) {
    json.key(field.name).number(field.offset);
  }
  json.close(u'}');
}

void WriteNames(huecode::JsonWriter& json, std::span<const std::u16string_view> names) {
  json.open(u'[');
  for (const std::u16string_view name : names) {
    json.text(name);
  }
  json.close(u']');
}

template <typename Value, std::size_t N>
void WriteNames(huecode::JsonWriter& json, const std::array<Named<Value>, N>& table) {
  json.open(u'[');
  for (const Named<Value>& entry : table) {
    json.text(entry.key);
  }
  json.close(u']');
}

void WriteTemplate(huecode::JsonWriter& json, const huecode::MarkupTemplate& markup) {
  json.key(u"prefix").text(markup.prefix);
  json.key(u"middle").text(markup.middle);
  json.key(u"suffix").text(markup.suffix);
}

// The surprise gradient's colours on a light and on a dark board.
void WriteSurprise(huecode::JsonWriter& json) {
  json.open(u'{');
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
}

// A moving gradient's limits and defaults, and the names of its choices.
void WriteMotion(huecode::JsonWriter& json) {
  json.open(u'{').key(u"minFrames").number(huecode::kMinFrames);
  json.key(u"maxFrames").number(huecode::kMaxFrames);
  json.key(u"defaultFrames").number(huecode::kDefaultFrames);
  json.key(u"minInterval").number(huecode::kMinInterval);
  json.key(u"maxInterval").number(huecode::kMaxInterval);
  json.key(u"defaultInterval").number(huecode::kDefaultInterval);
  json.key(u"defaultName").text(huecode::Animation{}.name);
  WriteNames(json.key(u"directions"), huecode::kDirections);
  const auto* direction =
      std::find_if(huecode::kDirections.begin(), huecode::kDirections.end(),
                   [](const auto& entry) { return entry.value == huecode::kDefaultDirection; });
  json.key(u"defaultDirection").text(direction->key);
  WriteNames(json.key(u"forms"), huecode::kForms);
  WriteNames(json.key(u"faults"), kMotionFaults);
  json.close(u'}');
}

// One dialect: its key and labels, its template, where it writes its
// formatting codes and which it has, how its readers take entities and how
// --escape shows the text's own codes.
void WriteDialect(huecode::JsonWriter& json, const huecode::Dialect& dialect) {
  json.open(u'{').key(u"key").text(dialect.key);
  json.key(u"label").text(dialect.label);
  WriteTemplate(json, dialect.markup());
  json.key(u"labels").open(u'{').key(u"zh").text(
      dialect.chineseLabel.empty() ? dialect.label : dialect.chineseLabel);
  json.key(u"en").text(dialect.englishLabel).close(u'}');
  json.key(u"html").number(dialect.html() ? 1 : 0);
  json.key(u"styles").text(StylePlacementName(dialect.styles.placement));
  json.key(u"codes").open(u'[');
  for (std::size_t k = 0; k < std::size(kStyleNames); ++k) {
    if (!dialect.styles.open[k].empty()) {
      json.text(kStyleNames[k]);
    }
  }
  json.close(u']');
  json.key(u"entities").text(EntitiesName(dialect.entities));
  json.key(u"literal").text(LiteralName(huecode::LiteralMeansOf(dialect.codes)));
  json.key(u"format").text(dialect.format).close(u'}');
}

// The interface as JSON: byte offsets of the request's and the counts'
// fields, the names of the request's value codes in their order, the dialects
// in table order, the one the page opens with, the template and the colours
// every front end opens with, and the most stops a gradient has.
std::u16string InterfaceJson() {
  std::u16string out;
  huecode::JsonWriter json(out);
  json.open(u'{');
  json.key(u"request").open(u'{').key(u"fields");
  WriteFields(json, kRequestFields);
  json.key(u"stops").number(offsetof(Request, stops));
  json.key(u"positions").number(offsetof(Request, positions)).close(u'}');
  json.key(u"counts");
  WriteFields(json, kCountFields);
  json.key(u"maxStops").number(huecode::kMaxStops);
  json.key(u"positionScale").number(huecode::kPositionScale);
  json.key(u"surprise");
  WriteSurprise(json);
  WriteNames(json.key(u"units"), huecode::kUnits);
  WriteNames(json.key(u"limitUnits"), huecode::kLimitUnits);
  WriteNames(json.key(u"spaces"), huecode::kSpaces);
  WriteNames(json.key(u"styleNames"), kStyleNames);
  WriteNames(json.key(u"formatProblems"), kFormatProblems);
  json.key(u"dialects").open(u'[');
  for (const huecode::Dialect& dialect : huecode::Dialects()) {
    WriteDialect(json, dialect);
  }
  json.close(u']');
  json.key(u"initialDialect").text(huecode::kDialects[huecode::kInitialDialect].key);
  json.key(u"initial").open(u'{');
  WriteTemplate(json, huecode::InitialTemplate());
  json.close(u'}');
  WriteMotion(json.key(u"motion"));
  json.key(u"defaultStops").open(u'[');
  json.number(huecode::ComposeColour(huecode::kDefaultStart));
  json.number(huecode::ComposeColour(huecode::kDefaultEnd)).close(u']');
  json.close(u'}');
  return out;
}

const std::u16string& Interface() {
  static const std::u16string text = InterfaceJson();
  return text;
}

}  // namespace

extern "C" {

EMSCRIPTEN_KEEPALIVE Request* hc_request() {
  return &g_session.request();
}

// Room for every text of the next request, in the order of Request's fields.
EMSCRIPTEN_KEEPALIVE char16_t* hc_texts(std::int32_t units) {
  return g_session.texts(units);
}

EMSCRIPTEN_KEEPALIVE std::int32_t hc_convert() {
  return g_session.convert();
}

EMSCRIPTEN_KEEPALIVE std::int32_t hc_strip() {
  return g_session.strip();
}

// The step, a stop's position and a template as the page's boxes hold them
// (in the text buffer), read by the core's own rules: see Session.
EMSCRIPTEN_KEEPALIVE std::int32_t hc_read_step() {
  return g_session.readStep();
}

EMSCRIPTEN_KEEPALIVE std::int32_t hc_read_position() {
  return g_session.readPosition();
}

EMSCRIPTEN_KEEPALIVE std::int32_t hc_dialect_of(std::int32_t prefixUnits, std::int32_t middleUnits,
                                                std::int32_t suffixUnits) {
  return g_session.dialectOf(prefixUnits, middleUnits, suffixUnits);
}

EMSCRIPTEN_KEEPALIVE const char16_t* hc_error() {
  return g_session.error().c_str();
}

EMSCRIPTEN_KEEPALIVE std::int32_t hc_error_units() {
  return static_cast<std::int32_t>(g_session.error().size());
}

// The markup of the last conversion written out as UTF-8 in pieces of about
// pieceBytes bytes through the page's Module.onMarkupPiece, instead of built
// whole: a long text's markup need never be in memory at once.
EMSCRIPTEN_KEEPALIVE void hc_write_markup(std::int32_t pieceBytes) {
  g_session.writeMarkup(static_cast<std::size_t>(std::max(pieceBytes, 1)));
}

// The GBK table's bytes, for the page to fill before it asks for GBK lengths.
EMSCRIPTEN_KEEPALIVE std::uint8_t* hc_gbk_table() {
  return g_session.gbk().data();
}

EMSCRIPTEN_KEEPALIVE std::int32_t hc_gbk_table_size() {
  return static_cast<std::int32_t>(g_session.gbk().size());
}

EMSCRIPTEN_KEEPALIVE const char16_t* hc_markup() {
  return g_session.markup().data();
}

EMSCRIPTEN_KEEPALIVE std::int32_t hc_markup_units() {
  return static_cast<std::int32_t>(g_session.markup().size());
}

EMSCRIPTEN_KEEPALIVE const Counts* hc_counts() {
  return &g_session.counts();
}

EMSCRIPTEN_KEEPALIVE const std::int32_t* hc_preview() {
  return g_session.preview().data();
}

EMSCRIPTEN_KEEPALIVE std::int32_t hc_preview_chunks() {
  return static_cast<std::int32_t>(g_session.preview().size() / 3);
}

// A moving gradient's preview colours: hc_preview_chunks() for each frame.
EMSCRIPTEN_KEEPALIVE const std::int32_t* hc_preview_frames() {
  return g_session.frameColours().data();
}

EMSCRIPTEN_KEEPALIVE const std::int32_t* hc_bar() {
  return g_session.bar();
}

EMSCRIPTEN_KEEPALIVE const char16_t* hc_interface() {
  return Interface().c_str();
}

EMSCRIPTEN_KEEPALIVE std::int32_t hc_interface_units() {
  return static_cast<std::int32_t>(Interface().size());
}

}  // extern "C"
