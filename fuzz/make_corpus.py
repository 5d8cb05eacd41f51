#!/usr/bin/env python3
"""Writes the fuzz seeds (fuzz/corpus/<target>/, in the byte layout fuzz/targets.cpp gives each: the
colour rules' worked values, the filter's worked results) and fuzz/utf16.dict. Rerun after changing."""
import hashlib, pathlib, shutil, struct

HERE = pathlib.Path(__file__).resolve().parent
u16, le = lambda text: text.encode("utf-16-le", "surrogatepass"), lambda n: struct.pack("<H", n)
LOCALES = {"C": ".", "en_US": ".", "de_DE": ",", "fa_IR": "\u066b", "fr_FR": ",", "ar_EG": "\u066b"}  # fuzz::Locale's order
# In point notation ("." becomes each locale's separator); the first 24 seed fraction_text too.
NUMBERS = ("128 1 64 255 0 50 7 100 255.01 0.5 0.4 .5 5. 1E2 -5 -0 1e400 1e-400".split(" ") + [" 12 "] +
           "+3 127.5 128.5 -0.0196 0.00005".split(" ") + ["", " "] + "- a . 1.2.3 0x10 nan inf 1,000 (5) 5- 1e e5 "
           "\u0661\u0662 \uff11 1\u200e \u00a01 \ud800 \U0001d7ce 2.4703282292062327e-324 2.4703282292062328e-324 "
           "1.7976931348623158e308 1.7976931348623159e308".split(" ") + [str(2**1024 - 2**971), "0." + "0" * 56 + "1e57"])
rows = lambda table: [(text, int(n)) for text, n in (row.rsplit(":", 1) for row in table.split(" "))]
POINT_ROWS = rows("1,2.3:5 12,34,56:8 1.2.34:2 1.23.:5 1..2:2 5.2.7:0 0,5000:0 0,5000:6 .:1 .5:0 1a2:3 1a2:1 -0.0196:7 "
                  "x.y:3 ab:2 1^2.3:0 1^2.5:2 :0 0.5020:0 1^2^3:5")
CARET_ROWS = rows("1,2^3:5 ^5:2 1^2^3:0 1,2:3")
INSTR_ROWS = [(t, m, n) for (t, n), m in zip(rows("1.2.3:3 1.2.3:5 1.2.3:1 1.2.3:0 1.2.3:99 ab..:3 ab..:4 abAB:4"), ". . . . . .. .. b".split(" "))]
DICTIONARY = list("0159.,^-+ eEaA\u066b\u066c\u060c\uff0c\uff0e\uff10\u0660\u06f5\u200e\u200f\u200b\u00ad\u00a0\u202f"
                  "\ud800\udc00\U0001d7ce\t\x00") + ["255", "100", "1e400", "0.0000"]


def seeds():  # (target, name, bytes)
    for loc, (locale, sep) in enumerate(LOCALES.items()):
        for i, text in enumerate(NUMBERS):
            number = u16(text.replace(".", sep))
            if loc < 4:
                yield "parse_number", f"{locale}-{text}", bytes([loc]) + number
            if i < 24:  # byte 1: bit 0 the pattern, bits 1-3 the scale's index
                yield from (("fraction_text", f"{locale}-{k}-{text}", bytes([loc, m]) + number) for k, m in (("ch", 0), ("op", 3)))
        if loc < 4:
            yield from (("clean_text", f"{locale}-pt-{t}-{n}", bytes([loc << 4]) + le(n) + u16(t)) for t, n in POINT_ROWS)
            yield from (("clean_text", f"{locale}-ca-{t}-{n}", bytes([5 | loc << 4]) + le(n) + u16(t)) for t, n in CARET_ROWS)
            yield "clean_text", f"{locale}-comma", bytes([2 | loc << 4]) + le(3) + u16("1.2,3")
            yield from (("instr_prev", f"{locale}-{t}-{m}-{n}", bytes([loc | len(m) << 2 | 16]) + le(n) + u16(m + t)) for t, m, n in INSTR_ROWS)
    yield from (("fraction_text", f"scale{s}", bytes([0, s << 1]) + u16("1e308")) for s in range(2, 8))
    yield from (("clean_text", f"literal-{n}", b"\x40" + le(n) + u16("1.2")) for n in (32766, 32767, 32768, 65535))
    yield "clean_text", "own-sets", bytes([11]) + le(4) + u16("\u066b") + bytes([3]) + u16("0\u066b11\u066b0,1a")
    # Caret field 128 is the end of the filler run; filler byte 128 makes it 32,766 long.
    for field in (0, 127, 128, 129, 130, 300):
        yield from (("clean_text_long", f"{field}-{t}", b"\0" + le(field) + b"\x80" + u16(t)) for t in ("", ",5", ".1.", "a", "1^2"))
    yield "clean_text_long", "caret-delim", bytes([5]) + le(129) + b"\x7f" + u16("^5")
    yield "instr_prev", "negative", bytes([4 | 32]) + le(0) + u16(".1.2")
    yield "instr_prev", "empty-match", bytes([16]) + le(3) + u16("1.2")


shutil.rmtree(HERE / "corpus", ignore_errors=True)
for target, name, data in seeds():
    (HERE / "corpus" / target).mkdir(parents=True, exist_ok=True)
    safe = "".join(c if c.isalnum() or c in "-_" else "_" for c in name)[:40]
    (HERE / "corpus" / target / f"{safe}-{hashlib.sha1(data).hexdigest()[:8]}").write_bytes(data)
tokens = ['tok%d="%s"' % (i, "".join(f"\\x{b:02X}" for b in u16(t))) for i, t in enumerate(DICTIONARY)]
(HERE / "utf16.dict").write_text("\n".join(["# UTF-16LE tokens for the fuzz targets (written by make_corpus.py)."] + tokens) + "\n")
print(", ".join(f"{t.name}: {len(list(t.iterdir()))}" for t in sorted((HERE / "corpus").iterdir())))
