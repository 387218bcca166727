// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/UiFont.h"

#include <QWidget>

const QFont& UiFont()
{
    static const QFont font = [] {
        QFont f(QStringLiteral("DejaVu Sans Condensed"));
        f.setStyleHint(QFont::SansSerif);
        f.setPixelSize(11);
        f.setWeight(QFont::Normal);
        return f;
    }();
    return font;
}

void ApplyUiFont(QWidget* root)
{
    root->setFont(UiFont());
    for (QWidget* child : root->findChildren<QWidget*>()) {
        child->setFont(UiFont());
        child->update();
    }
}
