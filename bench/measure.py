"""What the command-line benchmarks share: the large text, and the processor
time and peak memory of commands run in turns."""
import os
import random
import statistics
import subprocess
import sys


def mixed_text(length=1000000):
    """1,000,000 characters (or as many as asked) of mixed Chinese and ASCII
    with blanks and line breaks, the same every time."""
    pieces = ["彩色", "文字", "论坛", "留言", "，", "。", "huecode", "gradient", "2024", "a",
              " ", " ", " ", "\r\n", "\u3000\u3000"]
    pick = random.Random(42)
    parts = []
    total = 0
    while total < length:
        piece = pieces[pick.randrange(len(pieces))]
        parts.append(piece)
        total += len(piece)
    return "".join(parts)[:length]


def seconds(command, stdout=subprocess.PIPE):
    """Processor seconds of one run, output read through a pipe (or written
    where stdout says)."""
    child = subprocess.Popen(command, stdout=stdout)
    while stdout == subprocess.PIPE and child.stdout.read(1 << 16):
        pass
    _, status, usage = os.wait4(child.pid, 0)
    if os.waitstatus_to_exitcode(status) != 0:
        sys.exit(f"bench: {' '.join(command)} failed")
    return usage.ru_utime + usage.ru_stime


def costs(commands, runs, stdout=subprocess.PIPE):
    """Median processor seconds and peak memory of each command. The commands
    run in turns, so that the load of a shared machine, which changes from one
    second to the next, weighs on each of them alike."""
    measured = [[] for _ in commands]
    for _ in range(runs):
        for command, times in zip(commands, measured):
            times.append(seconds(command, stdout))
    # A child's peak memory counts its parent's from before exec, so the peak
    # comes from /usr/bin/time, whose own footprint is small.
    peaks = [int(subprocess.run(["/usr/bin/time", "-f", "%M", *command], stdout=subprocess.DEVNULL,
                                stderr=subprocess.PIPE, check=True).stderr.split()[-1]) for command in commands]
    return [(statistics.median(times), peak) for times, peak in zip(measured, peaks)]
