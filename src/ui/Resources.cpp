// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/Resources.h"

#include <QtGlobal>

// Q_INIT_RESOURCE must stand outside any namespace.
static void RegisterIcons()
{
    Q_INIT_RESOURCE(resources);
}

void InitResources()
{
    static const bool registered = (RegisterIcons(), true);
    (void)registered;
}
