// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/DataTool.h"

#include <iostream>

int main(int argc, char** argv)
{
    const std::vector<std::string> args(argv + 1, argv + argc);
    return glyphmoor::tools::RunDataTool(args, std::cout, std::cerr);
}
