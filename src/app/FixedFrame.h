// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QWidget;

// Tells the window manager that `window`, a top-level window of fixed size,
// has no sizing border and no maximise box, only a title, its system menu, a
// minimise and a close box. Called once its native window exists and before
// it is mapped.
void AdvertiseFixedFrame(QWidget& window);
