// Converting, the dialect list, and the clipboard: paste, convert and copy.
#include "tests/ui/form1_fixture.h"

namespace huecode {
namespace {

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

}  // namespace
}  // namespace huecode
