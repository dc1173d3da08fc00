// The page's only door into the conversion core. JavaScript writes one
// request (numbers into Request, texts as UTF-16 into the text buffer), calls
// hc_convert and reads the result back from the linear memory.
#include <emscripten/emscripten.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/conversion.h"
#include "core/dialects.h"
#include "core/gradient_stops.h"
#include "core/markup_template.h"

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

namespace {

using huecode::ColourTriple;

std::vector<std::uint32_t> GraphemeBoundaries(std::u16string_view text) {
  std::vector<std::uint32_t> boundaries(text.size() + 1);
  const std::int32_t count =
      hc_segment_graphemes(text.data(), static_cast<std::int32_t>(text.size()), boundaries.data());
  boundaries.resize(static_cast<std::size_t>(count));
  boundaries.push_back(static_cast<std::uint32_t>(text.size()));
  return boundaries;
}

constexpr std::size_t kMaxStops = 64;

// Field order of the request that convert.js fills in.
struct Request {
  std::int32_t textUnits = 0;
  std::int32_t stepUnits = 0;
  std::int32_t prefixUnits = 0;
  std::int32_t middleUnits = 0;
  std::int32_t suffixUnits = 0;
  std::int32_t space = 0;  // 0 RGB, 1 OKLab
  std::int32_t by = 0;     // 0 characters, 1 graphemes
  std::int32_t merge = 0;
  std::int32_t rainbow = 0;    // the core's rainbow instead of the stops
  std::int32_t escape = 0;     // &, < and > inside chunks as entities
  std::int32_t fitLimit = -1;  // characters; below 0 means no fitting
  std::int32_t previewUnits = 0;
  std::int32_t styles = 0;     // 1 bold, 2 italic, 4 underline, 8 strikethrough
  std::int32_t endpoints = 0;  // the first and last coloured chunk on the first and last stop
  std::int32_t stopCount = 2;
  std::array<std::int32_t, kMaxStops> stops{};  // 0xRRGGBB each
};

// Counts as doubles, since JavaScript numbers are.
struct Counts {
  double charactersIn = 0;
  double chunks = 0;
  double colouredChunks = 0;
  double outputCharacters = 0;
  double step = 1;
  double fitFailed = 0;
  double shortest = 0;  // the output of one chunk for the whole text, when nothing fits
};

Request g_request;
std::u16string g_texts;
std::u16string g_markup;
Counts g_counts;
std::vector<std::int32_t> g_preview;  // offset, units, 0xRRGGBB or -1 for each chunk
std::u16string g_dialects;

ColourTriple TripleOf(std::int32_t rgb) {
  return {static_cast<std::int16_t>((rgb >> 16) & 0xFF),
          static_cast<std::int16_t>((rgb >> 8) & 0xFF), static_cast<std::int16_t>(rgb & 0xFF)};
}

std::int32_t RgbOf(ColourTriple colour) {
  return (colour.r << 16) | (colour.g << 8) | colour.b;
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
  settings.gradient.stops.clear();
  if (g_request.rainbow != 0) {
    settings.gradient.stops = huecode::RainbowStops();
  } else {
    const auto stops = static_cast<std::size_t>(
        std::clamp<std::int32_t>(g_request.stopCount, 2, static_cast<std::int32_t>(kMaxStops)));
    for (std::size_t k = 0; k < stops; ++k) {
      settings.gradient.stops.push_back(TripleOf(g_request.stops[k]));
    }
  }
  settings.gradient.space =
      g_request.space == 1 ? huecode::ColourSpace::Oklab : huecode::ColourSpace::Rgb;
  settings.by =
      g_request.by == 1 ? huecode::Segmentation::Graphemes : huecode::Segmentation::Characters;
  if (settings.by == huecode::Segmentation::Graphemes) {
    settings.graphemes = &GraphemeBoundaries;
  }
  settings.merge = g_request.merge != 0;
  settings.escape = g_request.escape != 0;
  settings.styles = {(g_request.styles & 1) != 0, (g_request.styles & 2) != 0,
                     (g_request.styles & 4) != 0, (g_request.styles & 8) != 0};
  settings.endpoints = g_request.endpoints != 0;
  return settings;
}

// Chunks that start within the first previewUnits code units of the input:
// the page shows no more than fits on a screen or two.
void CollectPreview(const huecode::StyledSettings& settings, const huecode::StyledText& text,
                    std::int32_t step) {
  const char16_t* base = settings.text.data();
  const auto limit = static_cast<std::ptrdiff_t>(g_request.previewUnits);
  text.forEachChunk(step, [&](const huecode::StyledChunk& chunk) {
    const std::ptrdiff_t offset = chunk.text.data() - base;
    if (offset >= limit) {
      return false;
    }
    g_preview.push_back(static_cast<std::int32_t>(offset));
    g_preview.push_back(static_cast<std::int32_t>(chunk.text.size()));
    g_preview.push_back(chunk.coloured ? RgbOf(chunk.colour) : -1);
    return true;
  });
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

// Returns 0, 1 when fitting was asked for and not even one chunk fits, or 2
// when the template has no codes for the formatting asked (as huecode-cli
// refuses it). Plans once, like the command line: the step (or the one
// fitting chose) is used for the markup, the counts and the preview alike.
EMSCRIPTEN_KEEPALIVE std::int32_t hc_convert() {
  const huecode::StyledSettings settings = SettingsOfRequest();
  g_counts = {};
  g_markup.clear();
  g_preview.clear();
  if (!huecode::ComposeStyles(settings.markup, settings.styles)) {
    return 2;
  }
  const huecode::StyledText text(settings);
  std::int32_t step = text.step();
  if (g_request.fitLimit >= 0) {
    const std::optional<std::int32_t> fitted = huecode::FitStep(text, g_request.fitLimit);
    if (!fitted) {
      g_counts.fitFailed = 1;
      g_counts.shortest =
          static_cast<double>(text.stats(std::max(text.units(), 1)).outputCharacters);
      return 1;
    }
    step = *fitted;
  }
  const huecode::ConversionStats stats = text.stats(step);
  g_counts.charactersIn = static_cast<double>(stats.charactersIn);
  g_counts.chunks = static_cast<double>(stats.chunks);
  g_counts.colouredChunks = static_cast<double>(stats.colouredChunks);
  g_counts.outputCharacters = static_cast<double>(stats.outputCharacters);
  g_counts.step = step;
  CollectPreview(settings, text, step);
  g_markup = text.markup(step);
  return 0;
}

EMSCRIPTEN_KEEPALIVE const char16_t* hc_markup() {
  return g_markup.data();
}

EMSCRIPTEN_KEEPALIVE std::int32_t hc_markup_units() {
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
  const huecode::GradientSampler sampler(SettingsOfRequest().gradient);
  for (std::size_t column = 0; column < bar.size(); ++column) {
    bar[column] = RgbOf(sampler.at(static_cast<std::int32_t>(column), 255));
  }
  return bar.data();
}

// Every dialect as key, prefix, middle, suffix and where its formatting goes
// ("around", "tag" or nothing), each field ended by U+001F; the template the
// window opens with comes first under the key "initial", with no formatting of its own.
EMSCRIPTEN_KEEPALIVE const char16_t* hc_dialects() {
  if (g_dialects.empty()) {
    const huecode::MarkupTemplate initial = huecode::InitialTemplate();
    const auto field = [](std::u16string_view text) { g_dialects.append(text).push_back(u'\x1f'); };
    field(u"initial");
    field(initial.prefix);
    field(initial.middle);
    field(initial.suffix);
    field(u"");
    for (const huecode::Dialect& dialect : huecode::Dialects()) {
      field(std::u16string(dialect.key.begin(), dialect.key.end()));
      field(dialect.prefix);
      field(dialect.middle);
      field(dialect.suffix);
      field(dialect.styles.placement == huecode::StylePlacement::AroundText   ? u"around"
            : dialect.styles.placement == huecode::StylePlacement::InEveryTag ? u"tag"
                                                                              : u"");
    }
  }
  return g_dialects.c_str();
}

EMSCRIPTEN_KEEPALIVE std::int32_t hc_dialects_units() {
  hc_dialects();
  return static_cast<std::int32_t>(g_dialects.size());
}

}  // extern "C"
