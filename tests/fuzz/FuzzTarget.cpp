// SPDX-License-Identifier: GPL-3.0-or-later
// One libFuzzer target: FUZZ_CHECK names the check of FuzzChecks.h or
// ToolChecks.h that each input goes through; a broken invariant traps.

#include "FuzzChecks.h"
#include "ToolChecks.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    glyphmoor::fuzz::Require(glyphmoor::fuzz::FUZZ_CHECK(glyphmoor::ByteView(data, size)));
    return 0;
}
