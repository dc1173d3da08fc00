#include <gtest/gtest.h>
#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/chunks.h"
#include "core/conversion.h"
#include "tests/cli/process_runner.h"
#include "tests/ui/form_test_support.h"
#include "ui/form1.h"
#include "ui/graphic_button.h"
#include "ui/text_box.h"

// Whatever a user can paste, type or pipe in: each row is one such input and
// what must come out of it.
namespace huecode {
namespace {

using namespace std::string_literals;

constexpr std::int32_t kLongText = 1000;
constexpr std::size_t kHugeText = 5'000'000;

ConversionSettings Settings(std::u16string text, std::u16string stepText = u"1") {
  ConversionSettings settings;
  settings.text = std::move(text);
  settings.stepText = std::move(stepText);
  return settings;
}

std::size_t Count(std::u16string_view text, std::u16string_view part) {
  std::size_t count = 0;
  for (auto at = text.find(part); at != std::u16string_view::npos;
       at = text.find(part, at + part.size())) {
    ++count;
  }
  return count;
}

struct StepRow {
  std::u16string stepText;
  std::int32_t expected;  // for a text of kLongText characters
};

class BadStepText : public ::testing::TestWithParam<StepRow> {};

TEST_P(BadStepText, GivesTheDocumentedStepAndCutsByIt) {
  const StepRow& row = GetParam();
  EXPECT_EQ(StepLength(row.stepText, kLongText), row.expected);
  // Seven letters cut into chunks of that step, each in its own tag.
  const std::u16string out = GenerateCode(Settings(u"abcdefg", row.stepText));
  const std::int32_t step = StepLength(row.stepText, 7);
  EXPECT_EQ(Count(out, u"[/color]"), static_cast<std::size_t>((7 + step - 1) / step));
}

INSTANTIATE_TEST_SUITE_P(Rows, BadStepText,
                         ::testing::Values(
                             // beyond what a step can be: one chunk per character
                             StepRow{u"-3", 1}, StepRow{u"99999999999", 1}, StepRow{u"1e400", 1},
                             StepRow{u"&HFFFFFFFF", 1}, StepRow{u"2147483648", 1},
                             // no number at the start reads as 0
                             StepRow{u"&O", 1}, StepRow{u".", 1}, StepRow{u"+", 1},
                             StepRow{u"\u0663", 1}, StepRow{u"\uFF13", 1}, StepRow{u"\0"s, 1},
                             StepRow{u"\0"s
                                     u"3",
                                     1},
                             StepRow{u"1e", 1},
                             // the same inputs where a number does stand at the start
                             StepRow{u"3", 3}, StepRow{u"3e", 3},
                             StepRow{u"3\0"s
                                     u"9",
                                     3},
                             StepRow{u"&H3", 3}, StepRow{u"&O3", 3}, StepRow{u"3\u0663", 3},
                             StepRow{u"5e2", 500}, StepRow{u"1e-400", 1}, StepRow{u"999", 999},
                             StepRow{u"1000", 1}));

struct TextRow {
  std::u16string text;
  std::u16string expected;  // step 1, the colours and template the window opens with
};

class BadText : public ::testing::TestWithParam<TextRow> {};

TEST_P(BadText, ConvertsToTheDocumentedMarkup) {
  EXPECT_EQ(GenerateCode(Settings(GetParam().text)), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, BadText,
    ::testing::Values(TextRow{u"", u""}, TextRow{u"     ", u""},
                      TextRow{u"a", u"[color=#00FF00]a[/color]"}, TextRow{u"\r\n\r\n", u"\r\n\r\n"},
                      TextRow{u" \r\n ", u"\r\n"},
                      // a lone surrogate is one character, kept as it is
                      TextRow{u"\xD800", u"[color=#00FF00]\xD800[/color]"},
                      TextRow{u"a\xDC00", u"[color=#808080]a[/color][color=#00FF00]\xDC00[/color]"},
                      TextRow{u"\U0001F600", u"[color=#00FF00]\U0001F600[/color]"},
                      // neither the byte-order mark nor the ideographic space is a space
                      TextRow{u"\uFEFF", u"[color=#00FF00]\uFEFF[/color]"},
                      TextRow{u" \u3000 ", u"[color=#00FF00]\u3000[/color]"},
                      TextRow{u"\0"s, u"[color=#00FF00]\0[/color]"s}));

struct TemplateRow {
  MarkupTemplate markup;
};

class BadTemplate : public ::testing::TestWithParam<TemplateRow> {};

TEST_P(BadTemplate, IsCopiedVerbatim) {
  const MarkupTemplate& m = GetParam().markup;
  ConversionSettings settings = Settings(u"ab");
  settings.markup = m;
  EXPECT_EQ(GenerateCode(settings), m.prefix + u"808080" + m.middle + u"a" + m.suffix + m.prefix +
                                        u"00FF00" + m.middle + u"b" + m.suffix);
}

INSTANTIATE_TEST_SUITE_P(Rows, BadTemplate,
                         ::testing::Values(TemplateRow{{u"", u"", u""}},
                                           TemplateRow{{std::u16string(10'000, u'x'), u"]",
                                                        std::u16string(10'000, u'y')}},
                                           TemplateRow{{u"%s%n%%", u"%d", u"%"}},
                                           TemplateRow{{u"<\0"s, u"\0>"s, u"\0"s}},
                                           TemplateRow{{u"\r\n[c=", u"]\n", u"[/c]\r\n"}},
                                           TemplateRow{{u"\xD800", u"\xDC00", u"\xDBFF"}}));

// Five million characters of mixed text, blanks and line breaks included.
std::u16string HugeText() {
  const std::u16string_view piece = u"彩色文字 huecode\t\U0001F600\r\n";
  std::u16string text;
  text.reserve(kHugeText);
  while (text.size() + piece.size() <= kHugeText) {
    text += piece;
  }
  text.append(kHugeText - text.size(), u'z');
  return text;
}

// The text with every [color=#RRGGBB] and [/color] taken out, each RRGGBB
// checked to be six upper-case hexadecimal digits.
std::u16string WithoutTags(std::u16string_view out) {
  std::u16string plain;
  std::size_t at = 0;
  while (at < out.size()) {
    if (out.substr(at, 8) == u"[color=#") {
      const std::u16string_view digits = out.substr(at + 8, 6);
      EXPECT_EQ(digits.find_first_not_of(u"0123456789ABCDEF"), std::u16string_view::npos);
      EXPECT_EQ(out.substr(at + 14, 1), u"]");
      at += 15;
    } else if (out.substr(at, 8) == u"[/color]") {
      at += 8;
    } else {
      plain.push_back(out[at++]);
    }
  }
  return plain;
}

TEST(BadTextHuge, FiveMillionCharactersLoseNothing) {
  const std::u16string text = HugeText();
  const std::u16string out = GenerateCode(Settings(text));
  EXPECT_EQ(WithoutTags(out), text);
  EXPECT_TRUE(out.starts_with(u"[color=#FF00FF]彩[/color]"));
  EXPECT_TRUE(out.ends_with(u"[color=#00FF00]z[/color]"));
}

struct CliRow {
  std::string bytes;
  std::string fault;  // as the message names it
  std::size_t offset;
};

class BadCliBytes : public ::testing::TestWithParam<CliRow> {};

// The program fails with exit code 1, says why and where, and writes nothing
// to standard output, wherever the bytes come from.
TEST_P(BadCliBytes, AreRejectedWithNothingWritten) {
  const CliRow& row = GetParam();
  const std::string where = " is not valid UTF-8: " + row.fault + " at byte offset ";
  struct Source {
    std::vector<std::string> args;
    std::string stdinBytes;
    std::string name;
    std::size_t offsetShift;
  };
  const Source sources[] = {
      {{}, row.bytes + "\n", "standard input", 0},
      {{"--", "ok", row.bytes}, "", "the text", 3},
      {{"--prefix", row.bytes, "ok"}, "", "the value of --prefix", 0},
      {{"--step", row.bytes, "ok"}, "", "the value of --step", 0},
  };
  for (const Source& source : sources) {
    SCOPED_TRACE(source.name);
    const test::ProcessResult result =
        test::RunProcess(HUECODE_CLI_PATH, source.args, source.stdinBytes);
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err, "huecode-cli: " + source.name + where +
                              std::to_string(row.offset + source.offsetShift) + "\n");
  }
}

INSTANTIATE_TEST_SUITE_P(Rows, BadCliBytes,
                         ::testing::Values(CliRow{"ab\xE5\xBD", "truncated character", 2},
                                           CliRow{"\xF0\x9F\x98", "truncated character", 0},
                                           CliRow{"\xC0\xAF", "overlong encoding", 0},
                                           CliRow{"x\xE0\x80\xAF", "overlong encoding", 1},
                                           CliRow{"\xF0\x80\x80\x80", "overlong encoding", 0},
                                           CliRow{"a\xED\xA0\x80", "encoded surrogate", 1},
                                           CliRow{"\xED\xBF\xBF", "encoded surrogate", 0},
                                           CliRow{"\xE5\x41\x42", "invalid continuation byte", 0},
                                           CliRow{"ab\x80", "unexpected continuation byte", 2},
                                           CliRow{"\xFF", "invalid byte", 0}));

TEST(BadCliBytes, WellFormedBytesStillConvert) {
  const test::ProcessResult result = test::RunProcess(HUECODE_CLI_PATH, {}, "\xE5\xBD\xA9\n");
  EXPECT_EQ(result.exitCode, 0);
  EXPECT_EQ(result.out, "[color=#00FF00]\xE5\xBD\xA9[/color]\n");
  EXPECT_EQ(result.err, "");
}

struct MarkupRow {
  std::vector<std::string> args;
  std::string stdinBytes;
  int exitCode;
  std::string err;  // the whole of standard error
};

class BadMarkup : public ::testing::TestWithParam<MarkupRow> {};

// A bad format is a usage error that says at which character; markup that
// cannot be read back says where it stopped. Neither writes anything.
TEST_P(BadMarkup, IsRefusedWithWhereAndNothingWritten) {
  const MarkupRow& row = GetParam();
  const test::ProcessResult result = test::RunProcess(HUECODE_CLI_PATH, row.args, row.stdinBytes);
  EXPECT_EQ(result.exitCode, row.exitCode);
  EXPECT_EQ(result.out, "");
  EXPECT_EQ(result.err, "huecode-cli: " + row.err + "\n");
}

INSTANTIATE_TEST_SUITE_P(
    Rows, BadMarkup,
    ::testing::Values(
        MarkupRow{{"--format", "<{HEX}>{txt}", "a"},
                  "",
                  2,
                  "invalid --format '<{HEX}>{txt}' at character 8: unknown placeholder {txt}; "
                  "known: {text} {text:html} {text:json} {HEX} {hex} {R1}..{B2} {r1}..{b2} "
                  "{red} {green} {blue} {ansi} (see --help)"},
        MarkupRow{{"--format", "\xE5\xBD\xA9{hex", "a"},
                  "",
                  2,
                  "invalid --format '\xE5\xBD\xA9{hex' at character 2: a '{' that no '}' closes "
                  "(write {{ for a brace) (see --help)"},
        MarkupRow{{"--format", "{HEX}", "a"},
                  "",
                  2,
                  "invalid --format '{HEX}' at character 6: no {text}: the format must say where "
                  "the chunk's text goes (see --help)"},
        MarkupRow{{"--format", "{text}", "--preset", "ubb", "a"},
                  "",
                  2,
                  "--format cannot be combined with --preset (see --help)"},
        MarkupRow{{"--preset", "ansi", "--italic", "a"},
                  "",
                  2,
                  "the ansi dialect has no codes for italic (see --help)"},
        // Nothing shows § in a Minecraft client: --escape has no means there.
        MarkupRow{{"--preset", "section", "--escape", "a<b"},
                  "",
                  2,
                  "--escape cannot be used with the section dialect: a Minecraft client reads § "
                  "and the character after it as a code, and no code shows a § itself; every "
                  "other character shows as typed without --escape (a note names the text's "
                  "first §) (see --help)"},
        MarkupRow{{"--strip", "--escape", "--format",
                   "{{\"text\":\"{text:json}\",\"color\":\"#{HEX}\"{codes}}}"},
                  "[]",
                  2,
                  "--escape cannot be used with the json dialect: its JSON escapes are always "
                  "written, and a Minecraft client reads § in a component's text as a code that "
                  "nothing can show; leave --escape out (a note names the text's first §) (see "
                  "--help)"},
        MarkupRow{{"--strip"},
                  "[color=#FF0000]a[/color]\n[color=#00FF00]b[/colour]\n",
                  1,
                  "cannot read standard input as bbcode at line 2, column 1: a colour tag that "
                  "is not closed"},
        MarkupRow{{"--strip"},
                  "[size=3]big[/size]",
                  1,
                  "cannot read standard input at line 1, column 1: no colour markup of any "
                  "dialect huecode writes starts here"},
        MarkupRow{{"--strip", "--preset", "json"},
                  "[{\"text\":\"\\x\",\"color\":\"#FF0000\"}]",
                  1,
                  "cannot read standard input as json at line 1, column 11: an escape that JSON "
                  "does not have"},
        MarkupRow{{"--strip", "--preset", "minimessage", "--", "a<#FF0000>b"},
                  "",
                  1,
                  "cannot read the text as minimessage at line 1, column 1: neither a colour tag "
                  "nor text inside one"},
        MarkupRow{
            {"--strip", "--show"}, "", 2, "--strip cannot be combined with --show (see --help)"}));

class BadWindowInput : public ::testing::Test {
 protected:
  void SetUp() override {
    auto picker = std::make_unique<test::FakeColourPicker>();
    m_picker = picker.get();
    m_form =
        std::make_unique<Form1>(std::move(picker), std::make_unique<test::RecordingMessageBox>());
    m_form->show();
  }

  void Click(GraphicButton* button) { QTest::mouseClick(button, Qt::LeftButton); }

  ConversionSettings Gathered() const { return test::SettingsFromControls(*m_form); }

  test::FakeColourPicker* m_picker = nullptr;
  std::unique_ptr<Form1> m_form;
};

TEST_F(BadWindowInput, PastingFiveMillionCharactersThenConvertingKeepsThemAll) {
  const std::u16string text = HugeText();
  QGuiApplication::clipboard()->setText(QString::fromStdU16String(text));
  Click(m_form->Command2[2]);
  ASSERT_EQ(BoxText(*m_form->Text1).toStdU16String(), text);
  Click(m_form->Command2[0]);
  const std::u16string out = BoxText(*m_form->Text3).toStdU16String();
  EXPECT_EQ(out, GenerateCode(Gathered()));
  EXPECT_EQ(WithoutTags(out), text);
}

TEST_F(BadWindowInput, PastingAnImageOnlyClipboardEmptiesTheText) {
  m_form->Text1->setPlainText(QStringLiteral("old text"));
  QImage image(16, 16, QImage::Format_RGB32);
  image.fill(Qt::red);
  QGuiApplication::clipboard()->setImage(image);
  Click(m_form->Command2[2]);
  EXPECT_EQ(m_form->Text1->toPlainText(), QString());
  Click(m_form->Command2[0]);
  EXPECT_EQ(m_form->Text3->toPlainText(), QString());
}

TEST_F(BadWindowInput, PickingTheSameColourTwiceGivesOneColour) {
  m_picker->answer = 0x123456;
  Click(m_form->Command1[0]);
  Click(m_form->Command1[1]);
  const ColourTriple picked{0x56, 0x34, 0x12};
  EXPECT_EQ(m_form->StartColour(), picked);
  EXPECT_EQ(m_form->EndColour(), picked);
  m_form->Text1->setPlainText(QStringLiteral("a b\tc"));
  Click(m_form->Command2[0]);
  EXPECT_EQ(m_form->Text3->toPlainText(),
            QStringLiteral("[color=#563412]a[/color] [color=#563412]b[/color]\t"
                           "[color=#563412]c[/color]"));
}

}  // namespace
}  // namespace huecode
