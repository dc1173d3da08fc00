# shellcheck shell=bash
# How each linter runs, in one place: scripts/lint.sh runs them over the
# project, and tests/lint/lint_gate_test.sh over files with one finding each,
# to show that any new finding fails. Each function returns non-zero on any
# finding, warnings included.

huecode_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)

# ESLint (eslint.config.js) over the files given, relative to the root; with
# --stdin NAME, over standard input as if it were the file NAME.
eslint_check() {
  (cd "$huecode_root" && npx --no-install eslint --max-warnings 0 --no-warn-ignored "$@")
}

# ShellCheck over the scripts given, following the files they source.
shellcheck_check() {
  (cd "$huecode_root" && shellcheck --external-sources --severity=style "$@")
}

# clang-format (.clang-format) over the files given.
format_check() {
  clang-format --dry-run -Werror "$@"
}

# clang-tidy (.clang-tidy) over the files given, with the compile commands of
# the build folder $1; the findings go to $1/clang-tidy.log and are printed.
tidy_check() {
  local build=$1 status=0
  shift
  run-clang-tidy -quiet -j2 -p "$build" "$@" >"$build/clang-tidy.log" 2>&1 || status=1
  sed -E 's/\x1b\[[0-9;]*m//g' "$build/clang-tidy.log" | grep -E '(warning|error):' | sort -u || true
  return $status
}

# clang-tidy over the page's binding, with the compile commands of the
# Emscripten build folder $1: em++ adds its target and system root itself, so
# they are handed to clang-tidy as em++ reports them.
tidy_check_web() {
  local build=$1 status=0 flag extra=()
  shift
  for flag in $(em++ --cflags); do
    extra+=("--extra-arg=$flag")
  done
  clang-tidy --quiet -p "$build" "${extra[@]}" "$@" >"$build/clang-tidy.log" 2>&1 || status=1
  sed -E 's/\x1b\[[0-9;]*m//g' "$build/clang-tidy.log" | grep -E '(warning|error):' | sort -u || true
  return $status
}

# The files given that the compile commands of build folder $1 do not compile.
uncompiled() {
  local build=$1
  shift
  python3 - "$build/compile_commands.json" "$@" <<'PY'
import json, os, sys
compiled = {os.path.realpath(os.path.join(e["directory"], e["file"]))
            for e in json.load(open(sys.argv[1]))}
for f in sys.argv[2:]:
    if os.path.realpath(f) not in compiled:
        print(f)
PY
}

# Every shell script of the project: by name or by its first line.
shell_scripts() {
  (cd "$huecode_root" && git ls-files -z | xargs -0 grep -lE '^#!(/usr/bin/env |/bin/)(ba)?sh$' 2>/dev/null |
    cat - <(git ls-files '*.sh') | sort -u)
}
