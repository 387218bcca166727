// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tools/DataTables.h"
#include "tools/Findings.h"

#include <string>

namespace glyphmoor::tools {

// The text source of the data set: UTF-8, one file per table, described in
// docs/data-format.md. The parsers report what they cannot read as errors at
// the file's line and keep going, so that one run names every mistake; the
// limits of the binary formats are checked afterwards by ValidateDataSet.
RuneTable ParseRunesText(const std::string& text, Findings& findings);
ItemTable ParseItemsText(const std::string& text, Findings& findings);
RunewordTable ParseRunewordsText(const std::string& text, Findings& findings);

// The inverse: any table parsed without errors comes back from its text.
std::string FormatRunesText(const RuneTable& table);
std::string FormatItemsText(const ItemTable& table);
std::string FormatRunewordsText(const RunewordTable& table);

// Why a date is none a data file should hold ("February 2026 has no day 31",
// "the year 2127 is outside 2000 to 2099, ..."), or nothing for a real day.
std::string DateFault(DataFileDate date);

// The date as the text writes it, "15.03.2025" (the About box shows the same).
std::string FormatDate(DataFileDate date);

} // namespace glyphmoor::tools
