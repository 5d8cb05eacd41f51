#!/usr/bin/env python3
"""Writes the fuzz targets' seeds (fuzz/corpus/<target>/) and the UTF-16
dictionary (fuzz/utf16.dict): the worked values of the colour rules and the
filter's worked results, in the byte layout each *_fuzz.cpp describes. The
files are kept in the repository; run this again after changing them."""
import hashlib
import pathlib
import shutil
import struct

HERE = pathlib.Path(__file__).resolve().parent
CORPUS = HERE / "corpus"
u16 = lambda text: text.encode("utf-16-le", "surrogatepass")
caret = lambda n: struct.pack("<H", n)


def write(target, name, data):
    folder = CORPUS / target
    folder.mkdir(parents=True, exist_ok=True)
    safe = "".join(c if c.isalnum() or c in "-_" else "_" for c in name)[:40]
    (folder / f"{safe}-{hashlib.sha1(data).hexdigest()[:8]}").write_bytes(data)


# Each target's locales, in the order it builds them, with their separators.
PARSE_LOCALES = {"C": ".", "en_US": ".", "de_DE": ",", "fa_IR": "\u066b"}
FRACTION_LOCALES = {"C": ".", "en_US": ".", "de_DE": ",", "fr_FR": ",", "fa_IR": "\u066b", "ar_EG": "\u066b"}
FILTER_LOCALES = ["C", "en_US", "de_DE", "fa_IR"]
# In point notation: "." becomes each locale's separator.
NUMBERS = [
    "128", "1", "64", "255", "0", "50", "7", "100", "255.01", "0.5", "0.4", ".5", "5.", "1E2",
    "-5", "-0", "1e400", "1e-400", " 12 ", "+3", "127.5", "128.5", "-0.0196", "0.00005",
    "", " ", "-", "a", ".", "1.2.3", "0x10", "nan", "inf", "1,000", "(5)", "5-", "1e", "e5",
    "\u0661\u0662", "\uff11", "1\u200e", "\u00a0" + "1", "\ud800", "\U0001d7ce", str(2**1024 - 2**971),
    "2.4703282292062327e-324", "2.4703282292062328e-324", "1.7976931348623158e308", "1.7976931348623159e308",
    "0." + "0" * 56 + "1e57",
]
POINT_ROWS = [
    ("1,2.3", 5), ("12,34,56", 8), ("1.2.34", 2), ("1.23.", 5), ("1..2", 2), ("5.2.7", 0),
    ("0,5000", 0), ("0,5000", 6), (".", 1), (".5", 0), ("1a2", 3), ("1a2", 1), ("-0.0196", 7),
    ("x.y", 3), ("ab", 2), ("1^2.3", 0), ("1^2.5", 2), ("", 0), ("0.5020", 0), ("1^2^3", 5),
]
CARET_ROWS = [("1,2^3", 5), ("^5", 2), ("1^2^3", 0), ("1,2", 3)]
INSTR_ROWS = [("1.2.3", ".", 3), ("1.2.3", ".", 5), ("1.2.3", ".", 1), ("1.2.3", ".", 0), ("1.2.3", ".", 99),
              ("ab..", "..", 3), ("ab..", "..", 4), ("abAB", "b", 4)]
DICTIONARY = [
    "0", "1", "5", "9", ".", ",", "^", "-", "+", " ", "e", "E", "a", "A", "\u066b", "\u066c", "\u060c",
    "\uff0c", "\uff0e", "\uff10", "\u0660", "\u06f5", "\u200e", "\u200f", "\u200b", "\u00ad", "\u00a0",
    "\u202f", "\ud800", "\udc00", "\U0001d7ce", "\t", "\x00", "255", "100", "1e400", "0.0000",
]


def main():
    shutil.rmtree(CORPUS, ignore_errors=True)
    for index, (locale, sep) in enumerate(PARSE_LOCALES.items()):
        for text in NUMBERS:
            write("parse_number", f"{locale}-{text}", bytes([index]) + u16(text.replace(".", sep)))
    # Byte 1: bit 0 the pattern, bits 1-3 the scale's index (255, 100, ...).
    for index, (locale, sep) in enumerate(FRACTION_LOCALES.items()):
        for text in NUMBERS[:24]:
            for kind, mode in (("ch", 0), ("op", 3)):
                write("fraction_text", f"{locale}-{kind}-{text}", bytes([index, mode]) + u16(text.replace(".", sep)))
    for scale in range(2, 8):
        write("fraction_text", f"scale{scale}", bytes([0, scale << 1]) + u16("1e308"))
    for loc, locale in enumerate(FILTER_LOCALES):
        for text, n in POINT_ROWS:  # ".", digits + "."
            write("clean_text", f"{locale}-pt-{text}-{n}", bytes([loc << 4]) + caret(n) + u16(text))
        for text, n in CARET_ROWS:  # "^", digits only
            write("clean_text", f"{locale}-ca-{text}-{n}", bytes([1 | 1 << 2 | loc << 4]) + caret(n) + u16(text))
        write("clean_text", f"{locale}-comma", bytes([2 | loc << 4]) + caret(3) + u16("1.2,3"))
        for text, match, last in INSTR_ROWS:  # LastPos as is
            write("instr_prev", f"{locale}-{text}-{match}-{last}",
                  bytes([loc | len(match) << 2 | 1 << 4]) + caret(last) + u16(match) + u16(text))
    for n in (32766, 32767, 32768, 65535):  # a literal caret at the scan limit
        write("clean_text", f"literal-{n}", bytes([0x40]) + caret(n) + u16("1.2"))
    write("clean_text", "own-sets", bytes([3 | 2 << 2]) + caret(4) + u16("\u066b") + bytes([3]) + u16("0\u066b1") +
          u16("1\u066b0,1a"))
    # Caret field 128 is the end of the filler run; filler byte 128 makes it 32,766 long.
    for field in (0, 127, 128, 129, 130, 300):
        for text in ("", ",5", ".1.", "a", "1^2"):
            write("clean_text_long", f"{field}-{text}", bytes([0]) + caret(field) + bytes([128]) + u16(text))
    write("clean_text_long", "caret-delim", bytes([1 | 1 << 2]) + caret(129) + bytes([127]) + u16("^5"))
    write("instr_prev", "negative", bytes([1 << 2 | 2 << 4]) + caret(0) + u16(".") + u16("1.2"))
    write("instr_prev", "empty-match", bytes([1 << 4]) + caret(3) + u16("1.2"))
    tokens = ['tok%d="%s"' % (i, "".join(f"\\x{b:02X}" for b in u16(t))) for i, t in enumerate(DICTIONARY)]
    (HERE / "utf16.dict").write_text("\n".join(["# UTF-16LE tokens for the fuzz targets (written by make_corpus.py)."] + tokens) + "\n")
    for target in sorted(CORPUS.iterdir()):
        print(f"{target.name}: {len(list(target.iterdir()))} seeds")


if __name__ == "__main__":
    main()
