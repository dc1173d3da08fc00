// huecode-cli.exe under Wine against the Linux huecode-cli: the worked
// examples and random texts and options must give the same exit status and
// the same bytes on standard output and standard error, whether the text comes
// as an argument, on standard input or from a file with a Chinese name.
// usage: cli_differential LINUX_CLI WINE WINDOWS_CLI [RANDOM_CASES [SEED]]
#include <filesystem>
#include <fstream>
#include <iostream>
#include <random>
#include <string>
#include <vector>

#include "options/utf8.h"
#include "tests/cli/process_runner.h"
#include "tests/support/worked_examples.h"

namespace huecode::test {
namespace {

enum class Feed { Argument, StandardInput, File };

struct Case {
  std::vector<std::string> options;
  std::string text;
  Feed feed = Feed::Argument;
};

struct Programs {
  std::string reference;  // the Linux build
  std::string wine;
  std::string windows;
  std::filesystem::path folder;  // for the input files
};

// Pieces the random texts are made of: Chinese, emoji (surrogate pairs, a ZWJ
// family, a flag), a combining accent, every kind of line break, markup characters.
constexpr const char* kPieces[] = {
    "a",  "Z", " ",       "\t",   "彩", "色", "文", "字", "\u3000", "😀",  "👨\u200d👩\u200d👧",
    "🇨🇳", "é", "e\u0301", "\r\n", "\n", "\r", "<",  ">",  "&",      "\"", "１",
    "…",
};
constexpr const char* kSteps[] = {"1", "2", "3", "7", "0", "-2", "2.5", "&H3", "１２", "x", ""};
constexpr const char* kPresets[] = {"html", "ubb",  "brelvin",     "bbcode",
                                    "span", "span", "minimessage", "ampersand"};

std::string Quoted(const std::string& bytes) {
  std::string quoted = "\"";
  for (const char c : bytes) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || c == '"' || c == '\\') {
      constexpr char kHex[] = "0123456789ABCDEF";
      quoted += {'\\', 'x', kHex[byte >> 4], kHex[byte & 15]};
    } else {
      quoted += c;
    }
  }
  return quoted + "\"";
}

std::string Describe(const Case& c) {
  std::string text;
  for (const std::string& option : c.options) {
    text += Quoted(option) + " ";
  }
  constexpr const char* kFeeds[] = {"argument", "standard input", "file"};
  return text + "text " + Quoted(c.text) + " as " + kFeeds[static_cast<int>(c.feed)];
}

std::string Colour(std::mt19937& random) {
  constexpr char kHex[] = "0123456789ABCDEF";
  std::string colour;
  for (int k = 0; k < 6; ++k) {
    colour += kHex[random() % 16];
  }
  return colour;
}

Case RandomCase(std::mt19937& random) {
  Case c;
  const auto chance = [&](unsigned percent) { return random() % 100 < percent; };
  for (unsigned n = random() % 24; n > 0; --n) {
    c.text += kPieces[random() % std::size(kPieces)];
  }
  auto& o = c.options;
  if (chance(30)) {
    o.insert(o.end(), {"--preset", kPresets[random() % std::size(kPresets)]});
  }
  if (chance(20)) {
    o.emplace_back("--rainbow");
  } else {
    if (chance(50)) {
      o.insert(o.end(), {"--start", Colour(random), "--end", Colour(random)});
    }
    for (unsigned stops = chance(30) ? random() % 3 + 1 : 0; stops > 0; --stops) {
      o.insert(o.end(), {"--via", Colour(random)});
    }
  }
  if (chance(15)) {
    o.insert(o.end(), {"--fit", std::to_string(random() % 400)});
  } else if (chance(70)) {
    o.insert(o.end(), {"--step", kSteps[random() % std::size(kSteps)]});
  }
  for (const char* flag : {"--merge", "--escape", "--stats", "--show"}) {
    if (chance(12)) {
      o.emplace_back(flag);
    }
  }
  if (chance(30)) {
    o.insert(o.end(), {"--space", "oklab"});
  }
  if (chance(30)) {
    o.insert(o.end(), {"--by", "grapheme"});
  }
  c.feed = static_cast<Feed>(random() % 3);
  return c;
}

std::vector<Case> WorkedCases() {
  std::vector<Case> cases{{{"--help"}, "", Feed::Argument},
                          {{"--version"}, "", Feed::Argument},
                          {{"--list-presets"}, "", Feed::Argument},
                          {{"--step", "2", "--input", "missing-file.txt"}, "", Feed::Argument},
                          // Qt's own finder once split a flag that follows an emoji.
                          {{"--by", "grapheme"}, "😀🇨🇳🇨🇳e\u0301🇨", Feed::Argument}};
  for (const WorkedExample& example : kWorkedExamples) {
    Case c{{"--step", EncodeUtf8(example.stepText)}, EncodeUtf8(example.text), Feed::Argument};
    if (!example.preset.empty()) {
      c.options.insert(c.options.end(), {"--preset", std::string(example.preset)});
    }
    cases.push_back(c);
    c.feed = Feed::StandardInput;
    c.text += "\r\n";
    cases.push_back(c);
  }
  return cases;
}

// Wine gives the Linux file system as drive Z:.
std::string WindowsPath(const std::filesystem::path& path) {
  std::string windows = "Z:" + path.string();
  for (char& c : windows) {
    c = c == '/' ? '\\' : c;
  }
  return windows;
}

ProcessResult Run(const Programs& programs, const Case& c, bool onWindows) {
  std::vector<std::string> args = c.options;
  std::string input;
  if (c.feed == Feed::Argument && !c.text.empty()) {
    args.insert(args.end(), {"--", c.text});
  } else if (c.feed == Feed::StandardInput) {
    input = c.text;
  } else if (c.feed == Feed::File) {
    const std::filesystem::path file = programs.folder / "留言 文字.txt";
    std::ofstream(file, std::ios::binary) << c.text;
    args.insert(args.end(), {"--input", onWindows ? WindowsPath(file) : file.string()});
  }
  if (!onWindows) {
    return RunProcess(programs.reference, args, input, {"NO_COLOR"});
  }
  args.insert(args.begin(), programs.windows);
  return RunProcess(programs.wine, args, input, {"NO_COLOR"});
}

// The error for a missing file quotes its name, which differs between the two.
bool Agree(const ProcessResult& expected, const ProcessResult& actual, const Case& c) {
  const bool sameErr =
      expected.err == actual.err || (c.feed == Feed::File && expected.exitCode != 0);
  return expected.exitCode == actual.exitCode && expected.out == actual.out && sameErr;
}

}  // namespace
}  // namespace huecode::test

int main(int argc, char** argv) {
  using namespace huecode::test;
  if (argc < 4) {
    std::cerr << "usage: cli_differential LINUX_CLI WINE WINDOWS_CLI [RANDOM_CASES [SEED]]\n";
    return 2;
  }
  const Programs programs{argv[1], argv[2], argv[3],
                          std::filesystem::temp_directory_path() / "huecode-differential"};
  const int randomCases = argc > 4 ? std::stoi(argv[4]) : 300;
  const unsigned seed = argc > 5 ? static_cast<unsigned>(std::stoul(argv[5])) : 19;
  std::filesystem::create_directories(programs.folder);

  std::vector<Case> cases = WorkedCases();
  std::mt19937 random(seed);
  for (int k = 0; k < randomCases; ++k) {
    cases.push_back(RandomCase(random));
  }
  int failures = 0;
  for (const Case& c : cases) {
    const ProcessResult expected = Run(programs, c, false);
    const ProcessResult actual = Run(programs, c, true);
    if (!Agree(expected, actual, c)) {
      ++failures;
      std::cerr << "differs: " << Describe(c) << "\n  Linux   " << expected.exitCode << " "
                << Quoted(expected.out) << " " << Quoted(expected.err) << "\n  Windows "
                << actual.exitCode << " " << Quoted(actual.out) << " " << Quoted(actual.err)
                << "\n";
    }
  }
  std::filesystem::remove_all(programs.folder);
  std::cout << "cli_differential: " << cases.size() - failures << " of " << cases.size()
            << " cases agree (random seed " << seed << ")\n";
  return failures == 0 ? 0 : 1;
}
