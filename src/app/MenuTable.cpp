// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/MenuTable.h"

#include "ui/ControlIds.h"

namespace {

using K = MenuEntry;
using C = MenuCommand;

constexpr MenuEntry Table[] = {
    {K::Popup, 0, "&File", "fileMenu", {}},
    {K::Item, ids::NewCharacterCommand, "New character", "newCharacterAction", {C::NewCharacter}},
    {K::Item, ids::EditCharacterCommand, "Edit character info", "editCharacterAction", {C::EditCharacter}},
    {K::Item, ids::DeleteCharacterCommand, "Delete character", "deleteCharacterAction", {C::DeleteCharacter}},
    {K::Separator, 0, "", "", {}},
    {K::Item, ids::ExitCommand, "Exit", "exitAction", {C::Exit}},
    {K::EndPopup, 0, "", "", {}},

    {K::Popup, 0, "Fil&ters", "filtersMenu", {}},
    {K::Item, ids::AllRunesRule, "All runes in the runeword must be selected", "allRunesRuleAction", {C::RuneRule, glyphmoor::AllRunes}},
    {K::Item, ids::AnyRuneRule, "Runeword must contain at least one of the selected runes", "anyRuneRuleAction", {C::RuneRule, glyphmoor::AnyRune}},
    {K::Item, ids::IgnoreRunesRule, "Show runewords regardless of the runes selected", "ignoreRunesRuleAction", {C::RuneRule, glyphmoor::IgnoreRunes}},
    {K::Separator, 0, "", "", {}},
    {K::Item, ids::SelectedCharacterRule, "The selected character must meet the runeword clvl requirement", "selectedCharacterRuleAction", {C::CharacterRule, glyphmoor::SelectedCharacter}},
    {K::Item, ids::AnyCharacterRule, "One of my characters must meet the runeword clvl requirement", "anyCharacterRuleAction", {C::CharacterRule, glyphmoor::AnyCharacter}},
    {K::Item, ids::IgnoreCharactersRule, "Show runewords regardless of my clvl(s)", "ignoreCharactersRuleAction", {C::CharacterRule, glyphmoor::IgnoreCharacters}},
    {K::Separator, 0, "", "", {}},
    {K::Popup, 0, "Runeword must have clvl requirement over:", "clvlOverMenu", {}},
    {K::Item, ids::ClvlOver15, "15", "clvlOver15Action", {C::ClvlOver, 15}},
    {K::Item, ids::ClvlOver20, "20", "clvlOver20Action", {C::ClvlOver, 20}},
    {K::Item, ids::ClvlOver25, "25", "clvlOver25Action", {C::ClvlOver, 25}},
    {K::Item, ids::ClvlOver30, "30", "clvlOver30Action", {C::ClvlOver, 30}},
    {K::Item, ids::ClvlOver35, "35", "clvlOver35Action", {C::ClvlOver, 35}},
    {K::Item, ids::ClvlOver40, "40", "clvlOver40Action", {C::ClvlOver, 40}},
    {K::Item, ids::ClvlOver45, "45", "clvlOver45Action", {C::ClvlOver, 45}},
    {K::Item, ids::ClvlOver50, "50", "clvlOver50Action", {C::ClvlOver, 50}},
    {K::Item, ids::ClvlOver55, "55", "clvlOver55Action", {C::ClvlOver, 55}},
    {K::Item, ids::ClvlOver60, "60", "clvlOver60Action", {C::ClvlOver, 60}},
    {K::EndPopup, 0, "", "", {}},
    {K::Popup, 0, "Runeword must have clvl requirement under:", "clvlUnderMenu", {}},
    {K::Item, ids::ClvlUnder20, "20", "clvlUnder20Action", {C::ClvlUnder, 20}},
    {K::Item, ids::ClvlUnder25, "25", "clvlUnder25Action", {C::ClvlUnder, 25}},
    {K::Item, ids::ClvlUnder30, "30", "clvlUnder30Action", {C::ClvlUnder, 30}},
    {K::Item, ids::ClvlUnder35, "35", "clvlUnder35Action", {C::ClvlUnder, 35}},
    {K::Item, ids::ClvlUnder40, "40", "clvlUnder40Action", {C::ClvlUnder, 40}},
    {K::Item, ids::ClvlUnder45, "45", "clvlUnder45Action", {C::ClvlUnder, 45}},
    {K::Item, ids::ClvlUnder50, "50", "clvlUnder50Action", {C::ClvlUnder, 50}},
    {K::Item, ids::ClvlUnder55, "55", "clvlUnder55Action", {C::ClvlUnder, 55}},
    {K::Item, ids::ClvlUnder60, "60", "clvlUnder60Action", {C::ClvlUnder, 60}},
    {K::Item, ids::ClvlUnder65, "65", "clvlUnder65Action", {C::ClvlUnder, 65}},
    {K::EndPopup, 0, "", "", {}},
    {K::Item, ids::IgnoreClvlLimits, "Show runewords regardless of clvl requirements", "ignoreClvlLimitsAction", {C::IgnoreClvlLimits}},
    {K::EndPopup, 0, "", "", {}},

    {K::Popup, 0, "&Options", "optionsMenu", {}},
    {K::Item, ids::ShowRuneInfo, "Show rune info", "showRuneInfoAction", {C::InfoKind, glyphmoor::RuneInfo}},
    {K::Item, ids::ShowItemInfo, "Show item info", "showItemInfoAction", {C::InfoKind, glyphmoor::ItemInfo}},
    {K::Item, ids::ShowRunewordInfo, "Show runeword info", "showRunewordInfoAction", {C::InfoKind, glyphmoor::RunewordInfo}},
    {K::EndPopup, 0, "", "", {}},

    {K::Popup, 0, "&Help", "helpMenu", {}},
    {K::Item, ids::AboutCommand, "About the Glyphmoor...", "aboutAction", {C::About}},
    {K::EndPopup, 0, "", "", {}},
};

} // namespace

bool MenuCommand::IsMarked(const glyphmoor::FilterSettings& filter, glyphmoor::InfoKind infoKind) const
{
    switch (what) {
    case RuneRule:
        return filter.runeRule == value;
    case CharacterRule:
        return filter.characterRule == value;
    case ClvlOver:
        return filter.clvlOver == value;
    case ClvlUnder:
        return filter.clvlUnder == value;
    case IgnoreClvlLimits:
        return filter.ignoreClvlLimits;
    case InfoKind:
        return infoKind == value;
    default:
        return false;
    }
}

std::span<const MenuEntry> MainMenuTable()
{
    return Table;
}
