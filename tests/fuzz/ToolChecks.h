// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What glyphmoor-data must hold to, whatever text or .dat files it is given:
// a source read without an error is written and read again unchanged, what
// compiles is sound for the core readers, and what decompiles without an
// error compiles to files the core readers take as the originals.

#include "tools/DataChecker.h"
#include "tools/DataCompiler.h"
#include "FuzzChecks.h"
#include "tools/TextFormat.h"

namespace glyphmoor::fuzz {

// Parsed, formatted and parsed again, a table without errors formats to the
// same text.
template <typename Parse, typename Format>
void CheckReformat(const std::string& text, Parse parse, Format format, Problems& problems)
{
    tools::Findings found;
    const auto table = parse(text, found);
    if (found.HasErrors())
        return;
    const std::string written = format(table);
    tools::Findings again;
    const auto back = parse(written, again);
    problems.Expect(!again.HasErrors() && back.date == table.date && back.entries.size() == table.entries.size() &&
                        format(back) == written,
                    "a source without errors does not read back the same after formatting");
}

// Input: runes.txt, items.txt and runewords.txt between PartMarker.
inline std::string CheckDataText(ByteView input)
{
    Problems problems;
    const std::vector<Bytes> parts = SplitParts(input, 3);
    const tools::TextFiles text{std::string(parts[0].begin(), parts[0].end()),
                                std::string(parts[1].begin(), parts[1].end()),
                                std::string(parts[2].begin(), parts[2].end())};
    CheckReformat(text.runes, tools::ParseRunesText, tools::FormatRunesText, problems);
    CheckReformat(text.items, tools::ParseItemsText, tools::FormatItemsText, problems);
    CheckReformat(text.runewords, tools::ParseRunewordsText, tools::FormatRunewordsText, problems);

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

    tools::Findings compileFindings;
    const std::optional<tools::DatFiles> back = tools::Compile(text, compileFindings);
    problems.Expect(back.has_value(), "decompiled without an error, the text does not compile");
    if (!back)
        return problems.Text();
    DataStore original(Runes, ItemTypes, RunewordSlots, RunesPerRuneword);
    DataStore compiled(Runes, ItemTypes, RunewordSlots, RunesPerRuneword);
    for (auto [store, dat] : {std::pair{&original, &files}, std::pair{&compiled, &*back}}) {
        store->ParseRunes(dat->runes);
        store->ParseItemTypes(dat->items);
        store->ParseRunewords(dat->runewords);
    }
    CompareStores(original, compiled, "differs after decompile", problems);
    return problems.Text();
}

} // namespace glyphmoor::fuzz
