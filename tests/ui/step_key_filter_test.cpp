#include "ui/step_key_filter.h"

#include <gtest/gtest.h>
#include <QKeyEvent>

namespace huecode {
namespace {

struct KeyCase {
  const char* what;
  int key;
  Qt::KeyboardModifiers modifiers;
  QString text;
  std::optional<char16_t> typed;
};

class TypedCharacterTest : public ::testing::TestWithParam<KeyCase> {};

TEST_P(TypedCharacterTest, ReportsWhatTheKeyTypes) {
  const KeyCase& c = GetParam();
  const QKeyEvent event(QEvent::KeyPress, c.key, c.modifiers, c.text);
  EXPECT_EQ(TypedCharacter(event), c.typed) << c.what;
}

// X11 sends control characters as the text of Ctrl combinations and U+007F
// with Delete; the offscreen test platform sends the plain letter.
INSTANTIATE_TEST_SUITE_P(
    Keys, TypedCharacterTest,
    ::testing::Values(
        KeyCase{"digit", Qt::Key_7, Qt::NoModifier, "7", u'7'},
        KeyCase{"keypad digit", Qt::Key_3, Qt::KeypadModifier, "3", u'3'},
        KeyCase{"letter", Qt::Key_A, Qt::NoModifier, "a", u'a'},
        KeyCase{"space", Qt::Key_Space, Qt::NoModifier, " ", u' '},
        KeyCase{"minus", Qt::Key_Minus, Qt::NoModifier, "-", u'-'},
        KeyCase{"Chinese", 0, Qt::NoModifier, "中", u'中'},
        KeyCase{"backspace", Qt::Key_Backspace, Qt::NoModifier, "\b", char16_t{8}},
        KeyCase{"ctrl+backspace", Qt::Key_Backspace, Qt::ControlModifier, "", char16_t{127}},
        KeyCase{"return", Qt::Key_Return, Qt::NoModifier, "\r", char16_t{13}},
        KeyCase{"escape", Qt::Key_Escape, Qt::NoModifier, "\x1b", char16_t{27}},
        KeyCase{"ctrl+v on X11", Qt::Key_V, Qt::ControlModifier, "\x16", char16_t{22}},
        KeyCase{"ctrl+v offscreen", Qt::Key_V, Qt::ControlModifier, "v", char16_t{22}},
        KeyCase{"ctrl+c", Qt::Key_C, Qt::ControlModifier, "", char16_t{3}},
        KeyCase{"ctrl+a", Qt::Key_A, Qt::ControlModifier, "\x01", char16_t{1}},
        KeyCase{"ctrl+shift+z", Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier, "\x1a",
                char16_t{26}},
        KeyCase{"delete on X11", Qt::Key_Delete, Qt::NoModifier, "\x7f", std::nullopt},
        KeyCase{"left", Qt::Key_Left, Qt::NoModifier, "", std::nullopt},
        KeyCase{"home", Qt::Key_Home, Qt::NoModifier, "", std::nullopt},
        KeyCase{"shift+insert", Qt::Key_Insert, Qt::ShiftModifier, "", std::nullopt},
        KeyCase{"tab", Qt::Key_Tab, Qt::NoModifier, "\t", std::nullopt},
        KeyCase{"alt+t", Qt::Key_T, Qt::AltModifier, "t", std::nullopt}));

TEST(StepBoxAcceptsTest, DigitsAndBackspaceOnly) {
  for (char16_t c = 0; c < 0x3000; ++c) {
    const bool expected = (c >= u'0' && c <= u'9') || c == 8;
    EXPECT_EQ(StepBoxAccepts(c), expected) << static_cast<int>(c);
  }
  EXPECT_FALSE(StepBoxAccepts(u'０'));  // full-width digit zero
}

}  // namespace
}  // namespace huecode
