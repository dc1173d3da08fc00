#!/usr/bin/env bash
# What every call of huecode-cli costs: processor time (user + system) of
#   - `huecode-cli --version` against `cat` of a one-line file (goal: within 2x),
#   - `huecode-cli --input` of a 1,000,000-character mixed Chinese/ASCII text,
#     read through a pipe, against `cat` copying the same markup through a
#     pipe (goal: within 6x), with the peak memory of each,
#   - `huecode-cli --strip` of that markup against writing it (goal: within 2x),
# and which shared libraries `--version` loads. Each figure is the median of
# $HUECODE_STARTUP_RUNS runs (default 200; 15 for the large text), the
# commands compared taking turns.
# Builds huecode-cli in build/ (or $HUECODE_BUILD_DIR) if needed.
set -euo pipefail
# shellcheck source=bench/built.sh
source "$(dirname "$0")/built.sh"
bench_build huecode-cli

echo "huecode-cli --version loads: $(LD_DEBUG=libs "$cli" --version 2>&1 >/dev/null |
  sed -n 's/.*calling init: .*\/\([^/]*\)$/\1/p' | sort -u | tr '\n' ' ')"

python3 - "$cli" "${HUECODE_STARTUP_RUNS:-200}" "$root/bench" <<'PY'
import os, subprocess, sys, tempfile

cli, runs, bench = sys.argv[1], int(sys.argv[2]), sys.argv[3]
sys.path.insert(0, bench)
from measure import costs, mixed_text
work = tempfile.mkdtemp()

def row(name, figures, baseline, goal):
    ratio = figures[0] / baseline[0] if baseline[0] > 0 else float("inf")
    mark = "" if ratio <= goal else f"  above the goal of {goal}x"
    print(f"{name:<28} {figures[0] * 1e3:9.3f} ms {figures[1] / 1024:8.1f} MiB {ratio:7.2f}x{mark}")

line = os.path.join(work, "line.txt")
with open(line, "w") as f:
    f.write("one line\n")
big = os.path.join(work, "mixed.txt")
with open(big, "w", encoding="utf-8", newline="") as f:
    f.write(mixed_text())
markup = os.path.join(work, "mixed.markup")
with open(markup, "wb") as f:
    f.write(subprocess.run([cli, "--input", big], stdout=subprocess.PIPE, check=True).stdout)

print(f"{'':<28} {'cpu (median)':>12} {'peak':>12} {'x cat':>8}")
cat_line, version = costs([["cat", line], [cli, "--version"]], runs)
row("cat one line", cat_line, cat_line, 1)
row("huecode-cli --version", version, cat_line, 2)
big_runs = max(3, runs // 13)
cat_markup, converting, stripping = costs(
    [["cat", markup], [cli, "--input", big], [cli, "--strip", "--input", markup]], big_runs)
row("cat the markup", cat_markup, cat_markup, 1)
row("huecode-cli --input (1M)", converting, cat_markup, 6)
# Reading the markup back, against writing it (goal: within 2x of that row).
print(f"{'':<28} {'':>12} {'':>12} {'x --input':>8}")
row("huecode-cli --strip (1M)", stripping, converting, 2)
PY
