// The window's keyboard: the keys that press buttons, what the focus selects,
// and the step box's keys.
#include "tests/ui/form1_fixture.h"

namespace huecode {
namespace {

// What one key press on a focused control does: the button it presses, if
// any, and where the focus is afterwards.
struct KeyPressCase {
  const char* what;
  Form1Control focus;
  int focusIndex;
  Qt::Key key;
  Qt::KeyboardModifiers modifiers;
  int clickedButton;  // index into ButtonsInTabOrder, -1 for none
  Form1Control focusAfter;
  int focusAfterIndex;
};

class KeyPressTest : public Form1Test, public ::testing::WithParamInterface<KeyPressCase> {
 protected:
  QWidget* Control(Form1Control control, int index) {
    return form().findChild<QWidget*>(ControlName(control, index));
  }
};

TEST_P(KeyPressTest, PressesTheFocusedOrNamedButtonAndMovesTheFocus) {
  const KeyPressCase& c = GetParam();
  m_picker->answer = std::nullopt;
  const std::array<QPushButton*, 4> buttons{form().Command1[0], form().Command2[0],
                                            form().Command2[1], form().Command2[2]};
  std::vector<std::unique_ptr<QSignalSpy>> spies;
  spies.reserve(buttons.size());
  for (QPushButton* button : buttons) {
    spies.push_back(std::make_unique<QSignalSpy>(button, &QPushButton::clicked));
  }
  QWidget* focus = Control(c.focus, c.focusIndex);
  focus->setFocus(Qt::TabFocusReason);
  QTest::keyClick(focus, c.key, c.modifiers);
  for (std::size_t i = 0; i < buttons.size(); ++i) {
    EXPECT_EQ(spies[i]->count(), static_cast<int>(i) == c.clickedButton ? 1 : 0)
        << c.what << ": " << buttons[i]->objectName().toStdString();
  }
  EXPECT_EQ(QApplication::focusWidget(), Control(c.focusAfter, c.focusAfterIndex)) << c.what;
}

using C = Form1Control;

INSTANTIATE_TEST_SUITE_P(
    Keys, KeyPressTest,
    ::testing::Values(
        KeyPressCase{
            "Enter on the focused button", C::Command1, 0, Qt::Key_Return, {}, 0, C::Command1, 0},
        KeyPressCase{"keypad Enter on the focused button", C::Command2, 2, Qt::Key_Enter,
                     Qt::KeypadModifier, 3, C::Command2, 2},
        KeyPressCase{
            "Space on the focused button", C::Command1, 0, Qt::Key_Space, {}, 0, C::Command1, 0},
        KeyPressCase{"Enter in a template box", C::Text2, 0, Qt::Key_Return, {}, -1, C::Text2, 0},
        KeyPressCase{"Escape on a button", C::Command2, 0, Qt::Key_Escape, {}, -1, C::Command2, 0},
        KeyPressCase{"access key from a box", C::Text1, -1, Qt::Key_B, Qt::AltModifier, 0,
                     C::Command1, 0},
        KeyPressCase{"access key of paste from Text3", C::Text3, -1, Qt::Key_V, Qt::AltModifier, 3,
                     C::Command2, 2},
        KeyPressCase{"convert from Text3 comes back to Text3", C::Text3, -1, Qt::Key_T,
                     Qt::AltModifier, 1, C::Text3, -1}));

TEST_F(Form1Test, ConvertByAltTFromText3SelectsTheNewOutput) {
  Convert("ab", "1");
  form().Text3->moveCursor(QTextCursor::End);
  ASSERT_FALSE(form().Text3->textCursor().hasSelection());
  SetBoxText(*form().Text1, "xyz");
  QTest::keyClick(form().Text3, Qt::Key_T, Qt::AltModifier);
  EXPECT_TRUE(form().Text3->toPlainText().contains("z[/color]"));
  EXPECT_EQ(form().Text3->textCursor().selectedText(), form().Text3->toPlainText());
}

struct FocusCase {
  Qt::FocusReason reason;
  bool selectsAll;
};

class FocusReasonTest : public Form1Test, public ::testing::WithParamInterface<FocusCase> {};

// Only the focus moving from control to control selects a box's text; the
// window coming back to the front or a popup closing leaves caret and selection.
TEST_P(FocusReasonTest, SelectsAllOnlyWhenTheFocusMovesBetweenControls) {
  SetBoxText(*form().Text1, "abc");
  SetLineText(*form().Text2[1], "xyz");
  form().Text1->moveCursor(QTextCursor::Right);
  form().Text2[1]->setCursorPosition(2);
  for (QWidget* box :
       {static_cast<QWidget*>(form().Text1), static_cast<QWidget*>(form().Text2[1])}) {
    form().Command2[0]->setFocus();
    box->setFocus(GetParam().reason);
    ASSERT_EQ(QApplication::focusWidget(), box);
  }
  EXPECT_EQ(form().Text1->textCursor().hasSelection(), GetParam().selectsAll);
  EXPECT_EQ(form().Text2[1]->hasSelectedText(), GetParam().selectsAll);
  if (!GetParam().selectsAll) {
    EXPECT_EQ(form().Text1->textCursor().position(), 1);
    EXPECT_EQ(form().Text2[1]->cursorPosition(), 2);
  }
}

INSTANTIATE_TEST_SUITE_P(Reasons, FocusReasonTest,
                         ::testing::Values(FocusCase{Qt::TabFocusReason, true},
                                           FocusCase{Qt::BacktabFocusReason, true},
                                           FocusCase{Qt::ShortcutFocusReason, true},
                                           FocusCase{Qt::OtherFocusReason, true},
                                           FocusCase{Qt::ActiveWindowFocusReason, false},
                                           FocusCase{Qt::PopupFocusReason, false}));

TEST_F(Form1Test, ConvertByAltTFromText1SelectsTheOutput) {
  form().Text1->setFocus();
  QTest::keyClicks(form().Text1, "ab");
  QTest::keyClick(form().Text1, Qt::Key_T, Qt::AltModifier);
  ASSERT_TRUE(WaitUntil([this] { return !form().Text3->toPlainText().isEmpty(); }));
  EXPECT_EQ(QApplication::focusWidget(), form().Text3);
  EXPECT_EQ(form().Text3->textCursor().selectedText(), form().Text3->toPlainText());
}

TEST_F(Form1Test, AltLettersPressTheirButtonsAndEnterPressesNone) {
  const std::vector<std::pair<Qt::Key, QPushButton*>> keys{{Qt::Key_B, form().Command1[0]},
                                                           {Qt::Key_E, form().Command1[1]},
                                                           {Qt::Key_T, form().Command2[0]},
                                                           {Qt::Key_C, form().Command2[1]},
                                                           {Qt::Key_V, form().Command2[2]}};
  for (const auto& [key, button] : keys) {
    QSignalSpy clicked(button, &QPushButton::clicked);
    QTest::keyClick(&form(), key, Qt::AltModifier);
    EXPECT_TRUE(clicked.count() == 1 || clicked.wait(1000)) << button->text().toStdString();
  }
  EXPECT_EQ(m_picker->owners.size(), 2u);
  EXPECT_EQ(m_messages->shown.size(), 1u);

  std::vector<std::unique_ptr<QSignalSpy>> spies;
  for (QWidget* w : form().findChildren<QPushButton*>()) {
    spies.push_back(
        std::make_unique<QSignalSpy>(static_cast<QPushButton*>(w), &QPushButton::clicked));
  }
  for (QLineEdit* box : {form().Text2[0], form().Text4}) {
    box->setFocus();
    QTest::keyClick(box, Qt::Key_Return);
  }
  QTest::qWait(200);
  for (const auto& spy : spies) {
    EXPECT_EQ(spy->count(), 0);
  }
}

struct KeyStroke {
  int key;
  Qt::KeyboardModifiers modifiers;
  QString text;
};

struct StepKeyCase {
  const char* what;
  std::vector<KeyStroke> keys;
  const char* expected;
};

class StepBoxKeyTest : public Form1Test, public ::testing::WithParamInterface<StepKeyCase> {};

// Text4 starts as "12" with the caret at the end; "99" is on the clipboard.
TEST_P(StepBoxKeyTest, TakesDigitsAndBackspaceOnly) {
  QGuiApplication::clipboard()->setText("99");
  form().Text4->setFocus();
  form().Text4->setText("12");
  form().Text4->end(false);
  for (const KeyStroke& stroke : GetParam().keys) {
    QKeyEvent press(QEvent::KeyPress, stroke.key, stroke.modifiers, stroke.text);
    QKeyEvent release(QEvent::KeyRelease, stroke.key, stroke.modifiers, stroke.text);
    QKeyEvent overrideEvent(QEvent::ShortcutOverride, stroke.key, stroke.modifiers, stroke.text);
    QApplication::sendEvent(form().Text4, &overrideEvent);
    QApplication::sendEvent(form().Text4, &press);
    QApplication::sendEvent(form().Text4, &release);
  }
  EXPECT_EQ(form().Text4->text(), QString::fromUtf8(GetParam().expected)) << GetParam().what;
  EXPECT_EQ(QGuiApplication::clipboard()->text(), "99");
  EXPECT_TRUE(m_messages->shown.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Keys, StepBoxKeyTest,
    ::testing::Values(
        StepKeyCase{"digits", {{Qt::Key_3, {}, "3"}, {Qt::Key_0, {}, "0"}}, "1230"},
        StepKeyCase{"backspace", {{Qt::Key_Backspace, {}, "\b"}}, "1"},
        StepKeyCase{"letters, space, minus, point",
                    {{Qt::Key_A, {}, "a"},
                     {Qt::Key_Space, {}, " "},
                     {Qt::Key_Minus, {}, "-"},
                     {Qt::Key_Period, {}, "."},
                     {Qt::Key_E, Qt::ShiftModifier, "E"}},
                    "12"},
        StepKeyCase{"Chinese", {{0, {}, "五"}}, "12"},
        StepKeyCase{"ctrl+v", {{Qt::Key_V, Qt::ControlModifier, "\x16"}}, "12"},
        StepKeyCase{"ctrl+a then digit",
                    {{Qt::Key_A, Qt::ControlModifier, "\x01"}, {Qt::Key_5, {}, "5"}},
                    "125"},
        StepKeyCase{
            "ctrl+x",
            {{Qt::Key_Home, Qt::ShiftModifier, ""}, {Qt::Key_X, Qt::ControlModifier, "\x18"}},
            "12"},
        StepKeyCase{"delete and arrows",
                    {{Qt::Key_Home, {}, ""},
                     {Qt::Key_Delete, {}, "\x7f"},
                     {Qt::Key_End, {}, ""},
                     {Qt::Key_Left, {}, ""},
                     {Qt::Key_7, {}, "7"}},
                    "72"},
        StepKeyCase{"shift+insert pastes", {{Qt::Key_Insert, Qt::ShiftModifier, ""}}, "1299"}));

TEST_F(Form1Test, StepBoxCtrlCCopiesNothing) {
  QGuiApplication::clipboard()->setText("keep");
  form().Text4->setFocus();
  form().Text4->selectAll();
  QTest::keyClick(form().Text4, Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(QGuiApplication::clipboard()->text(), "keep");
  QTest::keyClicks(form().Text4, "x-4");
  EXPECT_EQ(form().Text4->text(), "4");
}

}  // namespace
}  // namespace huecode
