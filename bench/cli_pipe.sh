#!/usr/bin/env bash
# CPU time (user + system) of huecode-cli converting 1,000,000 characters of
# mixed Chinese and ASCII text (--input, step 1, the window's template), its
# output read through a pipe, against cat copying the same markup through a
# pipe. The best of seven runs each; the goal is at most 6 times cat.
# Builds huecode-cli in build/ (or $HUECODE_BUILD_DIR) if needed.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${HUECODE_BUILD_DIR:-$root/build}
if [[ ! -f $build/CMakeCache.txt ]]; then
  cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo
fi
cmake --build "$build" --target huecode-cli >/dev/null
cli=$build/cli/huecode-cli

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

python3 - "$cli" "$work" <<'PY'
import random, resource, subprocess, sys

cli, work = sys.argv[1], sys.argv[2]
pieces = ["彩色", "文字", "论坛", "留言", "，", "。", "huecode", "gradient", "2024", "a",
          " ", " ", " ", "\n", "\u3000\u3000"]
rng = random.Random(42)
text = ""
while len(text) < 1000000:
    text += "".join(rng.choice(pieces) for _ in range(1000))
text = "开" + text[1:999999] + "尾"
with open(f"{work}/text.txt", "w", encoding="utf-8", newline="") as f:
    f.write(text)
with open(f"{work}/markup.txt", "wb") as f:
    subprocess.run([cli, "--input", f"{work}/text.txt"], stdout=f, check=True)


def cpu(command):
    """The least CPU seconds of the command, its output read through a pipe."""
    best = None
    for _ in range(7):
        before = resource.getrusage(resource.RUSAGE_CHILDREN)
        process = subprocess.Popen(command, stdout=subprocess.PIPE)
        while process.stdout.read(1 << 16):
            pass
        if process.wait() != 0:
            sys.exit(f"cli_pipe: {command} failed")
        after = resource.getrusage(resource.RUSAGE_CHILDREN)
        seconds = after.ru_utime - before.ru_utime + after.ru_stime - before.ru_stime
        best = seconds if best is None else min(best, seconds)
    return best


convert = cpu([cli, "--input", f"{work}/text.txt"])
copy = cpu(["cat", f"{work}/markup.txt"])
ratio = convert / copy if copy > 0 else float("inf")
mark = "" if ratio <= 6 else "  above the goal of 6x cat"
size = len(open(f"{work}/markup.txt", "rb").read())
print(f"huecode-cli --input, 1,000,000 characters -> {size} bytes: "
      f"{convert * 1000:.1f} ms CPU; cat of the markup: {copy * 1000:.1f} ms; "
      f"{ratio:.2f}x cat{mark}")
PY
