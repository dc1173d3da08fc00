#!/usr/bin/env bash
# huecode-cli loads Qt only for the pictures: every other use runs without a
# Qt library (glibc's loader names each library it loads under LD_DEBUG=libs),
# the pictures load it through the module, from the build tree and from an
# install, and a program without its module says so and writes nothing.
# Usage: without_qt_test.sh HUECODE_CLI BUILD_DIR
set -euo pipefail
cli=$1
build=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() {
  echo "without_qt_test: $*" >&2
  exit 1
}
printf '彩色 text\n' >"$work/text.txt"

# Loaded libraries of one run, its output thrown away.
loaded() {
  LD_DEBUG=libs "$@" 2>&1 >/dev/null </dev/null | sed -n 's/.*calling init: //p'
}

without_qt=(
  "--input $work/text.txt"
  "--stats --by grapheme --input $work/text.txt"
  "--fit 200 --merge --input $work/text.txt"
  "--show --rainbow --input $work/text.txt"
  "--help"
  "--version"
  "--list-presets"
  "--completion zsh"
)
for args in "${without_qt[@]}"; do
  # shellcheck disable=SC2086  # the rows are word lists
  libraries=$(loaded "$cli" $args)
  [[ -n $libraries ]] || fail "LD_DEBUG shows no library for '$args'"
  if grep -q 'libQt6' <<<"$libraries"; then
    fail "'huecode-cli $args' loads Qt: $(grep -o 'libQt6[^ ]*' <<<"$libraries" | tr '\n' ' ')"
  fi
done

pictures() {
  local program=$1 png=$2
  libraries=$(loaded "$program" --bar-png "$png" --preview-png "$png.preview.png" x)
  grep -q 'libQt6Gui' <<<"$libraries" || fail "$program --bar-png does not load Qt Gui"
  [[ $(head -c 8 "$png" | od -An -tx1 | tr -d ' \n') == 89504e470d0a1a0a ]] ||
    fail "$program --bar-png wrote no PNG"
  [[ -s $png.preview.png ]] || fail "$program --preview-png wrote nothing"
}
pictures "$cli" "$work/build.png"

cmake --install "$build" --prefix "$work/prefix" >"$work/install.log" ||
  fail "cmake --install failed: $(cat "$work/install.log")"
pictures "$work/prefix/bin/huecode-cli" "$work/installed.png"

mkdir "$work/alone"
cp "$cli" "$work/alone/"
status=0
"$work/alone/huecode-cli" --bar-png "$work/alone.png" x >"$work/alone.out" 2>"$work/alone.err" ||
  status=$?
((status == 1)) || fail "a program without its module exits with $status, not 1"
grep -q '^huecode-cli: cannot write pictures: the picture module .*huecode-cli-pictures.* could not be loaded' \
  "$work/alone.err" || fail "a missing module is reported as: $(cat "$work/alone.err")"
[[ ! -e $work/alone.png && ! -s $work/alone.out ]] || fail "a missing module still wrote output"
echo "without_qt_test: no Qt without pictures; pictures from the build tree and an install"
