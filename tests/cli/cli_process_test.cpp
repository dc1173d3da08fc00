#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <ostream>
#include <string>
#include <vector>

#include "cli_expect.h"
#include "core/conversion.h"
#include "options/utf8.h"
#include "process_runner.h"
#include "tests/support/worked_examples.h"

namespace huecode::test {

// Names a failing row in readable form rather than as raw bytes.
inline void PrintTo(const WorkedExample& example, std::ostream* os) {
  *os << "text " << ::testing::PrintToString(EncodeUtf8(example.text)) << ", step "
      << ::testing::PrintToString(EncodeUtf8(example.stepText)) << ", preset '" << example.preset
      << "'";
}

}  // namespace huecode::test

namespace huecode {
namespace {

using test::ExpectFailure;
using test::ProcessResult;
using test::RunProcess;

const std::string kCli = HUECODE_CLI_PATH;

std::string Utf8(std::u16string_view text) {
  return EncodeUtf8(text);
}

class TempDir {
 public:
  TempDir() {
    std::string pattern = ::testing::TempDir() + "huecode-cli-XXXXXX";
    m_path = mkdtemp(pattern.data());
  }
  ~TempDir() { std::filesystem::remove_all(m_path); }
  std::string File(const std::string& name, const std::string& bytes) const {
    std::string path = (m_path / name).string();
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
  }
  std::filesystem::path path() const { return m_path; }

 private:
  std::filesystem::path m_path;
};

std::vector<std::string> ExampleOptions(const test::WorkedExample& example) {
  std::vector<std::string> args{"--step", Utf8(example.stepText)};
  if (!example.preset.empty()) {
    args.insert(args.end(), {"--preset", std::string(example.preset)});
  }
  return args;
}

class WorkedExampleRow : public ::testing::TestWithParam<test::WorkedExample> {};

TEST_P(WorkedExampleRow, SameMarkupFromArgumentsStandardInputAndFile) {
  const test::WorkedExample& example = GetParam();
  const std::string expected = Utf8(example.markup) + "\n";
  const std::string text = Utf8(example.text);

  std::vector<std::string> positional = ExampleOptions(example);
  positional.insert(positional.end(), {"--", text});
  const ProcessResult fromArgs = RunProcess(kCli, positional);
  EXPECT_EQ(fromArgs.exitCode, 0) << fromArgs.err;
  EXPECT_EQ(fromArgs.out, expected);
  EXPECT_EQ(fromArgs.err, "");

  for (const char* lineBreak : {"", "\n", "\r\n"}) {
    const ProcessResult fromStdin = RunProcess(kCli, ExampleOptions(example), text + lineBreak);
    EXPECT_EQ(fromStdin.exitCode, 0) << fromStdin.err;
    EXPECT_EQ(fromStdin.out, expected) << "line break " << ::testing::PrintToString(lineBreak);
  }

  const TempDir dir;
  std::vector<std::string> fromFileArgs = ExampleOptions(example);
  fromFileArgs.insert(fromFileArgs.end(), {"--input", dir.File("text.txt", text + "\n")});
  EXPECT_EQ(RunProcess(kCli, fromFileArgs).out, expected);
}

INSTANTIATE_TEST_SUITE_P(Table, WorkedExampleRow, ::testing::ValuesIn(test::kWorkedExamples));

struct FailureCase {
  const char* name;
  std::vector<std::string> args;
  std::string stdinBytes;
  int exitCode;
  const char* messagePart;
};

class Failure : public ::testing::TestWithParam<FailureCase> {};

TEST_P(Failure, GivesExitCodeMessageAndNoOutput) {
  const FailureCase& c = GetParam();
  ExpectFailure(RunProcess(kCli, c.args, c.stdinBytes), c.exitCode, c.messagePart);
}

INSTANTIATE_TEST_SUITE_P(
    Table, Failure,
    ::testing::Values(
        FailureCase{"UnknownOption", {"--colour", "red", "x"}, "", 2, "unknown option"},
        FailureCase{"DashTextWithoutDoubleDash", {"-3"}, "", 2, "unknown option '-3'"},
        FailureCase{"MissingValue", {"x", "--end"}, "", 2, "--end needs a value"},
        FailureCase{"NonHexColour", {"--start", "GGHHII", "x"}, "", 2, "GGHHII"},
        FailureCase{"ShortColour", {"--end", "FFF", "x"}, "", 2, "FFF"},
        FailureCase{"UnknownPreset", {"--preset", "phpbb", "x"}, "", 2, "phpbb"},
        FailureCase{
            "UsageBeforeInput", {"--input", "/nonexistent/x", "--start", "FFF"}, "", 2, "FFF"},
        FailureCase{"UnreadableFile",
                    {"--input", "/nonexistent/huecode.txt"},
                    "",
                    1,
                    "/nonexistent/huecode.txt"},
        FailureCase{"DirectoryAsInput", {"--input", "/"}, "", 1, "cannot read"},
        FailureCase{"BadUtf8OnStdin", {}, "ok \xE5\xBD\xA9\xE8\x89", 1, "byte offset 6"},
        FailureCase{"OverlongOnStdin", {}, "a\xC0\xAF\n", 1, "byte offset 1"},
        FailureCase{"SurrogateOnStdin", {}, "\xED\xA0\x80", 1, "byte offset 0"},
        FailureCase{"BadUtf8InArgument", {"ab", "c\xFF"}, "", 1, "byte offset 4"},
        FailureCase{"BadUtf8InTemplate", {"--prefix", "\xC3(", "x"}, "", 1, "--prefix"},
        FailureCase{"BadUtf8InStep", {"--step", "\xF5\x80\x80\x80", "x"}, "", 1, "--step"},
        // Quoted arguments can never break the message's line or reach the terminal as codes.
        FailureCase{"LineBreakInColour", {"--start", "ab\ncd", "x"}, "", 2, "'ab\\x0Acd'"},
        FailureCase{"EscapeInOption", {"--bogus\x1B[31m"}, "", 2, "'--bogus\\x1B[31m'"},
        FailureCase{"BadBytesInPreset",
                    {"--preset",
                     "a\xFF\xC3"
                     "b"},
                    "",
                    2,
                    "'a\\xFF\\xC3b'"},
        FailureCase{"C1ControlInPreset",
                    {"--preset",
                     "\xC2\x9B"
                     "2J"},
                    "",
                    2,
                    "'\\u009B2J'"},
        FailureCase{"ChineseStaysReadable", {"--preset", "论坛"}, "", 2, "'论坛'"}),
    [](const ::testing::TestParamInfo<FailureCase>& tested) { return tested.param.name; });

TEST(CliProcess, BadUtf8InFileNamesTheFileAndOffset) {
  const TempDir dir;
  const std::string path = dir.File("bad.txt", "line one\r\nline \xF4\x90\x80\x80\n");
  ExpectFailure(RunProcess(kCli, {"--input", path}), 1, "byte offset 15");
  ExpectFailure(RunProcess(kCli, {"--input", path}), 1, path);
}

TEST(CliProcess, WriteErrorsAreReported) {
  // /dev/full fails every write with ENOSPC, as a full disk would.
  const ProcessResult full =
      RunProcess("/bin/sh", {"-c", R"(exec "$0" "$@" >/dev/full)", kCli, "abc"});
  EXPECT_EQ(full.exitCode, 1);
  EXPECT_NE(full.err.find("cannot write"), std::string::npos) << full.err;

  const ProcessResult closed = RunProcess("/bin/sh", {"-c", R"(exec "$0" "$@" >&-)", kCli, "abc"});
  EXPECT_EQ(closed.exitCode, 1);
  EXPECT_NE(closed.err.find("cannot write"), std::string::npos) << closed.err;
}

// The markup streams out in blocks, so these failures come after output has
// started: the run must still end with status 1 and say why, once.
TEST(CliProcess, WriteErrorsAfterOutputStartedAreReported) {
  const std::string text(200000, 'x');
  const ProcessResult full = RunProcess("/bin/sh", {"-c", R"(exec "$0" >/dev/full)", kCli}, text);
  EXPECT_EQ(full.exitCode, 1);
  EXPECT_EQ(full.err, "huecode-cli: cannot write the output: No space left on device\n");
  const ProcessResult gone = RunProcess(
      "/bin/bash", {"-c", R"("$0" | head -c 10 >/dev/null; echo "${PIPESTATUS[0]}" >&2)", kCli},
      text);
  EXPECT_EQ(gone.err, "huecode-cli: cannot write the output: Broken pipe\n1\n");
}

TEST(CliProcess, DoubleDashLetsTheTextStartWithADash) {
  const ProcessResult dashed = RunProcess(kCli, {"--step", "3", "--", "-3", "--start"});
  const ProcessResult piped = RunProcess(kCli, {"--step", "3"}, "-3 --start\n");
  EXPECT_EQ(dashed.exitCode, 0) << dashed.err;
  EXPECT_EQ(dashed.out, piped.out);
  EXPECT_NE(dashed.out.find("]-3 [/color]"), std::string::npos) << dashed.out;
}

TEST(CliProcess, WordsAreJoinedBySingleSpaces) {
  EXPECT_EQ(RunProcess(kCli, {"a", "b", "c"}).out, RunProcess(kCli, {"a b c"}).out);
  EXPECT_EQ(RunProcess(kCli, {"a", "", "b"}).out, RunProcess(kCli, {"a  b"}).out);
}

TEST(CliProcess, OnlyOneTrailingLineBreakIsDropped) {
  EXPECT_EQ(RunProcess(kCli, {}, "ab\n\n").out, RunProcess(kCli, {"ab\n"}).out);
  EXPECT_EQ(RunProcess(kCli, {}, "ab\r\n\r\n").out, RunProcess(kCli, {"ab\r\n"}).out);
  EXPECT_EQ(RunProcess(kCli, {}, "ab\r").out, RunProcess(kCli, {"ab\r"}).out);
}

TEST(CliProcess, ArgumentsWinOverStandardInput) {
  EXPECT_EQ(RunProcess(kCli, {"ab"}, "zz\n").out, RunProcess(kCli, {"ab"}).out);
}

TEST(CliProcess, TemplatePartsOverrideThePreset) {
  const ProcessResult result =
      RunProcess(kCli, {"--preset", "html", "--middle", "", "--suffix", "|", "ab"});
  EXPECT_EQ(result.out, "<font color=808080a|<font color=00FF00b|\n");
  EXPECT_EQ(RunProcess(kCli, {"--prefix", "", "--middle", "", "--suffix", "", "ab"}).out,
            "808080a00FF00b\n");
}

TEST(CliProcess, ColoursAcceptNumberSignAndEitherCase) {
  const std::string expected = "[color=#FF00FF]a[/color]\n";
  for (const char* colour : {"ff00ff", "#FF00FF", "#fF00Ff"}) {
    EXPECT_EQ(RunProcess(kCli, {"--start", "000000", "--end", colour, "a"}).out, expected);
  }
}

TEST(CliProcess, LargeInputPassesThroughUnchanged) {
  std::u16string text;
  for (int k = 0; k < 50000; ++k) {
    text += u"彩色 text\r\n\U0001F600";
  }
  const ConversionSettings settings{.text = text, .stepText = std::u16string(1, u'3')};
  const ProcessResult result = RunProcess(kCli, {"--step", "3"}, Utf8(text) + "\n");
  EXPECT_EQ(result.exitCode, 0) << result.err;
  EXPECT_TRUE(result.out == Utf8(GenerateCode(settings)) + "\n") << "output differs";
}

TEST(CliProcess, HelpAndVersionGoToStandardOutput) {
  const ProcessResult help = RunProcess(kCli, {"--help"});
  EXPECT_EQ(help.exitCode, 0);
  EXPECT_EQ(help.err, "");
  for (const char* part : {"Usage: huecode-cli", "--start", "--preset", "--preview-png", "--"}) {
    EXPECT_NE(help.out.find(part), std::string::npos) << part;
  }
  const ProcessResult version = RunProcess(kCli, {"--version"});
  EXPECT_EQ(version.exitCode, 0);
  EXPECT_EQ(version.out, std::string("huecode-cli ") + HUECODE_VERSION + "\n");
}

}  // namespace
}  // namespace huecode
