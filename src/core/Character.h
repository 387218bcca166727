// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/Bytes.h"
#include "core/FileFormat.h"
#include "core/FileStore.h"

#include <array>
#include <optional>
#include <string>

namespace glyphmoor {

constexpr int RecordSize = 71;
constexpr int MaxNameBytes = 15;
// All of chars.dat the program can use: records from the 257th on are never
// read, so they are not read into memory either.
constexpr std::size_t RosterFileLimit = static_cast<std::size_t>(RosterSize) * RecordSize;

using RuneTicks = std::array<bool, RuneCount>;
using ItemTypeTicks = std::array<bool, ItemTypeCount>;

enum HighlightKind : int { HighlightedRune = 1, HighlightedItemType = 2, HighlightedRuneword = 3 };

// One slot of the roster and its 71-byte record in chars.dat.
class Character {
public:
    explicit Character(int slot = 0) : slot(slot) {}
    virtual ~Character() = default;
    Character(const Character&) = delete;
    Character& operator=(const Character&) = delete;

    int GetSlot() const { return slot; }
    void SetSlot(int value) { slot = value; } // only while the roster is built

    void Clear();
    void Assign(const Character& other);
    bool IsFree() const { return name.empty() && clvl == 0; }

    const std::string& GetName() const { return name; }
    int GetClvl() const { return clvl; }
    void SetNameAndClvl(std::string newName, int newClvl);
    void SetName(std::string value) { name = std::move(value); }
    void SetClvl(int value) { clvl = value; }
    std::string GetClvlText() const;

    bool GetRuneTick(int index) const { return runeTicks[static_cast<std::size_t>(index)]; }
    bool GetItemTypeTick(int index) const { return itemTypeTicks[static_cast<std::size_t>(index)]; }
    void SetRuneTick(int index, bool ticked) { runeTicks[static_cast<std::size_t>(index)] = ticked; }
    void SetItemTypeTick(int index, bool ticked) { itemTypeTicks[static_cast<std::size_t>(index)] = ticked; }
    const RuneTicks& GetRuneTicks() const { return runeTicks; }
    const ItemTypeTicks& GetItemTypeTicks() const { return itemTypeTicks; }

    // -1 leaves that value unchanged.
    void SetHighlights(int rune, int itemType, int runeword);
    // 1 rune, 2 item type, 3 runeword; any other number yields 0.
    int GetHighlight(int kind) const;

    // The record of this slot; nothing when it would not load back: a name
    // empty, longer than 15 bytes or starting with the pad byte 0x02, or a
    // Clvl outside 1..99. A highlight out of its range is written as 0.
    std::optional<std::array<std::uint8_t, RecordSize>> EncodeRecord() const;
    // Reads record `slot` of a chars.dat image. Nothing (and the slot stays as
    // it was) when the file holds no whole record there; false when the
    // record is bad, in which case the slot is cleared.
    std::optional<bool> DecodeRecord(ByteView file);

private:
    int slot;
    std::string name;
    int clvl = 0;
    RuneTicks runeTicks{};
    ItemTypeTicks itemTypeTicks{};
    int highlightedRune = -1;
    int highlightedItemType = -1;
    int highlightedRuneword = -1;
};

} // namespace glyphmoor
