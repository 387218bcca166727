// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/MenuTable.h"

#include "ui/ControlIds.h"

namespace {

using K = MenuEntry;

constexpr MenuEntry Table[] = {
    {K::Popup, 0, "&File", "fileMenu"},
    {K::Item, ids::NewCharacterCommand, "New character", "newCharacterAction"},
    {K::Item, ids::EditCharacterCommand, "Edit character info", "editCharacterAction"},
    {K::Item, ids::DeleteCharacterCommand, "Delete character", "deleteCharacterAction"},
    {K::Separator, 0, "", ""},
    {K::Item, ids::ExitCommand, "Exit", "exitAction"},
    {K::EndPopup, 0, "", ""},

    {K::Popup, 0, "Fil&ters", "filtersMenu"},
    {K::Item, ids::AllRunesRule, "All runes in the runeword must be selected", "allRunesRuleAction"},
    {K::Item, ids::AnyRuneRule, "Runeword must contain at least one of the selected runes", "anyRuneRuleAction"},
    {K::Item, ids::IgnoreRunesRule, "Show runewords regardless of the runes selected", "ignoreRunesRuleAction"},
    {K::Separator, 0, "", ""},
    {K::Item, ids::SelectedCharacterRule, "The selected character must meet the runeword clvl requirement", "selectedCharacterRuleAction"},
    {K::Item, ids::AnyCharacterRule, "One of my characters must meet the runeword clvl requirement", "anyCharacterRuleAction"},
    {K::Item, ids::IgnoreCharactersRule, "Show runewords regardless of my clvl(s)", "ignoreCharactersRuleAction"},
    {K::Separator, 0, "", ""},
    {K::Popup, 0, "Runeword must have clvl requirement over:", "clvlOverMenu"},
    {K::Item, ids::ClvlOver15, "15", "clvlOver15Action"},
    {K::Item, ids::ClvlOver20, "20", "clvlOver20Action"},
    {K::Item, ids::ClvlOver25, "25", "clvlOver25Action"},
    {K::Item, ids::ClvlOver30, "30", "clvlOver30Action"},
    {K::Item, ids::ClvlOver35, "35", "clvlOver35Action"},
    {K::Item, ids::ClvlOver40, "40", "clvlOver40Action"},
    {K::Item, ids::ClvlOver45, "45", "clvlOver45Action"},
    {K::Item, ids::ClvlOver50, "50", "clvlOver50Action"},
    {K::Item, ids::ClvlOver55, "55", "clvlOver55Action"},
    {K::Item, ids::ClvlOver60, "60", "clvlOver60Action"},
    {K::EndPopup, 0, "", ""},
    {K::Popup, 0, "Runeword must have clvl requirement under:", "clvlUnderMenu"},
    {K::Item, ids::ClvlUnder20, "20", "clvlUnder20Action"},
    {K::Item, ids::ClvlUnder25, "25", "clvlUnder25Action"},
    {K::Item, ids::ClvlUnder30, "30", "clvlUnder30Action"},
    {K::Item, ids::ClvlUnder35, "35", "clvlUnder35Action"},
    {K::Item, ids::ClvlUnder40, "40", "clvlUnder40Action"},
    {K::Item, ids::ClvlUnder45, "45", "clvlUnder45Action"},
    {K::Item, ids::ClvlUnder50, "50", "clvlUnder50Action"},
    {K::Item, ids::ClvlUnder55, "55", "clvlUnder55Action"},
    {K::Item, ids::ClvlUnder60, "60", "clvlUnder60Action"},
    {K::Item, ids::ClvlUnder65, "65", "clvlUnder65Action"},
    {K::EndPopup, 0, "", ""},
    {K::Item, ids::IgnoreClvlLimits, "Show runewords regardless of clvl requirements", "ignoreClvlLimitsAction"},
    {K::EndPopup, 0, "", ""},

    {K::Popup, 0, "&Options", "optionsMenu"},
    {K::Item, ids::ShowRuneInfo, "Show rune info", "showRuneInfoAction"},
    {K::Item, ids::ShowItemInfo, "Show item info", "showItemInfoAction"},
    {K::Item, ids::ShowRunewordInfo, "Show runeword info", "showRunewordInfoAction"},
    {K::EndPopup, 0, "", ""},

    {K::Popup, 0, "&Help", "helpMenu"},
    {K::Item, ids::AboutCommand, "About the Glyphmoor...", "aboutAction"},
    {K::EndPopup, 0, "", ""},
};

} // namespace

std::span<const MenuEntry> MainMenuTable()
{
    return Table;
}
