#include "cli/completion.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "cli/options.h"

namespace huecode {

namespace {

constexpr std::string_view kProgram = "huecode-cli";

enum class ValueKind { None, Free, Choice, File };

ValueKind KindOf(const OptionSummary& option) {
  if (option.valueName.empty()) {
    return ValueKind::None;
  }
  if (option.valueName == "FILE") {
    return ValueKind::File;
  }
  return option.choices.empty() ? ValueKind::Free : ValueKind::Choice;
}

std::string Joined(const std::vector<std::string_view>& words) {
  std::string text;
  for (const std::string_view word : words) {
    text += (text.empty() ? "" : " ") + std::string(word);
  }
  return text;
}

// The text between single quotes, for a shell where a quote cannot be
// escaped inside them (bash, zsh): close, escaped quote, reopen.
std::string PosixQuoted(std::string_view text) {
  std::string quoted = "'";
  for (const char c : text) {
    quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  }
  return quoted + "'";
}

// fish reads backslash escapes inside single quotes.
std::string FishQuoted(std::string_view text) {
  std::string quoted = "'";
  for (const char c : text) {
    if (c == '\'' || c == '\\') {
      quoted += '\\';
    }
    quoted += c;
  }
  return quoted + "'";
}

// _arguments reads brackets and colons in a description as its own syntax.
std::string ZshDescription(std::string_view text) {
  std::string escaped;
  for (const char c : text) {
    if (c == '[' || c == ']' || c == ':' || c == '\\') {
      escaped += '\\';
    }
    escaped += c;
  }
  return escaped;
}

// The case arms of the bash script: one per kind of value, naming every
// option whose value completes that way.
std::string BashArms(const std::vector<OptionSummary>& options) {
  std::vector<std::pair<std::string, std::string>> arms;  // body, patterns
  for (const OptionSummary& option : options) {
    std::string body;
    switch (KindOf(option)) {
      case ValueKind::None:
        continue;
      case ValueKind::Free:
        break;
      case ValueKind::Choice:
        body = "mapfile -t COMPREPLY < <(compgen -W " + PosixQuoted(Joined(option.choices)) +
               " -- \"$cur\")\n      ";
        break;
      case ValueKind::File:
        body =
            "compopt -o filenames 2>/dev/null\n"
            "      mapfile -t COMPREPLY < <(compgen -f -- \"$cur\")\n      ";
        break;
    }
    const auto same =
        std::find_if(arms.begin(), arms.end(), [&](const auto& arm) { return arm.first == body; });
    if (same == arms.end()) {
      arms.emplace_back(body, std::string(option.name));
    } else {
      same->second += " | " + std::string(option.name);
    }
  }
  std::string text;
  for (const auto& [body, patterns] : arms) {
    text.append("    ").append(patterns).append(")\n      ").append(body).append(";;\n");
  }
  return text;
}

std::string BashScript(const std::vector<OptionSummary>& options) {
  std::vector<std::string_view> names;
  names.reserve(options.size());
  for (const OptionSummary& option : options) {
    names.push_back(option.name);
  }
  // bash splits "--name=value" into "--name", "=" and "value".
  return "# bash completion for huecode-cli, written by huecode-cli --completion bash\n"
         "_huecode_cli() {\n"
         "  local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD - 1]} k\n"
         "  COMPREPLY=()\n"
         "  for ((k = 1; k < COMP_CWORD; k++)); do\n"
         "    [[ ${COMP_WORDS[k]} == -- ]] && return 0\n"
         "  done\n"
         "  if [[ $cur == = ]]; then\n"
         "    cur=\n"
         "  elif [[ $prev == = ]] && ((COMP_CWORD > 1)); then\n"
         "    prev=${COMP_WORDS[COMP_CWORD - 2]}\n"
         "  fi\n"
         "  case $prev in\n" +
         BashArms(options) +
         "    *)\n"
         "      if [[ $cur == -* ]]; then\n"
         "        mapfile -t COMPREPLY < <(compgen -W " +
         PosixQuoted(Joined(names)) +
         " -- \"$cur\")\n"
         "      fi\n"
         "      ;;\n"
         "  esac\n"
         "}\n"
         "complete -F _huecode_cli " +
         std::string(kProgram) + "\n";
}

std::string ZshScript(const std::vector<OptionSummary>& options) {
  std::string arguments;
  for (const OptionSummary& option : options) {
    // Every option may be given again; the last one counts.
    std::string argument = "*" + std::string(option.name);
    if (!option.valueName.empty()) {
      argument += "=";
    }
    if (!option.help.empty()) {
      argument += "[" + ZshDescription(option.help) + "]";
    }
    const std::string message = ":" + std::string(option.valueName) + ":";
    switch (KindOf(option)) {
      case ValueKind::None:
        break;
      case ValueKind::Free:
        argument += message + " ";
        break;
      case ValueKind::Choice:
        argument += message + "(" + Joined(option.choices) + ")";
        break;
      case ValueKind::File:
        argument += message + "_files";
        break;
    }
    arguments += "    " + PosixQuoted(argument) + " \\\n";
  }
  return "#compdef huecode-cli\n"
         "# zsh completion for huecode-cli, written by huecode-cli --completion zsh\n"
         "_huecode-cli() {\n"
         "  _arguments -S \\\n" +
         arguments +
         "    '*:text: '\n"
         "}\n"
         "if [[ $funcstack[1] == _huecode-cli ]]; then\n"
         "  _huecode-cli \"$@\"\n"
         "else\n"
         "  compdef _huecode-cli huecode-cli\n"
         "fi\n";
}

std::string FishScript(const std::vector<OptionSummary>& options) {
  const std::string command = "complete -c " + std::string(kProgram);
  // The text words are free; only values that name a file complete files.
  std::string script =
      "# fish completion for huecode-cli, written by huecode-cli --completion fish\n" + command +
      " -f\n";
  for (const OptionSummary& option : options) {
    std::string line = command;
    line += option.name.starts_with("--") ? " -l " + std::string(option.name.substr(2))
                                          : " -s " + std::string(option.name.substr(1));
    switch (KindOf(option)) {
      case ValueKind::None:
        break;
      case ValueKind::Free:
        line += " -x";
        break;
      case ValueKind::Choice:
        line += " -x -a " + FishQuoted(Joined(option.choices));
        break;
      case ValueKind::File:
        line += " -r -F";
        break;
    }
    if (!option.help.empty()) {
      line += " -d " + FishQuoted(option.help);
    }
    script += line + "\n";
  }
  return script;
}

}  // namespace

std::string CompletionScript(Shell shell) {
  const std::vector<OptionSummary> options = OptionSummaries();
  switch (shell) {
    case Shell::Bash:
      return BashScript(options);
    case Shell::Zsh:
      return ZshScript(options);
    case Shell::Fish:
      return FishScript(options);
  }
  return {};
}

}  // namespace huecode
