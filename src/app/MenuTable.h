// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <span>

// Menu 104, the menu bar, as one table. An entry opens a popup (kind Popup,
// closed by the next EndPopup), is a command item, or a separator. Popups and
// items carry the object name their menu or action gets; an item's action
// also carries its command id as data.
struct MenuEntry {
    enum Kind { Popup, EndPopup, Item, Separator } kind;
    int id;
    const char* text;
    const char* name;
};

std::span<const MenuEntry> MainMenuTable();
