// SPDX-License-Identifier: GPL-3.0-or-later
#include "ToolTestSupport.h"

#include <sstream>

namespace glyphmoor::tools::test {

TextFiles SmallSources()
{
    return {
        "date: 11.10.2001\n\nrune: Ash\nlevel: 1\n| Grey.\n\nrune: Bel\nlevel: 2\n| Blue.\n\nrune: Cor\nlevel: 3\n"
        "| Red.\n",
        "date: 11.10.2001\n\nitem: Knife\ncategory: melee\nsockets: 2\n\nitem: Bow\ncategory: missile\n"
        "sockets: 4\n\nitem: Cap\ncategory: defence\nsockets: 3\n",
        "date: 11.10.2001\n\nruneword: Kindle\nitems: Weapons\nrunes: Ash Bel\n"
        "\nruneword: Veil\nitems: Cap\nrunes: Bel Cor Bel\n| Two\n| lines.\n",
    };
}

std::string Describe(const Findings& findings)
{
    std::ostringstream out;
    findings.Print(out);
    return out.str();
}

} // namespace glyphmoor::tools::test
