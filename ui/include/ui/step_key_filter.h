#pragma once

#include <optional>

class QKeyEvent;

namespace huecode {

// The character a key press types, as a text box's key handler sees it:
// Ctrl with a letter types its control character (Ctrl+V is 22), Backspace 8,
// Return 13, Escape 27. Tab and editing keys such as Delete, the arrows, Home
// and End type nothing, and neither do Alt combinations (they are access keys).
std::optional<char16_t> TypedCharacter(const QKeyEvent& event);

// The step box takes digits and Backspace from the keyboard, nothing else.
constexpr bool StepBoxAccepts(char16_t c) {
  return (c >= u'0' && c <= u'9') || c == 8;
}

}  // namespace huecode
