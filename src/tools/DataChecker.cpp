// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/DataChecker.h"

#include "core/CodePage.h"
#include "tools/DataCompiler.h"
#include "tools/TextFormat.h"

#include <algorithm>
#include <map>

namespace glyphmoor::tools {

namespace {

bool IsGroupWord(const std::string& token)
{
    return token == "Weapons" || token == "Melee Weapons" || token == "Missile Weapons";
}

template <typename Entry>
std::string WhereOf(const Table<Entry>& table, int index, const std::string& file)
{
    if (index >= 0 && index < static_cast<int>(table.entries.size()))
        return table.entries[static_cast<std::size_t>(index)].where;
    return file;
}

// Reports every name after the first that another record already has.
template <typename NameOf, typename WhereAt>
void CheckDuplicates(int count, NameOf nameOf, WhereAt whereAt, const std::string& what,
                     const std::string& consequence, Findings& findings)
{
    std::map<std::string, int> first;
    for (int i = 0; i < count; ++i) {
        const std::string& name = nameOf(i);
        if (name.empty())
            continue;
        const auto [found, inserted] = first.emplace(name, i);
        if (!inserted)
            findings.Error(whereAt(i), "the " + what + " " + Quoted(name) + " is also the name of " + what + " " +
                                           std::to_string(found->second + 1) + "; " + consequence +
                                           ": rename one of them");
    }
}

void CheckRunes(const DataStore& store, const DataSet& set, Findings& findings)
{
    const int records = std::min<int>(static_cast<int>(set.runes.entries.size()), store.GetRuneCount());
    const auto where = [&](int i) { return WhereOf(set.runes, i, RunesDat); };
    if (records < store.GetRuneCount())
        findings.Warning(RunesDat, "only " + std::to_string(records) + " runes: rows " + std::to_string(records + 1) +
                                       " to " + std::to_string(store.GetRuneCount()) +
                                       " of the rune list stay blank; add runes up to " +
                                       std::to_string(store.GetRuneCount()));
    for (int i = 0; i < records; ++i) {
        const Rune& rune = store.GetRune(i);
        if (rune.GetName().empty())
            findings.Warning(where(i), "this rune has no name: its row in the rune list is blank; give it one");
        if (i % RunesPerRarityGroup == 0)
            continue;
        const Rune& before = store.GetRune(i - 1);
        if (rune.GetClvl() < before.GetClvl())
            findings.Warning(where(i), "the rune " + Quoted(rune.GetName()) + " needs level " +
                                           std::to_string(rune.GetClvl()) + ", less than " +
                                           Quoted(before.GetName()) + " (" + std::to_string(before.GetClvl()) +
                                           ") above it in the same rarity group; levels should rise through "
                                           "each group: move it or change its level");
    }
    CheckDuplicates(
        records, [&](int i) -> const std::string& { return store.GetRune(i).GetName(); }, where, "rune",
        "a runeword naming it always gets the first", findings);
}

void CheckItems(const DataStore& store, const DataSet& set, Findings& findings)
{
    const int records = std::min<int>(static_cast<int>(set.items.entries.size()), store.GetItemTypeCount());
    const auto where = [&](int i) { return WhereOf(set.items, i, ItemsDat); };
    if (records < store.GetItemTypeCount())
        findings.Warning(ItemsDat, "only " + std::to_string(records) + " item types: rows " +
                                       std::to_string(records + 1) + " to " +
                                       std::to_string(store.GetItemTypeCount()) +
                                       " of the item list stay blank; add item types up to " +
                                       std::to_string(store.GetItemTypeCount()));
    for (int i = 0; i < records; ++i) {
        const ItemType& type = store.GetItemType(i);
        if (type.GetName().empty())
            findings.Warning(where(i), "this item type has no name: its row in the item list is blank; give it one");
        if (type.GetMaxSockets() < 1)
            findings.Warning(where(i), "the item type " + Quoted(type.GetName()) + " has " +
                                           std::to_string(type.GetMaxSockets()) +
                                           " sockets and can hold no runeword: give it 1 to 6");
        if (IsGroupWord(type.GetName()))
            findings.Warning(where(i), "an item type named " + Quoted(type.GetName()) +
                                           " cannot be allowed alone: in a runeword that word means the whole "
                                           "group; rename it");
    }
    CheckDuplicates(
        records, [&](int i) -> const std::string& { return store.GetItemType(i).GetName(); }, where,
        "item type", "a runeword naming it always gets the first", findings);
}

int GroupSize(const DataStore& store, const std::string& token)
{
    int size = 0;
    for (int t = 0; t < store.GetItemTypeCount(); ++t) {
        const ItemType& type = store.GetItemType(t);
        if (token == "Weapons" ? type.IsWeapon() : token == "Melee Weapons" ? type.IsMeleeWeapon()
                                                                            : type.IsMissileWeapon())
            ++size;
    }
    return size;
}

void CheckRuneword(const DataStore& store, const DataSet& set, int index, Findings& findings)
{
    const Runeword& runeword = store.GetRuneword(index);
    const std::string where = WhereOf(set.runewords, index, RunewordsDat);
    const std::string name = Quoted(runeword.GetName());
    if (runeword.GetName().empty())
        findings.Warning(where, "this runeword has no name: its row in the runeword list is blank; give it one");

    const auto& runeNames = runeword.GetRuneNames();
    for (int p = 0; p < runeword.GetRuneCount(); ++p) {
        if (runeword.GetRune(p) >= 0)
            continue;
        const std::string rune = p < static_cast<int>(runeNames.size()) ? Quoted(runeNames[static_cast<std::size_t>(p)])
                                                                        : "?";
        findings.Error(where, "the rune " + rune + " of " + name +
                                  " is no rune of runes.dat (names must match exactly, letter case too), so the "
                                  "runeword is never listed while 'all runes' must be ticked: fix the name");
    }

    int expanded = 0;
    for (const std::string& token : runeword.GetItemTokens()) {
        if (IsGroupWord(token)) {
            const int size = GroupSize(store, token);
            expanded += size;
            if (size == 0)
                findings.Warning(where, "the group " + Quoted(token) + " of " + name +
                                            " holds no item type of items.dat: allow another item type");
        } else {
            ++expanded;
            if (store.FindItemType(token) < 0)
                findings.Error(where, "the item type " + Quoted(token) + " of " + name +
                                          " is no item type of items.dat nor one of Weapons, Melee Weapons, Missile "
                                          "Weapons (letter case counts): fix the name");
        }
    }
    if (expanded > store.GetItemTypeCount())
        findings.Warning(where, "the allowed items of " + name + " come to " + std::to_string(expanded) +
                                    " item types, more than the " + std::to_string(store.GetItemTypeCount()) +
                                    " Glyphmoor keeps: the last are dropped; name fewer");

    // Sockets: the runeword needs one per rune.
    const int needed = runeword.GetRuneCount();
    int most = -1;
    bool listable = false;
    for (int a = 0; a < runeword.GetItemTypeCount(); ++a) {
        const int allowed = runeword.GetItemType(a);
        if (allowed < 0)
            continue;
        const ItemType& type = store.GetItemType(allowed);
        most = std::max(most, type.GetMaxSockets());
        for (int t = 0; t < store.GetItemTypeCount(); ++t) {
            const ItemType& other = store.GetItemType(t);
            if (other.GetCategory() == type.GetCategory() && other.GetMaxSockets() >= needed)
                listable = true;
        }
    }
    if (most >= 0 && needed > most)
        findings.Error(where, name + " needs " + std::to_string(needed) + " sockets, but its item types hold at most " +
                                  std::to_string(most) + ", so no one can make it" +
                                  (listable ? "" : " and Glyphmoor never lists it") +
                                  ": allow an item type with enough sockets or use fewer runes");
}

} // namespace

void CheckStore(const DataStore& store, const DataSet& set, Findings& findings)
{
    CheckRunes(store, set, findings);
    CheckItems(store, set, findings);
    for (int i = 0; i < store.GetRunewordCount(); ++i)
        CheckRuneword(store, set, i, findings);
    CheckDuplicates(
        store.GetRunewordCount(), [&](int i) -> const std::string& { return store.GetRuneword(i).GetName(); },
        [&](int i) { return WhereOf(set.runewords, i, RunewordsDat); }, "runeword",
        "the runeword list shows the first one's runes and text for both", findings);
}

namespace {

// Collects the core readers' messages as findings.
class MessageFindings final : public MessageSink {
public:
    explicit MessageFindings(Findings& findings) : findings(findings) {}
    MessageAnswer Show(const Message& message) override
    {
        findings.Error("", Printable(message.text) + ": Glyphmoor starts with an empty table");
        return MessageAnswer::Ok;
    }

private:
    Findings& findings;
};

template <typename Entry>
void NoteTable(const Table<Entry>& table, const std::string& file, const std::string& what, Findings& findings)
{
    findings.Note(file, std::to_string(table.entries.size()) + " " + what + ", dated " + FormatDate(table.date));
}

} // namespace

Findings CheckDatFiles(FileStore& files)
{
    Findings findings;
    MessageFindings messages(findings);
    DataStore store(MaxRunes, MaxItemTypes, MaxRunewords, MaxRunesPerRuneword);
    const Io io{files, messages};
    DataSet set;
    Findings layout;
    const bool hasRunes = store.LoadRunes(RunesDat, io);
    if (hasRunes) {
        set.runes = InspectRunes(files.Read(RunesDat, ReferenceFileLimit).value_or(Bytes{}), layout);
        NoteTable(set.runes, RunesDat, "runes", findings);
    }
    const bool hasItems = store.LoadItemTypes(ItemsDat, io);
    if (hasItems) {
        set.items = InspectItems(files.Read(ItemsDat, ReferenceFileLimit).value_or(Bytes{}), layout);
        NoteTable(set.items, ItemsDat, "item types", findings);
    }
    const bool hasRunewords = store.LoadRunewords(RunewordsDat, io);
    if (hasRunewords) {
        set.runewords = InspectRunewords(files.Read(RunewordsDat, ReferenceFileLimit).value_or(Bytes{}), layout);
        NoteTable(set.runewords, RunewordsDat, "runewords", findings);
    }
    if (!hasRunewords || !hasRunes || !hasItems) {
        // Without all three tables every runeword would look broken.
        store.SetRunewordCount(0);
        if (hasRunewords)
            findings.Note(RunewordsDat, "the runewords are not checked while a table they name is missing");
    }
    ValidateDataSet(set, layout);
    findings.Append(layout);
    CheckStore(store, set, findings);
    return findings;
}

} // namespace glyphmoor::tools
