// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/Bytes.h"
#include "core/DataStore.h"

#include <string>
#include <vector>

namespace glyphmoor::tools {

inline const std::string RunesText = "runes.txt";
inline const std::string ItemsText = "items.txt";
inline const std::string RunewordsText = "runewords.txt";

// The tables between the text source and the .dat files. Texts are
// Windows-1252 bytes. A description is in the form the core writers take: CR
// LF for each line break, plus the file's own line-break bytes (0x02 and 0x03
// in runes, 0x04 in runewords) where the text asks for them by escape, so that
// any line-break bytes a .dat file holds can be written back as they were.
// `where` names the entry's place for messages: a text line or a .dat record.
struct RuneEntry {
    std::string where;
    std::string name;
    int clvl = 0;
    std::string description;
};

struct ItemEntry {
    std::string where;
    std::string name;
    int maxSockets = 0;
    int category = 1; // a text without a valid category is refused by its parser
};

struct RunewordEntry {
    std::string where;
    std::string name;
    std::vector<std::string> itemTokens;
    std::vector<std::string> runeNames;
    std::string description;
};

template <typename Entry>
struct Table {
    std::string where; // of the date
    DataFileDate date;
    std::vector<Entry> entries;
};

using RuneTable = Table<RuneEntry>;
using ItemTable = Table<ItemEntry>;
using RunewordTable = Table<RunewordEntry>;

struct DataSet {
    RuneTable runes;
    ItemTable items;
    RunewordTable runewords;
};

// The three text sources, UTF-8.
struct TextFiles {
    std::string runes;
    std::string items;
    std::string runewords;
};

// The bytes of the three .dat files.
struct DatFiles {
    Bytes runes;
    Bytes items;
    Bytes runewords;
};

} // namespace glyphmoor::tools
