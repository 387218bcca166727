// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/Character.h"

#include "core/MessageFormat.h"

namespace glyphmoor {

namespace {
constexpr std::uint8_t NamePad = 0x02;
constexpr std::size_t TicksOffset = 2 + MaxNameBytes;
} // namespace

void Character::Clear()
{
    name.clear();
    clvl = 0;
    runeTicks.fill(false);
    itemTypeTicks.fill(false);
    highlightedRune = highlightedItemType = highlightedRuneword = -1;
}

void Character::Assign(const Character& other)
{
    name = other.name;
    clvl = other.clvl;
    runeTicks = other.runeTicks;
    itemTypeTicks = other.itemTypeTicks;
    highlightedRune = other.highlightedRune;
    highlightedItemType = other.highlightedItemType;
    highlightedRuneword = other.highlightedRuneword;
}

void Character::SetNameAndClvl(std::string newName, int newClvl)
{
    name = std::move(newName);
    clvl = newClvl;
}

std::string Character::GetClvlText() const
{
    return FormatMessage("%1!i!", {clvl});
}

void Character::SetHighlights(int rune, int itemType, int runeword)
{
    if (rune != -1)
        highlightedRune = rune;
    if (itemType != -1)
        highlightedItemType = itemType;
    if (runeword != -1)
        highlightedRuneword = runeword;
}

int Character::GetHighlight(int kind) const
{
    switch (kind) {
    case HighlightedRune:
        return highlightedRune;
    case HighlightedItemType:
        return highlightedItemType;
    case HighlightedRuneword:
        return highlightedRuneword;
    default:
        return 0;
    }
}

std::optional<std::array<std::uint8_t, RecordSize>> Character::EncodeRecord() const
{
    // Refuse what Load would call a bad record: a corrupt record would cost
    // every character after it at the next start.
    if (name.empty() || name.size() > static_cast<std::size_t>(MaxNameBytes) ||
        static_cast<std::uint8_t>(name[0]) == NamePad || clvl < 1 || clvl > 99)
        return std::nullopt;
    // A highlight outside its list (-1 for none) is stored as row 0, as for a
    // new character.
    auto highlight = [](int value, int rows) {
        return static_cast<std::uint8_t>(value >= 0 && value < rows ? value : 0);
    };
    std::array<std::uint8_t, RecordSize> record{};
    record[0] = static_cast<std::uint8_t>(slot);
    record[1] = static_cast<std::uint8_t>(clvl);
    for (std::size_t i = 0; i < static_cast<std::size_t>(MaxNameBytes); ++i)
        record[2 + i] = i < name.size() ? static_cast<std::uint8_t>(name[i]) : NamePad;
    std::size_t pos = TicksOffset;
    for (const bool tick : runeTicks)
        record[pos++] = tick ? 1 : 0;
    for (const bool tick : itemTypeTicks)
        record[pos++] = tick ? 1 : 0;
    record[pos++] = highlight(highlightedRune, RuneCount);
    record[pos++] = highlight(highlightedItemType, ItemTypeCount);
    record[pos] = highlight(highlightedRuneword, RunewordCapacity);
    return record;
}

std::optional<bool> Character::DecodeRecord(ByteView file)
{
    const std::size_t start = static_cast<std::size_t>(slot) * RecordSize;
    if (file.size() / RecordSize <= static_cast<std::size_t>(slot))
        return std::nullopt;
    const ByteView record = file.subspan(start, RecordSize);

    auto bad = [this] {
        Clear();
        return false;
    };
    if (record[0] != slot)
        return bad();
    const int readClvl = record[1];
    if (readClvl < 1 || readClvl > 99)
        return bad();
    std::string readName;
    for (std::size_t i = 0; i < static_cast<std::size_t>(MaxNameBytes) && record[2 + i] != NamePad; ++i)
        readName += static_cast<char>(record[2 + i]);
    if (readName.empty())
        return bad();

    RuneTicks readRunes{};
    ItemTypeTicks readItems{};
    std::size_t pos = TicksOffset;
    for (bool& tick : readRunes) {
        if (record[pos] > 1)
            return bad();
        tick = record[pos++] == 1;
    }
    for (bool& tick : readItems) {
        if (record[pos] > 1)
            return bad();
        tick = record[pos++] == 1;
    }
    const int rune = record[pos++];
    const int itemType = record[pos++];
    const int runeword = record[pos];
    if (rune >= RuneCount || itemType >= ItemTypeCount || runeword >= RunewordCapacity)
        return bad();

    name = std::move(readName);
    clvl = readClvl;
    runeTicks = readRunes;
    itemTypeTicks = readItems;
    highlightedRune = rune;
    highlightedItemType = itemType;
    highlightedRuneword = runeword;
    return true;
}

} // namespace glyphmoor
