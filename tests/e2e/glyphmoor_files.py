# SPDX-License-Identifier: GPL-3.0-or-later
"""Glyphmoor's files as the end-to-end test reads them, written from the file
layouts alone: the reference data, chars.dat and settings.dat, and the rules
that decide which runewords the window lists."""

import struct

RUNE_ROWS = 33
ITEM_ROWS = 18
RUNEWORD_CAPACITY = 168
RECORD_SIZE = 71
SETTINGS_SIZE = 28

MELEE, MISSILE, DEFENCE = 1, 2, 3
ALL_RUNES, ANY_RUNE, IGNORE_RUNES = 1, 2, 3
SELECTED_CHARACTER, ANY_CHARACTER, IGNORE_CHARACTERS = 1, 2, 3


class _Reader:
    def __init__(self, data):
        self.data = data
        self.at = 3  # past the date

    def done(self):
        return self.at >= len(self.data)

    def byte(self):
        value = struct.unpack_from("b", self.data, self.at)[0]
        self.at += 1
        return value

    def text(self, ends):
        start = self.at
        while self.at < len(self.data) and self.data[self.at] not in ends:
            self.at += 1
        value = self.data[start:self.at]
        end = self.data[self.at] if self.at < len(self.data) else None
        self.at += 1
        return value, end


class Runeword:
    def __init__(self, name, item_types, runes, requirement):
        self.name = name
        self.item_types = item_types
        self.runes = runes
        self.requirement = requirement


class ReferenceData:
    """runes.dat, items.dat and runewords.dat of one folder."""

    def __init__(self, folder):
        def read(name):
            with open("%s/%s" % (folder, name), "rb") as f:
                return f.read()

        self.rune_names, self.rune_levels = [], []
        r = _Reader(read("runes.dat"))
        while len(self.rune_names) < RUNE_ROWS and not r.done():
            self.rune_levels.append(r.byte())
            self.rune_names.append(r.text(b"\x01")[0])
            r.text(b"\x00")

        self.item_names, self.item_sockets, self.item_categories = [], [], []
        r = _Reader(read("items.dat"))
        while len(self.item_names) < ITEM_ROWS and not r.done():
            self.item_sockets.append(r.byte())
            self.item_categories.append(r.byte())
            self.item_names.append(r.text(b"\x00")[0])

        self.runewords = []
        r = _Reader(read("runewords.dat"))
        while len(self.runewords) < RUNEWORD_CAPACITY and not r.done():
            name = r.text(b"\x01")[0]
            item_types = []
            while True:
                token, end = r.text(b"\x01\x02")
                item_types += self._expand(token)
                if end != 0x02:
                    break
            runes = []
            while True:
                rune, end = r.text(b"\x01\x03")
                runes.append(self.rune_names.index(rune) if rune in self.rune_names else -1)
                if end != 0x03:
                    break
            r.text(b"\x00")
            levels = [self.rune_levels[i] for i in runes if i >= 0]
            self.runewords.append(Runeword(name, item_types, runes, max(levels) if levels else 0))

    def _expand(self, token):
        groups = {b"Weapons": (MELEE, MISSILE), b"Melee Weapons": (MELEE,), b"Missile Weapons": (MISSILE,)}
        if token in groups:
            return [i for i, c in enumerate(self.item_categories) if c in groups[token]]
        return [self.item_names.index(token) if token in self.item_names else -1]

    def listed(self, runes, items, rules, levels, selected):
        """Indexes of the runewords listed for these ticks, in list order.

        rules: (rune rule, character rule, lower bound, upper bound, bounds ignored);
        levels: the roster's levels; selected: the selected character."""
        rune_rule, character_rule, over, under, ignore_bounds = rules
        if not runes or not items:
            return []
        shown = []
        for index, word in enumerate(self.runewords):
            need = word.requirement
            if not ignore_bounds and not over < need < under:
                continue
            if character_rule == SELECTED_CHARACTER and levels[selected] < need:
                continue
            if character_rule == ANY_CHARACTER and not any(level >= need for level in levels):
                continue
            matches = sum(1 for r in word.runes if r in runes)
            if rune_rule == ALL_RUNES and matches != len(word.runes):
                continue
            if rune_rule == ANY_RUNE and matches == 0:
                continue
            if not any(t in items for t in word.item_types):
                continue
            if not any(self.item_categories[s] == self.item_categories[a] and self.item_sockets[s] >= len(word.runes)
                       for s in sorted(items) for a in word.item_types if a >= 0):
                continue
            shown.append(index)
        return shown


class Character:
    def __init__(self, record, k):
        if len(record) != RECORD_SIZE:
            raise ValueError("record %d has %d bytes, not %d" % (k, len(record), RECORD_SIZE))
        self.slot = record[0]
        self.clvl = record[1]
        field = record[2:17]
        self.name = field.split(b"\x02", 1)[0]
        self.padding_ok = field[len(self.name):] == b"\x02" * (15 - len(self.name))
        self.rune_ticks = list(record[17:50])
        self.item_ticks = list(record[50:68])
        self.highlighted_rune = record[68]
        self.highlighted_item_type = record[69]
        self.highlighted_runeword = record[70]

    def ticked_runes(self):
        return {i for i, b in enumerate(self.rune_ticks) if b == 1}

    def ticked_items(self):
        return {i for i, b in enumerate(self.item_ticks) if b == 1}


def read_roster(path):
    with open(path, "rb") as f:
        data = f.read()
    if len(data) % RECORD_SIZE:
        raise ValueError("chars.dat has %d bytes, not a whole number of %d-byte records" % (len(data), RECORD_SIZE))
    return [Character(data[k * RECORD_SIZE:(k + 1) * RECORD_SIZE], k) for k in range(len(data) // RECORD_SIZE)]


class Settings:
    def __init__(self, path):
        with open(path, "rb") as f:
            data = f.read()
        if len(data) != SETTINGS_SIZE:
            raise ValueError("settings.dat has %d bytes, not %d" % (len(data), SETTINGS_SIZE))
        (self.rune_rule, self.character_rule, self.clvl_over, self.clvl_under) = struct.unpack_from("<4i", data, 0)
        self.ignore_clvl_limits = data[16] != 0
        self.info_kind, self.selected_character = struct.unpack_from("<2i", data, 20)
