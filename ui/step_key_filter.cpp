#include "ui/step_key_filter.h"

#include <QKeyEvent>

namespace huecode {

std::optional<char16_t> TypedCharacter(const QKeyEvent& event) {
  const Qt::KeyboardModifiers modifiers = event.modifiers() & ~Qt::KeypadModifier;
  if (modifiers & (Qt::AltModifier | Qt::MetaModifier)) {
    return std::nullopt;
  }
  const int key = event.key();
  const bool control = modifiers & Qt::ControlModifier;
  if (control && key >= Qt::Key_A && key <= Qt::Key_Z) {
    return static_cast<char16_t>(key - Qt::Key_A + 1);
  }
  switch (key) {
    case Qt::Key_Backspace:
      return control ? char16_t{127} : char16_t{8};
    case Qt::Key_Return:
    case Qt::Key_Enter:
      return char16_t{13};
    case Qt::Key_Escape:
      return char16_t{27};
    default:
      break;
  }
  // Tab moves the focus before any box sees it. X11 reports Delete with the
  // text U+007F, but it types nothing.
  const QString text = event.text();
  if (text.isEmpty() || text.front().unicode() < 0x20 || text.front().unicode() == 0x7f) {
    return std::nullopt;
  }
  return text.front().unicode();
}

}  // namespace huecode
