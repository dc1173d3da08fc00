#include "core/animation.h"

#include <algorithm>

#include "core/chunks.h"

namespace huecode {

namespace {

// Words YAML 1.1 (which the servers' Java readers follow) takes as a boolean
// or as null when they stand bare; as a key they must be quoted.
constexpr std::array<std::u16string_view, 9> kYamlWords{u"y",   u"n",    u"yes",   u"no",  u"on",
                                                        u"off", u"true", u"false", u"null"};

bool IsBareYamlKey(std::u16string_view name) {
  const auto lower = [](char16_t c) { return c >= u'A' && c <= u'Z' ? c - u'A' + u'a' : c; };
  const auto letter = [&](char16_t c) { return lower(c) >= u'a' && lower(c) <= u'z'; };
  const bool plain = !name.empty() && letter(name.front()) &&
                     std::all_of(name.begin(), name.end(), [&](char16_t c) {
                       return letter(c) || (c >= u'0' && c <= u'9') || c == u'_' || c == u'-';
                     });
  return plain && std::none_of(kYamlWords.begin(), kYamlWords.end(), [&](std::u16string_view word) {
           return std::equal(name.begin(), name.end(), word.begin(), word.end(),
                             [&](char16_t a, char16_t b) { return lower(a) == b; });
         });
}

std::u16string Decimal(std::int64_t value) {
  std::u16string digits;
  do {
    digits.insert(digits.begin(), static_cast<char16_t>(u'0' + value % 10));
    value /= 10;
  } while (value > 0);
  return digits;
}

}  // namespace

MotionFault FindMotionFault(const StyledSettings& settings, const Animation& animation) {
  if (!FramesInRange(settings.motion.frames)) {
    return MotionFault::Frames;
  }
  if (!IntervalInRange(animation.interval)) {
    return MotionFault::Interval;
  }
  const std::u16string_view text = TrimSpaces(settings.text);
  if (!settings.perLine && std::any_of(text.begin(), text.end(), IsLineBreak)) {
    return MotionFault::LineBreak;
  }
  return MotionFault::None;
}

FrameLengths MeasureFrames(StyledText text, std::int32_t step, const LengthMeasure& measure) {
  FrameLengths lengths;
  const std::int32_t frames = std::max(text.motion().frames, 1);
  // Tags of six digits make every frame as long as the first.
  const std::int32_t measured = text.framesDiffer() ? frames : 1;
  for (std::int32_t frame = 0; frame < measured; ++frame) {
    text.showFrame(frame);
    const std::int64_t length = text.outputLength(step, measure);
    if (length > lengths.longest) {
      lengths.longest = length;
      lengths.longestFrame = frame;
    }
    lengths.all += length;
  }
  if (measured == 1) {
    lengths.all *= frames;
  }
  return lengths;
}

namespace detail {

std::u16string_view YamlEscape(char16_t c, std::array<char16_t, 6>& buffer) {
  switch (c) {
    case u'"':
      return u"\\\"";
    case u'\\':
      return u"\\\\";
    case u'\n':
      return u"\\n";
    case u'\r':
      return u"\\r";
    case u'\t':
      return u"\\t";
    default:
      break;
  }
  const bool control = c < 0x20 || (c >= 0x7F && c <= 0x9F);
  const bool unprintable =
      c == 0x2028 || c == 0x2029 || c == 0xFEFF || c >= 0xFFFE || IsSurrogate(c);
  if (!control && !unprintable) {
    return {};
  }
  // \xXX for an 8-bit code, \uXXXX beyond.
  const std::size_t digits = control ? 2 : 4;
  buffer[0] = u'\\';
  buffer[1] = control ? u'x' : u'u';
  for (std::size_t d = 0; d < digits; ++d) {
    buffer[2 + d] = kHexDigits[(c >> (4 * (digits - 1 - d))) & 0xF];
  }
  return {buffer.data(), 2 + digits};
}

std::u16string YamlHead(const Animation& animation) {
  std::u16string head;
  if (IsBareYamlKey(animation.name)) {
    head = animation.name;
  } else {
    AppendSink quoted;
    PutYamlEscaped(quoted, animation.name);
    head = u"\"" + quoted.out + u"\"";
  }
  return head + u":\n  change-interval: " + Decimal(std::max(animation.interval, 0)) +
         u"\n  texts:\n    - ";
}

}  // namespace detail

std::u16string AnimationMarkup(const StyledText& text, std::int32_t step,
                               const Animation& animation) {
  detail::AppendSink sink;
  WriteAnimation(text, step, animation, sink);
  return std::move(sink.out);
}

}  // namespace huecode
