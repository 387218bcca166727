// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tools/DataTables.h"
#include "tools/Findings.h"

#include <optional>

namespace glyphmoor::tools {

// Reports, as errors at each entry's `where`, what the .dat formats cannot
// carry: more records than the tables hold, more than six runes, a level or
// socket count outside a signed byte, a category other than 1 to 3, control
// bytes 0x00 to 0x04 in a name or text (beyond the line-break bytes of a
// description), and an empty item or rune name in a runeword.
void ValidateDataSet(const DataSet& set, Findings& findings);

// The .dat bytes of a valid data set, written by the core writers.
DatFiles EncodeDataSet(const DataSet& set);

// The text sources to .dat bytes. Nothing when any of the three has an
// error, and what check calls an error (a rune name no rune has) is one here
// too; warnings (runes out of level order) do not stop it.
std::optional<DatFiles> Compile(const TextFiles& sources, Findings& findings);

// A .dat file as a table, with each record's `where` its record number and
// byte offset. Reports what the readers skip or the text cannot carry.
RuneTable InspectRunes(ByteView file, Findings& findings);
ItemTable InspectItems(ByteView file, Findings& findings);
RunewordTable InspectRunewords(ByteView file, Findings& findings);

// The .dat files to text sources. The text is always produced; the findings
// say what it does not keep (bytes Glyphmoor never reads) and, as errors,
// what Compile will refuse until it is changed, check's errors among them. A
// set of files that gets no finding at all is one the readers accept in full:
// compiling its text gives back the same bytes.
TextFiles Decompile(const DatFiles& files, Findings& findings);

} // namespace glyphmoor::tools
