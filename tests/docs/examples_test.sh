#!/usr/bin/env bash
# Runs every huecode-cli example that README.md and docs/*.md show with its
# output, written `huecode-cli ARGUMENTS` → `OUTPUT`, and fails when the
# program writes anything else. The shown output is one whole line of what the
# program writes (of standard error when it starts with "huecode-cli:", a
# message); "…" in it stands for any text.
# Usage: tests/docs/examples_test.sh HUECODE_CLI SOURCE_DIR
set -euo pipefail
cli=$(realpath "$1")
cd "$2"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/bin"
ln -s "$cli" "$work/bin/huecode-cli"
export PATH="$work/bin:$PATH" LC_ALL=C.UTF-8
unset NO_COLOR

# Whether the line is the shown text, each "…" matching any text.
matches() {
  local rest=$1 shown=$2 part first=1
  while [[ $shown == *…* ]]; do
    part=${shown%%…*}
    if ((first)); then
      [[ $rest == "$part"* ]] || return 1
      rest=${rest:${#part}}
    else
      [[ $rest == *"$part"* ]] || return 1
      rest=${rest#*"$part"}
    fi
    shown=${shown#*…}
    first=0
  done
  if ((first)); then
    [[ $rest == "$shown" ]]
  else
    [[ $rest == *"$shown" ]]
  fi
}

checked=0 failed=0
for file in README.md docs/*.md; do
  # In a table a code span writes | as \|. The backticks are the pattern's own.
  # shellcheck disable=SC2016
  while IFS= read -r example; do
    example=${example//\\|/|}
    command=${example#\`}
    command=${command%%\`*}
    shown=${example%\`}
    shown=${shown##*\`}
    stream=out
    [[ $shown == huecode-cli:* ]] && stream=err
    bash -c "$command" >"$work/out" 2>"$work/err" || true
    mapfile -t lines <"$work/$stream"
    found=0
    for line in "${lines[@]}"; do
      if matches "$line" "$shown"; then
        found=1
        break
      fi
    done
    checked=$((checked + 1))
    if ((!found)); then
      failed=$((failed + 1))
      echo "$file: \`$command\` shows" >&2
      echo "  $shown" >&2
      echo "but writes to standard $([[ $stream == out ]] && echo output || echo error)" >&2
      sed 's/^/  /' "$work/$stream" >&2
    fi
  done < <(grep -oP '`huecode-cli (?:[^`\\]|\\.)*` → `(?:[^`\\]|\\.)*`' "$file" || true)
done
echo "examples: $checked run, $failed differ from what README.md and docs/ show"
((checked > 0 && failed == 0))
