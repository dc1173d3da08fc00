#include "ui/text_box.h"

#include <gtest/gtest.h>
#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QTest>
#include <QTextCursor>
#include <functional>

#include "ui/multi_line_box.h"

// A multi-line box hands back every line end as it came: from the clipboard,
// from code, typed, and after edits around and across line ends.
namespace huecode {
namespace {

struct Keys {
  Qt::Key key;
  Qt::KeyboardModifiers modifiers = {};
};

void Select(MultiLineBox& box, int from, int to) {
  QTextCursor cursor = box.textCursor();
  cursor.setPosition(from);
  cursor.setPosition(to, QTextCursor::KeepAnchor);
  box.setTextCursor(cursor);
}

// Sets the box's text from code, selects from..to (document positions, one
// for each line end), puts clipboard on the clipboard and presses the keys.
struct EditCase {
  const char* what;
  std::u16string_view initial;
  int from;
  int to;
  std::u16string_view clipboard;
  std::vector<Keys> keys;
  std::u16string_view expected;  // the box's text afterwards
};

class MultiLineBoxEditTest : public ::testing::TestWithParam<EditCase> {};

QString Q(std::u16string_view text) {
  return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

TEST_P(MultiLineBoxEditTest, KeepsEveryLineEndAsItCame) {
  const EditCase& c = GetParam();
  MultiLineBox box(nullptr);
  box.show();
  box.setFocus();
  SetBoxText(box, Q(c.initial));
  EXPECT_EQ(box.textCursor().position(), 0) << c.what;
  EXPECT_EQ(BoxText(box), Q(c.initial)) << c.what;
  Select(box, c.from, c.to);
  QGuiApplication::clipboard()->setText(Q(c.clipboard));
  for (const Keys& keys : c.keys) {
    QTest::keyClick(&box, keys.key, keys.modifiers);
  }
  EXPECT_EQ(BoxText(box), Q(c.expected)) << c.what;
}

constexpr Keys kEnter{Qt::Key_Return};
constexpr Keys kPaste{Qt::Key_V, Qt::ControlModifier};
constexpr Keys kUndo{Qt::Key_Z, Qt::ControlModifier};
constexpr Keys kRedo{Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier};

INSTANTIATE_TEST_SUITE_P(
    Edits, MultiLineBoxEditTest,
    ::testing::Values(
        EditCase{"set from code",
                 u"a\nb\rc\r\nd\u2029e\u2028f\u00A0\r",
                 0,
                 0,
                 u"",
                 {},
                 u"a\nb\rc\r\nd\u2029e\u2028f\u00A0\r"},
        EditCase{
            "pasted LF, CR and CR LF", u"", 0, 0, u"ab\ncd\re\r\n", {kPaste}, u"ab\ncd\re\r\n"},
        EditCase{
            "paste inside a CR LF text", u"x\r\ny", 1, 1, u"1\r2\n", {kPaste}, u"x1\r2\n\r\ny"},
        EditCase{
            "paste over a selection across line ends", u"a\nb\rc", 1, 4, u"\n", {kPaste}, u"a\nc"},
        EditCase{"Enter inside a line of LF text", u"ab\ncd", 1, 1, u"", {kEnter}, u"a\r\nb\ncd"},
        EditCase{"Enter at a line's start and end",
                 u"ab\ncd",
                 3,
                 3,
                 u"",
                 {kEnter, {Qt::Key_Left}, {Qt::Key_Left}, {Qt::Key_Return, Qt::ShiftModifier}},
                 u"ab\r\n\n\r\ncd"},
        EditCase{
            "Delete takes a lone CR along", u"a\rb\nc", 1, 1, u"", {{Qt::Key_Delete}}, u"ab\nc"},
        EditCase{
            "Backspace takes a LF along", u"a\rb\nc", 4, 4, u"", {{Qt::Key_Backspace}}, u"a\rbc"},
        EditCase{"typing over a selection in the middle",
                 u"one\ntwo\r\nthree\rfour",
                 5,
                 10,
                 u"",
                 {{Qt::Key_X}},
                 u"one\ntxree\rfour"},
        EditCase{"undo and redo of a paste", u"a\rb", 1, 1, u"1\n2", {kPaste, kUndo}, u"a\rb"},
        EditCase{"undo and redo of a paste",
                 u"a\rb",
                 1,
                 1,
                 u"1\n2",
                 {kPaste, kUndo, kRedo},
                 u"a1\n2\rb"},
        EditCase{
            "undo of a deleted line end", u"a\nb", 1, 1, u"", {{Qt::Key_Delete}, kUndo}, u"a\nb"}));

struct CopyCase {
  std::u16string_view text;
  int from;
  int to;
  std::u16string_view copied;
};

class MultiLineBoxCopyTest : public ::testing::TestWithParam<CopyCase> {};

TEST_P(MultiLineBoxCopyTest, CopiesTheSelectionWithItsLineEnds) {
  const CopyCase& c = GetParam();
  MultiLineBox box(nullptr);
  SetBoxText(box, Q(c.text));
  Select(box, c.from, c.to);
  QTest::keyClick(&box, Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(QGuiApplication::clipboard()->text(), Q(c.copied));
  EXPECT_EQ(DocumentText(*box.document(), c.from, c.to), Q(c.copied));
}

INSTANTIATE_TEST_SUITE_P(Selections, MultiLineBoxCopyTest,
                         ::testing::Values(CopyCase{u"a\rb\nc\r\nd", 0, 7, u"a\rb\nc\r\nd"},
                                           CopyCase{u"a\rb\nc\r\nd", 1, 3, u"\rb"},
                                           CopyCase{u"a\rb\nc\r\nd", 3, 5, u"\nc"},
                                           CopyCase{u"a\rb\nc\r\nd", 5, 7, u"\r\nd"},
                                           CopyCase{u"\n\n", 1, 2, u"\n"}));

TEST(LineBoxTest, TextSetFromCodeLeavesTheCaretAtTheStart) {
  QLineEdit box;
  box.setText("old");
  SetLineText(box, "<font color=");
  EXPECT_EQ(box.text(), "<font color=");
  EXPECT_EQ(box.cursorPosition(), 0);
}

}  // namespace
}  // namespace huecode
