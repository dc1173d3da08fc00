#pragma once

// Runs huecode-cli for the tests of its conversion options, and reads the
// markup of the opening template and the --stats line back.
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <regex>
#include <string>
#include <vector>

#include "cli/options.h"
#include "cli_expect.h"
#include "core/chunks.h"
#include "core/colour.h"
#include "core/conversion.h"
#include "core/gradient_stops.h"
#include "icu/grapheme.h"
#include "options/utf8.h"
#include "process_runner.h"
#include "tests/support/dialect_chunks.h"

namespace huecode::test {

inline const std::string kCli = HUECODE_CLI_PATH;

// NO_COLOR in the environment the tests run in must not change --show.
inline ProcessResult Cli(const std::vector<std::string>& args, const std::string& stdinBytes = {}) {
  return test::RunProcess(kCli, args, stdinBytes, {"NO_COLOR"});
}

inline std::vector<std::string> With(std::vector<std::string> args,
                                     const std::vector<std::string>& more) {
  args.insert(args.end(), more.begin(), more.end());
  return args;
}

// Standard output of a run that must succeed, less its final line feed.
inline std::string Output(const ProcessResult& result) {
  EXPECT_EQ(result.exitCode, 0) << result.err;
  if (result.out.empty() || result.out.back() != '\n') {
    ADD_FAILURE() << "no final line feed: " << result.out;
    return result.out;
  }
  return result.out.substr(0, result.out.size() - 1);
}

inline std::string Hex(ColourTriple colour) {
  return EncodeUtf8(ColourDigits(colour));
}

// A piece of markup in the opening template: a tagged chunk, or bare text.
struct Piece {
  std::string text;
  std::optional<ColourTriple> colour;
};

inline std::vector<Piece> Pieces(std::string_view markup) {
  constexpr std::string_view kOpen = "[color=#";
  constexpr std::string_view kClose = "[/color]";
  std::vector<Piece> pieces;
  while (!markup.empty()) {
    const std::size_t open = markup.find(kOpen);
    if (open != 0) {
      pieces.push_back({std::string(markup.substr(0, open)), std::nullopt});
      if (open == std::string_view::npos) {
        break;
      }
      markup.remove_prefix(open);
    }
    markup.remove_prefix(kOpen.size());
    const std::size_t close = markup.find(kClose);
    const auto colour = ReadColour(markup.substr(0, 6));
    if (close == std::string_view::npos || close < 7 || markup[6] != ']' || !colour) {
      ADD_FAILURE() << "malformed markup at " << markup;
      break;
    }
    pieces.push_back({std::string(markup.substr(7, close - 7)), colour});
    markup.remove_prefix(close + kClose.size());
  }
  return pieces;
}

inline std::vector<ColourTriple> TagColours(const std::vector<Piece>& pieces) {
  std::vector<ColourTriple> colours;
  for (const Piece& piece : pieces) {
    if (piece.colour) {
      colours.push_back(*piece.colour);
    }
  }
  return colours;
}

inline std::vector<std::string> TagTexts(const std::vector<Piece>& pieces) {
  std::vector<std::string> texts;
  for (const Piece& piece : pieces) {
    if (piece.colour) {
      texts.push_back(piece.text);
    }
  }
  return texts;
}

inline std::string PlainText(const std::vector<Piece>& pieces) {
  std::string text;
  for (const Piece& piece : pieces) {
    text += piece.text;
  }
  return text;
}

inline std::string Letters(int count) {
  std::string text;
  for (int k = 0; k < count; ++k) {
    text += static_cast<char>('a' + k % 26);
  }
  return text;
}

inline bool Between(std::int16_t value, std::int16_t a, std::int16_t b) {
  return value >= std::min(a, b) && value <= std::max(a, b);
}

inline const std::regex kStatsLine(
    R"(huecode-cli: (\d+) characters in, (\d+) chunks, (\d+) coloured chunks, (\d+) output characters\n)");

struct Stats {
  long charactersIn = -1;
  long chunks = -1;
  long colouredChunks = -1;
  long outputCharacters = -1;
  friend bool operator==(const Stats&, const Stats&) = default;
};

inline Stats ReadStats(const std::string& err) {
  std::smatch match;
  if (!std::regex_search(err, match, kStatsLine)) {
    ADD_FAILURE() << "no stats line in " << err;
    return {};
  }
  return {std::stol(match[1]), std::stol(match[2]), std::stol(match[3]), std::stol(match[4])};
}

inline long Characters(const std::string& utf8) {
  return CountCharacters(DecodeUtf8(utf8).value());
}

}  // namespace huecode::test
