// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/MenuTable.h"

#include "ui/ControlIds.h"

namespace {

using K = MenuEntry;

constexpr MenuEntry Table[] = {
    {K::Popup, 0, "&File"},
    {K::Item, ids::NewCharacterCommand, "New character"},
    {K::Item, ids::EditCharacterCommand, "Edit character info"},
    {K::Item, ids::DeleteCharacterCommand, "Delete character"},
    {K::Separator, 0, ""},
    {K::Item, ids::ExitCommand, "Exit"},
    {K::EndPopup, 0, ""},

    {K::Popup, 0, "Fil&ters"},
    {K::Item, ids::AllRunesRule, "All runes in the runeword must be selected"},
    {K::Item, ids::AnyRuneRule, "Runeword must contain at least one of the selected runes"},
    {K::Item, ids::IgnoreRunesRule, "Show runewords regardless of the runes selected"},
    {K::Separator, 0, ""},
    {K::Item, ids::SelectedCharacterRule, "The selected character must meet the runeword clvl requirement"},
    {K::Item, ids::AnyCharacterRule, "One of my characters must meet the runeword clvl requirement"},
    {K::Item, ids::IgnoreCharactersRule, "Show runewords regardless of my clvl(s)"},
    {K::Separator, 0, ""},
    {K::Popup, 0, "Runeword must have clvl requirement over:"},
    {K::Item, ids::ClvlOverFirst + 0, "15"},
    {K::Item, ids::ClvlOverFirst + 1, "20"},
    {K::Item, ids::ClvlOverFirst + 2, "25"},
    {K::Item, ids::ClvlOverFirst + 3, "30"},
    {K::Item, ids::ClvlOverFirst + 4, "35"},
    {K::Item, ids::ClvlOverFirst + 5, "40"},
    {K::Item, ids::ClvlOverFirst + 6, "45"},
    {K::Item, ids::ClvlOverFirst + 7, "50"},
    {K::Item, ids::ClvlOverFirst + 8, "55"},
    {K::Item, ids::ClvlOverFirst + 9, "60"},
    {K::EndPopup, 0, ""},
    {K::Popup, 0, "Runeword must have clvl requirement under:"},
    {K::Item, ids::ClvlUnderFirst + 0, "20"},
    {K::Item, ids::ClvlUnderFirst + 1, "25"},
    {K::Item, ids::ClvlUnderFirst + 2, "30"},
    {K::Item, ids::ClvlUnderFirst + 3, "35"},
    {K::Item, ids::ClvlUnderFirst + 4, "40"},
    {K::Item, ids::ClvlUnderFirst + 5, "45"},
    {K::Item, ids::ClvlUnderFirst + 6, "50"},
    {K::Item, ids::ClvlUnderFirst + 7, "55"},
    {K::Item, ids::ClvlUnderFirst + 8, "60"},
    {K::Item, ids::ClvlUnderFirst + 9, "65"},
    {K::EndPopup, 0, ""},
    {K::Item, ids::IgnoreClvlLimits, "Show runewords regardless of clvl requirements"},
    {K::EndPopup, 0, ""},

    {K::Popup, 0, "&Options"},
    {K::Item, ids::ShowRuneInfo, "Show rune info"},
    {K::Item, ids::ShowItemInfo, "Show item info"},
    {K::Item, ids::ShowRunewordInfo, "Show runeword info"},
    {K::EndPopup, 0, ""},

    {K::Popup, 0, "&Help"},
    {K::Item, ids::AboutCommand, "About the Glyphmoor..."},
    {K::EndPopup, 0, ""},
};

} // namespace

std::span<const MenuEntry> MainMenuTable()
{
    return Table;
}
