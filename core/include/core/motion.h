#pragma once

#include <cstdint>

namespace huecode {

// Which way the colours of a moving gradient travel: towards the text's first
// character (leftwards in a left-to-right script, as a ticker scrolls) or
// towards its last.
enum class Direction : std::uint8_t { Left, Right };

// How many frames an animation has. Tab-list and scoreboard plugins play a
// few dozen; past a few hundred a file of them is long and the step between
// two frames is smaller than the eye follows.
inline constexpr std::int32_t kMinFrames = 2;
inline constexpr std::int32_t kMaxFrames = 240;
inline constexpr std::int32_t kDefaultFrames = 40;

// Milliseconds between two frames: a game server ticks every 50 ms, so no
// plugin shows frames faster, and past a minute it no longer looks like motion.
inline constexpr std::int32_t kMinInterval = 50;
inline constexpr std::int32_t kMaxInterval = 60000;
inline constexpr std::int32_t kDefaultInterval = 100;

inline constexpr Direction kDefaultDirection = Direction::Left;

// A gradient that flows along the text. Frame 0 lays one cycle of the
// gradient there and back (the --mirror path: start, stops, end, stops in
// reverse) over the chunks, the first chunk on the start colour and the one
// after the last, were there one, on it again; frame k has moved the colours
// k/frames of that cycle, so that frame `frames` would be frame 0 again.
struct Motion {
  std::int32_t frames = 0;  // none: a still gradient
  Direction direction = kDefaultDirection;

  constexpr bool moving() const { return frames > 0; }
};

constexpr bool FramesInRange(std::int64_t frames) {
  return frames >= kMinFrames && frames <= kMaxFrames;
}

constexpr bool IntervalInRange(std::int64_t interval) {
  return interval >= kMinInterval && interval <= kMaxInterval;
}

}  // namespace huecode
