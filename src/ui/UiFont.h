// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFont>

// The one small sans-serif font that every control of the window and the
// About box uses: legible and fitting the lists' 16-pixel rows.
const QFont& UiFont();

// Gives the font to a widget and every widget inside it, at every depth.
void ApplyUiFont(QWidget* root);
