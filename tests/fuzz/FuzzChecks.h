// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What the readers and glyphmoor-data hold to, whatever bytes they are given:
// for the fuzz targets and FuzzRegressionTest (the kept crash inputs and seeds).
// A check returns one line per broken invariant, so an empty text when all holds.

#include "ReferenceFilter.h"
#include "TestSupport.h"
#include "core/Roster.h"
#include "core/Settings.h"
#include "tools/DataChecker.h"
#include "tools/DataCompiler.h"

#include <algorithm>
#include <string>
#include <vector>

namespace glyphmoor::fuzz {

using namespace tools;

inline void Expect(std::string& problems, bool holds, const std::string& what)
{
    if (!holds)
        problems += what + "\n";
}

// The files of a multi-file input, between markers; missing parts are empty.
inline std::vector<Bytes> SplitParts(ByteView input, std::size_t count)
{
    const std::string text(input.begin(), input.end());
    std::vector<Bytes> parts(count);
    for (std::size_t i = 0, start = 0; i < count && start <= text.size(); ++i) {
        const std::size_t end = i + 1 < count ? text.find("\xFF\xFE\xFD", start) : std::string::npos;
        parts[i] = test::BytesOf(text.substr(start, end - start));
        start = std::min(end, text.size()) + 3;
    }
    return parts;
}

// A store of the program's sizes that has read the three files.
struct Store : DataStore {
    Store(const Bytes& runes, const Bytes& items, const Bytes& runewords)
        : DataStore(RuneCount, ItemTypeCount, RunewordCapacity, MaxRunesPerRuneword)
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
    for (int i = 0; i < RuneCount; ++i)
        same = same && a.GetRune(i) == b.GetRune(i);
    for (int i = 0; i < ItemTypeCount; ++i)
        same = same && a.GetItemType(i) == b.GetItemType(i);
    for (int i = 0; same && i < a.GetRunewordCount(); ++i)
        same = reference::SameRecord(a.GetRuneword(i), b.GetRuneword(i));
    return same;
}

// Whatever the readers make of the three files, the writers give files with
// the same dates that read back as the same records.
inline std::string CheckDataFiles(const Bytes& runes, const Bytes& items, const Bytes& runewords)
{
    std::string problems;
    const Store first(runes, items, runewords);
    auto dateOf = [](const Bytes& file) { return ReadDataFileDate(file).value_or(DataFileDate{}); };
    const Bytes written[] = {first.WriteRunes(dateOf(runes)), first.WriteItemTypes(dateOf(items)),
                             first.WriteRunewords(dateOf(runewords))};
    Expect(problems,
           dateOf(written[0]) == dateOf(runes) && dateOf(written[1]) == dateOf(items) &&
               dateOf(written[2]) == dateOf(runewords),
           "a date changed on the way through the writers");
    Expect(problems, SameStores(first, Store(written[0], written[1], written[2])),
           "the records differ after a round trip");
    return problems;
}

// One .dat file (0 runes, 1 items, 2 runewords) read beside the test tables.
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
    test::TestIo again;
    Roster reloaded;
    bool same = RewriteRoster(roster, again.io());
    LoadRoster(reloaded, again.io());
    same = same && reloaded.characterCount == count && again.messages.shown.empty();
    for (std::size_t k = 0; same && k < static_cast<std::size_t>(count); ++k)
        same = roster.characters[k].EncodeRecord() == reloaded.characters[k].EncodeRecord();
    Expect(problems, same, "the loaded roster does not write and load back the same");
    return problems;
}

// Input: the number of characters, then the file. It is either taken as it is
// and saves and reads back the same, or reported once, deleted and defaulted.
inline std::string CheckSettingsFile(ByteView input)
{
    const int characters = input.empty() ? 0 : input[0];
    test::TestIo t;
    t.files.files[SettingsFileName] = input.empty() ? Bytes{} : Bytes(input.begin() + 1, input.end());
    const Bytes original = t.files.files[SettingsFileName];
    FilterSettings filter;
    InfoKind infoKind = DefaultInfoKind;
    const int index = LoadSettings(filter, infoKind, characters, t.io()).selectedCharacter;
    test::TestIo again;
    FilterSettings reread;
    InfoKind rereadInfoKind = RuneInfo;
    if (!t.messages.shown.empty())
        return t.messages.shown == std::vector{CorruptFileMessage(SettingsFileName)} &&
                       t.files.files.count(SettingsFileName) == 0 && filter == FilterSettings{} &&
                       infoKind == DefaultInfoKind && index == 0
                   ? ""
                   : "bad content was not reported once, deleted and replaced by the defaults\n";
    return t.files.files[SettingsFileName] == original && index >= 0 && (index == 0 || index < characters) &&
                   SaveSettings(filter, infoKind, index, again.io()) &&
                   LoadSettings(reread, rereadInfoKind, characters, again.io()).selectedCharacter == index &&
                   reread == filter && rereadInfoKind == infoKind && again.messages.shown.empty()
               ? ""
               : "a file taken was changed, gave a bad index, or does not save and read back the same\n";
}

// Input: runes.dat, items.dat, runewords.dat and chars.dat between the marker.
inline std::string CheckRoundTrip(ByteView input)
{
    const std::vector<Bytes> parts = SplitParts(input, 4);
    return CheckDataFiles(parts[0], parts[1], parts[2]) + CheckRosterFile(parts[3]);
}

// Input: runes.dat, items.dat and runewords.dat between the marker.
inline std::string CheckDataDecompile(ByteView input)
{
    std::string problems;
    const std::vector<Bytes> parts = SplitParts(input, 3);
    Findings found;
    const TextFiles text = Decompile({parts[0], parts[1], parts[2]}, found);
    const bool clean = !found.HasErrors();
    // The decompiler's own check, told apart from the messages that quote the data.
    Expect(problems,
           std::none_of(
               found.All().begin(), found.All().end(),
               [](const Finding& f) { return f.message.rfind("the text does not compile back", 0) == 0; }),
           "decompiled without a finding, the text does not compile back to the same bytes");
    test::MemoryFiles disk;
    disk.files = {{RunesFileName, parts[0]}, {ItemsFileName, parts[1]}, {RunewordsFileName, parts[2]}};
    found.Append(CheckDatFiles(disk));
    for (const Finding& finding : found.All()) {
        const std::size_t at = finding.where.find(" (byte ");
        Expect(problems,
               at == std::string::npos ||
                   std::stoul(finding.where.substr(at + 7)) <
                       disk.files[finding.where.substr(0, finding.where.find(' '))].size(),
               "a message's byte lies outside its file: " + finding.where);
    }
    Findings again;
    const auto back = clean ? Compile(text, again) : std::nullopt;
    Expect(problems,
           !clean || (back && SameStores(Store(parts[0], parts[1], parts[2]),
                                         Store(back->runes, back->items, back->runewords))),
           "decompiled without an error, the text does not compile to the same records");
    return problems;
}

} // namespace glyphmoor::fuzz
