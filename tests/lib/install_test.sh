#!/usr/bin/env bash
# The C library as another program's author meets it: installed into an empty
# prefix by cmake --install, found through pkg-config (a C program) and
# through find_package (the same program as C++), and run on a table of
# cases against huecode-cli: the same output, the same exit status, the same
# message. The C program runs once more under AddressSanitizer, with the
# table of wrong calls too. The installed library exports the interface's
# functions and nothing else, under its soname.
# Usage: install_test.sh BUILD_DIR HUECODE_CLI
set -euo pipefail
build=$1
cli=$2
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix=$work/prefix

fail() {
  echo "library install test: $*" >&2
  exit 1
}

for component in library development; do
  cmake --install "$build" --prefix "$prefix" --component "$component" >/dev/null
done
pc=$(find "$prefix" -name huecode.pc)
[[ -n $pc ]] || fail "no huecode.pc installed"
export PKG_CONFIG_PATH=${pc%/*}
libdir=$(pkg-config --variable=libdir huecode)
library=$(readlink -f "$libdir/libhuecode.so")
[[ -f $library ]] || fail "libhuecode.so does not lead to the library"

soname=$(objdump -p "$library" | awk '$1 == "SONAME" {print $2}')
[[ $soname == libhuecode.so.0 ]] || fail "soname is '$soname', not libhuecode.so.0"
[[ -L $libdir/$soname ]] || fail "no $soname beside the library"
exported=$(nm -D --defined-only "$library" | awk '{print $NF}' | grep -v '^huecode_' || true)
[[ -z $exported ]] || fail "exports more than the interface: $exported"

flags=(-std=c99 -Wall -Wextra -pedantic -Werror)
read -ra huecode_flags <<<"$(pkg-config --cflags --libs huecode)"
cc "${flags[@]}" "$here/huecode_user.c" "${huecode_flags[@]}" -Wl,-rpath,"$libdir" \
  -o "$work/user_c" || fail "the C program does not build with pkg-config's flags"
cc "${flags[@]}" -g -fsanitize=address,undefined -fno-sanitize-recover=all \
  "$here/huecode_user.c" "${huecode_flags[@]}" -Wl,-rpath,"$libdir" -o "$work/user_asan" ||
  fail "the C program does not build with AddressSanitizer"
if ! { cmake -S "$here/consumer" -B "$work/consumer" -DCMAKE_PREFIX_PATH="$prefix" \
  -DCMAKE_BUILD_TYPE=Release && cmake --build "$work/consumer"; } >"$work/consumer.log" 2>&1; then
  cat "$work/consumer.log" >&2
  fail "the C++ program does not build with find_package"
fi
programs=("$work/user_c" "$work/consumer/huecode_user_cpp" "$work/user_asan")

"$work/user_asan" --bad-calls || fail "a wrong call did not come back as its error"
keys=$("$cli" --list-presets | cut -d' ' -f1)
for program in "${programs[@]}"; do
  [[ $("$program" --dialects) == "$keys" ]] || fail "${program##*/} lists other dialects"
  [[ $("$program" --version) == $("$cli" --version) ]] || fail "${program##*/}: other version"
done

# Each case: options, then the text, separated by |.
cases=(
  "Hello, board"
  "--preset|html|彩色文字"
  "--preset|ubb|--step|2|Hello 🌈 board"
  "--preset|section|--step|abc|x y z"
  "--preset|brelvin|--start|#123456|--end|abcdef|text"
  "--rainbow|--space|oklab|--preset|minimessage|rainbow text"
  "--via|0000FF|--via|FFFF00@75|--endpoints|--preset|span|one two three"
  "--escape|--preset|span|--bold|--italic|a<b & c>d"
  "--preset|legacy|--underline|--strike|--merge|--start|336699|--end|336699|one tag"
  "--preset|json|--by|word|--bold|Hi 你好 \"board\""
  "--preset|ansi|--by|grapheme|--bold|é🇫🇷👨‍👩‍👧 \`\`x\`\`"
  "--format|<{hex}>{text:html}|--per-line|--mirror|ab"$'\r\n'"cd&"
  "--prefix|<|--middle|>|--suffix|</>|--fit|40|Hello"
  "--preset|rgb|--fit|100|Hello, board"
  "--strip|[color=#FF00FF]a[/color] [color=#00FF00]b[/color]"
  "--strip|--preset|ubb|--escape|[color=FF00FF]&lt;[/color]"
  "--strip|--format|<{hex}>{text}|<ff00ff>a<00ff00>b"
  "--start|GGHHII|x"
  "--preset|nope|x"
  "--rainbow|--start|FF0000|x"
  "--format|{oops}|x"
  "--format|{text}|--preset|ubb|x"
  "--preset|json|--escape|x"
  "--preset|brelvin|--bold|x"
  "--via|FF0000@50|--via|00FF00@25|x"
  "--via|FF0000@101|x"
  "--space|hsl|x"
  "--by|line|x"
  "--fit|-1|x"
  "--fit|5|Hello"
  "a"$'\xff'"b"
  "--strip|[color=red]a"
  "--strip|--preset|ubb|[ftc=#FF00FF]a[/ft]"
  "--preset|legacy|--step|3|a&aa"
  "--preset|ampersand|--step|2|one"$'\n'"tw&lo"
  "--preset|html|--step|5|<img src=x>"
  "--preset|json|§a b"
  "--preset|minimessage|--step|4|--escape|say <b>\\hi"
)

# The same bytes on standard output, the same status, on failure the same
# message as huecode-cli's without its program name and help pointer, and on
# success the same note on the text's own codes.
check() {
  local program=$1 status status2 expected
  shift
  status=0
  "$cli" "$@" >"$work/cli.out" 2>"$work/cli.err" || status=$?
  expected=$(sed 's/^huecode-cli: //; s/ (see --help)$//' "$work/cli.err")
  status2=0
  "$program" "$@" >"$work/lib.out" 2>"$work/lib.err" || status2=$?
  if ((status != status2)) || ! cmp -s "$work/cli.out" "$work/lib.out" ||
    { ((status != 0)) && [[ $(sed 's/^[0-9]*: //' "$work/lib.err") != "$expected" ]]; } ||
    { ((status == 0)) && [[ $(sed -n 's/^huecode-cli: \(note: \)/\1/p' "$work/cli.err") != "$(<"$work/lib.err")" ]]; }; then
    echo "${program##*/} $*: status $status2, expected $status" >&2
    diff "$work/cli.out" "$work/lib.out" >&2 || true
    diff <(echo "$expected") <(sed 's/^[0-9]*: //' "$work/lib.err") >&2 || true
    return 1
  fi
}

failed=0
for program in "${programs[@]}"; do
  for row in "${cases[@]}"; do
    fields=()
    if [[ $row == *"|"* ]]; then
      IFS='|' read -ra fields <<<"${row%|*}"
    fi
    check "$program" "${fields[@]}" -- "${row##*|}" || failed=1
  done
done
((failed == 0)) || fail "the library and huecode-cli differ (above)"
echo "library install test: ${#cases[@]} cases agree with huecode-cli in C, C++ and under ASan"
