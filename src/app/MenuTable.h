// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/Settings.h"

#include <span>

// What a menu item does: one of the window's commands, or a value for one
// of the settings of the Filters and Options menus (then the item is marked
// while the setting holds that value).
struct MenuCommand {
    enum What {
        None, NewCharacter, EditCharacter, DeleteCharacter, Exit, About,
        RuneRule, CharacterRule, ClvlOver, ClvlUnder, IgnoreClvlLimits, InfoKind,
    } what = None;
    int value = 0;

    bool IsSetting() const { return what >= RuneRule; }
    // Whether the setting holds the item's value.
    bool IsMarked(const glyphmoor::FilterSettings& filter, glyphmoor::InfoKind infoKind) const;
};

// Menu 104, the menu bar, as one table. An entry opens a popup (kind Popup,
// closed by the next EndPopup), is a command item, or a separator. Popups and
// items carry the object name their menu or action gets; an item's action
// also carries its command id as data.
struct MenuEntry {
    enum Kind { Popup, EndPopup, Item, Separator } kind;
    int id;
    const char* text;
    const char* name;
    MenuCommand command;
};

std::span<const MenuEntry> MainMenuTable();
