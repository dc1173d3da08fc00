#!/usr/bin/env python3
"""Writes the seed corpus of the fuzz targets into corpus/<target>/.

Each seed is laid out the way its fuzzer reads its bytes (see the target's
LLVMFuzzerTestOneInput); the fuzzer grows its own corpus from these."""
import hashlib
import pathlib
import struct

here = pathlib.Path(__file__).resolve().parent


def units(text):
    return text.encode("utf-16-le", "surrogatepass")


def write(target, seeds):
    folder = here / "corpus" / target
    folder.mkdir(parents=True, exist_ok=True)
    for seed in seeds:
        name = hashlib.sha1(seed).hexdigest()[:16]
        (folder / name).write_bytes(seed)


def step_seed(n, step_text, rest=""):
    step = units(step_text)
    return struct.pack("<iB", n, len(step) // 2) + step + units(rest)


def code_seed(start, end, step, prefix, middle, suffix, text):
    fields = [units(s) for s in (step, prefix, middle, suffix)]
    head = bytes(start) + bytes(end) + bytes(len(f) // 2 for f in fields)
    return head + b"".join(fields) + units(text)


write("step_length_fuzz", [
    step_seed(100, "1"), step_seed(100, "12"), step_seed(100, " 1 2"),
    step_seed(1000, "2.5"), step_seed(1000, "3.5"), step_seed(1000, "1e2"),
    step_seed(1000, "1 e 1"), step_seed(1000, "&H1F"), step_seed(1000, "&O17"),
    step_seed(1000, "&HFFFFFFFF"), step_seed(1000, "-3"), step_seed(1000, "99999999999"),
    step_seed(1000, "1e400"), step_seed(1000, "1e-400"), step_seed(1000, ".5"),
    step_seed(1000, "+"), step_seed(1000, "1d3"), step_seed(1000, "\u0663"),
    step_seed(1000, "\uff13"), step_seed(1000, "7\r8", "abc"), step_seed(2**31 - 1, "2147483647"),
    step_seed(-5, "3"), step_seed(0, ""),
])

ubb = ("[color=#", "]", "[/color]")
html = ("<font color=", ">", "</font>")
magenta, green = (255, 0, 255), (0, 255, 0)
write("generate_code_fuzz", [
    code_seed(magenta, green, "1", *ubb, "ab"),
    code_seed(magenta, green, "1", *ubb, " a b "),
    code_seed(magenta, green, "2", *ubb, "abcde"),
    code_seed(magenta, green, "3", *html, "abc"),
    code_seed(magenta, green, "1", *ubb, "ab\r\ncd\tef"),
    code_seed(magenta, green, "2", *ubb, "ab\r\ncd   ef"),
    code_seed(magenta, green, "1", *ubb, "彩色文字\u3000\ufeff"),
    code_seed(magenta, green, "2", *ubb, "a\U0001F600b\U00020000c"),
    code_seed(magenta, green, "1", *ubb, "a\ud800b\udc00"),
    code_seed((10, 20, 30), (10, 20, 30), "5", "", "", "", "x" * 60),
    code_seed((0, 0, 0), (255, 255, 255), "-3", "%s", "\0", "\r\n", "a"),
    code_seed(magenta, green, "&H2", *ubb, "<b>\"quoted\"</b>"),
    code_seed(magenta, green, "1", *ubb, "   "),
])
