// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/UiFont.h"

#include <QApplication>

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    // Unless another platform is asked for. Windows runs the platform its
    // players have: its fonts and metrics are where the layout goes wrong.
#ifndef _WIN32
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
#endif
    QApplication app(argc, argv);
    UseUiStyle();
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
