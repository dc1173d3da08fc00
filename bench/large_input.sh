#!/usr/bin/env bash
# Converts texts of 5,000,000 characters through huecode-cli and reports the
# peak memory (maximum resident set size, from /usr/bin/time -v) against the
# size of the input. The markup streams out, so only the text is held: the
# goal is a peak of at most 3 times the input plus 32 MiB; rows above it are
# marked. The process's own start-up footprint (the
# shared libraries, measured on a one-character text) is shown as well, since
# it weighs on the smaller outputs. Exits 1 only when a conversion fails or the
# output loses a character.
# Builds huecode-cli in build/ (or $HUECODE_BUILD_DIR) if needed.
set -euo pipefail
# shellcheck source=bench/built.sh
source "$(dirname "$0")/built.sh"
characters=${HUECODE_LARGE_CHARACTERS:-5000000}
limit=${HUECODE_LARGE_RATIO_LIMIT:-3.0}

if [[ ! -x /usr/bin/time ]]; then
  "$root/scripts/setup.sh"
fi
bench_build huecode-cli

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# One text per kind of input: ASCII letters, Chinese with blanks and line
# breaks, and characters outside the BMP (surrogate pairs in UTF-16).
python3 - "$work" "$characters" <<'PY'
import sys
work, n = sys.argv[1], int(sys.argv[2])
pieces = {
    "ascii": "huecode",
    "chinese": "彩色文字 渐变\r\n",
    "emoji": "\U0001F600\U0001F308a",
}
for name, piece in pieces.items():
    text = (piece * (n // len(piece) + 1))[:n]
    with open(f"{work}/{name}.txt", "w", encoding="utf-8", newline="") as f:
        f.write(text)
PY

baseline_kb=$(/usr/bin/time -v "$cli" a 2>&1 >/dev/null |
  sed -n 's/^[[:space:]]*Maximum resident set size (kbytes): //p')
echo "huecode-cli on one character: peak RSS $((baseline_kb * 1024)) bytes"
printf '%-8s %-5s %12s %14s %14s %7s %13s %8s\n' text step input-bytes output-bytes \
  peak-rss-bytes x-input above-start seconds
for name in ascii chinese emoji; do
  for step in 1 7; do
    input=$work/$name.txt
    output=$work/$name.out
    report=$work/$name.time
    if ! /usr/bin/time -v "$cli" --step "$step" --input "$input" >"$output" 2>"$report"; then
      cat "$report" >&2
      echo "large_input: $name with step $step failed" >&2
      exit 1
    fi
    # Taking the tags out again must give back the text (plus the final line feed).
    if ! python3 - "$input" "$output" <<'PY'; then
import re, sys
text = open(sys.argv[1], encoding="utf-8", newline="").read()
out = open(sys.argv[2], encoding="utf-8", newline="").read()
plain = re.sub(r"\[color=#[0-9A-F]{6}\]|\[/color\]", "", out)
sys.exit(0 if plain == text.strip(" ") + "\n" else 1)
PY
      echo "large_input: $name with step $step lost or changed characters" >&2
      exit 1
    fi
    in_bytes=$(stat -c %s "$input")
    out_bytes=$(stat -c %s "$output")
    rss_kb=$(sed -n 's/^[[:space:]]*Maximum resident set size (kbytes): //p' "$report")
    wall=$(sed -n 's/^[[:space:]]*Elapsed (wall clock) time (h:mm:ss or m:ss): //p' "$report")
    ratio=$(awk -v r="$rss_kb" -v i="$in_bytes" 'BEGIN { printf "%.2f", (r * 1024 - 32 * 1048576) / i }')
    above=$(awk -v r="$rss_kb" -v b="$baseline_kb" -v o="$out_bytes" \
      'BEGIN { printf "%.2f", (r - b) * 1024 / o }')
    mark=
    if awk -v r="$ratio" -v l="$limit" 'BEGIN { exit !(r > l) }'; then
      mark="  above the goal of ${limit}x the input + 32 MiB"
    fi
    printf '%-8s %-5s %12d %14d %14d %7s %13s %8s%s\n' "$name" "$step" "$in_bytes" \
      "$out_bytes" $((rss_kb * 1024)) "$ratio" "$above" "$wall" "$mark"
  done
done
