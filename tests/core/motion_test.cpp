// Frames of a moving gradient against colours worked out here: chunk j of c
// in frame k of n sits j/c + k/n of the way round a cycle (j/c - k/n moving
// right), and the cycle runs from the first stop to the last and back.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "core/animation.h"
#include "tests/support/reference.h"

namespace huecode {
namespace {

using Stops = std::vector<ColourTriple>;
const Stops kTwo{{255, 0, 255}, {0, 255, 0}};
const Stops kThree{{200, 10, 0}, {0, 0, 255}, {30, 250, 90}};

reference::ReferenceColour Ref(ColourTriple c) {
  return {c.r, c.g, c.b};
}

// Evenly spaced stops, a/b of the way from the first to the last.
std::u16string StopsDigits(const Stops& stops, std::int64_t a, std::int64_t b) {
  const auto segments = static_cast<std::int64_t>(stops.size()) - 1;
  const std::int64_t segment = std::min(a * segments / b, segments - 1);
  const auto at = static_cast<std::size_t>(segment);
  return reference::ReferenceDigits(Ref(stops[at]), Ref(stops[at + 1]), a * segments - segment * b,
                                    b);
}

std::u16string CycleDigits(const Stops& stops, std::int64_t j, std::int64_t c, std::int64_t k,
                           std::int64_t n, Direction direction) {
  const std::int64_t round = c * n;
  const std::int64_t moved = direction == Direction::Left ? k * c : -k * c;
  const std::int64_t p = ((j * n + moved) % round + round) % round;
  // p/round of the way round: out at twice that, back after the half.
  return StopsDigits(stops, 2 * p <= round ? 2 * p : 2 * (round - p), round);
}

struct FrameCase {
  std::u16string text;
  std::int32_t step;
  std::int32_t frames;
  Direction direction;
  Stops stops;
  bool perLine = false;
};

// Each line cut as the window cuts a text, tagged in the frame's colours.
std::u16string ExpectedFrame(const FrameCase& c, std::int64_t k) {
  std::u16string out;
  std::u16string_view rest = c.text;
  while (true) {
    const std::size_t end = c.perLine ? rest.find(u'\n') : std::u16string_view::npos;
    const auto chunks = reference::ReferenceChunks(rest.substr(0, end), c.step);
    const auto count = static_cast<std::int64_t>(chunks.size());
    for (std::int64_t j = 0; j < count; ++j) {
      const auto& chunk = chunks[static_cast<std::size_t>(j)];
      out += chunk.bare ? chunk.text
                        : u"[color=#" + CycleDigits(c.stops, j, count, k, c.frames, c.direction) +
                              u"]" + chunk.text + u"[/color]";
    }
    if (end == std::u16string_view::npos) {
      return out;
    }
    out += u'\n';
    rest.remove_prefix(end + 1);
  }
}

TEST(Motion, FrameKIsTheCycleMovedKOverNAlongTheText) {
  const FrameCase cases[] = {
      {u"abcdefgh", 1, 5, Direction::Left, kTwo},
      {u"abcdefgh", 1, 5, Direction::Right, kTwo},
      {u"Hi 世界👋 ok", 1, 4, Direction::Left, kThree},
      {u"abcdefghij", 3, 6, Direction::Right, kTwo},
      {u"ab\ncdefg\n\nxyz", 2, 3, Direction::Left, kThree, true},
      {u"x", 1, 2, Direction::Left, kTwo},
  };
  for (const FrameCase& c : cases) {
    StyledSettings settings;
    settings.text = c.text;
    settings.step = c.step;
    settings.gradient.stops = c.stops;
    settings.perLine = c.perLine;
    settings.motion = {c.frames, c.direction};
    StyledText text(settings);
    // Frame n would be frame 0 again.
    for (std::int32_t k = 0; k <= c.frames; ++k) {
      text.showFrame(k);
      EXPECT_EQ(text.markup(c.step), ExpectedFrame(c, k % c.frames)) << c.frames << " " << k;
    }
  }
}

// With as many frames as chunks, each frame is the one before it with every
// colour moved one chunk, whatever the gradient, the blend or the chunks.
TEST(Motion, AsManyFramesAsChunksMoveTheColoursOneChunkAFrame) {
  struct Case {
    std::u16string text;
    std::int32_t step;
    Segmentation by;
    GradientStops gradient;
    Direction direction;
  };
  const Case cases[] = {
      {u"rainbow-text",
       1,
       Segmentation::Characters,
       {RainbowStops(), ColourSpace::Oklab},
       Direction::Left},
      {u"placed_stop",
       1,
       Segmentation::Characters,
       {kThree, ColourSpace::Rgb, {{}, 2000, {}}},
       Direction::Right},
      {u"one two 三 four", 1, Segmentation::Words, {kTwo}, Direction::Left},
      {u"0123456789", 2, Segmentation::Characters, {kThree, ColourSpace::Oklab}, Direction::Right},
  };
  for (const Case& c : cases) {
    StyledSettings settings;
    settings.text = c.text;
    settings.by = c.by;
    settings.gradient = c.gradient;
    const std::int32_t chunks = (StyledText(settings).segments() + c.step - 1) / c.step;
    settings.motion = {chunks, c.direction};
    StyledText text(settings);
    std::vector<std::vector<ColourTriple>> frames;
    for (std::int32_t k = 0; k <= chunks; ++k) {
      text.showFrame(k);
      frames.emplace_back();
      text.forEachChunk(c.step, [&](const StyledChunk& chunk) {
        if (chunk.coloured) {
          frames.back().push_back(chunk.colour);
        }
      });
    }
    const std::size_t n = frames[0].size();
    ASSERT_EQ(n, static_cast<std::size_t>(chunks));
    EXPECT_NE(frames[0], frames[1]);
    for (std::size_t k = 1; k < frames.size(); ++k) {
      for (std::size_t j = 0; j < n; ++j) {
        const std::size_t from = c.direction == Direction::Left ? (j + 1) % n : (j + n - 1) % n;
        EXPECT_EQ(frames[k][j], frames[k - 1][from]) << n << " " << k << " " << j;
      }
    }
  }
}

// Frames of decimal channels or merged runs differ in length: the longest
// must fit, and the counts add up what is written.
TEST(Motion, FittingAndCountingTakeTheLongestFrame) {
  for (const char* key : {"rgb", "minimessage"}) {
    StyledSettings settings;
    settings.text = u"Frames of different lengths";
    settings.markup = *FindDialect(key);
    settings.merge = true;
    settings.gradient.stops = {{0, 0, 0}, {0, 0, 0}, {255, 255, 255}};
    settings.motion = {9, Direction::Right};
    StyledText text(settings);
    std::vector<std::int64_t> longest;  // at each step
    std::int64_t all = 0;
    for (std::int32_t step = 1; step <= text.segments(); ++step) {
      longest.push_back(0);
      for (std::int32_t k = 0; k < 9; ++k) {
        text.showFrame(k);
        const std::int64_t length = reference::CharacterCount(text.markup(step));
        longest.back() = std::max(longest.back(), length);
        all += step == 1 ? length : 0;
      }
    }
    const FrameLengths lengths = MeasureFrames(text, 1);
    EXPECT_EQ(lengths.longest, longest[0]) << key;
    EXPECT_EQ(lengths.all, all) << key;
    for (const std::int64_t limit : {longest[0], longest[0] - 1, longest[3], longest[3] + 2}) {
      const auto fits = std::find_if(longest.begin(), longest.end(),
                                     [&](std::int64_t length) { return length <= limit; });
      EXPECT_EQ(FitStep(text, limit).step, fits - longest.begin() + 1) << key << limit;
    }
  }
}

TEST(Motion, FaultsNameTheFramesTheIntervalOrALineBreak) {
  struct Case {
    std::int32_t frames;
    std::int32_t interval;
    std::u16string text;
    bool perLine;
    MotionFault fault;
  };
  const Case cases[] = {
      {2, 50, u"a b", false, MotionFault::None},
      {240, 60000, u"a\nb", true, MotionFault::None},
      {1, 100, u"a", false, MotionFault::Frames},
      {241, 100, u"a", false, MotionFault::Frames},
      {40, 49, u"a", false, MotionFault::Interval},
      {40, 60001, u"a", false, MotionFault::Interval},
      {40, 100, u"a\r\nb", false, MotionFault::LineBreak},
      {40, 100, u"a\rb", false, MotionFault::LineBreak},
  };
  for (const Case& c : cases) {
    StyledSettings settings;
    settings.text = c.text;
    settings.perLine = c.perLine;
    settings.motion.frames = c.frames;
    Animation animation;
    animation.interval = c.interval;
    EXPECT_EQ(FindMotionFault(settings, animation), c.fault) << c.frames << " " << c.interval;
  }
}

}  // namespace
// The lines form: one frame a line, and an empty line between frames when a
// frame holds a line break, from the text or from the template, but not
// one the dialect writes as an escape.
TEST(Motion, LinesStandApartWhenAFrameSpansLines) {
  struct Case {
    std::u16string text;
    MarkupTemplate markup;
    bool spanning;
  };
  const Case cases[] = {
      {u"abc", InitialTemplate(), false},     {u"ab\ncd", InitialTemplate(), true},
      {u"ab\r\ncd", InitialTemplate(), true}, {u"abc", {u"<\n", u">", u"</>"}, true},
      {u"abc", {u"<", u">", u"</>\r"}, true}, {u"ab\ncd", *FindDialect("json"), false},
  };
  for (const Case& c : cases) {
    StyledSettings settings;
    settings.text = c.text;
    settings.markup = c.markup;
    settings.perLine = true;
    settings.motion.frames = 3;
    StyledText text(settings);
    std::u16string expected;
    for (std::int32_t k = 0; k < 3; ++k) {
      text.showFrame(k);
      expected += (k == 0 ? u"" : c.spanning ? u"\n\n" : u"\n") + text.markup(1);
    }
    text.showFrame(0);
    EXPECT_EQ(AnimationMarkup(text, 1, {}), expected) << c.spanning;
  }
}

}  // namespace huecode
