// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/Resources.h"

#include <QPixmap>
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

QIcon ScaledIcon(int id)
{
    // Each picture is added at its own pixel size; taken as an @2x file it
    // would count as the base size again, and QIcon would not choose it.
    QIcon icon;
    for (const char* suffix : {"", "@2x", "@3x"}) {
        QPixmap picture(QStringLiteral(":/icons/%1%2.png").arg(id).arg(QLatin1String(suffix)));
        picture.setDevicePixelRatio(1);
        icon.addPixmap(picture);
    }
    return icon;
}
