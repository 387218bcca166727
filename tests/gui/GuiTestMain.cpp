// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/UiFont.h"

#include <QApplication>

#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0); // unless another platform is asked for
    QApplication app(argc, argv);
    UseUiStyle();
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
