// huecode-cli's frames: the YAML and JSON forms read back by Debian's YAML
// and JSON parsers, the counts of every frame, and the usage errors.
#include "tests/cli/cli_styled_support.h"

namespace huecode {
namespace {

using namespace test;

// Prints what the parser read: for yaml the key, the interval and each text,
// for json each element, for lines each line read as JSON: each a line of
// the hexadecimal of its UTF-8 bytes, a JSON value re-encoded compactly.
constexpr const char* kReader = R"(
import json, sys, yaml
data = sys.stdin.buffer.read().decode("utf-8")
def show(value):
    if not isinstance(value, str):
        value = json.dumps(value, ensure_ascii=False, separators=(",", ":"))
    print(value.encode("utf-8").hex())
if sys.argv[1] == "yaml":
    (name, block), = yaml.safe_load(data).items()
    show(name if isinstance(name, str) else repr(name))
    show(str(block["change-interval"]))
    texts = block["texts"]
elif sys.argv[1] == "json":
    texts = json.loads(data)
else:
    texts = [json.loads(line) for line in data.split("\n")]
for text in texts:
    show(text)
)";

std::vector<std::string> Read(const std::string& form, const std::string& output) {
  const ProcessResult read = RunProcess("/usr/bin/python3", {"-c", kReader, form}, output);
  EXPECT_EQ(read.exitCode, 0) << read.err << output;
  std::vector<std::string> values;
  std::istringstream lines(read.out);
  for (std::string line; std::getline(lines, line);) {
    std::string bytes;
    for (std::size_t k = 0; k + 1 < line.size(); k += 2) {
      bytes += static_cast<char>(std::stoi(line.substr(k, 2), nullptr, 16));
    }
    values.push_back(bytes);
  }
  return values;
}

// The lines form, cut into frames: an empty line between frames that span lines.
std::vector<std::string> Frames(const std::string& lines, bool spanning) {
  std::vector<std::string> frames;
  const std::string between = spanning ? "\n\n" : "\n";
  for (std::size_t from = 0;;) {
    const std::size_t end = lines.find(between, from);
    frames.push_back(lines.substr(from, end - from));
    if (end == std::string::npos) {
      return frames;
    }
    from = end + between.size();
  }
}

TEST(Animation, ParsersReadBackEveryFrameByteForByte) {
  struct Case {
    std::vector<std::string> args;
    std::string name;
    bool spanning;
  };
  const std::string text = R"(Say "hi" \o/ #1: 你好 'ok')";
  const Case cases[] = {
      {{"--preset", "legacy", text}, "gradient", false},
      {{"--preset", "json", "--bold", text}, "yes", false},
      {{"--preset", "ansi", "--rainbow", "a``b\tc"}, "My anim: #1", true},
      {{"--per-line", "--preset", "minimessage", "a: b\n#c \"d\""}, "名字", true},
      {{"--format", "- &{hex}* {text}", "--space", "oklab", "!x"}, "on", false},
  };
  for (const Case& c : cases) {
    const auto args = With({"--frames", "7"}, c.args);
    const std::vector<std::string> frames = Frames(Output(Cli(args)), c.spanning);
    ASSERT_EQ(frames.size(), 7u) << c.name;
    const auto yaml = Read(
        "yaml",
        Output(Cli(With(args, {"--animation", "yaml", "--name", c.name, "--interval", "250"}))));
    EXPECT_EQ(yaml, With({c.name, "250"}, frames)) << c.name;
    const auto json = Read("json", Output(Cli(With(args, {"--animation", "json"}))));
    EXPECT_EQ(json, c.args[1] == "json" ? Read("lines", Output(Cli(args))) : frames) << c.name;
  }
}

// --stats speaks of the longest frame and then of all; --fit takes the
// smallest step whose longest frame fits.
TEST(Animation, FitAndStatsCountEveryFrame) {
  const std::vector<std::string> args{"--frames", "6",     "--preset", "rgb",
                                      "--merge",  "--via", "000000",   "--start",
                                      "000000",   "--end", "FFFFFF",   "fit me"};
  const auto longest = [&](const std::string& step) {
    long most = 0;
    long all = 0;
    for (const std::string& frame : Frames(Output(Cli(With(args, {"--step", step}))), false)) {
      most = std::max(most, Characters(frame));
      all += Characters(frame);
    }
    return std::pair{most, all};
  };
  const ProcessResult stats = Cli(With(args, {"--stats"}));
  EXPECT_EQ(ReadStats(stats.err).outputCharacters, longest("1").first);
  EXPECT_NE(stats.err.find("huecode-cli: 6 frames, " + std::to_string(longest("1").second) +
                           " output characters in all\n"),
            std::string::npos)
      << stats.err;
  const long limit = longest("3").first;
  const ProcessResult fit = Cli(With(args, {"--fit", std::to_string(limit)}));
  EXPECT_EQ(fit.err,
            "huecode-cli: --fit chose step 3 (" + std::to_string(limit) + " characters)\n");
  EXPECT_GT(longest("2").first, limit);
}

TEST(Animation, DirectionLeftIsTheDefault) {
  const std::vector<std::string> args{"--frames", "5", "abcdef"};
  const std::string left = Output(Cli(With(args, {"--direction", "left"})));
  EXPECT_EQ(Output(Cli(args)), left);
  EXPECT_NE(Output(Cli(With(args, {"--direction", "right"}))), left);
}

TEST(Animation, UsageErrorsSayWhy) {
  const struct {
    std::vector<std::string> args;
    const char* message;
  } cases[] = {
      {{"--frames", "1", "a"}, "from 2 to 240"},
      {{"--frames", "241", "a"}, "from 2 to 240"},
      {{"--frames", "x", "a"}, "--frames"},
      {{"--frames", "2", "--animation", "yaml", "--interval", "49", "a"}, "from 50 to 60000"},
      {{"--frames", "2", "--animation", "yaml", "--interval", "60001", "a"}, "from 50 to 60000"},
      {{"--frames", "2", "a\nb"}, "--per-line"},
      {{"--direction", "left", "a"}, "--direction goes with --frames"},
      {{"--frames", "2", "--animation", "json", "--name", "n", "a"}, "--animation yaml"},
      {{"--frames", "2", "--animation", "yaml", "--name", "", "a"}, "needs a name"},
      {{"--frames", "2", "--endpoints", "a"}, "cannot be combined with --endpoints"},
      {{"--frames", "2", "--animation", "json", "--show", "a"}, "cannot be combined with --show"},
  };
  for (const auto& c : cases) {
    ExpectFailure(Cli(c.args), 2, c.message);
  }
}

}  // namespace
}  // namespace huecode
