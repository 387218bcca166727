// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/DataCompiler.h"

#include "core/CodePage.h"
#include "core/DatLayout.h"
#include "tools/DataChecker.h"
#include "tools/TextFormat.h"

#include <algorithm>
#include <cstdio>

namespace glyphmoor::tools {

namespace {

std::string Hex(int byte)
{
    char text[8];
    std::snprintf(text, sizeof text, "0x%02X", byte & 0xFF);
    return text;
}

// Reports the first byte of `bytes` that is a control byte 0x00 to 0x04 not
// in `allowed`.
void CheckControlBytes(const std::string& where, const std::string& what, const std::string& bytes,
                       std::initializer_list<int> allowed, Findings& findings)
{
    for (const char c : bytes) {
        const int byte = static_cast<unsigned char>(c);
        if (byte > dat::LastControlByte || std::find(allowed.begin(), allowed.end(), byte) != allowed.end())
            continue;
        findings.Error(where, what + " " + Quoted(bytes) + " holds the control byte " + Hex(byte) +
                                  ", which the data files use to end or separate fields: remove it");
        return;
    }
}

void CheckSignedByte(const std::string& where, const std::string& what, int value, const std::string& advice,
                     Findings& findings)
{
    if (value < -128 || value > 127)
        findings.Error(where, what + " " + std::to_string(value) +
                                  " does not fit the file's signed byte (-128 to 127): " + advice);
}

template <typename Entry>
void CheckCount(const Table<Entry>& table, int most, const std::string& what, const std::string& file,
                Findings& findings)
{
    const int count = static_cast<int>(table.entries.size());
    if (count > most)
        findings.Error(table.entries[static_cast<std::size_t>(most)].where,
                       "more than " + std::to_string(most) + " " + what + " (" + std::to_string(count) + "): " +
                           file + " holds at most " + std::to_string(most) + "; remove " +
                           std::to_string(count - most));
}

// What CheckStore finds in the files as Glyphmoor reads them.
Findings CheckAsRead(const DatFiles& files, const DataSet& set)
{
    DataStore store(RuneCount, ItemTypeCount, RunewordCapacity, MaxRunesPerRuneword);
    store.ParseRunes(files.runes);
    store.ParseItemTypes(files.items);
    store.ParseRunewords(files.runewords);
    Findings checked;
    CheckStore(store, set, checked);
    return checked;
}

} // namespace

void ValidateDataSet(const DataSet& set, Findings& findings)
{
    CheckCount(set.runes, RuneCount, "runes", RunesFileName, findings);
    for (const RuneEntry& rune : set.runes.entries) {
        CheckSignedByte(rune.where, "the level", rune.clvl, "use a level from 1 to 99", findings);
        CheckControlBytes(rune.where, "the rune name", rune.name, {}, findings);
        CheckControlBytes(rune.where, "the text of rune " + Quoted(rune.name) + "", rune.description,
                          {dat::RuneDoubleBreak, dat::RuneBreak},
                          findings);
    }

    CheckCount(set.items, ItemTypeCount, "item types", ItemsFileName, findings);
    for (const ItemEntry& item : set.items.entries) {
        CheckSignedByte(item.where, "the socket count", item.maxSockets, "use a count from 1 to 6", findings);
        if (item.category < 1 || item.category > 3)
            findings.Error(item.where, "the category " + std::to_string(item.category) +
                                           " is none of 1 (melee), 2 (missile) or 3 (defence): use one of them");
        CheckControlBytes(item.where, "the item name", item.name, {}, findings);
    }

    CheckCount(set.runewords, RunewordCapacity, "runewords", RunewordsFileName, findings);
    for (const RunewordEntry& runeword : set.runewords.entries) {
        const std::string& where = runeword.where;
        CheckControlBytes(where, "the runeword name", runeword.name, {}, findings);
        for (const std::string& token : runeword.itemTokens) {
            if (token.empty())
                findings.Error(where, "an empty item name in the allowed items of " + Quoted(runeword.name) +
                                          ": write an item type or Weapons, Melee Weapons or Missile Weapons");
            CheckControlBytes(where, "the item name", token, {}, findings);
        }
        const int runeCount = static_cast<int>(runeword.runeNames.size());
        if (runeCount == 0)
            findings.Error(where, "the runeword " + Quoted(runeword.name) +
                                      " has no runes: name 1 to 6 in its 'runes:' line");
        if (runeCount > MaxRunesPerRuneword)
            findings.Error(where, "the runeword " + Quoted(runeword.name) + " has " + std::to_string(runeCount) +
                                      " runes; an item holds at most " + std::to_string(MaxRunesPerRuneword) +
                                      " and Glyphmoor reads no more: remove " +
                                      std::to_string(runeCount - MaxRunesPerRuneword));
        for (const std::string& rune : runeword.runeNames) {
            if (rune.empty())
                findings.Error(where, "an empty rune name in " + Quoted(runeword.name) + ": write the rune's name");
            CheckControlBytes(where, "the rune name", rune, {}, findings);
        }
        CheckControlBytes(where, "the text of runeword " + Quoted(runeword.name), runeword.description, {dat::RunewordBreak},
                          findings);
    }
}

DatFiles EncodeDataSet(const DataSet& set)
{
    DataStore store(static_cast<int>(set.runes.entries.size()), static_cast<int>(set.items.entries.size()),
                    static_cast<int>(set.runewords.entries.size()), MaxRunesPerRuneword);
    for (std::size_t i = 0; i < set.runes.entries.size(); ++i) {
        const RuneEntry& entry = set.runes.entries[i];
        Rune& rune = store.GetRune(static_cast<int>(i));
        rune.SetName(entry.name);
        rune.SetClvl(entry.clvl);
        rune.SetDescription(entry.description);
    }
    for (std::size_t i = 0; i < set.items.entries.size(); ++i) {
        const ItemEntry& entry = set.items.entries[i];
        store.GetItemType(static_cast<int>(i)).Set(entry.name, entry.maxSockets,
                                                   static_cast<ItemCategory>(entry.category));
    }
    for (std::size_t i = 0; i < set.runewords.entries.size(); ++i) {
        const RunewordEntry& entry = set.runewords.entries[i];
        Runeword& runeword = store.GetRuneword(static_cast<int>(i));
        runeword.SetName(entry.name);
        runeword.SetItemTokens(entry.itemTokens);
        runeword.SetRuneNames(entry.runeNames);
        runeword.SetDescription(entry.description);
    }
    return {store.WriteRunes(set.runes.date), store.WriteItemTypes(set.items.date),
            store.WriteRunewords(set.runewords.date)};
}

std::optional<DatFiles> Compile(const TextFiles& sources, Findings& findings)
{
    Findings found;
    DataSet set{ParseRunesText(sources.runes, found), ParseItemsText(sources.items, found),
                ParseRunewordsText(sources.runewords, found)};
    ValidateDataSet(set, found);
    findings.Append(found);
    if (found.HasErrors())
        return std::nullopt;
    DatFiles files = EncodeDataSet(set);

    // What check calls an error is refused too; its warnings are shown.
    const Findings checked = CheckAsRead(files, set);
    for (const Finding& finding : checked.All()) {
        if (finding.severity != Severity::Note)
            findings.Add(finding.severity, finding.where, finding.message);
    }
    if (checked.HasErrors())
        return std::nullopt;
    return files;
}

namespace {

// Reports what the file's frame tells: a missing date, bytes never read.
template <typename Record>
void InspectFrame(const DatLayout<Record>& layout, const std::string& file, const char* what, int capacity,
                  Findings& findings)
{
    if (!layout.date)
        findings.Error(file, "the file is shorter than its 3-byte date: it holds no " + std::string(what));
    else if (const std::string fault = DateFault(*layout.date); !fault.empty())
        findings.Error(file,
                       "the date " + FormatDate(*layout.date) + " is not a date: " + fault +
                           "; the text keeps it, and compile refuses it until its 'date:' line is changed");
    if (!layout.HasIgnoredBytes())
        return;
    const std::string count = std::to_string(layout.size - layout.ignoredFrom);
    const bool full = static_cast<int>(layout.records.size()) == capacity;
    const std::string at = file + " (byte " + std::to_string(layout.ignoredFrom) + ")";
    if (full)
        findings.Warning(at, "the last " + count + " bytes come after record " + std::to_string(capacity) +
                                 ", the most Glyphmoor reads; they are left out: remove them or move those " +
                                 what + " into the table");
    else
        findings.Warning(at, "the last " + count +
                                 " bytes are a record that ends inside its item or rune list; Glyphmoor drops it "
                                 "and so does the text");
}

void InspectField(const DatField& field, const std::string& where, const std::string& what, Findings& findings)
{
    if (!field.ended)
        findings.Warning(where, "the file ends inside " + what + "; the text gives it back its missing end byte");
}

bool IsRuneBreak(char c)
{
    return c == static_cast<char>(dat::RuneDoubleBreak) || c == static_cast<char>(dat::RuneBreak);
}

// Rune descriptions: a run of line-break bytes is written back by the core
// writer as pairs (0x02) then one single (0x03); a run in any other order is
// kept as those bytes.
std::string RuneDescription(const std::string& raw)
{
    std::string out;
    for (std::size_t i = 0; i < raw.size();) {
        if (!IsRuneBreak(raw[i])) {
            out += raw[i++];
            continue;
        }
        std::size_t end = i;
        int breaks = 0;
        while (end < raw.size() && IsRuneBreak(raw[end]))
            breaks += raw[end++] == static_cast<char>(dat::RuneDoubleBreak) ? 2 : 1;
        const std::string run = raw.substr(i, end - i);
        const std::string canonical = std::string(static_cast<std::size_t>(breaks / 2), static_cast<char>(dat::RuneDoubleBreak)) +
                                      std::string(static_cast<std::size_t>(breaks % 2), static_cast<char>(dat::RuneBreak));
        if (run == canonical) {
            for (int b = 0; b < breaks; ++b)
                out += "\r\n";
        } else {
            out += run;
        }
        i = end;
    }
    return out;
}


void InspectLineBreaks(const DatField& field, const std::string& where, Findings& findings)
{
    if (field.bytes.find("\r\n") != std::string::npos)
        findings.Warning(where, "the text holds the bytes 0D 0A; Glyphmoor shows them as a line break, and the "
                                "text writes them back as the file's line-break byte");
}

} // namespace

RuneTable InspectRunes(ByteView file, Findings& findings)
{
    const DatLayout<DatRune> layout = ScanRunes(file, RuneCount);
    InspectFrame(layout, RunesFileName, "runes", RuneCount, findings);
    RuneTable table;
    table.where = RunesFileName;
    table.date = layout.date.value_or(DataFileDate{});
    for (std::size_t i = 0; i < layout.records.size(); ++i) {
        const DatRune& record = layout.records[i];
        RuneEntry entry;
        entry.where = AtRecord(RunesFileName, static_cast<int>(i), record.offset);
        entry.name = record.name.bytes;
        entry.clvl = record.clvl;
        entry.description = RuneDescription(record.description.bytes);
        InspectField(record.name, entry.where, "the rune's name", findings);
        if (record.name.ended)
            InspectField(record.description, entry.where, "the rune's text", findings);
        InspectLineBreaks(record.description, entry.where, findings);
        table.entries.push_back(std::move(entry));
    }
    return table;
}

ItemTable InspectItems(ByteView file, Findings& findings)
{
    const DatLayout<DatItem> layout = ScanItems(file, ItemTypeCount);
    InspectFrame(layout, ItemsFileName, "item types", ItemTypeCount, findings);
    ItemTable table;
    table.where = ItemsFileName;
    table.date = layout.date.value_or(DataFileDate{});
    for (std::size_t i = 0; i < layout.records.size(); ++i) {
        const DatItem& record = layout.records[i];
        ItemEntry entry;
        entry.where = AtRecord(ItemsFileName, static_cast<int>(i), record.offset);
        entry.name = record.name.bytes;
        entry.maxSockets = record.maxSockets;
        entry.category = record.category;
        if (!record.hasCategory)
            findings.Warning(entry.where, "the file ends after the socket count; Glyphmoor reads no category "
                                          "and no name");
        else
            InspectField(record.name, entry.where, "the item's name", findings);
        table.entries.push_back(std::move(entry));
    }
    return table;
}

RunewordTable InspectRunewords(ByteView file, Findings& findings)
{
    const DatLayout<DatRuneword> layout = ScanRunewords(file, RunewordCapacity);
    InspectFrame(layout, RunewordsFileName, "runewords", RunewordCapacity, findings);
    RunewordTable table;
    table.where = RunewordsFileName;
    table.date = layout.date.value_or(DataFileDate{});
    for (std::size_t i = 0; i < layout.records.size(); ++i) {
        const DatRuneword& record = layout.records[i];
        RunewordEntry entry;
        entry.where = AtRecord(RunewordsFileName, static_cast<int>(i), record.offset);
        entry.name = record.name.bytes;
        for (const DatField& token : record.itemTokens)
            entry.itemTokens.push_back(token.bytes);
        for (const DatField& rune : record.runeNames)
            entry.runeNames.push_back(rune.bytes);
        entry.description = DescriptionFromFile(record.description.bytes, DescriptionOf::Runeword);
        InspectField(record.description, entry.where, "the runeword's text", findings);
        InspectLineBreaks(record.description, entry.where, findings);
        table.entries.push_back(std::move(entry));
    }
    return table;
}

TextFiles Decompile(const DatFiles& files, Findings& findings)
{
    Findings found;
    DataSet set{InspectRunes(files.runes, found), InspectItems(files.items, found),
                InspectRunewords(files.runewords, found)};
    ValidateDataSet(set, found);
    // What compile will refuse besides: names that match nothing and the like.
    const Findings checked = CheckAsRead(files, set);
    for (const Finding& finding : checked.All()) {
        if (finding.severity == Severity::Error)
            found.Add(finding.severity, finding.where, finding.message);
    }
    TextFiles text{FormatRunesText(set.runes), FormatItemsText(set.items),
                   FormatRunewordsText(set.runewords)};
    if (found.Empty()) {
        // Nothing was reported, so the text must compile back to the same
        // bytes; say so loudly if it does not.
        Findings again;
        const std::optional<DatFiles> back = Compile(text, again);
        if (!back || back->runes != files.runes || back->items != files.items ||
            back->runewords != files.runewords)
            found.Error("", "the text does not compile back to the same bytes; please report this with the "
                            "three .dat files");
    }
    findings.Append(found);
    return text;
}

} // namespace glyphmoor::tools
