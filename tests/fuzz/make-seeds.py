#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Writes the crafted seed files of the fuzz corpus (corpus/<target>/seed-*)
and, when a build has compiled the sample data set, adds it (sample-*).

    tests/fuzz/make-seeds.py [BUILD_DIR_WITH_data/]

The names are the made-up ones of tests/core/TestSupport.cpp."""
import pathlib
import struct
import sys

HERE = pathlib.Path(__file__).resolve().parent
CORPUS = HERE / "corpus"
MARK = b"\xff\xfe\xfd"  # PartMarker of FuzzChecks.h
DATE = bytes([11, 10, 1])

RUNES = ["Vur", "Kess", "Orna", "Pell", "Dask", "Mirr", "Zaro", "Quel", "Tesh", "Yon", "Brak",
         "Cind", "Fenn", "Gorv", "Hask", "Jurl", "Lusk", "Morv", "Nesh", "Prax", "Rill", "Stav",
         "Thrim", "Ulk", "Varn", "Wex", "Xil", "Yarr", "Zeph", "Aubr", "Bosk", "Cray", "Drom"]
ITEMS = [("Cudgels", 3, 1), ("Slings", 2, 2), ("Bucklers", 4, 3), ("Sabres", 5, 1), ("Longbows", 6, 2),
         ("Tabards", 3, 3), ("Billhooks", 6, 1), ("Coifs", 2, 3), ("Arbalests", 4, 2), ("Flails", 4, 1),
         ("Gauntlets", 1, 3), ("Darts", 1, 2), ("Hatchets", 2, 1), ("Greaves", 2, 3), ("Pikes", 6, 1),
         ("Cloaks", 3, 3), ("Girdles", 1, 3), ("Pavises", 5, 3)]


def rune(clvl, name, text):
    return bytes([clvl & 0xFF]) + name.encode("cp1252") + b"\x01" + text + b"\x00"


def item(sockets, category, name):
    return bytes([sockets & 0xFF, category & 0xFF]) + name.encode("cp1252") + b"\x00"


def runeword(name, tokens, runes, text):
    return (name.encode("cp1252") + b"\x01" + b"\x02".join(t.encode("cp1252") for t in tokens) + b"\x01" +
            b"\x03".join(r.encode("cp1252") for r in runes) + b"\x01" + text + b"\x00")


def character(slot, clvl, name, fill=None, ticks=(4,), items=(2,), highlights=(4, 2, 7)):
    field = name.encode("cp1252")
    field += (fill if fill is not None else b"\x02" * (15 - len(field)))
    record = bytes([slot & 0xFF, clvl & 0xFF]) + field[:15]
    record += bytes(1 if i in ticks else 0 for i in range(33))
    record += bytes(1 if i in items else 0 for i in range(18))
    return record + bytes(highlights)


def settings(count, values, length=28):
    rune_rule, char_rule, over, under, flag, info, index = values
    body = struct.pack("<iiiiB3xii", rune_rule, char_rule, over, under, flag, info, index)
    return bytes([count]) + body[:length]


runes_full = DATE + b"".join(rune(i + 1, n, b"About " + n.encode() + b".\x02In a weapon.\x03In armour.")
                             for i, n in enumerate(RUNES))
items_full = DATE + b"".join(item(s, c, n) for n, s, c in ITEMS)
runewords_some = DATE + b"".join([
    runeword("Marshglow", ["Melee Weapons", "Bucklers"], ["Vur", "Kess"], b"First line.\x04Second line."),
    runeword("Fenlight", ["Weapons"], ["Orna", "Pell", "Dask"], b""),
    runeword("Reedsong", ["Missile Weapons", "Coifs", "Nothing"], ["Zaro", "Unknown"], b"\x01\x02\x03"),
    runeword("Sevenfold", ["Pikes"], RUNES[:7], b"Seven runes, one too many."),
    runeword("Allsorts", ["Weapons", "Weapons", "Cloaks", "Melee Weapons"], ["Drom"], b"Too many items."),
])
seeds = {
    "runes": {
        "full": runes_full,
        "two": DATE + rune(20, "Vur", b"Line one\x02Line two") + rune(-5, "Kess", b"\x03\x03\x02\r\n"),
        "date-only": DATE,
        "cut-in-name": DATE + rune(7, "Orna", b"")[:4],
        "more-than-33": runes_full + rune(99, "Extra", b"never read"),
    },
    "items": {
        "full": items_full,
        "odd-categories": DATE + item(4, 1, "Cudgels") + item(-1, 7, "Odd") + item(127, 0, "") + item(2, 3, "Coifs"),
        "cut-after-sockets": DATE + item(3, 2, "Slings") + b"\x05",
        "empty": b"",
    },
    "runewords": {
        "some": runewords_some,
        "cut-in-runes": DATE + runeword("Whole", ["Sabres"], ["Vur"], b"") + b"Cut\x01Sabres\x01Vur\x03Kes",
        "cut-in-items": DATE + b"Cut\x01Melee Weap",
        "full-168": DATE + b"".join(runeword("W%d" % i, ["Weapons"], ["Vur"], b"") for i in range(170)),
    },
    "roster": {
        "three": b"".join(character(k, 10 + k, "Hero%d" % k) for k in range(3)),
        "bad-40th": b"".join(character(k, 20, "Hero%d" % k) for k in range(39)) + character(39, 100, "Bad")
                    + character(40, 20, "After"),
        "partial-tail": character(0, 99, "A" * 15) + character(1, 1, "B")[:30],
        "junk-after-pad": character(0, 50, "Ab", fill=b"\x02junk-bytes!!") + character(1, 5, "Cd"),
        "slot-mismatch": character(1, 20, "Wrong"),
    },
    "settings": {
        "valid": settings(3, (2, 1, 30, 100, 0, 1, 2)),
        "defaults": settings(1, (1, 3, 0, 100, 1, 3, 0)),
        "27-bytes": settings(3, (1, 3, 0, 100, 1, 3, 2), length=27),
        "index-too-high": settings(3, (1, 3, 0, 100, 1, 3, 5)),
        "bad-rule": settings(3, (0, 4, -1, 101, 7, 0, 0)),
        "empty-file": bytes([1]),
    },
    "roundtrip": {
        "tables": runes_full + MARK + items_full + MARK + runewords_some + MARK +
                  b"".join(character(k, 10 + k, "Hero%d" % k) for k in range(3)),
        "short": DATE + rune(1, "Vur", b"") + MARK + DATE + MARK + DATE + b"X\x01Weapons\x01Vur\x01" + MARK,
    },
    "datatext": {
        "small": b"date: 06.12.2026\nrune: Vur\nlevel: 3\n| One.\n|\n| Two \\x20\n" + MARK +
                 b"date: 06.12.2026\nitem: Cudgels\ncategory: melee\nsockets: 3\n" + MARK +
                 b"date: 06.12.2026\nruneword: Marsh\xc3\xa9\nitems: Weapons / Cudgels\nrunes: Vur Vur\n| Text.\n",
        "errors": b"rune: \\q\nlevel: x\n|\xff\n" + MARK + b"item: A\ncategory: 9\n" + MARK + b"runes: A\n",
    },
    "datadecompile": {
        "tables": runes_full + MARK + items_full + MARK + runewords_some,
    },
}

for target, files in seeds.items():
    folder = CORPUS / target
    folder.mkdir(parents=True, exist_ok=True)
    for name, content in files.items():
        (folder / ("seed-" + name)).write_bytes(content)

if len(sys.argv) > 1:
    data = pathlib.Path(sys.argv[1]) / "data"
    dat = {n: (data / (n + ".dat")).read_bytes() for n in ("runes", "items", "runewords")}
    for n in dat:
        (CORPUS / n / "sample").write_bytes(dat[n])
    both = dat["runes"] + MARK + dat["items"] + MARK + dat["runewords"]
    (CORPUS / "roundtrip" / "sample").write_bytes(both + MARK)
    (CORPUS / "datadecompile" / "sample").write_bytes(both)
    text = (HERE / "../../data").resolve()
    (CORPUS / "datatext" / "sample").write_bytes(
        MARK.join((text / (n + ".txt")).read_bytes() for n in ("runes", "items", "runewords")))
