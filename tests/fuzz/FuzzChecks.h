// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What every reader must hold to, whatever bytes it is given. Shared by the
// fuzz targets (built with clang and libFuzzer) and by the regression test in
// tests/core, which replays the inputs the fuzzers once broke. Each check
// returns an empty text when all holds, otherwise one line per problem.

#include "core/Bytes.h"
#include "core/CheckedSelection.h"
#include "core/DataStore.h"
#include "core/Roster.h"
#include "core/Settings.h"
#include "ReferenceFilter.h"
#include "TestSupport.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace glyphmoor::fuzz {

class Problems {
public:
    void Expect(bool holds, std::string_view what)
    {
        if (!holds && lines.size() < 20)
            lines.emplace_back(what);
    }
    // The same for one record of a table; the text is only built on failure.
    void ExpectAt(bool holds, std::string_view table, int index, std::string_view what)
    {
        if (!holds && lines.size() < 20)
            lines.push_back(std::string(table) + " " + std::to_string(index) + ": " + std::string(what));
    }
    std::string Text() const
    {
        std::string text;
        for (const std::string& line : lines)
            text += line + "\n";
        return text;
    }

private:
    std::vector<std::string> lines;
};

// The inputs of the multi-file targets are the files one after another with
// this marker between them; missing parts are empty.
inline const std::string PartMarker = "\xFF\xFE\xFD";

inline std::vector<Bytes> SplitParts(ByteView input, std::size_t count)
{
    std::vector<Bytes> parts(count);
    const std::string_view text(reinterpret_cast<const char*>(input.data()), input.size());
    std::size_t start = 0;
    for (std::size_t i = 0; i < count && start <= text.size(); ++i) {
        std::size_t end = i + 1 < count ? text.find(PartMarker, start) : std::string_view::npos;
        if (end == std::string_view::npos)
            end = text.size();
        parts[i].assign(input.begin() + static_cast<std::ptrdiff_t>(start),
                        input.begin() + static_cast<std::ptrdiff_t>(end));
        start = end + PartMarker.size();
    }
    return parts;
}

inline bool HasByte(const std::string& text, std::initializer_list<int> bytes)
{
    return std::any_of(text.begin(), text.end(), [&](char c) {
        return std::find(bytes.begin(), bytes.end(), static_cast<unsigned char>(c)) != bytes.end();
    });
}

// The sizes the program builds its store with.
inline constexpr int Runes = 33;
inline constexpr int ItemTypes = 18;
inline constexpr int RunewordSlots = 168;
inline constexpr int RunesPerRuneword = 6;

// What any store filled by the readers must hold, whatever the files were:
// tables of their sizes, no separator byte left in a field, every index
// inside its table, and the filter's matchers safe on every runeword.
// Without a runewords file read, the runeword table is its 168 empty slots.
inline void CheckStore(const DataStore& store, Problems& problems, bool runewordsRead = true)
{
    problems.Expect(store.GetRuneCount() == Runes && store.GetItemTypeCount() == ItemTypes &&
                        store.GetRunewordCapacity() == RunewordSlots,
                    "a table changed its size");
    const int count = store.GetRunewordCount();
    problems.Expect(count >= 0 && count <= RunewordSlots, "runewordCount " + std::to_string(count));
    for (int i = 0; i < Runes; ++i)
        problems.ExpectAt(!HasByte(store.GetRune(i).GetName(), {0x01}) &&
                              !HasByte(store.GetRune(i).GetDescription(), {0x00, 0x02, 0x03}),
                          "rune", i, "holds a separator byte");
    for (int i = 0; i < ItemTypes; ++i)
        problems.ExpectAt(store.GetItemType(i).GetCategory() >= 0 && store.GetItemType(i).GetCategory() <= 3 &&
                              !HasByte(store.GetItemType(i).GetName(), {0x00}),
                          "item type", i, "category out of range or a separator byte in its name");

    std::vector<int> allRunes(Runes);
    std::vector<int> allItems(ItemTypes);
    for (int i = 0; i < Runes; ++i)
        allRunes[static_cast<std::size_t>(i)] = i;
    for (int i = 0; i < ItemTypes; ++i)
        allItems[static_cast<std::size_t>(i)] = i;
    const CheckedSelection everything(store, allRunes, allItems);
    for (int i = 0; runewordsRead && i < std::clamp(count, 0, RunewordSlots); ++i) {
        const Runeword& word = store.GetRuneword(i);
        const int runeCount = word.GetRuneCount();
        const int itemCount = word.GetItemTypeCount();
        problems.ExpectAt(runeCount >= 1 && runeCount <= RunesPerRuneword && itemCount >= 0 &&
                              itemCount <= ItemTypes && !word.GetItemTokens().empty(),
                          "runeword", i, "rune or item count out of range");
        for (int r = 0; r < std::min(runeCount, RunesPerRuneword); ++r)
            problems.ExpectAt(word.GetRune(r) >= -1 && word.GetRune(r) < Runes, "runeword", i, "rune index");
        for (int t = 0; t < std::min(itemCount, ItemTypes); ++t)
            problems.ExpectAt(word.GetItemType(t) >= -1 && word.GetItemType(t) < ItemTypes, "runeword", i,
                              "item type index");
        problems.ExpectAt(!HasByte(word.GetName(), {0x01}) && !HasByte(word.GetDescription(), {0x00, 0x04}),
                          "runeword", i, "holds a separator byte");
        problems.ExpectAt(word.ClvlRequirement() >= 0 && word.ClvlRequirement() <= 127, "runeword", i,
                          "clvl requirement");
        (void)word.RuneOrderText();
        (void)everything.MatchesRunes(word, AllRunes);
        (void)everything.MatchesRunes(word, AnyRune);
        (void)everything.FitsCheckedItemType(word);
    }
}

// Every record but a last one cut by the end of the file ends with a byte
// 0x00, so record i can only be read from a file holding i such bytes after
// its date; the records past that keep their defaults.
template <typename Record, typename Get>
void CheckDefaultsPastTheEnd(ByteView file, int size, Get get, const char* what, Problems& problems)
{
    const std::size_t ends =
        file.size() <= 3 ? 0 : static_cast<std::size_t>(std::count(file.begin() + 3, file.end(), 0x00));
    for (int i = 0; i < size; ++i) {
        if (static_cast<std::size_t>(i) > ends || file.size() <= 3)
            problems.ExpectAt(get(i) == Record{}, what, i, "filled past the end of the file");
    }
}

inline std::string CheckRunesFile(ByteView file)
{
    Problems problems;
    DataStore store(Runes, ItemTypes, RunewordSlots, RunesPerRuneword);
    store.ParseRunes(file);
    CheckStore(store, problems, false);
    CheckDefaultsPastTheEnd<Rune>(file, Runes, [&](int i) { return store.GetRune(i); }, "rune", problems);
    return problems.Text();
}

inline std::string CheckItemsFile(ByteView file)
{
    Problems problems;
    DataStore store(Runes, ItemTypes, RunewordSlots, RunesPerRuneword);
    store.ParseItemTypes(file);
    CheckStore(store, problems, false);
    CheckDefaultsPastTheEnd<ItemType>(file, ItemTypes, [&](int i) { return store.GetItemType(i); }, "item type",
                                      problems);
    return problems.Text();
}

inline std::string CheckRunewordsFile(ByteView file)
{
    Problems problems;
    DataStore store(Runes, ItemTypes, RunewordSlots, RunesPerRuneword);
    store.ParseRunes(test::TestRunesFile());
    store.ParseItemTypes(test::TestItemsFile());
    store.ParseRunewords(file);
    CheckStore(store, problems);
    for (int i = std::max(store.GetRunewordCount(), 0); i < RunewordSlots; ++i)
        problems.ExpectAt(reference::SameRecord(store.GetRuneword(i), Runeword{}), "runeword slot", i,
                          "filled past the count");
    return problems.Text();
}

inline bool SameCharacter(const Character& a, const Character& b)
{
    return a.GetName() == b.GetName() && a.GetClvl() == b.GetClvl() && a.GetRuneTicks() == b.GetRuneTicks() &&
           a.GetItemTypeTicks() == b.GetItemTypeTicks() && a.GetHighlight(1) == b.GetHighlight(1) &&
           a.GetHighlight(2) == b.GetHighlight(2) && a.GetHighlight(3) == b.GetHighlight(3);
}

// Loading never changes chars.dat; it stops at the first bad record, says so
// once and keeps an exact copy; what it loaded is written back and loads
// back the same.
inline std::string CheckRosterFile(ByteView file)
{
    Problems problems;
    const Bytes original(file.begin(), file.end());
    test::TestIo t;
    t.files.files[RosterFileName] = original;
    Roster roster;
    LoadRoster(roster, t.io());

    const int whole = static_cast<int>(std::min<std::size_t>(original.size() / RecordSize, RosterSize));
    // The copy holds what the format can: bytes past the last slot are never read.
    const Bytes readable(original.begin(),
                         original.begin() + static_cast<std::ptrdiff_t>(std::min(original.size(), RosterFileLimit)));
    const int count = roster.characterCount;
    problems.Expect(count >= 0 && count <= whole, "characterCount " + std::to_string(count));
    problems.Expect(t.files.files[RosterFileName] == original, "chars.dat was changed by loading it");
    if (count < whole)
        problems.Expect(t.messages.shown.size() == 1 && t.messages.shown[0] == CorruptFileMessage(RosterFileName) &&
                            t.files.files[CorruptRosterCopyName] == readable,
                        "a bad record without one message and an exact copy");
    else
        problems.Expect(t.messages.shown.empty() && t.files.files.size() == 1,
                        "a message or a file written for a sound roster");
    for (int k = 0; k < RosterSize; ++k) {
        const Character& c = roster.characters[static_cast<std::size_t>(k)];
        problems.ExpectAt(c.GetSlot() == k, "slot", k, "slot number changed");
        if (k >= count) {
            problems.ExpectAt(SameCharacter(c, Character(k)), "slot", k, "not free past the count");
            continue;
        }
        problems.ExpectAt(!c.GetName().empty() && c.GetName().size() <= static_cast<std::size_t>(MaxNameBytes) &&
                              !HasByte(c.GetName(), {0x02}) && c.GetClvl() >= 1 && c.GetClvl() <= 99 &&
                              c.GetHighlight(1) >= 0 && c.GetHighlight(1) < RuneTickCount &&
                              c.GetHighlight(2) >= 0 && c.GetHighlight(2) < ItemTickCount &&
                              c.GetHighlight(3) >= 0 && c.GetHighlight(3) < RunewordCapacity,
                          "character", k, "a field out of range");
    }

    test::TestIo again;
    problems.Expect(RewriteRoster(roster, again.io()), "the loaded roster cannot be rewritten");
    Roster reloaded;
    LoadRoster(reloaded, again.io());
    problems.Expect(reloaded.characterCount == count && again.messages.shown.empty(),
                    "the rewritten roster does not load back whole");
    for (int k = 0; k < std::min(count, reloaded.characterCount); ++k)
        problems.ExpectAt(SameCharacter(roster.characters[static_cast<std::size_t>(k)],
                                        reloaded.characters[static_cast<std::size_t>(k)]),
                          "character", k, "differs after a rewrite");
    return problems.Text();
}

// The first byte is the number of characters in the roster, the rest is the
// file. A file is either taken as it is, or reported once, deleted and
// replaced by the defaults; what is taken saves and reads back the same.
inline std::string CheckSettingsFile(ByteView input)
{
    Problems problems;
    const int characterCount = input.empty() ? 0 : input[0];
    const Bytes original = input.empty() ? Bytes{} : Bytes(input.begin() + 1, input.end());
    test::TestIo t;
    t.files.files[SettingsFileName] = original;
    FilterSettings filter;
    InfoKind infoKind = DefaultInfoKind;
    const int index = LoadSettings(filter, infoKind, characterCount, t.io());

    auto in = [](int v, int low, int high) { return v >= low && v <= high; };
    problems.Expect(in(filter.runeRule, 1, 3) && in(filter.characterRule, 1, 3) && in(filter.clvlOver, 0, 100) &&
                        in(filter.clvlUnder, 0, 100) && in(infoKind, 1, 3),
                    "a value out of range");
    problems.Expect(index == 0 || in(index, 0, characterCount - 1), "index " + std::to_string(index));
    if (t.messages.shown.empty()) {
        problems.Expect(t.files.files[SettingsFileName] == original, "a file taken was changed");
        test::TestIo again;
        problems.Expect(SaveSettings(filter, infoKind, index, again.io()), "the values cannot be saved");
        FilterSettings reread;
        InfoKind rereadInfoKind = RuneInfo;
        problems.Expect(LoadSettings(reread, rereadInfoKind, characterCount, again.io()) == index &&
                            reread == filter && rereadInfoKind == infoKind && again.messages.shown.empty(),
                        "saved settings do not read back the same");
    } else {
        problems.Expect(t.messages.shown.size() == 1 && t.messages.shown[0] == CorruptFileMessage(SettingsFileName),
                        "bad content was not reported exactly once");
        problems.Expect(t.files.files.count(SettingsFileName) == 0, "bad content was not deleted");
        problems.Expect(filter == FilterSettings{} && infoKind == DefaultInfoKind && index == 0,
                        "bad content did not restore the defaults");
    }
    return problems.Text();
}

// The runes, item types and runewords of two stores are the same records.
inline void CompareStores(const DataStore& a, const DataStore& b, const char* after, Problems& problems)
{
    for (int i = 0; i < Runes; ++i)
        problems.ExpectAt(a.GetRune(i) == b.GetRune(i), "rune", i, after);
    for (int i = 0; i < ItemTypes; ++i)
        problems.ExpectAt(a.GetItemType(i) == b.GetItemType(i), "item type", i, after);
    problems.Expect(a.GetRunewordCount() == b.GetRunewordCount(), std::string("runewordCount ") + after);
    for (int i = 0; i < std::min(a.GetRunewordCount(), b.GetRunewordCount()); ++i)
        problems.ExpectAt(reference::SameRecord(a.GetRuneword(i), b.GetRuneword(i)), "runeword", i, after);
}

// Input: runes.dat, items.dat, runewords.dat and chars.dat, between
// PartMarker. Whatever the readers make of the files, the writers give files
// that read back as the same records, and writing those again gives the same
// bytes.
inline std::string CheckRoundTrip(ByteView input)
{
    Problems problems;
    const std::vector<Bytes> parts = SplitParts(input, 4);
    auto dateOf = [](const Bytes& file) { return ReadDataFileDate(file).value_or(DataFileDate{}); };
    DataStore first(Runes, ItemTypes, RunewordSlots, RunesPerRuneword);
    first.ParseRunes(parts[0]);
    first.ParseItemTypes(parts[1]);
    first.ParseRunewords(parts[2]);
    CheckStore(first, problems);
    const Bytes runes = first.WriteRunes(dateOf(parts[0]));
    const Bytes items = first.WriteItemTypes(dateOf(parts[1]));
    const Bytes runewords = first.WriteRunewords(dateOf(parts[2]));
    problems.Expect(dateOf(runes) == dateOf(parts[0]) && dateOf(items) == dateOf(parts[1]) &&
                        dateOf(runewords) == dateOf(parts[2]),
                    "a date changed on the way through the writers");
    DataStore second(Runes, ItemTypes, RunewordSlots, RunesPerRuneword);
    second.ParseRunes(runes);
    second.ParseItemTypes(items);
    second.ParseRunewords(runewords);
    CompareStores(first, second, "differs after a round trip", problems);
    problems.Expect(second.WriteRunes(dateOf(runes)) == runes && second.WriteItemTypes(dateOf(items)) == items &&
                        second.WriteRunewords(dateOf(runewords)) == runewords,
                    "a file written twice differs");
    return problems.Text() + CheckRosterFile(parts[3]);
}

// For the fuzz targets: a broken invariant is a crash.
inline void Require(const std::string& problems)
{
    if (problems.empty())
        return;
    std::fputs(problems.c_str(), stderr);
    std::fflush(stderr);
    __builtin_trap();
}

} // namespace glyphmoor::fuzz
