#!/usr/bin/env bash
# The libraries against huecode-cli on the 1,000,000-character mixed text:
#   - processor time (user + system) of a C program converting it through
#     libhuecode's streaming interface into standard output, against
#     huecode-cli --input writing the same markup, both into /dev/null (goal:
#     within 10 %), median of $HUECODE_LIBRARY_RUNS runs (default 15) taken
#     in turns;
#   - the time of convert() of the npm package in Node.js (median of five
#     calls after a first), beside huecode-cli's.
# Builds huecode-cli and libhuecode in build/ (or $HUECODE_BUILD_DIR) and the
# npm package in build/npm/ if needed.
set -euo pipefail
# shellcheck source=bench/built.sh
source "$(dirname "$0")/built.sh"
bench_build huecode-cli huecode_library
"$root/scripts/npm_package.sh" "$build/npm" >/dev/null
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cc -O2 "$root/bench/library_bench.c" -I"$root/lib/include" -L"$build/lib" -lhuecode \
  -Wl,-rpath,"$build/lib" -o "$work/library_bench"

python3 - "$build/cli/huecode-cli" "$work" "$build/npm/package/index.js" \
  "${HUECODE_LIBRARY_RUNS:-15}" "$root/bench" <<'PY'
import json, os, subprocess, sys

cli, work, package, runs, bench = sys.argv[1], sys.argv[2], sys.argv[3], int(sys.argv[4]), sys.argv[5]
sys.path.insert(0, bench)
from measure import costs, mixed_text

text = os.path.join(work, "mixed.txt")
with open(text, "w", encoding="utf-8", newline="") as f:
    f.write(mixed_text())
library = os.path.join(work, "library_bench")
same = subprocess.run([library, text], capture_output=True).stdout + b"\n"
if same != subprocess.run([cli, "--input", text], capture_output=True).stdout:
    sys.exit("bench: the library and huecode-cli write different markup")

with open("/proc/loadavg") as f:
    print(f"load average: {f.read().split()[0]}")
(command, _), (c_library, _) = costs([[cli, "--input", text], [library, text]], runs, subprocess.DEVNULL)
print(f"huecode-cli --input > /dev/null       {command * 1e3:8.1f} ms processor time")
print(f"C library into a writer > /dev/null   {c_library * 1e3:8.1f} ms ({c_library / command - 1:+.1%})")

node = f"""
import {{ readFileSync }} from "node:fs";
const {{ convert }} = await import({json.dumps(package)});
const text = readFileSync({json.dumps(text)}, "utf8");
const times = [];
for (let k = 0; k < 6; ++k) {{
  const start = performance.now();
  convert(text);
  times.push(performance.now() - start);
}}
times.shift();
times.sort((a, b) => a - b);
console.log(times[2].toFixed(1));
"""
converted = float(subprocess.run(["node", "--input-type=module", "-e", node], capture_output=True,
                                 text=True, check=True).stdout)
print(f"npm package convert() in Node.js      {converted:8.1f} ms wall time (huecode-cli: {command * 1e3:.1f} ms)")
PY
