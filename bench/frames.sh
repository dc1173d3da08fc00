#!/usr/bin/env bash
# How long huecode-cli takes to write 240 frames of a 200-character server
# name (goal: under 50 ms from start to exit), in the lines form and the YAML
# block, in a dialect of six-digit tags (legacy), one of decimal channels with
# merged runs (rgb, whose frames are each counted for --stats), and the json
# components; and a still conversion of the same name for comparison. Each
# figure is the median wall-clock and processor time of $HUECODE_FRAMES_RUNS
# runs (default 50), the commands taking turns; the load average is printed
# beside them, since the machine may be shared.
# Builds huecode-cli in build/ (or $HUECODE_BUILD_DIR) if needed.
set -euo pipefail
# shellcheck source=bench/built.sh
source "$(dirname "$0")/built.sh"
bench_build huecode-cli

python3 - "$cli" "${HUECODE_FRAMES_RUNS:-50}" <<'PY'
import os, statistics, subprocess, sys, time

cli, runs = sys.argv[1], int(sys.argv[2])
name = ("Survival 生存服 #1 | play.example.net " * 8)[:200]

def run(command):
    """Wall-clock and processor seconds of one run, output read through a pipe."""
    started = time.perf_counter()
    child = subprocess.Popen(command, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
    while child.stdout.read(1 << 16):
        pass
    _, status, usage = os.wait4(child.pid, 0)
    if os.waitstatus_to_exitcode(status) != 0:
        sys.exit(f"frames: {' '.join(command[:-1])} failed")
    return time.perf_counter() - started, usage.ru_utime + usage.ru_stime

cases = [
    ("still, legacy", ["--preset", "legacy"]),
    ("240 frames, legacy", ["--preset", "legacy", "--frames", "240"]),
    ("240 frames, legacy, yaml", ["--preset", "legacy", "--frames", "240", "--animation", "yaml"]),
    ("240 frames, rgb --merge --stats", ["--preset", "rgb", "--merge", "--stats", "--frames", "240"]),
    ("240 frames, json, json", ["--preset", "json", "--frames", "240", "--animation", "json"]),
    ("240 frames, oklab rainbow", ["--rainbow", "--space", "oklab", "--frames", "240"]),
]
measured = [[] for _ in cases]
for _ in range(runs):
    for (_, args), times in zip(cases, measured):
        times.append(run([cli, *args, name]))
with open("/proc/loadavg") as f:
    load = " ".join(f.read().split()[:3])
print(f"{len(name)} characters, {runs} runs each, load average {load}")
print(f"{'':<34} {'wall (median)':>13} {'cpu (median)':>13} {'output':>10}")
for (label, args), times in zip(cases, measured):
    wall = statistics.median(t[0] for t in times) * 1e3
    cpu = statistics.median(t[1] for t in times) * 1e3
    size = len(subprocess.run([cli, *args, name], stdout=subprocess.PIPE, stderr=subprocess.DEVNULL,
                              check=True).stdout)
    mark = "" if "still" in label or wall < 50 else "  above the goal of 50 ms"
    print(f"{label:<34} {wall:10.2f} ms {cpu:10.2f} ms {size / 1024:7.0f} KiB{mark}")
PY
