// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Registers the program's icons (":/icons/...") with Qt. The resource file
// is compiled into a static library, whose registration the linker would
// otherwise drop. Safe to call more than once.
#include <QIcon>

void InitResources();

// Icon `id` from its base picture and the @2x and @3x versions drawn for
// high-density screens, so that no size is blown up from a smaller one.
QIcon ScaledIcon(int id);
