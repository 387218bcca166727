// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/Session.h"

#include "core/MessageFormat.h"
#include "core/RunewordFilter.h"

#include <algorithm>

namespace glyphmoor {

namespace {

const std::string RuneStatusFormat = " %1:  Clvl requirement:  %2!i!";
const std::string ItemStatusFormat = " %1:  Max possible sockets:  %2!i!";
const std::string RunewordStatusFormat = " %1:  Clvl requirement:  %2!i!";
const std::string TipFormat = "Clvl requirement: %1!i!\r\n\r\n%2";
const std::string ItemTipText = "Item tooltips is not yet implemended";
const std::string ItemInfoText = "Item information is not yet implemended";
const std::string TipTooLongText = "Error:\nTooltip text too long";

std::size_t Slot(Pick list)
{
    return static_cast<std::size_t>(list) - 1;
}

// A tip fits when it is shorter than the capacity: the capacity counts one
// byte for the end of the text.
std::string Fitted(const std::string& tip, int capacity)
{
    if (static_cast<int>(tip.size()) < capacity)
        return tip;
    if (static_cast<int>(TipTooLongText.size()) < capacity)
        return TipTooLongText;
    return {};
}

} // namespace

Session::Session(Io io) : io(io), store(RuneCount, ItemTypeCount, RunewordCapacity, MaxRunesPerRuneword) {}

bool Session::Load()
{
    for (const ReferenceTable table : ReferenceTables)
        store.Load(table, io);
    LoadRoster(roster, io);
    if (roster.unreadable)
        return false;
    if (!roster.corruptCopy.empty())
        io.messages.Show(CorruptCopyKeptMessage(roster.corruptCopy));
    else if (roster.uncopiedFile)
        io.messages.Show(CorruptCopyFailedMessage());
    return true;
}

void Session::LoadSettingsFile()
{
    const LoadedSettings loaded = LoadSettings(filter, infoKind, roster.characterCount, io);
    roster.selectedCharacter = loaded.selectedCharacter;
    settingsUnreadable = loaded.unreadable;
    if (roster.characterCount == 0)
        roster.selectedCharacter = -1; // only when the first character was refused
}

void Session::Save()
{
    if (roster.unreadable)
        return;
    if (roster.selectedCharacter >= 0 && roster.selectedCharacter < roster.characterCount) {
        CaptureSelected();
        SaveCharacter(roster, roster.selectedCharacter, io);
    }
    SaveSettingsFile();
}

void Session::SaveSettingsFile()
{
    // A settings file that did not read may hold choices this run never saw.
    if (settingsUnreadable)
        return;
    // With no character (a run ended while the first one was being asked
    // for) the index is stored as 0, which the next start accepts; -1 would
    // be rejected as corrupt.
    SaveSettings(filter, infoKind, std::max(roster.selectedCharacter, 0), io);
}

void Session::TellTicksChanged(Pick list)
{
    if (observer != nullptr)
        observer->TicksChanged(list);
}

void Session::TellRulesChanged()
{
    if (observer != nullptr)
        observer->RulesChanged();
}

bool Session::Ticked(Pick list, int row) const
{
    if (list == Pick::Rune)
        return row >= 0 && row < RuneCount && runeTicks[static_cast<std::size_t>(row)];
    return list == Pick::ItemType && row >= 0 && row < ItemTypeCount && itemTicks[static_cast<std::size_t>(row)];
}

void Session::SetTick(Pick list, int row, bool ticked)
{
    if (list == Pick::Rune && row >= 0 && row < RuneCount)
        runeTicks[static_cast<std::size_t>(row)] = ticked;
    else if (list == Pick::ItemType && row >= 0 && row < ItemTypeCount)
        itemTicks[static_cast<std::size_t>(row)] = ticked;
    else
        return;
    TellTicksChanged(list);
}

void Session::FlipTick(Pick list, int row)
{
    SetTick(list, row, !Ticked(list, row));
}

std::vector<int> Session::Members(TickSet set) const
{
    std::vector<int> rows;
    if (set <= TickSet::ExtremelyRareRunes) {
        const int group = static_cast<int>(set) - static_cast<int>(TickSet::CommonRunes); // -1 for all runes
        const int first = group < 0 ? 0 : group * RunesPerRarityGroup;
        const int last = group < 0 ? RuneCount - 1 : first + RunesPerRarityGroup - 1;
        for (int row = first; row <= last; ++row)
            rows.push_back(row);
        return rows;
    }
    for (int row = 0; row < ItemTypeCount; ++row) {
        const ItemType& type = store.GetItemType(row);
        const bool member = set == TickSet::AllItems       ? true
                            : set == TickSet::AllWeapons   ? type.IsWeapon()
                            : set == TickSet::MeleeWeapons ? type.IsMeleeWeapon()
                            : set == TickSet::MissileWeapons ? type.IsMissileWeapon()
                                                             : type.IsDefence();
        if (member)
            rows.push_back(row);
    }
    return rows;
}

void Session::TickGroup(TickSet set)
{
    const Pick list = set <= TickSet::ExtremelyRareRunes ? Pick::Rune : Pick::ItemType;
    const std::vector<int> members = Members(set);
    const bool target = std::any_of(members.begin(), members.end(), [&](int row) { return !Ticked(list, row); });
    const std::span<bool> ticks = list == Pick::Rune ? std::span<bool>(runeTicks) : std::span<bool>(itemTicks);
    for (const int row : members)
        ticks[static_cast<std::size_t>(row)] = target;
    TellTicksChanged(list);
}

int Session::Highlighted(Pick list) const
{
    return highlighted[Slot(list)];
}

void Session::SetHighlighted(Pick list, int row)
{
    highlighted[Slot(list)] = row;
}

void Session::SetRuneRule(RuneRule rule)
{
    filter.runeRule = rule;
    TellRulesChanged();
}

void Session::SetCharacterRule(CharacterRule rule)
{
    filter.characterRule = rule;
    TellRulesChanged();
}

void Session::SetClvlOver(int bound)
{
    filter.clvlOver = bound;
    filter.clvlUnder = 100;
    filter.ignoreClvlLimits = false;
    TellRulesChanged();
}

void Session::SetClvlUnder(int bound)
{
    filter.clvlUnder = bound;
    filter.clvlOver = 0;
    filter.ignoreClvlLimits = false;
    TellRulesChanged();
}

void Session::FlipIgnoreClvlLimits()
{
    filter.ignoreClvlLimits = !filter.ignoreClvlLimits;
    TellRulesChanged();
}

void Session::ListRunewords()
{
    ++listings;
    listed.clear();
    highlighted[Slot(Pick::Runeword)] = -1;
    const std::vector<int> runes = TickedRows(runeTicks);
    const std::vector<int> itemTypes = TickedRows(itemTicks);
    if (!runes.empty() && !itemTypes.empty())
        FilterRunewords(store, runes, itemTypes, roster, filter, listed);
}

int Session::ListedRuneword(int row) const
{
    return row >= 0 && row < static_cast<int>(listed.size()) ? listed[static_cast<std::size_t>(row)] : -1;
}

int Session::RowOf(int runeword) const
{
    const auto found = std::find(listed.begin(), listed.end(), runeword);
    return found == listed.end() ? -1 : static_cast<int>(found - listed.begin());
}

void Session::AddCharacter(std::string name, int clvl)
{
    if (RosterFull())
        return;
    if (roster.selectedCharacter != -1) {
        CaptureSelected();
        SaveCharacter(roster, roster.selectedCharacter, io);
    }
    const int k = roster.characterCount++;
    Character& created = roster.characters[static_cast<std::size_t>(k)];
    created.SetNameAndClvl(std::move(name), clvl);
    created.SetHighlights(0, 0, 0);
    SaveCharacter(roster, k, io);
    roster.selectedCharacter = k;
}

void Session::EditSelected(std::string name, int clvl)
{
    if (roster.selectedCharacter < 0)
        return;
    Character& character = roster.Selected();
    character.SetName(std::move(name));
    character.SetClvl(clvl);
}

std::string Session::DeleteQuestion() const
{
    const Character& doomed = roster.Selected();
    return FormatMessage("Are you sure you want to\ndelete this character:\n\nName:\t%1\nClvl:\t%2!i!",
                         {doomed.GetName(), doomed.GetClvl()});
}

bool Session::DeleteSelected()
{
    if (roster.selectedCharacter < 0)
        return false;
    if (roster.characterCount == 1) {
        roster.characters[0].Clear();
        roster.characterCount = 0;
        roster.selectedCharacter = -1;
        runeTicks.fill(false);
        itemTicks.fill(false);
        listed.clear();
        highlighted = {0, 0, -1};
        return true;
    }
    for (int i = roster.selectedCharacter; i < roster.characterCount - 1; ++i)
        roster.characters[static_cast<std::size_t>(i)].Assign(roster.characters[static_cast<std::size_t>(i) + 1]);
    roster.characters[static_cast<std::size_t>(roster.characterCount) - 1].Clear();
    --roster.characterCount;
    if (roster.selectedCharacter == roster.characterCount)
        --roster.selectedCharacter;
    FinishDeletion();
    return false;
}

void Session::FinishDeletion()
{
    RewriteRoster(roster, io);
    // The settings go with the smaller roster: if the run then ends
    // uncleanly, the next start does not find their index past it.
    SaveSettingsFile();
}

void Session::ApplySelected()
{
    const Character& character = roster.Selected();
    runeTicks = character.GetRuneTicks();
    itemTicks = character.GetItemTypeTicks();
    highlighted = {character.GetHighlight(HighlightedRune), character.GetHighlight(HighlightedItemType), -1};
}

void Session::SwitchTo(int k)
{
    if (k == roster.selectedCharacter || k < 0 || k >= roster.characterCount)
        return;
    CaptureSelected();
    SaveCharacter(roster, roster.selectedCharacter, io);
    roster.selectedCharacter = k;
}

void Session::CaptureSelected()
{
    Character& character = roster.Selected();
    for (int i = 0; i < RuneCount; ++i)
        character.SetRuneTick(i, runeTicks[static_cast<std::size_t>(i)]);
    for (int i = 0; i < ItemTypeCount; ++i)
        character.SetItemTypeTick(i, itemTicks[static_cast<std::size_t>(i)]);
    character.SetHighlights(Highlighted(Pick::Rune), Highlighted(Pick::ItemType),
                            ListedRuneword(Highlighted(Pick::Runeword)));
}

std::string Session::StatusText(Pick list, int row) const
{
    if (list == Pick::Rune && row >= 0 && row < RuneCount) {
        const Rune& rune = store.GetRune(row);
        return FormatMessage(RuneStatusFormat, {rune.GetName(), rune.GetClvl()});
    }
    if (list == Pick::ItemType && row >= 0 && row < ItemTypeCount) {
        const ItemType& type = store.GetItemType(row);
        return FormatMessage(ItemStatusFormat, {type.GetName(), type.GetMaxSockets()});
    }
    const int index = list == Pick::Runeword ? ListedRuneword(row) : -1;
    if (index == -1)
        return {};
    const Runeword& runeword = store.GetRuneword(index);
    return FormatMessage(RunewordStatusFormat, {runeword.GetName(), runeword.ClvlRequirement()});
}

std::string Session::InfoText() const
{
    switch (infoKind) {
    case RuneInfo: {
        const int row = Highlighted(Pick::Rune);
        return row >= 0 && row < RuneCount ? store.GetRune(row).GetDescription() : std::string();
    }
    case ItemInfo:
        return ItemInfoText;
    default: {
        const int index = ListedRuneword(Highlighted(Pick::Runeword));
        return index == -1 ? std::string() : store.GetRuneword(index).GetDescription();
    }
    }
}

std::string Session::TipText(Pick list, int row, int capacity) const
{
    if (list == Pick::Rune && row >= 0 && row < RuneCount) {
        const Rune& rune = store.GetRune(row);
        return Fitted(FormatMessage(TipFormat, {rune.GetClvl(), rune.GetDescription()}), capacity);
    }
    if (list == Pick::ItemType)
        return Fitted(ItemTipText, capacity);
    const int index = list == Pick::Runeword ? ListedRuneword(row) : -1;
    if (index == -1)
        return {};
    const Runeword& runeword = store.GetRuneword(index);
    return Fitted(FormatMessage(TipFormat, {runeword.ClvlRequirement(), runeword.GetDescription()}), capacity);
}

std::vector<Session::MissingRune> Session::MissingRunes(int runeword) const
{
    std::vector<MissingRune> missing;
    if (runeword < 0 || runeword >= store.GetRunewordCount())
        return missing;
    const Runeword& word = store.GetRuneword(runeword);
    int start = 0;
    for (int position = 0; position < word.GetRuneCount(); ++position) {
        // The pieces of the rune order text, as Runeword::RuneOrderText joins them.
        const std::string name = word.RuneName(position);
        if (!Ticked(Pick::Rune, word.GetRune(position)))
            missing.push_back({start, static_cast<int>(name.size()), name});
        start += static_cast<int>(name.size()) + 1;
    }
    return missing;
}

std::string Session::NeedsText(const std::vector<MissingRune>& missing)
{
    std::string text;
    for (const MissingRune& rune : missing)
        text += (text.empty() ? "needs " : ", ") + rune.name;
    return text;
}

} // namespace glyphmoor
