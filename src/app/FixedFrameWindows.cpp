// SPDX-License-Identifier: GPL-3.0-or-later
// On Windows the window's flags already give the frame its style: a fixed
// border, the system menu and the minimise box, no maximise box.
#include "app/FixedFrame.h"

void AdvertiseFixedFrame(QWidget&) {}
