// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Registers the program's icons (":/icons/...") with Qt. The resource file
// is compiled into a static library, whose registration the linker would
// otherwise drop. Safe to call more than once.
void InitResources();
