// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFont>

// The one small sans-serif font that every control of the window and the
// About box uses: legible and fitting the lists' 16-pixel rows.
const QFont& UiFont();

// The style every window of the program is drawn in: the system's, with a
// little more room between a tip's border and its text. Set once, before the
// first window is made.
void UseUiStyle();

// Gives the font to a widget and every widget inside it, at every depth.
void ApplyUiFont(QWidget* root);
