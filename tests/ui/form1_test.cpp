#include "ui/form1.h"

#include <gtest/gtest.h>
#include <QAbstractItemView>
#include <QClipboard>
#include <QComboBox>
#include <QFontDatabase>
#include <QFontInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QRawFont>
#include <QScreen>
#include <QSignalSpy>
#include <QTextCursor>
#include <algorithm>
#include <vector>

#include "core/conversion.h"
#include "core/dialects.h"
#include "core/markup_template.h"
#include "tests/support/worked_examples.h"
#include "tests/ui/form_test_support.h"
#include "ui/form2.h"
#include "ui/graphic_button.h"
#include "ui/picture_box.h"
#include "ui/text_box.h"
#include "ui/window_dialects.h"

namespace huecode {
namespace {

using test::AnswerNextModal;
using test::WaitUntil;

QString Q(std::u16string_view text) {
  return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

QRgb PixelAt(const PictureBox& box, int x, int y) {
  const QImage& image = box.surface().image();
  const qreal ratio = image.devicePixelRatio();
  return image.pixel(static_cast<int>(x * ratio), static_cast<int>(y * ratio));
}

// Neighbouring bar columns share pixels, so an edge pixel may show its neighbour's colour.
bool Near(QRgb pixel, QColor expected, int tolerance = 3) {
  const QColor c(pixel);
  return std::abs(c.red() - expected.red()) <= tolerance &&
         std::abs(c.green() - expected.green()) <= tolerance &&
         std::abs(c.blue() - expected.blue()) <= tolerance;
}

class Form1Test : public ::testing::Test {
 protected:
  void SetUp() override {
    auto picker = std::make_unique<test::FakeColourPicker>();
    auto messages = std::make_unique<test::RecordingMessageBox>();
    m_picker = picker.get();
    m_messages = messages.get();
    m_form = std::make_unique<Form1>(std::move(picker), std::move(messages));
    m_form->show();
    m_form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(m_form.get()));
  }

  Form1& form() { return *m_form; }

  // A click with the mouse moves the focus to the button, as a user's does.
  void Click(QPushButton* button) { QTest::mouseClick(button, Qt::LeftButton); }

  void Convert(const QString& text, const QString& step) {
    SetBoxText(*form().Text1, text);
    form().Text4->setText(step);
    Click(form().Command2[0]);
  }

  void PickFromList(int index) {
    form().Combo1->showPopup();
    QAbstractItemView* view = form().Combo1->view();
    ASSERT_TRUE(WaitUntil([view] { return view->isVisible(); }));
    const QModelIndex item = view->model()->index(index, 0);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(item).center());
  }

  std::array<QString, 3> Template() {
    return {form().Text2[0]->text(), form().Text2[1]->text(), form().Text2[2]->text()};
  }

  test::FakeColourPicker* m_picker = nullptr;
  test::RecordingMessageBox* m_messages = nullptr;
  std::unique_ptr<Form1> m_form;
};

TEST_F(Form1Test, OpensWithTheInitialTextsAndNoPresetSelected) {
  EXPECT_EQ(form().windowTitle(), "Brelvin留言彩色字体代码生成");
  EXPECT_EQ(form().Text1->toPlainText(), "");
  EXPECT_EQ(form().Text3->toPlainText(), "");
  EXPECT_EQ(form().Text4->text(), "1");
  const MarkupTemplate initial = InitialTemplate();
  EXPECT_EQ(Template(),
            (std::array<QString, 3>{Q(initial.prefix), Q(initial.middle), Q(initial.suffix)}));
  EXPECT_EQ(form().Combo1->currentText(), "UBB(论坛)");
  EXPECT_EQ(form().Combo1->currentIndex(), -1);
  ASSERT_EQ(form().Combo1->count(), 3);
  EXPECT_EQ(form().Combo1->itemText(0), "Html(网页)");
  EXPECT_EQ(form().Combo1->itemText(2), "Brelvin");
  EXPECT_EQ(form().StartColour(), (ColourTriple{255, 0, 255}));
  EXPECT_EQ(form().EndColour(), (ColourTriple{0, 255, 0}));
  EXPECT_EQ(QApplication::focusWidget(), form().Picture1);
}

TEST_F(Form1Test, EveryControlSitsWhereTheLayoutTablePutsIt) {
  for (const Form1ControlLayout& entry : kForm1Layout) {
    const QString name = ControlName(entry.control, entry.index);
    auto* control = form().findChild<QWidget*>(name);
    ASSERT_NE(control, nullptr) << name.toStdString();
    const QRect expected = ToPixels(entry.rect);
    EXPECT_EQ(control->pos(), expected.topLeft()) << name.toStdString();
    if (entry.control == Form1Control::Label1) {
      EXPECT_EQ(control->size(), control->sizeHint()) << name.toStdString();
      EXPECT_EQ(static_cast<QLabel*>(control)->text(), QString::fromUtf8(entry.caption));
    } else {
      EXPECT_EQ(control->size(), expected.size()) << name.toStdString();
    }
    if (auto* button = qobject_cast<QPushButton*>(control)) {
      EXPECT_EQ(button->text(), QString::fromUtf8(entry.caption));
      EXPECT_FALSE(button->autoDefault() || button->isDefault()) << name.toStdString();
    } else if (auto* frame = qobject_cast<QGroupBox*>(control)) {
      EXPECT_EQ(frame->title(), QString::fromUtf8(entry.caption));
    }
    EXPECT_TRUE(control->isVisibleTo(&form())) << name.toStdString();
    EXPECT_TRUE(control->isEnabled()) << name.toStdString();
  }
  EXPECT_EQ(form().Picture1->parentWidget(), form().Frame1);
  EXPECT_EQ(form().Text1->parentWidget(), form().Frame2);
}

// The face that draws a widget's Chinese text; a face without the glyphs
// would leave them to a fallback face or to boxes.
bool DrawsFromItsOwnFace(const QWidget& widget, const QString& text) {
  const QRawFont face = QRawFont::fromFont(widget.font(), QFontDatabase::SimplifiedChinese);
  if (face.familyName() != QFontInfo(widget.font()).family()) {
    return false;
  }
  return std::all_of(text.begin(), text.end(), [&face](QChar c) {
    return c.isSpace() || c == QLatin1Char('&') || face.supportsCharacter(c);
  });
}

TEST_F(Form1Test, NoTwoControlsOverlapAndEveryCaptionHasItsGlyphs) {
  std::vector<QWidget*> controls;
  controls.reserve(kForm1Layout.size());
  for (const Form1ControlLayout& entry : kForm1Layout) {
    controls.push_back(form().findChild<QWidget*>(ControlName(entry.control, entry.index)));
  }
  for (std::size_t i = 0; i < controls.size(); ++i) {
    const std::string name = controls[i]->objectName().toStdString();
    EXPECT_TRUE(controls[i]->parentWidget()->rect().contains(controls[i]->geometry())) << name;
    for (std::size_t j = i + 1; j < controls.size(); ++j) {
      if (controls[i]->parentWidget() == controls[j]->parentWidget()) {
        EXPECT_FALSE(controls[i]->geometry().intersects(controls[j]->geometry()))
            << name << " " << controls[j]->objectName().toStdString();
      }
    }
    QString caption;
    if (const auto* label = qobject_cast<QLabel*>(controls[i])) {
      caption = label->text();
    } else if (const auto* button = qobject_cast<QPushButton*>(controls[i])) {
      caption = button->text();
    } else if (const auto* frame = qobject_cast<QGroupBox*>(controls[i])) {
      caption = frame->title();
    }
    EXPECT_TRUE(DrawsFromItsOwnFace(*controls[i], caption)) << name;
  }
  // Drawn for half-width Latin letters: six of them take 36 pixels.
  EXPECT_EQ(form().Label1[2]->width(), 36);
  EXPECT_EQ(form().Label1[2]->font().pointSize(), 9);
  EXPECT_NE(form().Label1[3]->font(), form().font());
  Form2 about(&form());
  for (const QLabel* label : about.Label1) {
    EXPECT_TRUE(DrawsFromItsOwnFace(*label, label->text())) << label->text().toStdString();
  }
  EXPECT_TRUE(DrawsFromItsOwnFace(*about.Command1, about.Command1->text()));
}

TEST_F(Form1Test, WindowIsCentredGreenAndKeepsItsControlsWhenResized) {
  EXPECT_EQ(form().size(), QSize(539, 375));
  const QRect screen = form().screen()->availableGeometry();
  EXPECT_LE((form().geometry().center() - screen.center()).manhattanLength(), 2);

  const QImage shot = form().grab().toImage();
  EXPECT_EQ(QColor(shot.pixel(3, 3)), QColor(0, 128, 0));
  // Inside Frame2, between its border and Text1.
  const QPoint insideFrame = form().Frame2->pos() + QPoint(5, 100);
  EXPECT_EQ(QColor(shot.pixel(insideFrame)), QColor(0, 128, 0));
  // Labels are transparent: the green shows between the glyphs.
  const QPoint onLabel = form().Label1[0]->pos() + QPoint(0, 0);
  EXPECT_EQ(QColor(shot.pixel(onLabel)), QColor(0, 128, 0));

  const QRect text3 = form().Text3->geometry();
  form().resize(900, 700);
  QTest::qWait(20);
  EXPECT_EQ(form().Text3->geometry(), text3);
}

TEST_F(Form1Test, SampleTextIsBoldNinePointMagenta) {
  QLabel* sample = form().Label1[3];
  EXPECT_EQ(sample->text(), "文字");
  EXPECT_TRUE(sample->font().bold());
  EXPECT_EQ(sample->font().pointSize(), 9);
  EXPECT_EQ(sample->palette().color(sample->foregroundRole()), QColor(255, 0, 255));
  if (QFontDatabase::families().contains("Noto Serif CJK SC") &&
      !QFontDatabase::families().contains("宋体")) {
    EXPECT_EQ(sample->font().families().value(0), "Noto Serif CJK SC");
  }
}

TEST_F(Form1Test, MultiLineBoxesWrapWithAVerticalScrollBarOnly) {
  for (QPlainTextEdit* box : {form().Text1, form().Text3}) {
    EXPECT_EQ(box->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    EXPECT_EQ(box->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    EXPECT_EQ(box->lineWrapMode(), QPlainTextEdit::WidgetWidth);
    EXPECT_FALSE(box->isReadOnly());
  }
}

TEST_F(Form1Test, GradientBarIsPaintedBeforeAnyUserAction) {
  const PictureBox& bar = *form().Picture2;
  const int middle = bar.height() / 2;
  EXPECT_TRUE(Near(PixelAt(bar, 1, middle), QColor(255, 0, 255)));
  EXPECT_TRUE(Near(PixelAt(bar, bar.width() / 2, middle), QColor(128, 127, 128)));
  EXPECT_TRUE(Near(PixelAt(bar, bar.width() - 2, middle), QColor(0, 255, 0)));
}

TEST_F(Form1Test, TabVisitsTheControlsInOrderAndReturnsToPicture1) {
  form().Text1->setPlainText("input");
  form().Text3->setPlainText("output");
  const std::vector<QWidget*> expected{
      form().Text1,       form().Picture2,    form().Command1[0], form().Command1[1],
      form().Text2[0],    form().Text2[1],    form().Text2[2],    form().Combo1,
      form().Text3,       form().Command2[0], form().Command2[1], form().Command2[2],
      form().Command3[0], form().Command3[1], form().Text4,       form().Picture1};
  std::vector<QWidget*> visited;
  for (std::size_t i = 0; i < expected.size(); ++i) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    visited.push_back(QApplication::focusWidget());
    if (auto* line = qobject_cast<QLineEdit*>(visited.back()); line && line != form().Text4) {
      EXPECT_EQ(line->selectedText(), line->text()) << line->objectName().toStdString();
    }
    if (auto* box = qobject_cast<QPlainTextEdit*>(visited.back())) {
      EXPECT_EQ(box->textCursor().selectedText(), box->toPlainText());
    }
  }
  EXPECT_EQ(visited, expected);
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
  EXPECT_EQ(QApplication::focusWidget(), form().Text4);
}

TEST_F(Form1Test, ClickingIntoABoxPlacesTheCaretInsteadOfKeepingTheSelection) {
  form().Text2[0]->setText("[color=#");
  QTest::mouseClick(form().Text2[0], Qt::LeftButton, {}, QPoint(4, 9));
  EXPECT_EQ(QApplication::focusWidget(), form().Text2[0]);
  EXPECT_FALSE(form().Text2[0]->hasSelectedText());
}

QString Q16(std::u16string_view text) {
  return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

// The worked examples, and a LF, which the window keeps as one bare character.
std::vector<test::WorkedExample> WindowExamples() {
  std::vector<test::WorkedExample> examples(std::begin(test::kWorkedExamples),
                                            std::end(test::kWorkedExamples));
  examples.push_back({u"ab\ncd", u"1", "",
                      u"[color=#CC33CC]a[/color][color=#996699]b[/color]\n"
                      u"[color=#33CC33]c[/color][color=#00FF00]d[/color]"});
  return examples;
}

class ConvertTest : public Form1Test, public ::testing::WithParamInterface<test::WorkedExample> {};

TEST_P(ConvertTest, FillsText3AndSelectsAllOfIt) {
  const test::WorkedExample& example = GetParam();
  if (!example.preset.empty()) {
    const auto dialects = WindowDialects();
    const auto preset = static_cast<int>(
        std::find_if(dialects.begin(), dialects.end(),
                     [&](const Dialect& dialect) { return dialect.key == example.preset; }) -
        dialects.begin());
    PickFromList(preset);
    ASSERT_TRUE(WaitUntil([this, preset] { return form().Combo1->currentIndex() == preset; }));
  }
  Convert(Q16(example.text), Q16(example.stepText));
  EXPECT_EQ(BoxText(*form().Text3), Q16(example.markup));
  EXPECT_EQ(QApplication::focusWidget(), form().Text3);
  const QTextCursor cursor = form().Text3->textCursor();
  EXPECT_EQ(cursor.selectionStart(), 0);
  EXPECT_EQ(cursor.selectionEnd(), form().Text3->document()->characterCount() - 1);
}

INSTANTIATE_TEST_SUITE_P(WorkedExamples, ConvertTest, ::testing::ValuesIn(WindowExamples()));

TEST_F(Form1Test, ConvertPaintsThePreviewAndAnEmptyTextClearsIt) {
  const PictureBox& preview = *form().Picture1;
  const QImage blank = preview.surface().image();
  Convert("WW", "1");
  EXPECT_NE(preview.surface().image(), blank);
  Convert("", "1");
  EXPECT_EQ(preview.surface().image(), blank);
  EXPECT_EQ(form().Text3->toPlainText(), "");
  EXPECT_EQ(QApplication::focusWidget(), form().Text3);
}

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

TEST_F(Form1Test, TextBoxesTakeTextsPastQtsDefaultLimit) {
  const QString longText(100'000, QLatin1Char('7'));
  for (QLineEdit* box : {form().Text2[0], form().Text2[1], form().Text2[2], form().Text4,
                         form().Combo1->lineEdit()}) {
    box->setText(longText);
    box->end(false);
    QTest::keyClick(box, Qt::Key_8);
    EXPECT_EQ(box->text().size(), 100'001) << box->objectName().toStdString();
  }
}

TEST_F(Form1Test, ConvertShowsTheWaitCursorWhileItRuns) {
  std::vector<Qt::CursorShape> seen;
  QObject::connect(form().Text3, &QPlainTextEdit::textChanged, [&seen] {
    const QCursor* cursor = QGuiApplication::overrideCursor();
    seen.push_back(cursor != nullptr ? cursor->shape() : Qt::ArrowCursor);
  });
  Convert("ab", "1");
  ASSERT_FALSE(seen.empty());
  for (const Qt::CursorShape shape : seen) {
    EXPECT_EQ(shape, Qt::WaitCursor);
  }
  EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

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

TEST_F(Form1Test, ListPickReplacesAllThreeTemplateBoxes) {
  form().Text2[0]->setText("x");
  form().Text2[1]->setText("y");
  form().Text2[2]->setText("z");
  // Right after start nothing is selected, so picking the shown item still applies it.
  PickFromList(1);
  ASSERT_TRUE(WaitUntil([this] { return form().Text2[0]->text() == "[color="; }));
  EXPECT_EQ(Template(), (std::array<QString, 3>{"[color=", "]", "[/color]"}));
  // Each box shows the start of its text: a preset's text is set from code.
  for (const QLineEdit* box : form().Text2) {
    EXPECT_EQ(box->cursorPosition(), 0) << box->objectName().toStdString();
  }

  form().Combo1->setFocus();
  QTest::keyClick(form().Combo1, Qt::Key_Down);
  EXPECT_EQ(Template(), (std::array<QString, 3>{"[ftc=", "]", "[/ft]"}));
  QTest::keyClick(form().Combo1, Qt::Key_Up);
  QTest::keyClick(form().Combo1, Qt::Key_Up);
  EXPECT_EQ(Template(), (std::array<QString, 3>{"<font color=", ">", "</font>"}));
}

TEST_F(Form1Test, TypingADialectNameOrLeavingTheListChangesNothing) {
  const std::array<QString, 3> before = Template();
  form().Combo1->setFocus();
  QTest::keyClick(form().Combo1, Qt::Key_Tab);  // leaving with "UBB(论坛)" in the field
  form().Combo1->setFocus();
  form().Combo1->lineEdit()->selectAll();
  QTest::keyClicks(form().Combo1, "Brelvin");
  QTest::keyClick(form().Combo1, Qt::Key_Return);
  QTest::keyClick(form().Combo1, Qt::Key_Tab);
  EXPECT_EQ(Template(), before);
  EXPECT_EQ(form().Combo1->currentIndex(), -1);
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

TEST_F(Form1Test, CopyPutsTheOutputOnTheClipboardAndConfirms) {
  QGuiApplication::clipboard()->setText("old");
  form().Text3->setPlainText("[color=#FF00FF]a[/color]\nline two");
  Click(form().Command2[1]);
  EXPECT_EQ(QGuiApplication::clipboard()->text(), "[color=#FF00FF]a[/color]\r\nline two");
  ASSERT_EQ(m_messages->shown.size(), 1u);
  EXPECT_EQ(m_messages->shown[0].prompt, "复制到剪贴板成功");
  EXPECT_EQ(m_messages->shown[0].title, "成功");
  EXPECT_EQ(m_messages->shown[0].icon, MessageIcon::None);
  EXPECT_EQ(m_messages->owners[0], &form());
}

TEST_F(Form1Test, CopyKeepsALineBreakThatTheStepCutInTwo) {
  // Step 3 on "ab\r\ncd" ends the first chunk with the CR and starts the next with the LF.
  Convert(Q(u"ab\r\ncd"), "3");
  ConversionSettings settings;
  settings.text = u"ab\r\ncd";
  settings.stepText = u"3";
  const QString exact = Q(GenerateCode(settings));
  ASSERT_TRUE(exact.contains(Q(u"\r[/color]")));
  Click(form().Command2[1]);
  EXPECT_EQ(QGuiApplication::clipboard()->text(), exact);

  // An edit leaves the line ends as they were.
  form().Text3->moveCursor(QTextCursor::End);
  QTest::keyClick(form().Text3, '!');
  Click(form().Command2[1]);
  EXPECT_EQ(QGuiApplication::clipboard()->text(), exact + "!");
}

TEST_F(Form1Test, CopyOfAnEmptyOutputStillClearsAndConfirms) {
  auto* data = new QMimeData;
  data->setText("old");
  data->setImageData(QImage(4, 4, QImage::Format_RGB32));
  QGuiApplication::clipboard()->setMimeData(data);
  Click(form().Command2[1]);
  const QMimeData* now = QGuiApplication::clipboard()->mimeData();
  ASSERT_NE(now, nullptr);
  EXPECT_EQ(now->text(), "");
  EXPECT_FALSE(now->hasImage());
  ASSERT_EQ(m_messages->shown.size(), 1u);
  EXPECT_EQ(m_messages->shown[0].prompt, "复制到剪贴板成功");
}

TEST_F(Form1Test, CopyThatDoesNotArriveIsReportedAsFailed) {
  QClipboard* clipboard = QGuiApplication::clipboard();
  // Another program takes the clipboard over the moment the output lands there.
  const auto takeover = QObject::connect(clipboard, &QClipboard::dataChanged, [clipboard] {
    if (clipboard->text() == "output") {
      clipboard->setText("someone else's");
    }
  });
  form().Text3->setPlainText("output");
  Click(form().Command2[1]);
  QObject::disconnect(takeover);
  ASSERT_EQ(m_messages->shown.size(), 1u);
  EXPECT_EQ(m_messages->shown[0].prompt, "复制到剪贴板失败");
  EXPECT_EQ(m_messages->shown[0].title, "错误");
}

class PasteTest : public Form1Test, public ::testing::WithParamInterface<std::u16string_view> {};

// The clipboard's text goes through paste, convert and copy unchanged: the
// output is the conversion of exactly the pasted text, and the copy exactly the output.
TEST_P(PasteTest, KeepsTheClipboardTextExactlyThroughConvertAndCopy) {
  const QString pasted = Q(GetParam());
  form().Text1->setPlainText("replaced");
  QGuiApplication::clipboard()->setText(pasted);
  Click(form().Command2[2]);
  EXPECT_EQ(BoxText(*form().Text1), pasted);
  EXPECT_EQ(form().Text1->textCursor().position(), 0);
  Click(form().Command2[0]);
  ConversionSettings settings;
  settings.text = pasted.toStdU16String();
  settings.stepText = u"1";
  settings.markup = InitialTemplate();
  settings.start = form().StartColour();
  settings.end = form().EndColour();
  const QString output = Q(GenerateCode(settings));
  EXPECT_EQ(BoxText(*form().Text3), output);
  Click(form().Command2[1]);
  EXPECT_EQ(QGuiApplication::clipboard()->text(), output);
}

INSTANTIATE_TEST_SUITE_P(LineEnds, PasteTest,
                         ::testing::Values(u"ab\ncd", u"ab\rcd", u"ab\r\ncd",
                                           u"一\nb\rc\r\nd\u00A0e\n\r\u2029\u2028f\r", u"\r\n\r\n",
                                           u"x\n"));

TEST_F(Form1Test, PasteWithoutTextOnTheClipboardEmptiesText1) {
  for (const bool html : {false, true}) {
    form().Text1->setPlainText("replaced");
    auto* data = new QMimeData;
    if (html) {
      data->setHtml("<b>bold</b>");
    } else {
      data->setImageData(QImage(4, 4, QImage::Format_RGB32));
    }
    QGuiApplication::clipboard()->setMimeData(data);
    Click(form().Command2[2]);
    EXPECT_EQ(form().Text1->toPlainText(), "") << html;
  }
}

TEST_F(Form1Test, TypedLineBreaksAreCrLf) {
  form().Text1->setFocus();
  QTest::keyClicks(form().Text1, "a");
  QTest::keyClick(form().Text1, Qt::Key_Return);
  QTest::keyClicks(form().Text1, "b");
  QTest::keyClick(form().Text1, Qt::Key_Return, Qt::ShiftModifier);
  QTest::keyClicks(form().Text1, "c");
  EXPECT_EQ(BoxText(*form().Text1), "a\r\nb\r\nc");
}

TEST_F(Form1Test, AcceptedColourPickRepaintsTheBarOnly) {
  Convert("ab", "1");
  const QImage preview = form().Picture1->surface().image();
  const QString output = form().Text3->toPlainText();

  m_picker->answer = 0x0000FF;  // red
  Click(form().Command1[0]);
  EXPECT_EQ(form().StartColour(), (ColourTriple{255, 0, 0}));
  EXPECT_TRUE(Near(PixelAt(*form().Picture2, 1, 10), QColor(255, 0, 0)));

  m_picker->answer = 0x00FF0000;  // blue
  Click(form().Command1[1]);
  EXPECT_EQ(form().EndColour(), (ColourTriple{0, 0, 255}));
  const PictureBox& bar = *form().Picture2;
  EXPECT_TRUE(Near(PixelAt(bar, bar.width() - 2, 10), QColor(0, 0, 255)));
  EXPECT_TRUE(Near(PixelAt(bar, 1, 10), QColor(255, 0, 0)));

  EXPECT_EQ(form().Picture1->surface().image(), preview);
  EXPECT_EQ(form().Text3->toPlainText(), output);
  EXPECT_EQ(form().Label1[2]->text(), "FF00FF");
  EXPECT_EQ(m_picker->owners, (std::vector<QWidget*>{&form(), &form()}));
}

TEST_F(Form1Test, CancelledColourPickChangesNothing) {
  const QImage bar = form().Picture2->surface().image();
  m_picker->answer = std::nullopt;
  Click(form().Command1[0]);
  Click(form().Command1[1]);
  EXPECT_EQ(form().StartColour(), (ColourTriple{255, 0, 255}));
  EXPECT_EQ(form().EndColour(), (ColourTriple{0, 255, 0}));
  EXPECT_EQ(form().Picture2->surface().image(), bar);
}

TEST_F(Form1Test, SameStartAndEndGiveOneColour) {
  m_picker->answer = 0x00336699;
  Click(form().Command1[0]);
  Click(form().Command1[1]);
  Convert("abc", "1");
  EXPECT_EQ(form().Text3->toPlainText(),
            "[color=#996633]a[/color][color=#996633]b[/color][color=#996633]c[/color]");
}

struct AboutSnapshot {
  QString title;
  QSize size;
  std::array<QString, 3> texts;
  bool modal = false;
  bool focusOnOk = false;
  bool stayedOpenOnEscape = false;
  bool closedByEnter = false;
  QPoint centreOffset;
};

class AboutTest : public Form1Test {
 protected:
  AboutSnapshot OpenAndClose() {
    AboutSnapshot snapshot;
    AnswerNextModal([this, &snapshot](QWidget* modal) {
      auto* about = qobject_cast<Form2*>(modal);
      ASSERT_NE(about, nullptr);
      snapshot.title = about->windowTitle();
      snapshot.size = about->size();
      snapshot.modal = about->isModal();
      for (std::size_t i = 0; i < 3; ++i) {
        snapshot.texts[i] = about->Label1[i]->text();
      }
      snapshot.focusOnOk =
          WaitUntil([about] { return QApplication::focusWidget() == about->Command1; });
      QTest::keyClick(about, Qt::Key_Escape);
      snapshot.stayedOpenOnEscape = about->isVisible();
      snapshot.centreOffset = about->frameGeometry().center() - form().frameGeometry().center();
      QTest::keyClick(about->Command1, Qt::Key_Return);
      snapshot.closedByEnter = !about->isVisible();
      if (about->isVisible()) {
        QTest::mouseClick(about->Command1, Qt::LeftButton);
      }
    });
    Click(form().Command3[0]);
    return snapshot;
  }
};

TEST_F(AboutTest, ShowsTheSameThreeTextsOnEveryOpening) {
  const AboutSnapshot first = OpenAndClose();
  EXPECT_EQ(first.title, "关于我们");
  EXPECT_EQ(first.size, QSize(312, 206));
  EXPECT_TRUE(first.modal);
  EXPECT_TRUE(first.focusOnOk);
  EXPECT_TRUE(first.stayedOpenOnEscape);
  EXPECT_TRUE(first.closedByEnter);
  EXPECT_LE(first.centreOffset.manhattanLength(), 2);
  EXPECT_TRUE(first.texts[0].startsWith(" Brelvin留言彩色字体代码生成\n\n"));
  const std::array<int, 3> lines{5, 2, 1};
  for (std::size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(first.texts[i].split('\n').size(), lines[i]) << i;
    EXPECT_FALSE(first.texts[i].contains('\r')) << i;
    EXPECT_FALSE(first.texts[i].endsWith('\n')) << i;
  }
  EXPECT_TRUE(form().findChildren<Form2*>().isEmpty());

  const AboutSnapshot second = OpenAndClose();
  EXPECT_EQ(second.texts, first.texts);
}

TEST_F(AboutTest, LabelsDoNotRunIntoEachOtherOrTheButton) {
  Form2 about(&form());
  for (std::size_t i = 0; i + 1 < about.Label1.size(); ++i) {
    EXPECT_LT(about.Label1[i]->geometry().bottom(), about.Label1[i + 1]->geometry().top());
  }
  EXPECT_LT(about.Label1[2]->geometry().bottom(), about.Command1->geometry().top());
  EXPECT_LE(about.Label1[0]->geometry().right(), about.width());
}

// Ending the process when the last window closes is checked by e2e_xvfb.sh.
TEST_F(Form1Test, ExitButtonClosesTheWindow) {
  Click(form().Command3[1]);
  EXPECT_FALSE(form().isVisible());
  for (QWidget* window : QApplication::topLevelWidgets()) {
    EXPECT_FALSE(window->isVisible()) << window->metaObject()->className();
  }
}

TEST_F(Form1Test, AltXClosesTheWindow) {
  QTest::keyClick(&form(), Qt::Key_X, Qt::AltModifier);
  EXPECT_TRUE(WaitUntil([this] { return !form().isVisible(); }));
}

TEST_F(Form1Test, ClosingTheMainWindowUnloadsTheAboutWindow) {
  bool aboutClosed = false;
  AnswerNextModal([this, &aboutClosed](QWidget* modal) {
    QPointer<QWidget> about = modal;
    form().close();
    aboutClosed = WaitUntil([&about] { return about.isNull() || !about->isVisible(); });
  });
  Click(form().Command3[0]);
  EXPECT_TRUE(aboutClosed);
  EXPECT_FALSE(form().isVisible());
  EXPECT_TRUE(form().findChildren<Form2*>().isEmpty());
}

}  // namespace
}  // namespace huecode
