// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <span>

// Menu 104, the menu bar, as one table. An entry opens a popup (kind Popup,
// closed by the next EndPopup), is a command item, or a separator.
struct MenuEntry {
    enum Kind { Popup, EndPopup, Item, Separator } kind;
    int id;
    const char* text;
};

std::span<const MenuEntry> MainMenuTable();
