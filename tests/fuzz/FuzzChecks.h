// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What every reader must hold to, whatever bytes it is given. Shared by the
// fuzz targets (clang and libFuzzer) and by FuzzRegressionTest in tests/core,
// which replays the kept crash inputs and the seed corpora. Each check returns
// one line per broken invariant: an empty text when all holds.

#include "ReferenceFilter.h"
#include "TestSupport.h"
#include "core/Roster.h"
#include "core/Settings.h"
#include "tools/DataChecker.h"
#include "tools/DataCompiler.h"
#include "tools/TextFormat.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace glyphmoor::fuzz {

using tools::MaxItemTypes;
using tools::MaxRunes;
using tools::MaxRunesPerRuneword;
using tools::MaxRunewords;

inline void Expect(std::string& problems, bool holds, const std::string& what)
{
    if (!holds)
        problems += what + "\n";
}

// The inputs of the multi-file targets are the files one after another with
// a marker between them; missing parts are empty.
inline std::vector<Bytes> SplitParts(ByteView input, std::size_t count)
{
    const std::string text(input.begin(), input.end());
    std::vector<Bytes> parts(count);
    for (std::size_t i = 0, start = 0; i < count && start <= text.size(); ++i) {
        const std::size_t end =
            i + 1 < count ? std::min(text.find("\xFF\xFE\xFD", start), text.size()) : text.size();
        parts[i] = test::BytesOf(text.substr(start, end - start));
        start = end + 3;
    }
    return parts;
}

// Whatever the files were, every count and index lies inside its table and
// the runeword slots past the count are empty. (A separator byte left in a
// field would not survive the round trip below.)
inline void CheckStore(const DataStore& store, std::string& problems)
{
    const int count = store.GetRunewordCount();
    bool sound = count >= 0 && count <= MaxRunewords;
    for (int i = 0; i < MaxItemTypes; ++i)
        sound = sound && store.GetItemType(i).GetCategory() >= 0 && store.GetItemType(i).GetCategory() <= 3;
    for (int i = 0; i < MaxRunewords; ++i) {
        const Runeword& word = store.GetRuneword(i);
        sound =
            sound && (i < count ? word.GetRuneCount() >= 1 && word.GetRuneCount() <= MaxRunesPerRuneword &&
                                      word.GetItemTypeCount() <= MaxItemTypes && !word.GetItemTokens().empty()
                                : reference::SameRecord(word, Runeword{}));
        for (int r = 0; sound && i < count && r < word.GetRuneCount(); ++r)
            sound = word.GetRune(r) >= -1 && word.GetRune(r) < MaxRunes;
        for (int t = 0; sound && i < count && t < word.GetItemTypeCount(); ++t)
            sound = word.GetItemType(t) >= -1 && word.GetItemType(t) < MaxItemTypes;
    }
    Expect(problems, sound,
           "a category, runeword count or index out of range, or a slot past the count filled");
}

// A store of the program's sizes that has read the three files.
struct Store : DataStore {
    Store(const Bytes& runes, const Bytes& items, const Bytes& runewords)
        : DataStore(MaxRunes, MaxItemTypes, MaxRunewords, MaxRunesPerRuneword)
    {
        ParseRunes(runes);
        ParseItemTypes(items);
        ParseRunewords(runewords);
    }
};

// The runes, item types and runewords of two stores are the same records.
inline bool SameStores(const DataStore& a, const DataStore& b)
{
    bool same = a.GetRunewordCount() == b.GetRunewordCount();
    for (int i = 0; i < MaxRunes; ++i)
        same = same && a.GetRune(i) == b.GetRune(i);
    for (int i = 0; i < MaxItemTypes; ++i)
        same = same && a.GetItemType(i) == b.GetItemType(i);
    for (int i = 0; same && i < a.GetRunewordCount(); ++i)
        same = reference::SameRecord(a.GetRuneword(i), b.GetRuneword(i));
    return same;
}

// Whatever the readers make of the three files, the store is sound, and the
// writers give files with the same dates that read back as the same records
// and give the same bytes when written again.
inline std::string CheckDataFiles(const Bytes& runes, const Bytes& items, const Bytes& runewords)
{
    std::string problems;
    const Store first(runes, items, runewords);
    CheckStore(first, problems);
    auto dateOf = [](const Bytes& file) { return ReadDataFileDate(file).value_or(DataFileDate{}); };
    const Bytes written[] = {first.WriteRunes(dateOf(runes)), first.WriteItemTypes(dateOf(items)),
                             first.WriteRunewords(dateOf(runewords))};
    Expect(problems,
           dateOf(written[0]) == dateOf(runes) && dateOf(written[1]) == dateOf(items) &&
               dateOf(written[2]) == dateOf(runewords),
           "a date changed on the way through the writers");
    const Store second(written[0], written[1], written[2]);
    Expect(problems, SameStores(first, second), "the records differ after a round trip");
    Expect(problems,
           second.WriteRunes(dateOf(runes)) == written[0] &&
               second.WriteItemTypes(dateOf(items)) == written[1] &&
               second.WriteRunewords(dateOf(runewords)) == written[2],
           "a file written twice differs");
    return problems;
}

// The targets of one .dat file (0 runes, 1 items, 2 runewords) read it beside
// the test tables.
template <int Which> std::string CheckDataFile(ByteView file)
{
    Bytes files[] = {test::TestRunesFile(), test::TestItemsFile(), {}};
    files[Which] = Bytes(file.begin(), file.end());
    return CheckDataFiles(files[0], files[1], files[2]);
}

// Loading never changes chars.dat; it stops at the first bad record, says so
// once and keeps a copy of what the format holds (bytes past the last slot are
// never read); what it loaded is written back and loads back the same.
inline std::string CheckRosterFile(ByteView file)
{
    std::string problems;
    const Bytes original(file.begin(), file.end());
    test::TestIo t;
    t.files.files[RosterFileName] = original;
    Roster roster;
    LoadRoster(roster, t.io());
    const int count = roster.characterCount;
    const int whole = static_cast<int>(std::min<std::size_t>(original.size() / RecordSize, RosterSize));
    const Bytes readable(original.begin(), original.begin() + static_cast<std::ptrdiff_t>(std::min(
                                                                  original.size(), RosterFileLimit)));
    Expect(problems, count >= 0 && count <= whole && t.files.files[RosterFileName] == original,
           "chars.dat changed by loading it, or characterCount " + std::to_string(count));
    Expect(problems,
           count < whole ? t.messages.shown == std::vector{CorruptFileMessage(RosterFileName)} &&
                               t.files.files[CorruptRosterCopyName] == readable
                         : t.messages.shown.empty() && t.files.files.size() == 1,
           "a bad record without one message and an exact copy, or a sound roster with them");
    bool free = true;
    for (int k = count; k < RosterSize; ++k)
        free = free &&
               roster.characters[static_cast<std::size_t>(k)].EncodeRecord() == Character(k).EncodeRecord();
    Expect(problems, free, "a slot past the count is not free");
    test::TestIo again;
    test::TestIo twice;
    Roster reloaded;
    const bool rewritten = RewriteRoster(roster, again.io());
    LoadRoster(reloaded, again.io());
    Expect(problems,
           rewritten && RewriteRoster(reloaded, twice.io()) && reloaded.characterCount == count &&
               again.messages.shown.empty() &&
               twice.files.files[RosterFileName] == again.files.files[RosterFileName],
           "the loaded roster does not write and load back the same");
    return problems;
}

// The first byte is the number of characters in the roster, the rest is the
// file. A file is either taken as it is, or reported once, deleted and
// replaced by the defaults; what is taken saves and reads back the same.
inline std::string CheckSettingsFile(ByteView input)
{
    std::string problems;
    const int characters = input.empty() ? 0 : input[0];
    const Bytes original = input.empty() ? Bytes{} : Bytes(input.begin() + 1, input.end());
    test::TestIo t;
    t.files.files[SettingsFileName] = original;
    FilterSettings filter;
    InfoKind infoKind = DefaultInfoKind;
    const int index = LoadSettings(filter, infoKind, characters, t.io());
    test::TestIo again;
    FilterSettings reread;
    InfoKind rereadInfoKind = RuneInfo;
    if (t.messages.shown.empty())
        Expect(problems,
               t.files.files[SettingsFileName] == original && index >= 0 &&
                   (index == 0 || index < characters) && SaveSettings(filter, infoKind, index, again.io()) &&
                   LoadSettings(reread, rereadInfoKind, characters, again.io()) == index &&
                   reread == filter && rereadInfoKind == infoKind && again.messages.shown.empty(),
               "a file taken was changed, gave a bad index, or does not save and read back the same");
    else
        Expect(problems,
               t.messages.shown == std::vector{CorruptFileMessage(SettingsFileName)} &&
                   t.files.files.count(SettingsFileName) == 0 && filter == FilterSettings{} &&
                   infoKind == DefaultInfoKind && index == 0,
               "bad content was not reported once, deleted and replaced by the defaults");
    return problems;
}

// Input: runes.dat, items.dat, runewords.dat and chars.dat between the marker.
inline std::string CheckRoundTrip(ByteView input)
{
    const std::vector<Bytes> parts = SplitParts(input, 4);
    return CheckDataFiles(parts[0], parts[1], parts[2]) + CheckRosterFile(parts[3]);
}

template <typename Parse, typename Format> bool Reformats(const Bytes& text, Parse parse, Format format)
{
    tools::Findings found;
    tools::Findings again;
    const auto table = parse(std::string(text.begin(), text.end()), found);
    if (found.HasErrors())
        return true;
    const auto back = parse(format(table), again);
    return !again.HasErrors() && back.date == table.date && format(back) == format(table);
}

// Input: runes.txt, items.txt and runewords.txt between the marker.
inline std::string CheckDataText(ByteView input)
{
    std::string problems;
    const std::vector<Bytes> parts = SplitParts(input, 3);
    Expect(problems,
           Reformats(parts[0], tools::ParseRunesText, tools::FormatRunesText) &&
               Reformats(parts[1], tools::ParseItemsText, tools::FormatItemsText) &&
               Reformats(parts[2], tools::ParseRunewordsText, tools::FormatRunewordsText),
           "a source without errors does not read back the same after formatting");
    tools::Findings found;
    const auto files = tools::Compile({std::string(parts[0].begin(), parts[0].end()),
                                       std::string(parts[1].begin(), parts[1].end()),
                                       std::string(parts[2].begin(), parts[2].end())},
                                      found);
    Expect(problems, files.has_value() != found.HasErrors(), "compile and its errors disagree");
    if (files)
        CheckStore(Store(files->runes, files->items, files->runewords), problems);
    return problems;
}

// Input: runes.dat, items.dat and runewords.dat between the marker.
inline std::string CheckDataDecompile(ByteView input)
{
    std::string problems;
    const std::vector<Bytes> parts = SplitParts(input, 3);
    tools::Findings found;
    const tools::TextFiles text = tools::Decompile({parts[0], parts[1], parts[2]}, found);
    const bool clean = !found.HasErrors();
    test::MemoryFiles disk;
    disk.files = {{tools::RunesDat, parts[0]}, {tools::ItemsDat, parts[1]}, {tools::RunewordsDat, parts[2]}};
    found.Append(tools::CheckDatFiles(disk));
    for (const tools::Finding& finding : found.All()) {
        char file[16] = {};
        unsigned record = 0;
        std::size_t byte = 0;
        const int fields =
            std::sscanf(finding.where.c_str(), "%15s record %u (byte %zu)", file, &record, &byte);
        Expect(problems, fields != 3 || (record >= 1 && byte >= 3 && byte < disk.files[file].size()),
               "a record's number or byte outside its file: " + finding.where);
    }
    Expect(problems, found.Find("does not compile back") == nullptr,
           "decompiled without a finding, the text does not compile back to the same bytes");
    tools::Findings again;
    const auto back = clean ? tools::Compile(text, again) : std::nullopt;
    Expect(problems,
           !clean || (back && SameStores(Store(parts[0], parts[1], parts[2]),
                                         Store(back->runes, back->items, back->runewords))),
           "decompiled without an error, the text does not compile to the same records");
    return problems;
}

} // namespace glyphmoor::fuzz
