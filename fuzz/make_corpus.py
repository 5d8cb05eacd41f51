#!/usr/bin/env python3
"""Writes the seed corpus (fuzz/corpus/<target>/) and the UTF-16 dictionary
(fuzz/utf16.dict) of the fuzz targets.

The seeds are the worked values of the colour rules and the worked results
of the numeric text filter, in the byte layout each target reads (see the
comment at the top of each *_fuzz.cpp). Run it again after changing them;
the files are kept in the repository, so a fuzz run never needs it.
"""
import hashlib
import pathlib
import shutil
import struct

HERE = pathlib.Path(__file__).resolve().parent
CORPUS = HERE / "corpus"


def u16(text):
    return text.encode("utf-16-le", "surrogatepass")


def write(target, name, data):
    folder = CORPUS / target
    folder.mkdir(parents=True, exist_ok=True)
    safe = "".join(c if c.isalnum() or c in "-_" else "_" for c in name)[:40]
    digest = hashlib.sha1(data).hexdigest()[:8]
    (folder / f"{safe}-{digest}").write_bytes(data)


# Locale indices of each target, in the order the target builds them.
PARSE_LOCALES = {"C": ".", "en_US": ".", "de_DE": ",", "fa_IR": "\u066b"}
FRACTION_LOCALES = {"C": ".", "en_US": ".", "de_DE": ",", "fr_FR": ",", "fa_IR": "\u066b", "ar_EG": "\u066b"}
FILTER_LOCALES = ["C", "en_US", "de_DE", "fa_IR"]

# Channel and opacity texts in point notation; "." is put into each
# locale's separator.
NUMBERS = [
    "128", "1", "64", "255", "0", "50", "7", "100", "255.01", "0.5", "0.4", ".5", "5.", "1E2",
    "-5", "-0", "1e400", "1e-400", " 12 ", "+3", "127.5", "128.5", "-0.0196", "0.00005",
    "", " ", "-", "a", ".", "1.2.3", "0x10", "nan", "inf", "1,000", "(5)", "5-", "1e", "e5",
    "\u0661\u0662", "\uff11", "1\u200e", "\u00a0" + "1", "\ud800", "\U0001d7ce",
    "179769313486231570814527423731704356798070567525844996598917476803157260780028538760589558632766878171540458953514382464234321326889464182768467546703537516986049910576551282076245490090389328944075868508455133942304583236903222948165808559332123348274797826204144723168738177180919299881250404026184124858368",
    "2.4703282292062327e-324", "2.4703282292062328e-324", "1.7976931348623158e308", "1.7976931348623159e308",
    "0.000000000000000000000000000000000000000000000000000000001e57",
]


def parse_number_seeds():
    for index, (locale, sep) in enumerate(PARSE_LOCALES.items()):
        for text in NUMBERS:
            write("parse_number", f"{locale}-{text}", bytes([index]) + u16(text.replace(".", sep)))


def fraction_text_seeds():
    # Byte 1: bit 0 pattern ("0.0000" = 0, "0.00" = 1), bits 1-3 the scale
    # index (255 = 0, 100 = 1, ...).
    channel, opacity = 0, 1 | (1 << 1)
    for index, (locale, sep) in enumerate(FRACTION_LOCALES.items()):
        for text in NUMBERS[:24]:
            write("fraction_text", f"{locale}-ch-{text}", bytes([index, channel]) + u16(text.replace(".", sep)))
            write("fraction_text", f"{locale}-op-{text}", bytes([index, opacity]) + u16(text.replace(".", sep)))
    for scale_index in range(2, 8):
        write("fraction_text", f"scale{scale_index}", bytes([0, scale_index << 1]) + u16("1e308"))


# (text, caret) rows of the filter's worked results.
POINT_ROWS = [
    ("1,2.3", 5), ("12,34,56", 8), ("1.2.34", 2), ("1.23.", 5), ("1..2", 2), ("5.2.7", 0),
    ("0,5000", 0), ("0,5000", 6), (".", 1), (".5", 0), ("1a2", 3), ("1a2", 1), ("-0.0196", 7),
    ("x.y", 3), ("ab", 2), ("1^2.3", 0), ("1^2.5", 2), ("", 0), ("0.5020", 0), ("1^2^3", 5),
]
CARET_ROWS = [("1,2^3", 5), ("^5", 2), ("1^2^3", 0), ("1,2", 3)]


def clean_text_seeds():
    for loc, locale in enumerate(FILTER_LOCALES):
        for text, caret in POINT_ROWS:
            mode = 0 | (0 << 2) | (loc << 4)  # ".", digits + ".", caret modulo
            write("clean_text", f"{locale}-pt-{text}-{caret}", bytes([mode]) + struct.pack("<H", caret) + u16(text))
        for text, caret in CARET_ROWS:
            mode = 1 | (1 << 2) | (loc << 4)  # "^", digits only
            write("clean_text", f"{locale}-ca-{text}-{caret}", bytes([mode]) + struct.pack("<H", caret) + u16(text))
        mode = 2 | (loc << 4)  # "," as the delimiter
        write("clean_text", f"{locale}-comma", bytes([mode]) + struct.pack("<H", 3) + u16("1.2,3"))
    # The 16-bit scan limit: a literal caret at and around 32,767.
    for caret in (32766, 32767, 32768, 65535):
        write("clean_text", f"literal-{caret}", bytes([0x40]) + struct.pack("<H", caret) + u16("1.2"))
    # A delimiter and an allowed set read from the input.
    write("clean_text", "own-sets", bytes([3 | (2 << 2)]) + struct.pack("<H", 4) + u16("\u066b") + bytes([3]) +
          u16("0\u066b1") + u16("1\u066b0,1a"))


def clean_text_long_seeds():
    # Caret field 128 puts the caret at the end of the filler run; filler
    # byte 128 makes that run 32,766 long.
    for caret_field in (0, 127, 128, 129, 130, 300):
        for text in ("", ",5", ".1.", "a", "1^2"):
            write("clean_text_long", f"{caret_field}-{text}",
                  bytes([0]) + struct.pack("<H", caret_field) + bytes([128]) + u16(text))
    write("clean_text_long", "caret-delim", bytes([1 | (1 << 2)]) + struct.pack("<H", 129) + bytes([127]) + u16("^5"))


# (text, sMatch, LastPos) rows of InstrPrev's worked results.
INSTR_ROWS = [
    ("1.2.3", ".", 3), ("1.2.3", ".", 5), ("1.2.3", ".", 1), ("1.2.3", ".", 0), ("1.2.3", ".", 99),
    ("ab..", "..", 3), ("ab..", "..", 4), ("abAB", "b", 4),
]


def instr_prev_seeds():
    for loc, locale in enumerate(FILTER_LOCALES):
        for text, match, last in INSTR_ROWS:
            mode = loc | (len(match) << 2) | (1 << 4)  # LastPos as is
            write("instr_prev", f"{locale}-{text}-{match}-{last}",
                  bytes([mode]) + struct.pack("<H", last) + u16(match) + u16(text))
    write("instr_prev", "negative", bytes([(1 << 2) | (2 << 4)]) + struct.pack("<H", 0) + u16(".") + u16("1.2"))
    write("instr_prev", "empty-match", bytes([0 | (1 << 4)]) + struct.pack("<H", 3) + u16("1.2"))


DICTIONARY = [
    "0", "1", "5", "9", ".", ",", "^", "-", "+", " ", "e", "E", "a", "A", "\u066b", "\u066c", "\u060c",
    "\uff0c", "\uff0e", "\uff10", "\u0660", "\u06f5", "\u200e", "\u200f", "\u200b", "\u00ad", "\u00a0",
    "\u202f", "\ud800", "\udc00", "\U0001d7ce", "\t", "\x00", "255", "100", "1e400", "0.0000",
]


def dictionary():
    lines = ["# UTF-16LE tokens for the fuzz targets (written by make_corpus.py)."]
    for i, token in enumerate(DICTIONARY):
        escaped = "".join(f"\\x{b:02X}" for b in u16(token))
        lines.append(f'tok{i}="{escaped}"')
    (HERE / "utf16.dict").write_text("\n".join(lines) + "\n")


def main():
    if CORPUS.exists():
        shutil.rmtree(CORPUS)
    parse_number_seeds()
    fraction_text_seeds()
    clean_text_seeds()
    clean_text_long_seeds()
    instr_prev_seeds()
    dictionary()
    for target in sorted(CORPUS.iterdir()):
        print(f"{target.name}: {len(list(target.iterdir()))} seeds")


if __name__ == "__main__":
    main()
