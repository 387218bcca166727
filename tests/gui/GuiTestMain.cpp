// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/UiFont.h"

#include <QApplication>

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    // Unless another platform is asked for. Set here, not by the caller:
    // Wine hands no QT_ variable to a Windows program.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    UseUiStyle();
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
