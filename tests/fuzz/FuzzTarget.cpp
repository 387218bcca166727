// SPDX-License-Identifier: GPL-3.0-or-later
// One libFuzzer target: each input goes through the check FUZZ_CHECK names.

#include "FuzzChecks.h"

#include <cstdio>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string problems = glyphmoor::fuzz::FUZZ_CHECK(glyphmoor::ByteView(data, size));
    if (!problems.empty()) {
        std::fputs(problems.c_str(), stderr);
        __builtin_trap();
    }
    return 0;
}
