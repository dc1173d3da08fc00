#pragma once

#include <array>
#include <string>
#include <string_view>

namespace huecode {

enum class Shell { Bash, Zsh, Fish };

struct ShellName {
  std::string_view key;
  Shell value;
};

// The shells --completion writes a script for, by the name it takes.
inline constexpr std::array<ShellName, 3> kShells{{
    {"bash", Shell::Bash},
    {"zsh", Shell::Zsh},
    {"fish", Shell::Fish},
}};

// A script that completes huecode-cli's options, the values of those that
// take a fixed list of values, and file names where a file is expected. It
// works both sourced and installed where the shell looks for completions.
std::string CompletionScript(Shell shell);

}  // namespace huecode
