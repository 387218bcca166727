// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/Bytes.h"
#include "core/FileFormat.h"
#include "core/FileStore.h"
#include "core/Records.h"

#include <optional>
#include <string>
#include <vector>

namespace glyphmoor {

// The reference tables, in the order of ReferenceFileNames.
enum class ReferenceTable { Runes, ItemTypes, Runewords };
inline constexpr ReferenceTable ReferenceTables[] = {ReferenceTable::Runes, ReferenceTable::ItemTypes,
                                                     ReferenceTable::Runewords};
// The reference tables: runes, item types and runewords. Built once with its
// final sizes, filled by the readers and read-only afterwards. Runewords point
// back at their store, so a store is never copied or moved.
class DataStore {
public:
    DataStore(int runeCount, int itemTypeCount, int runewordCount, int maxRunesPerRuneword);
    virtual ~DataStore() = default;
    DataStore(const DataStore&) = delete;
    DataStore& operator=(const DataStore&) = delete;

    int GetRuneCount() const { return runeCount; }
    int GetItemTypeCount() const { return itemTypeCount; }
    int GetRunewordCount() const { return runewordCount; }
    int GetRunewordCapacity() const { return static_cast<int>(runewords.size()); }
    int GetMaxRunesPerRuneword() const { return maxRunesPerRuneword; }

    // No range check: callers pass 0 <= index < the table's count.
    const Rune& GetRune(int index) const { return runes[static_cast<std::size_t>(index)]; }
    const ItemType& GetItemType(int index) const { return itemTypes[static_cast<std::size_t>(index)]; }
    const Runeword& GetRuneword(int index) const { return runewords[static_cast<std::size_t>(index)]; }
    Rune& GetRune(int index) { return runes[static_cast<std::size_t>(index)]; }
    ItemType& GetItemType(int index) { return itemTypes[static_cast<std::size_t>(index)]; }
    Runeword& GetRuneword(int index) { return runewords[static_cast<std::size_t>(index)]; }

    // The lowest index whose name equals the given bytes exactly, or -1.
    int FindRune(const std::string& name) const;
    int FindItemType(const std::string& name) const;
    int FindRuneword(const std::string& name) const;

    // Readers of the three file formats, from the bytes of a whole file.
    void ParseRunes(ByteView file);
    void ParseItemTypes(ByteView file);
    void ParseRunewords(ByteView file);

    // The same from the table's file in the working folder; a file that does
    // not open is reported as "File not found" and leaves the table in
    // default records.
    bool Load(ReferenceTable table, Io io);

    // The exact inverse of the readers.
    Bytes WriteRunes(DataFileDate date) const;
    Bytes WriteItemTypes(DataFileDate date) const;
    Bytes WriteRunewords(DataFileDate date) const;

    // Sets the number of valid runewords (at most the capacity); for building
    // tables in memory.
    void SetRunewordCount(int count);

private:
    int runeCount;
    int itemTypeCount;
    int runewordCount;
    int maxRunesPerRuneword;
    std::vector<Rune> runes;
    std::vector<ItemType> itemTypes;
    std::vector<Runeword> runewords;
};

} // namespace glyphmoor
