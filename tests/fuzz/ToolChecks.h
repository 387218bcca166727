// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What glyphmoor-data must hold to, whatever text or .dat files it is given:
// the text parsers and their formatters agree, what compiles reads back in
// the core readers as written, and what decompiles without an error compiles
// to files the core readers take as the originals.

#include "tools/DataChecker.h"
#include "tools/DataCompiler.h"
#include "FuzzChecks.h"
#include "tools/TextFormat.h"

namespace glyphmoor::fuzz {

inline bool SameEntry(const tools::RuneEntry& a, const tools::RuneEntry& b)
{
    return a.name == b.name && a.clvl == b.clvl && a.description == b.description;
}

inline bool SameEntry(const tools::ItemEntry& a, const tools::ItemEntry& b)
{
    return a.name == b.name && a.maxSockets == b.maxSockets && a.category == b.category;
}

inline bool SameEntry(const tools::RunewordEntry& a, const tools::RunewordEntry& b)
{
    return a.name == b.name && a.itemTokens == b.itemTokens && a.runeNames == b.runeNames &&
           a.description == b.description;
}

template <typename Entry>
void CompareTables(const char* what, const tools::Table<Entry>& a, const tools::Table<Entry>& b,
                   Problems& problems)
{
    problems.Expect(a.date == b.date, std::string(what) + ": the date changed");
    problems.Expect(a.entries.size() == b.entries.size(),
                    std::string(what) + ": " + std::to_string(a.entries.size()) + " entries became " +
                        std::to_string(b.entries.size()));
    for (std::size_t i = 0; i < std::min(a.entries.size(), b.entries.size()); ++i)
        problems.ExpectAt(SameEntry(a.entries[i], b.entries[i]), what, static_cast<int>(i),
                          "differs after formatting and parsing again");
}

// A description as the core readers give it back after the core writers
// wrote it: the file's own line-break bytes, kept in the text by escape,
// become line breaks.
inline std::string AsRead(const std::string& description, bool rune)
{
    std::string out;
    for (const char c : description) {
        if (rune && c == '\x02')
            out += "\r\n\r\n";
        else if ((rune && c == '\x03') || (!rune && c == '\x04'))
            out += "\r\n";
        else
            out += c;
    }
    return out;
}

// Input: runes.txt, items.txt and runewords.txt between PartMarker.
inline std::string CheckDataText(ByteView input)
{
    Problems problems;
    const std::vector<Bytes> parts = SplitParts(input, 3);
    const tools::TextFiles text{std::string(parts[0].begin(), parts[0].end()),
                                std::string(parts[1].begin(), parts[1].end()),
                                std::string(parts[2].begin(), parts[2].end())};

    // A source the parsers take without an error comes back whole from the
    // text the formatters write for it. (After an error, such as a runeword
    // without an 'items:' line, the table is only what could be read.)
    tools::Findings runeFindings;
    tools::Findings itemFindings;
    tools::Findings runewordFindings;
    const tools::RuneTable runes = tools::ParseRunesText(text.runes, runeFindings);
    const tools::ItemTable items = tools::ParseItemsText(text.items, itemFindings);
    const tools::RunewordTable runewords = tools::ParseRunewordsText(text.runewords, runewordFindings);
    tools::Findings again;
    if (!runeFindings.HasErrors())
        CompareTables("rune", runes, tools::ParseRunesText(tools::FormatRunesText(runes), again), problems);
    if (!itemFindings.HasErrors())
        CompareTables("item", items, tools::ParseItemsText(tools::FormatItemsText(items), again), problems);
    if (!runewordFindings.HasErrors())
        CompareTables("runeword", runewords,
                      tools::ParseRunewordsText(tools::FormatRunewordsText(runewords), again), problems);
    problems.Expect(!again.HasErrors(), "the text written for a source without errors has errors");

    // What compiles is what the core readers read.
    tools::Findings findings;
    const std::optional<tools::DatFiles> files = tools::Compile(text, findings);
    problems.Expect(files.has_value() != findings.HasErrors(), "compile and its errors disagree");
    if (!files)
        return problems.Text();
    DataStore store(Runes, ItemTypes, RunewordSlots, RunesPerRuneword);
    store.ParseRunes(files->runes);
    store.ParseItemTypes(files->items);
    store.ParseRunewords(files->runewords);
    CheckStore(store, problems);
    for (std::size_t i = 0; i < runes.entries.size() && i < static_cast<std::size_t>(Runes); ++i) {
        const tools::RuneEntry& entry = runes.entries[i];
        const Rune& rune = store.GetRune(static_cast<int>(i));
        problems.ExpectAt(rune.GetName() == entry.name && rune.GetClvl() == entry.clvl &&
                              rune.GetDescription() == AsRead(entry.description, true),
                          "compiled rune", static_cast<int>(i), "reads back different");
    }
    for (std::size_t i = 0; i < items.entries.size() && i < static_cast<std::size_t>(ItemTypes); ++i) {
        const tools::ItemEntry& entry = items.entries[i];
        const ItemType& type = store.GetItemType(static_cast<int>(i));
        problems.ExpectAt(type.GetName() == entry.name && type.GetMaxSockets() == entry.maxSockets &&
                              type.GetCategory() == entry.category,
                          "compiled item type", static_cast<int>(i), "reads back different");
    }
    problems.Expect(store.GetRunewordCount() == static_cast<int>(runewords.entries.size()),
                    "compiled runewords read back as " + std::to_string(store.GetRunewordCount()));
    for (int i = 0; i < std::min(store.GetRunewordCount(), static_cast<int>(runewords.entries.size())); ++i) {
        const tools::RunewordEntry& entry = runewords.entries[static_cast<std::size_t>(i)];
        const Runeword& word = store.GetRuneword(i);
        problems.ExpectAt(word.GetName() == entry.name && word.GetItemTokens() == entry.itemTokens &&
                              word.GetRuneNames() == entry.runeNames &&
                              word.GetDescription() == AsRead(entry.description, false),
                          "compiled runeword", i, "reads back different");
    }
    return problems.Text();
}

// Input: runes.dat, items.dat and runewords.dat between PartMarker.
inline std::string CheckDataDecompile(ByteView input)
{
    Problems problems;
    const std::vector<Bytes> parts = SplitParts(input, 3);
    const tools::DatFiles files{parts[0], parts[1], parts[2]};

    tools::Findings findings;
    const tools::TextFiles text = tools::Decompile(files, findings);
    problems.Expect(findings.Find("does not compile back") == nullptr,
                    "decompiled without a finding, the text does not compile back to the same bytes");

    test::MemoryFiles disk;
    disk.files[tools::RunesDat] = parts[0];
    disk.files[tools::ItemsDat] = parts[1];
    disk.files[tools::RunewordsDat] = parts[2];
    (void)tools::CheckDatFiles(disk);

    if (findings.HasErrors())
        return problems.Text();
    // No error: the text compiles, to files the core readers take as they
    // took the originals.
    tools::Findings compileFindings;
    const std::optional<tools::DatFiles> back = tools::Compile(text, compileFindings);
    problems.Expect(back.has_value(), "decompiled without an error, the text does not compile");
    if (!back)
        return problems.Text();
    DataStore original(Runes, ItemTypes, RunewordSlots, RunesPerRuneword);
    original.ParseRunes(files.runes);
    original.ParseItemTypes(files.items);
    original.ParseRunewords(files.runewords);
    DataStore compiled(Runes, ItemTypes, RunewordSlots, RunesPerRuneword);
    compiled.ParseRunes(back->runes);
    compiled.ParseItemTypes(back->items);
    compiled.ParseRunewords(back->runewords);
    for (int i = 0; i < Runes; ++i)
        problems.ExpectAt(compiled.GetRune(i) == original.GetRune(i), "rune", i, "differs after decompile");
    for (int i = 0; i < ItemTypes; ++i)
        problems.ExpectAt(compiled.GetItemType(i) == original.GetItemType(i), "item type", i,
                          "differs after decompile");
    problems.Expect(compiled.GetRunewordCount() == original.GetRunewordCount(),
                    "runewordCount differs after decompile");
    for (int i = 0; i < std::min(compiled.GetRunewordCount(), original.GetRunewordCount()); ++i)
        problems.ExpectAt(reference::SameRecord(compiled.GetRuneword(i), original.GetRuneword(i)), "runeword", i,
                          "differs after decompile");
    problems.Expect(ReadDataFileDate(back->runes) == ReadDataFileDate(files.runes) &&
                        ReadDataFileDate(back->items) == ReadDataFileDate(files.items) &&
                        ReadDataFileDate(back->runewords) == ReadDataFileDate(files.runewords),
                    "a date differs after decompile");
    return problems.Text();
}

} // namespace glyphmoor::fuzz
