// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Makes the rows of the lists with tick boxes (runes, items) known to screen
// readers as checkable items with their checked state, whose toggle action
// asks the list's owner to flip the tick (SelectList::toggleRequested), as
// Space does. Safe to call more than once.
void InstallListAccessibility();
