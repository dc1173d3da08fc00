#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "core/dialects.h"
#include "process_runner.h"

namespace huecode {
namespace {

const std::string kCli = HUECODE_CLI_PATH;

// Each completer sources the script huecode-cli writes for its shell and
// prints the candidates for a command line, one a line, as the shell offers
// them after a tab at its end.
struct Shell {
  const char* name;
  std::string program;
  std::string driver;
};

const Shell kBash{"bash", "/bin/bash", R"(
source <("$1" --completion bash) || exit 3
spec=$(complete -p huecode-cli) || exit 4
fn=${spec#*-F }
fn=${fn%% *}
read -ra COMP_WORDS <<<"$2"
[[ $2 == *' ' ]] && COMP_WORDS+=('')
COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
COMP_LINE=$2
COMP_POINT=${#2}
"$fn"
((${#COMPREPLY[@]} == 0)) || printf '%s\n' "${COMPREPLY[@]}"
)"};

const Shell kFish{"fish", "/usr/bin/fish", R"(
source ($argv[2] --completion fish | psub); or exit 3
complete -C $argv[3] | string replace -r '\t.*' ''
true
)"};

std::set<std::string> Lines(const std::string& text) {
  std::set<std::string> lines;
  std::istringstream stream(text);
  for (std::string line; std::getline(stream, line);) {
    lines.insert(line);
  }
  return lines;
}

std::set<std::string> Complete(const Shell& shell, const std::string& line) {
  const std::string flag = shell.name == std::string("fish") ? "--no-config" : "--norc";
  const test::ProcessResult result =
      test::RunProcess(shell.program, {flag, "-c", shell.driver, "complete", kCli, line});
  EXPECT_EQ(result.exitCode, 0) << shell.name << ": " << result.err;
  return Lines(result.out);
}

// Every option --help shows, read from the help the way a user reads it.
std::set<std::string> OptionsInHelp() {
  const test::ProcessResult help = test::RunProcess(kCli, {"--help"});
  std::set<std::string> names;
  for (const std::string& line : Lines(help.out)) {
    if (line.starts_with("  -")) {
      const std::string name = line.substr(2, line.find(' ', 2) - 2);
      if (name != "--") {
        names.insert(name);
      }
    }
  }
  return names;
}

const std::filesystem::path kFolder = std::filesystem::temp_directory_path() /
                                      ("huecode_completion_test_" + std::to_string(::getpid()));

struct Case {
  const char* name;
  std::string line;
  std::set<std::string> offered;  // exactly these
};

std::set<std::string> PresetNames() {
  std::set<std::string> names;
  for (const Dialect& dialect : Dialects()) {
    names.insert(std::string(dialect.key));
  }
  return names;
}

const std::string kFile = (kFolder / "post.txt").string();

std::vector<Case> Cases() {
  return {
      {"OptionPrefix", "huecode-cli --pre", {"--preset", "--prefix", "--preview-png"}},
      {"Presets", "huecode-cli --preset ", PresetNames()},
      {"PresetStart", "huecode-cli --preset b", {"bbcode", "brelvin"}},
      {"Spaces", "huecode-cli --space ", {"rgb", "oklab"}},
      {"Units", "huecode-cli --by ", {"char", "grapheme", "word"}},
      {"Shells", "huecode-cli --completion ", {"bash", "zsh", "fish"}},
      {"InputFile", "huecode-cli --input " + kFolder.string() + "/po", {kFile}},
      {"PreviewFile", "huecode-cli --preview-png " + kFolder.string() + "/po", {kFile}},
      {"BarFile", "huecode-cli --bar-png " + kFolder.string() + "/po", {kFile}},
      {"ColourIsFree", "huecode-cli --start " + kFolder.string() + "/po", {}},
      {"TextIsFree", "huecode-cli " + kFolder.string() + "/po", {}},
      {"AfterDoubleDash", "huecode-cli -- --pre", {}},
  };
}

class Completion : public ::testing::TestWithParam<const Shell*> {
 protected:
  static void SetUpTestSuite() {
    std::filesystem::create_directories(kFolder);
    std::ofstream(kFile) << "text\n";
  }
  static void TearDownTestSuite() { std::filesystem::remove_all(kFolder); }
};

TEST_P(Completion, OffersEveryOptionOfTheHelp) {
  const std::set<std::string> offered = Complete(*GetParam(), "huecode-cli -");
  const std::set<std::string> documented = OptionsInHelp();
  ASSERT_GT(documented.size(), 20u);
  for (const std::string& name : documented) {
    EXPECT_TRUE(offered.contains(name)) << name;
  }
}

TEST_P(Completion, OffersTheValuesAnOptionTakes) {
  for (const Case& c : Cases()) {
    EXPECT_EQ(Complete(*GetParam(), c.line), c.offered) << c.name << ": " << c.line;
  }
}

INSTANTIATE_TEST_SUITE_P(Shells, Completion, ::testing::Values(&kBash, &kFish),
                         [](const auto& tested) { return std::string(tested.param->name); });

// zsh offers completions only inside its line editor, so here it is the
// script that is checked: zsh loads it and it describes every option.
TEST(ZshCompletion, RegistersAndDescribesEveryOptionOfTheHelp) {
  const std::string load =
      R"(autoload -U compinit && compinit -u -D && source <("$1" --completion zsh) &&
print -r -- ${_comps[huecode-cli]})";
  const test::ProcessResult registered =
      test::RunProcess("/usr/bin/zsh", {"-f", "-c", load, "zsh", kCli});
  EXPECT_EQ(registered.out, "_huecode-cli\n") << registered.err;
  const std::string script = test::RunProcess(kCli, {"--completion", "zsh"}).out;
  for (const std::string& name : OptionsInHelp()) {
    const bool described = script.find("'*" + name + "[") != std::string::npos ||
                           script.find("'*" + name + "=[") != std::string::npos;
    EXPECT_TRUE(described) << name;
  }
}

}  // namespace
}  // namespace huecode
