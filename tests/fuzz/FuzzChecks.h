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

inline std::string Join(const std::vector<std::string>& parts, const std::string& between)
{
    std::string text;
    for (std::size_t i = 0; i < parts.size(); ++i)
        text += (i > 0 ? between : "") + parts[i];
    return text;
}

// The sizes the program builds its store with.
inline constexpr int Runes = 33;
inline constexpr int ItemTypes = 18;
inline constexpr int RunewordSlots = 168;
inline constexpr int RunesPerRuneword = 6;

// What any store filled by the readers must hold, whatever the files were.
// Without a runewords file read, the runeword table is its 168 empty slots.
inline void CheckStore(const DataStore& store, Problems& problems, bool runewordsRead = true)
{
    problems.Expect(store.GetRuneCount() == Runes, "the rune table does not have 33 records");
    problems.Expect(store.GetItemTypeCount() == ItemTypes, "the item table does not have 18 records");
    problems.Expect(store.GetRunewordCapacity() == RunewordSlots, "the runeword table lost its 168 slots");
    const int count = store.GetRunewordCount();
    problems.Expect(count >= 0 && count <= RunewordSlots, "runewordCount " + std::to_string(count));
    if (!runewordsRead) {
        problems.Expect(count == RunewordSlots, "runewordCount changed without a runewords file");
        for (int i = 0; i < RunewordSlots; ++i)
            problems.ExpectAt(reference::SameRecord(store.GetRuneword(i), Runeword{}), "runeword", i, "not empty");
    }

    for (int i = 0; i < Runes; ++i) {
        const Rune& rune = store.GetRune(i);
        problems.ExpectAt(rune.GetClvl() >= -128 && rune.GetClvl() <= 127, "rune", i, "clvl out of a byte");
        problems.ExpectAt(!HasByte(rune.GetName(), {0x01}), "rune", i, "name holds its end byte");
        problems.ExpectAt(!HasByte(rune.GetDescription(), {0x00, 0x02, 0x03}), "rune", i,
                          "description holds a marker byte");
    }
    for (int i = 0; i < ItemTypes; ++i) {
        const ItemType& type = store.GetItemType(i);
        problems.ExpectAt(type.GetCategory() >= 0 && type.GetCategory() <= 3, "item type", i, "category");
        problems.ExpectAt(type.GetMaxSockets() >= -128 && type.GetMaxSockets() <= 127, "item type", i,
                          "maxSockets out of a byte");
        problems.ExpectAt(!HasByte(type.GetName(), {0x00}), "item type", i, "name holds its end byte");
        problems.ExpectAt(type.IsWeapon() == (type.IsMeleeWeapon() || type.IsMissileWeapon()), "item type", i,
                          "weapon predicates disagree");
    }

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
        problems.ExpectAt(runeCount >= 1 && runeCount <= RunesPerRuneword, "runeword", i,
                          "rune count out of 1..6");
        problems.ExpectAt(itemCount >= 0 && itemCount <= ItemTypes, "runeword", i, "more than 18 item types");
        problems.ExpectAt(static_cast<int>(word.GetRuneNames().size()) == runeCount, "runeword", i,
                          "rune names and indices differ in number");
        problems.ExpectAt(!word.GetItemTokens().empty(), "runeword", i, "no item token");
        for (int r = 0; r < std::min(runeCount, RunesPerRuneword); ++r) {
            const int rune = word.GetRune(r);
            problems.ExpectAt(rune >= -1 && rune < Runes, "runeword", i, "rune index out of the table");
            if (static_cast<std::size_t>(r) < word.GetRuneNames().size())
                problems.ExpectAt(rune == store.FindRune(word.GetRuneNames()[static_cast<std::size_t>(r)]),
                                  "runeword", i, "rune index does not belong to its name");
        }
        for (int t = 0; t < std::min(itemCount, ItemTypes); ++t) {
            const int type = word.GetItemType(t);
            problems.ExpectAt(type >= -1 && type < ItemTypes, "runeword", i,
                              "item type index out of the table");
        }
        problems.ExpectAt(word.GetAllowedItemsText() == Join(word.GetItemTokens(), "/"), "runeword", i,
                          "allowedItemsText is not the tokens joined by '/'");
        problems.ExpectAt(!HasByte(word.GetName(), {0x01}), "runeword", i, "name holds its end byte");
        for (const std::string& token : word.GetItemTokens())
            problems.ExpectAt(!HasByte(token, {0x01, 0x02}), "runeword", i, "token holds a separator");
        for (const std::string& name : word.GetRuneNames())
            problems.ExpectAt(!HasByte(name, {0x01, 0x03}), "runeword", i, "rune name holds a separator");
        problems.ExpectAt(!HasByte(word.GetDescription(), {0x00, 0x04}), "runeword", i,
                          "description holds a marker byte");

        // What the lists and the filter ask of every runeword.
        const int requirement = word.ClvlRequirement();
        problems.ExpectAt(requirement >= 0 && requirement <= 127, "runeword", i, "clvl requirement");
        (void)word.RuneOrderText();
        (void)everything.MatchesRunes(word, AllRunes);
        (void)everything.MatchesRunes(word, AnyRune);
        (void)everything.HasCheckedItemType(word);
        (void)everything.FitsCheckedItemType(word);
        problems.ExpectAt(store.FindRuneword(word.GetName()) <= i, "runeword", i,
                          "FindRuneword passes over it");
    }
}

// A store with the made-up rune and item tables of the tests, for runewords.
inline void LoadTestTables(DataStore& store)
{
    store.ParseRunes(test::TestRunesFile());
    store.ParseItemTypes(test::TestItemsFile());
}

// Every record but a last one cut by the end of the file ends with a byte
// 0x00, so record i can only be read from a file holding i such bytes after
// its date; the records past that keep their defaults.
inline std::size_t RecordEnds(ByteView file)
{
    return file.size() <= 3 ? 0 : static_cast<std::size_t>(std::count(file.begin() + 3, file.end(), 0x00));
}

inline std::string CheckRunesFile(ByteView file)
{
    Problems problems;
    DataStore store(Runes, ItemTypes, RunewordSlots, RunesPerRuneword);
    store.ParseRunes(file);
    CheckStore(store, problems, false);
    const std::size_t ends = RecordEnds(file);
    for (int i = 0; i < Runes; ++i) {
        if (static_cast<std::size_t>(i) > ends || file.size() <= 3)
            problems.ExpectAt(store.GetRune(i) == Rune{}, "rune", i, "filled past the end of the file");
    }
    return problems.Text();
}

inline std::string CheckItemsFile(ByteView file)
{
    Problems problems;
    DataStore store(Runes, ItemTypes, RunewordSlots, RunesPerRuneword);
    store.ParseItemTypes(file);
    CheckStore(store, problems, false);
    const std::size_t ends = RecordEnds(file);
    for (int i = 0; i < ItemTypes; ++i) {
        if (static_cast<std::size_t>(i) > ends || file.size() <= 3)
            problems.ExpectAt(store.GetItemType(i) == ItemType{}, "item type", i,
                              "filled past the end of the file");
    }
    return problems.Text();
}

inline std::string CheckRunewordsFile(ByteView file)
{
    Problems problems;
    DataStore store(Runes, ItemTypes, RunewordSlots, RunesPerRuneword);
    LoadTestTables(store);
    store.ParseRunewords(file);
    CheckStore(store, problems);
    // Slots past the count are never filled.
    for (int i = store.GetRunewordCount(); i < RunewordSlots; ++i) {
        problems.ExpectAt(reference::SameRecord(store.GetRuneword(i), Runeword{}), "runeword slot", i,
                          "filled past the count");
        if (!reference::SameRecord(store.GetRuneword(i), Runeword{}))
            break;
    }
    return problems.Text();
}

// ---- chars.dat ----

inline const Message CorruptRosterMessage = CorruptFileMessage(RosterFileName);

// A record as the writer would give it: the bytes after the name's end in
// the name field are pad bytes. The reader ignores what stands there.
inline Bytes Canonical(ByteView record, std::size_t nameLength)
{
    Bytes out(record.begin(), record.end());
    for (std::size_t i = 2 + nameLength; i < 2 + static_cast<std::size_t>(MaxNameBytes); ++i)
        out[i] = 0x02;
    return out;
}

inline bool SameCharacter(const Character& a, const Character& b)
{
    return a.GetName() == b.GetName() && a.GetClvl() == b.GetClvl() && a.GetRuneTicks() == b.GetRuneTicks() &&
           a.GetItemTypeTicks() == b.GetItemTypeTicks() && a.GetHighlight(1) == b.GetHighlight(1) &&
           a.GetHighlight(2) == b.GetHighlight(2) && a.GetHighlight(3) == b.GetHighlight(3);
}

inline std::string CheckRosterFile(ByteView file)
{
    Problems problems;
    const Bytes original(file.begin(), file.end());
    test::TestIo t;
    t.files.files[RosterFileName] = original;
    Roster roster;
    LoadRoster(roster, t.io());

    const int whole = static_cast<int>(std::min<std::size_t>(original.size() / RecordSize, RosterSize));
    const int count = roster.characterCount;
    problems.Expect(count >= 0 && count <= whole, "characterCount " + std::to_string(count) + " of " +
                                                      std::to_string(whole) + " whole records");
    problems.Expect(t.files.files[RosterFileName] == original, "chars.dat was changed by loading it");
    if (count < whole) {
        problems.Expect(t.messages.shown.size() == 1 && t.messages.shown[0] == CorruptRosterMessage,
                        "a bad record was not reported exactly once");
        problems.Expect(t.files.files.count(CorruptRosterCopyName) == 1 &&
                            t.files.files[CorruptRosterCopyName] == original,
                        "no exact copy of the corrupt file");
        Character probe(count);
        problems.Expect(probe.DecodeRecord(original) == std::optional<bool>(false),
                        "loading stopped at a record that is not bad");
    } else {
        problems.Expect(t.messages.shown.empty(), "a message for a file without a bad record");
        problems.Expect(t.files.files.size() == 1, "files written while loading a sound roster");
    }

    for (int k = 0; k < RosterSize; ++k) {
        const Character& c = roster.characters[static_cast<std::size_t>(k)];
        problems.ExpectAt(c.GetSlot() == k, "slot", k, "slot number changed");
        if (k >= count) {
            Character free(k);
            problems.ExpectAt(SameCharacter(c, free), "slot", k, "not free past the count");
            continue;
        }
        const std::string& name = c.GetName();
        problems.ExpectAt(!name.empty() && name.size() <= static_cast<std::size_t>(MaxNameBytes), "character",
                          k, "name length out of 1..15");
        problems.ExpectAt(!HasByte(name, {0x02}), "character", k, "name holds the pad byte");
        problems.ExpectAt(c.GetClvl() >= 1 && c.GetClvl() <= 99, "character", k, "clvl");
        problems.ExpectAt(c.GetHighlight(1) >= 0 && c.GetHighlight(1) < RuneTickCount, "character", k,
                          "rune");
        problems.ExpectAt(c.GetHighlight(2) >= 0 && c.GetHighlight(2) < ItemTickCount, "character", k,
                          "item");
        problems.ExpectAt(c.GetHighlight(3) >= 0 && c.GetHighlight(3) < RunewordCapacity, "character", k,
                          "runeword");
        const auto record = c.EncodeRecord();
        problems.ExpectAt(record.has_value(), "character", k, "a loaded character cannot be written");
        if (record) {
            const ByteView found(original.data() + static_cast<std::size_t>(k) * RecordSize, RecordSize);
            problems.ExpectAt(Bytes(record->begin(), record->end()) == Canonical(found, name.size()),
                              "character", k, "written back, the record is not the one read");
        }
    }

    // What is written back loads back the same, without a message.
    test::TestIo again;
    problems.Expect(RewriteRoster(roster, again.io()), "the loaded roster cannot be rewritten");
    problems.Expect(again.files.files[RosterFileName].size() == static_cast<std::size_t>(count) * RecordSize,
                    "the rewritten roster has the wrong size");
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

// ---- settings.dat ----

inline std::int32_t LittleEndian(const Bytes& bytes, std::size_t at)
{
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i)
        value |= static_cast<std::uint32_t>(bytes[at + i]) << (8 * i);
    return static_cast<std::int32_t>(value);
}

// The first byte is the number of characters in the roster, the rest is the
// file.
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

    // The file's bytes over the defaults (0 for the index), as the reader
    // sees them.
    Bytes seen = EncodeSettings(FilterSettings{}, DefaultInfoKind, 0);
    std::copy_n(original.begin(), std::min(original.size(), seen.size()), seen.begin());
    auto in = [](std::int32_t v, std::int32_t low, std::int32_t high) { return v >= low && v <= high; };
    const std::int32_t readIndex = LittleEndian(seen, 24);
    const bool valid = in(LittleEndian(seen, 0), 1, 3) && in(LittleEndian(seen, 4), 1, 3) &&
                       in(LittleEndian(seen, 8), 0, 100) && in(LittleEndian(seen, 12), 0, 100) &&
                       in(LittleEndian(seen, 20), 1, 3) && in(readIndex, 0, 255) &&
                       readIndex < characterCount;

    problems.Expect(in(filter.runeRule, 1, 3) && in(filter.characterRule, 1, 3), "a rule out of range");
    problems.Expect(in(filter.clvlOver, 0, 100) && in(filter.clvlUnder, 0, 100), "a clvl bound out of range");
    problems.Expect(in(infoKind, 1, 3), "infoKind " + std::to_string(infoKind));
    if (valid) {
        problems.Expect(t.messages.shown.empty(), "a valid file was reported");
        problems.Expect(index == readIndex, "the index read is not the file's");
        problems.Expect(t.files.files.count(SettingsFileName) == 1 &&
                            t.files.files[SettingsFileName] == original,
                        "a valid file was changed");
        problems.Expect(filter.ignoreClvlLimits == (seen[16] != 0), "the flag byte is not taken as read");
        // Saved and read again, the same values come back.
        test::TestIo again;
        problems.Expect(SaveSettings(filter, infoKind, index, again.io()), "the values cannot be saved");
        FilterSettings reread;
        InfoKind rereadInfoKind = RuneInfo;
        problems.Expect(LoadSettings(reread, rereadInfoKind, characterCount, again.io()) == index &&
                            reread == filter && rereadInfoKind == infoKind && again.messages.shown.empty(),
                        "saved settings do not read back the same");
    } else {
        problems.Expect(t.messages.shown.size() == 1 &&
                            t.messages.shown[0] == CorruptFileMessage(SettingsFileName),
                        "bad content was not reported exactly once");
        problems.Expect(t.files.files.count(SettingsFileName) == 0, "bad content was not deleted");
        problems.Expect(filter == FilterSettings{} && infoKind == DefaultInfoKind && index == 0,
                        "bad content did not restore the defaults");
    }
    return problems.Text();
}

// ---- Round trip of everything the readers accept ----

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
    for (int i = 0; i < Runes; ++i)
        problems.ExpectAt(second.GetRune(i) == first.GetRune(i), "rune", i, "differs after a round trip");
    for (int i = 0; i < ItemTypes; ++i)
        problems.ExpectAt(second.GetItemType(i) == first.GetItemType(i), "item type", i,
                          "differs after a round trip");
    problems.Expect(second.GetRunewordCount() == first.GetRunewordCount(),
                    "runewordCount " + std::to_string(first.GetRunewordCount()) + " became " +
                        std::to_string(second.GetRunewordCount()));
    for (int i = 0; i < std::min(first.GetRunewordCount(), second.GetRunewordCount()); ++i)
        problems.ExpectAt(reference::SameRecord(second.GetRuneword(i), first.GetRuneword(i)), "runeword", i,
                          "differs after a round trip");

    problems.Expect(second.WriteRunes(dateOf(runes)) == runes, "runes.dat written twice differs");
    problems.Expect(second.WriteItemTypes(dateOf(items)) == items, "items.dat written twice differs");
    problems.Expect(second.WriteRunewords(dateOf(runewords)) == runewords,
                    "runewords.dat written twice differs");

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
