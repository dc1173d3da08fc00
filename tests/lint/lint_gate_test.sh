#!/usr/bin/env bash
# Each linter, run exactly as scripts/lint.sh runs it (scripts/lib/linters.sh),
# must fail on a file with one new finding and pass the same file without it:
# a linter that stopped failing, or stopped reading the project's settings
# (warnings as errors, the 50-line function rule), fails this test.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
# shellcheck source=scripts/lib/linters.sh
source "$root/scripts/lib/linters.sh"
"$root/scripts/web_packages.sh" . >/dev/null
# Inside the source tree, so that .clang-tidy and .clang-format apply.
work=$(mktemp -d "$root/build-lint-probe.XXXXXX")
trap 'rm -rf "$work"' EXIT

# A C++ or JavaScript function of $1 statements.
body() { for ((i = 0; i < $1; i++)); do echo "  total += $i;"; done; }
cpp_function() { printf 'int Sum() {\n  int total = 0;\n%s\n  return total;\n}\n' "$(body "$1")"; }
js_function() { printf 'export function sum() {\n  let total = 0;\n%s\n  return total;\n}\n' "$(body "$1")"; }

printf '[{"directory": "%s", "file": "%s/probe.cpp", "command": "clang++ -std=c++20 -c probe.cpp"}]\n' \
  "$work" "$work" >"$work/compile_commands.json"
run_tidy() { cp "$1" "$work/probe.cpp" && tidy_check "$work" "$work/probe.cpp" >/dev/null; }
run_format() { format_check "$1" 2>/dev/null; }
run_eslint() { eslint_check --stdin --stdin-filename web/lint_probe.js <"$1" >/dev/null; }
run_shellcheck() { shellcheck_check "$1" >/dev/null; }

# linter | what the probe has | clean (pass) or finding (fail) | the probe
cases=(
  "run_tidy|a 40-line function|pass|$(cpp_function 40)"
  "run_tidy|a 70-line function (readability-function-size)|fail|$(cpp_function 70)"
  "run_tidy|0 for a null pointer (modernize-use-nullptr)|fail|$(printf 'int* Nothing() {\n  return 0;\n}\n')"
  "run_format|clang-format's layout|pass|$(printf 'int One() {\n  return 1;\n}\n')"
  "run_format|a layout clang-format changes|fail|$(printf 'int One( ) {return 1;}\n')"
  "run_eslint|a 40-line function|pass|$(js_function 40)"
  "run_eslint|a 70-line function (max-lines-per-function)|fail|$(js_function 70)"
  "run_eslint|an unused variable|fail|$(printf 'export function f() {\n  const unused = 1;\n}\n')"
  "run_eslint|HTML built from a string|fail|$(printf 'export function f(e, t) {\n  e.innerHTML = t;\n}\n')"
  "run_shellcheck|a quoted argument|pass|$(printf '#!/usr/bin/env bash\necho "%s"\n' "\$1")"
  "run_shellcheck|an unquoted argument (a style finding)|fail|$(printf '#!/usr/bin/env bash\necho %s\n' "\$1")"
)

failures=0
for row in "${cases[@]}"; do
  IFS='|' read -r linter what expected probe <<<"$row"
  probe=${row#*|*|*|}
  extension=cpp
  case $linter in run_eslint) extension=js ;; run_shellcheck) extension="sh" ;; esac
  file=$work/probe-input.$extension
  printf '%s\n' "$probe" >"$file"
  if "$linter" "$file"; then got=pass; else got=fail; fi
  if [[ $got != "$expected" ]]; then
    echo "lint gate: ${linter#run_} on $what: expected $expected, got $got" >&2
    failures=$((failures + 1))
  fi
done
echo "$((${#cases[@]} - failures)) passed, $failures failed"
((failures == 0))
