// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/Bytes.h"
#include "core/FileFormat.h"

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace glyphmoor {

// The one walk over the records and fields of a .dat file: where each lies and
// its exact bytes. DataStore's readers build their tables from it, and the data
// tool's messages name record numbers and byte offsets from it. It gives the
// bytes no meaning: names are not looked up and line-break bytes are not turned
// into line breaks.
struct DatField {
    std::size_t offset = 0;
    std::string bytes;
    bool ended = true; // false when the file ended inside the field
};

struct DatRune {
    std::size_t offset = 0;
    int clvl = 0;
    DatField name;
    DatField description;
};

struct DatItem {
    std::size_t offset = 0;
    int maxSockets = -1;
    int category = 0;
    bool hasCategory = true; // false when the file ended after maxSockets
    DatField name;
};

struct DatRuneword {
    std::size_t offset = 0;
    DatField name;
    std::vector<DatField> itemTokens;
    std::vector<DatField> runeNames; // every name, also those past the sixth
    DatField description;
};

template <typename Record>
struct DatLayout {
    std::optional<DataFileDate> date;
    std::vector<Record> records;
    // Bytes the readers never look at: after the last record the table has
    // room for, or an incomplete runeword record that the reader drops.
    std::size_t ignoredFrom = 0;
    std::size_t size = 0;
    bool HasIgnoredBytes() const { return ignoredFrom < size; }
};

DatLayout<DatRune> ScanRunes(ByteView file, int capacity);
DatLayout<DatItem> ScanItems(ByteView file, int capacity);
DatLayout<DatRuneword> ScanRunewords(ByteView file, int capacity);

} // namespace glyphmoor
