// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace glyphmoor {

// Raw file contents. Texts inside the data files are single-byte characters of
// the Windows-1252 code page and are kept as such in std::string; only the GUI
// converts them.
using Bytes = std::vector<std::uint8_t>;
using ByteView = std::span<const std::uint8_t>;

inline ByteView View(const std::string& text)
{
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

} // namespace glyphmoor
