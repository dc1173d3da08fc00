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


def preview_seed(realised_eighths, height, step, repeat, text):
    step_units = units(step)
    head = struct.pack("<BH", realised_eighths, height) + bytes(magenta) + bytes(green)
    return head + bytes([len(step_units) // 2]) + step_units + bytes([repeat]) + units(text)


write("effect_preview_fuzz", [
    preview_seed(0, 2115, "1", 0, "abc"),
    preview_seed(0, 2115, "3", 0, "abcd"),
    preview_seed(78, 2115, "1", 0, "彩色文字"),
    preview_seed(0, 2115, "5", 0, "x" * 45),
    preview_seed(0, 2115, "1", 0, "ab\r\ncd"),
    preview_seed(0, 33000, "1", 200, "0123456789" * 4),
    preview_seed(0, 0, "1", 0, "a"),
    preview_seed(0, 2115, "", 0, "   "),
    preview_seed(0, 2115, "2", 3, "a\U0001F600b\ud800 "),
    preview_seed(0, 65535, "-3", 255, "z"),
])

write("utf8_fuzz", [
    b"", b"abc", "彩色文字".encode(), "\U0001F600".encode(), b"\xe5\xbd", b"\xc0\x80",
    b"\xe0\x80\x80", b"\xf0\x80\x80\x80", b"\xed\xa0\x80", b"\xed\xbf\xbf", b"\xf4\x90\x80\x80",
    b"\x80", b"\xc3\x28", b"\xe2\x82\x28", b"\xff", b"a\x00b", units("a\ud800b"),
])


def cli_seed(args, stdin=b""):
    return bytes([len(args)]) + b"\0".join(a.encode("utf-8", "surrogateescape") for a in args) + \
        (b"\0" if args else b"") + stdin


write("cli_run_fuzz", [
    cli_seed([], b"ab\n"), cli_seed(["ab"]), cli_seed(["a", "b"]),
    cli_seed(["--step", "2", "abcde"]), cli_seed(["--preset", "html", "--", "-x"]),
    cli_seed(["--start=000000", "--end", "#FFFFFF", "text"]),
    cli_seed(["--prefix", "%s", "--middle", "", "--suffix", "\r\n", "a"]),
    cli_seed(["--step", "-3", "--preset", "brelvin"], "彩色\r\n".encode()),
    cli_seed([], b"\xe5\xbd"), cli_seed([], b"\xed\xa0\x80"), cli_seed(["\xc0\x80"]),
    cli_seed(["--help"]), cli_seed(["--version"]), cli_seed(["--bogus"]), cli_seed(["--step"]),
    cli_seed(["--input", "missing.txt"]), cli_seed(["--preview-png", "p.png", "a"]),
    cli_seed(["--strip"], "[color=#FF0000]a[/color] [color=#00FF00]b[/color]\n".encode()),
    cli_seed(["--strip", "--preset", "json"], b'[{"text":"a\\n","color":"#FF0000"}]'),
    cli_seed(["--format", "&x&{R1}&{R2}{text:json}", "a"]),
])


def styled_seed(flags, stops, step, markup, text):
    fields = [units(s) for s in (step, *markup)]
    head = bytes([flags]) + b"".join(bytes(c) for c in stops) + bytes(len(f) // 2 for f in fields)
    return head + b"".join(fields) + units(text)


def stop_flags(count, oklab=False, graphemes=False, merge=False):
    return (count - 2) << 3 | oklab | graphemes << 1 | merge << 2


rainbow = [(255, 0, 0), (255, 165, 0), (255, 255, 0), (0, 128, 0), (0, 0, 255), (143, 0, 255)]
write("styled_code_fuzz", [
    styled_seed(stop_flags(2), [magenta, green], "1", ubb, "ab"),
    styled_seed(stop_flags(2), [magenta, green], "2", ubb, "ab  cd  ef"),
    styled_seed(stop_flags(2, oklab=True), [magenta, green], "1", html, "彩色文字"),
    styled_seed(stop_flags(3), [magenta, (0, 0, 255), green], "1", ubb, "abcdef"),
    styled_seed(stop_flags(6, merge=True), rainbow, "1", ubb, "x" * 40),
    styled_seed(stop_flags(2, merge=True), [green, green], "1", ubb, "a b\tc"),
    styled_seed(stop_flags(2, graphemes=True), [magenta, green], "1", ubb,
                "e\u0301\U0001F468\u200d\U0001F469\u200d\U0001F467\r\n\U0001F1E8\U0001F1F3"),
    styled_seed(stop_flags(4, oklab=True, graphemes=True, merge=True),
                [magenta, green, (0, 0, 0), (255, 255, 255)], "3", ("", "", ""), "a\ud800b\u3000 "),
])


def strip_seed(flags, dialect, step, start, end, text):
    return bytes([flags, dialect, step]) + bytes(start) + bytes(end) + units(text)


write("strip_markup_fuzz", [
    strip_seed(flags, dialect, 0, magenta, green, "Hi, 论坛\n\tok \U0001F1EB\U0001F1F7")
    for dialect in range(12) for flags in (0, 1 | 4, 2 | 16 | 32)
] + [strip_seed(0, 9, 2, green, green, 'a"\\\x01\ud800 <&>'),
     strip_seed(0, 0, 0, magenta, green, "[color=#FF0000]a[/color][color=#00FF00]b")] + [
    # The text's own codes: & and § pairs, MiniMessage's tags and escapes,
    # line breaks at a block's ends and inside chunks.
    strip_seed(flags, dialect, step, magenta, green, text)
    for dialect in (5, 6, 7, 8, 9, 11) for flags, step in ((0, 2), (2, 1), (2 | 1, 3))
    for text in ("&la&#00FF00§a§", "a\\<b>\\\\<#FFFFFF>", "\r\n\n `a``\r\n\u200b\n", "a\r\nb\rc\r\n\x1b[1m")
])
