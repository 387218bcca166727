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
    const auto where = [&](int i) { return WhereOf(set.runes, i, RunesFileName); };
    if (records < store.GetRuneCount())
        findings.Warning(RunesFileName, "only " + std::to_string(records) + " runes: rows " + std::to_string(records + 1) +
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
    const auto where = [&](int i) { return WhereOf(set.items, i, ItemsFileName); };
    if (records < store.GetItemTypeCount())
        findings.Warning(ItemsFileName, "only " + std::to_string(records) + " item types: rows " +
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

// The names a table lacks, each with the runewords that name it in order.
using UnknownNames = std::vector<std::pair<std::string, std::vector<int>>>;

void AddUnknown(UnknownNames& unknown, const std::string& name, int runeword)
{
    if (name.empty())
        return; // ValidateDataSet reports an empty name
    const auto known =
        std::find_if(unknown.begin(), unknown.end(), [&](const auto& u) { return u.first == name; });
    if (known == unknown.end())
        unknown.push_back({name, {runeword}});
    else if (known->second.back() != runeword)
        known->second.push_back(runeword);
}

char Folded(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// The edit distance of two names, letter case aside.
std::size_t Distance(const std::string& a, const std::string& b)
{
    std::vector<std::size_t> row(b.size() + 1);
    for (std::size_t j = 0; j <= b.size(); ++j)
        row[j] = j;
    for (std::size_t i = 1; i <= a.size(); ++i) {
        std::size_t diagonal = row[0];
        row[0] = i;
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const std::size_t above = row[j];
            row[j] = std::min(
                {row[j] + 1, row[j - 1] + 1, diagonal + (Folded(a[i - 1]) == Folded(b[j - 1]) ? 0 : 1)});
            diagonal = above;
        }
    }
    return row[b.size()];
}

// ": did you mean 'Rusk'?" for the nearest of `names` to `name`, or ":" when
// none is near.
std::string Suggestion(const std::string& name, const std::vector<std::string>& names)
{
    const std::string* best = nullptr;
    std::size_t bestDistance = 3; // more edits than this is another name
    for (const std::string& candidate : names) {
        const std::size_t distance = Distance(name, candidate);
        if (!candidate.empty() && distance < bestDistance && distance < name.size()) {
            best = &candidate;
            bestDistance = distance;
        }
    }
    return best != nullptr ? ": did you mean " + Quoted(*best) + "?" : ":";
}

// "'Kindle' names it and stays" or "'Kindle' and 3 more runewords name it
// and stay": the users of a name, then `verb` in their number.
std::string Users(const DataStore& store, const std::vector<int>& users, const std::string& verb)
{
    const std::string first = Quoted(store.GetRuneword(users.front()).GetName());
    if (users.size() == 1)
        return first + " names it and " + verb + "s";
    return first + " and " + std::to_string(users.size() - 1) + " more runeword" +
           (users.size() > 2 ? "s" : "") + " name it and " + verb;
}

void CheckRuneword(const DataStore& store, const DataSet& set, int index, UnknownNames& unknownRunes,
                   UnknownNames& unknownItems, Findings& findings)
{
    const Runeword& runeword = store.GetRuneword(index);
    const std::string where = WhereOf(set.runewords, index, RunewordsFileName);
    const std::string name = Quoted(runeword.GetName());
    if (runeword.GetName().empty())
        findings.Warning(where, "this runeword has no name: its row in the runeword list is blank; give it one");

    const auto& runeNames = runeword.GetRuneNames();
    for (int p = 0; p < runeword.GetRuneCount(); ++p) {
        if (runeword.GetRune(p) < 0 && p < static_cast<int>(runeNames.size()))
            AddUnknown(unknownRunes, runeNames[static_cast<std::size_t>(p)], index);
    }

    int expanded = 0;
    bool unknownItem = false;
    for (const std::string& token : runeword.GetItemTokens()) {
        if (IsGroupWord(token)) {
            const int size = GroupSize(store, token);
            expanded += size;
            if (size == 0)
                findings.Warning(where, "the group " + Quoted(token) + " of " + name +
                                            " holds no item type of items.dat: allow another item type");
        } else {
            ++expanded;
            if (store.FindItemType(token) < 0) {
                AddUnknown(unknownItems, token, index);
                unknownItem = true;
            }
        }
    }
    if (expanded > store.GetItemTypeCount())
        findings.Warning(where, "the allowed items of " + name + " come to " + std::to_string(expanded) +
                                    " item types, more than the " + std::to_string(store.GetItemTypeCount()) +
                                    " Glyphmoor keeps: the last are dropped; name fewer");

    // Sockets: the runeword needs one per rune. An unknown item name is
    // reported already, and it may be the one with the sockets.
    if (unknownItem)
        return;
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

// One error for each name that matches nothing, however many runewords use it,
// at the first of them.
void CheckRunewords(const DataStore& store, const DataSet& set, Findings& findings)
{
    UnknownNames unknownRunes, unknownItems;
    for (int i = 0; i < store.GetRunewordCount(); ++i)
        CheckRuneword(store, set, i, unknownRunes, unknownItems, findings);
    std::vector<std::string> runes, items = {"Weapons", "Melee Weapons", "Missile Weapons"};
    for (int i = 0; i < store.GetRuneCount(); ++i)
        runes.push_back(store.GetRune(i).GetName());
    for (int i = 0; i < store.GetItemTypeCount(); ++i)
        items.push_back(store.GetItemType(i).GetName());
    for (const auto& [rune, users] : unknownRunes)
        findings.Error(
            WhereOf(set.runewords, users.front(), RunewordsFileName),
            "no rune " + Quoted(rune) + Suggestion(rune, runes) + " " + Users(store, users, "stay") +
                " unlisted while 'all runes' must be ticked; names match runes.dat exactly, letter case "
                "too: fix the name");
    for (const auto& [item, users] : unknownItems)
        findings.Error(
            WhereOf(set.runewords, users.front(), RunewordsFileName),
            "no item type " + Quoted(item) + Suggestion(item, items) + " " + Users(store, users, "lose") +
                " it from the allowed items; they match items.dat or Weapons, Melee Weapons, Missile "
                "Weapons exactly, letter case too: fix the name");
}

} // namespace

void CheckStore(const DataStore& store, const DataSet& set, Findings& findings)
{
    CheckRunes(store, set, findings);
    CheckItems(store, set, findings);
    CheckRunewords(store, set, findings);
    CheckDuplicates(
        store.GetRunewordCount(), [&](int i) -> const std::string& { return store.GetRuneword(i).GetName(); },
        [&](int i) { return WhereOf(set.runewords, i, RunewordsFileName); }, "runeword",
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
    DataStore store(RuneCount, ItemTypeCount, RunewordCapacity, MaxRunesPerRuneword);
    const Io io{files, messages};
    DataSet set;
    Findings layout;
    const bool hasRunes = store.Load(ReferenceTable::Runes, io);
    if (hasRunes) {
        set.runes = InspectRunes(files.Read(RunesFileName, ReferenceFileLimit).value_or(Bytes{}), layout);
        NoteTable(set.runes, RunesFileName, "runes", findings);
    }
    const bool hasItems = store.Load(ReferenceTable::ItemTypes, io);
    if (hasItems) {
        set.items = InspectItems(files.Read(ItemsFileName, ReferenceFileLimit).value_or(Bytes{}), layout);
        NoteTable(set.items, ItemsFileName, "item types", findings);
    }
    const bool hasRunewords = store.Load(ReferenceTable::Runewords, io);
    if (hasRunewords) {
        set.runewords = InspectRunewords(files.Read(RunewordsFileName, ReferenceFileLimit).value_or(Bytes{}), layout);
        NoteTable(set.runewords, RunewordsFileName, "runewords", findings);
    }
    if (!hasRunewords || !hasRunes || !hasItems) {
        // Without all three tables every runeword would look broken.
        store.SetRunewordCount(0);
        if (hasRunewords)
            findings.Note(RunewordsFileName, "the runewords are not checked while a table they name is missing");
    }
    ValidateDataSet(set, layout);
    findings.Append(layout);
    CheckStore(store, set, findings);
    return findings;
}

} // namespace glyphmoor::tools
