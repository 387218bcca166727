// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tools/DataTables.h"
#include "core/FileStore.h"
#include "tools/Findings.h"

namespace glyphmoor::tools {

// What a player would meet with tables loaded as Glyphmoor loads them: names
// that find nothing, runewords no item can hold, duplicate names, runes out
// of level order, blank rows. `set` tells how many records each file really
// held and where each lies, for the messages.
void CheckStore(const DataStore& store, const DataSet& set, Findings& findings);

// Reads runes.dat, items.dat and runewords.dat from `files` with the core
// readers, as Glyphmoor does at start-up, and reports their counts and dates,
// what the readers skip, what the formats do not carry (a category other
// than 1 to 3, more than six runes: ValidateDataSet) and what CheckStore finds.
Findings CheckDatFiles(FileStore& files);

} // namespace glyphmoor::tools
