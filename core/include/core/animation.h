#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/conversion.h"
#include "core/motion.h"
#include "core/surrogates.h"

namespace huecode {

// How the frames of a moving gradient are written: one a line (frames that
// span lines with an empty line between them), the block that tab-list and
// scoreboard plugins read from their animation files, or a JSON array.
enum class AnimationForm : std::uint8_t { Lines, Yaml, Json };

struct Animation {
  AnimationForm form = AnimationForm::Lines;
  std::u16string name = u"gradient";         // the YAML block's key
  std::int32_t interval = kDefaultInterval;  // milliseconds, in the YAML block
};

// Why the frames of the settings cannot be written: a frame count or an
// interval out of range, or a line break in a text that is not moved line by
// line (a frame goes into a one-line setting).
enum class MotionFault : std::uint8_t { None, Frames, Interval, LineBreak };

MotionFault FindMotionFault(const StyledSettings& settings, const Animation& animation);

// The frames' markup lengths in the measure's unit, without building them.
struct FrameLengths {
  std::int32_t longestFrame = 0;
  std::int64_t longest = 0;
  std::int64_t all = 0;  // of the frames alone, not the form around them
};

FrameLengths MeasureFrames(StyledText text, std::int32_t step, const LengthMeasure& measure = {});

namespace detail {

// The escape a double-quoted YAML scalar needs for a unit, or nothing: quotes,
// backslashes, line breaks and what YAML does not print (control characters,
// the Unicode line and paragraph separators, the byte-order mark, non-characters
// and lone surrogates).
std::u16string_view YamlEscape(char16_t c, std::array<char16_t, 6>& buffer);

template <typename Sink>
void PutYamlEscaped(Sink& sink, std::u16string_view text) {
  std::array<char16_t, 6> buffer{};
  std::size_t from = 0;
  for (std::size_t k = 0; k < text.size(); ++k) {
    const char16_t c = text[k];
    if (IsHighSurrogate(c) && k + 1 < text.size() && IsLowSurrogate(text[k + 1])) {
      ++k;
      continue;
    }
    const std::u16string_view escape = YamlEscape(c, buffer);
    if (!escape.empty()) {
      sink.put(text.substr(from, k - from));
      sink.put(escape);
      from = k + 1;
    }
  }
  sink.put(text.substr(from));
}

// The block's lines up to the first frame's quote: the name (bare where
// YAML reads it as that string, else double-quoted), the interval, the list.
std::u16string YamlHead(const Animation& animation);

// How a frame's pieces reach the sink: as they are, or escaped for a
// double-quoted YAML scalar or a JSON string.
enum class FrameQuoting : std::uint8_t { None, Yaml, Json };

// One frame writer for every form, the quoting chosen as it runs, so that a
// sink has one instantiation of the chunk walk for its frames. It has no
// reserve, so a frame written through it never resizes the sink. With
// watchBreaks it notes whether a piece held a line break.
template <typename Sink>
struct FrameSink {
  Sink& sink;
  FrameQuoting quoting = FrameQuoting::None;
  bool watchBreaks = false;
  bool lineBreak = false;

  void put(std::u16string_view piece) {
    switch (quoting) {
      case FrameQuoting::None:
        if (watchBreaks && !lineBreak) {
          lineBreak = std::any_of(piece.begin(), piece.end(), IsLineBreak);
        }
        sink.put(piece);
        return;
      case FrameQuoting::Yaml:
        PutYamlEscaped(sink, piece);
        return;
      case FrameQuoting::Json:
        PutJsonEscaped(sink, piece);
        return;
    }
  }
};

}  // namespace detail

// Every frame of the moving text at the step, in the form asked, without a
// final line break.
template <MarkupSink Sink>
void WriteAnimation(StyledText text, std::int32_t step, const Animation& animation, Sink& sink) {
  const std::int32_t frames = std::max(text.motion().frames, 1);
  const bool quoted = animation.form == AnimationForm::Yaml ||
                      (animation.form == AnimationForm::Json && !text.writesJson());
  detail::FrameSink<Sink> frame{sink};
  std::u16string_view between = u"\n";
  if (animation.form == AnimationForm::Yaml) {
    sink.put(detail::YamlHead(animation));
    between = u"\n    - ";
    frame.quoting = detail::FrameQuoting::Yaml;
  } else if (animation.form == AnimationForm::Json) {
    sink.put(u"[\n  ");
    between = u",\n  ";
    frame.quoting = quoted ? detail::FrameQuoting::Json : detail::FrameQuoting::None;
  } else {
    // Frames that span lines stand apart by an empty line. The first frame
    // tells: frames differ only in their colours, which hold no line break.
    frame.watchBreaks = true;
  }
  for (std::int32_t at = 0; at < frames; ++at) {
    text.showFrame(at);
    sink.put(at == 0 ? u"" : between);
    sink.put(quoted ? u"\"" : u"");
    text.write(step, frame);
    sink.put(quoted ? u"\"" : u"");
    if (frame.lineBreak) {
      between = u"\n\n";
    }
    frame.watchBreaks = false;
  }
  sink.put(animation.form == AnimationForm::Json ? u"\n]" : u"");
}

std::u16string AnimationMarkup(const StyledText& text, std::int32_t step,
                               const Animation& animation);

}  // namespace huecode
