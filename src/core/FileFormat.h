// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The facts of the program's five files: their names, the sizes of their
// tables, the bytes that end and separate fields in the reference files, and
// how a description's line breaks are stored. Readers, writers, the data tool,
// the launcher and the About box all take them from here.
#include "core/Bytes.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace glyphmoor {

// The files, all in the working folder.
inline constexpr const char* RunesFileName = "runes.dat";
inline constexpr const char* ItemsFileName = "items.dat";
inline constexpr const char* RunewordsFileName = "runewords.dat";
inline constexpr const char* RosterFileName = "chars.dat";
inline constexpr const char* SettingsFileName = "settings.dat";
// The reference data, in the order the program reads it.
inline constexpr const char* ReferenceFileNames[] = {RunesFileName, ItemsFileName, RunewordsFileName};

// What the tables hold: runes.dat has exactly RuneCount records, items.dat
// ItemTypeCount, runewords.dat up to RunewordCapacity, each with up to
// MaxRunesPerRuneword runes. The runes come in three rarity groups of
// RunesPerRarityGroup, most common first. The roster holds RosterSize
// characters.
inline constexpr int RuneCount = 33;
inline constexpr int ItemTypeCount = 18;
inline constexpr int RunewordCapacity = 168;
inline constexpr int MaxRunesPerRuneword = 6;
inline constexpr int RunesPerRarityGroup = 11;
inline constexpr int RosterSize = 256;

// The bytes between the fields of a reference file's record.
namespace dat {
inline constexpr std::uint8_t RecordEnd = 0x00;
inline constexpr std::uint8_t FieldEnd = 0x01;
inline constexpr std::uint8_t ItemTokenSeparator = 0x02; // between a runeword's item tokens
inline constexpr std::uint8_t RuneNameSeparator = 0x03;  // between a runeword's rune names
// Line breaks inside descriptions: a rune's text has one byte for two breaks
// and one for one, a runeword's text one byte for one.
inline constexpr std::uint8_t RuneDoubleBreak = 0x02;
inline constexpr std::uint8_t RuneBreak = 0x03;
inline constexpr std::uint8_t RunewordBreak = 0x04;
// The highest byte with a meaning of its own in some field.
inline constexpr std::uint8_t LastControlByte = 0x04;
} // namespace dat

// The first three bytes of every reference file.
struct DataFileDate {
    int day = 0;
    int month = 0;
    int year = 0; // of the century: 1 is 2001

    bool operator==(const DataFileDate&) const = default;
};

constexpr std::size_t DataFileDateSize = 3;
// How much of a reference file is read. Its tables hold at most 33, 18 and
// 168 records; a megabyte is far more than any such table needs, and a file
// cut there reads as a file that ends there.
constexpr std::size_t ReferenceFileLimit = std::size_t{1} << 20;

// Nothing when the bytes are fewer than three.
std::optional<DataFileDate> ReadDataFileDate(ByteView bytes);

enum class DescriptionOf { Rune, Runeword };

// A description as stored, with its break bytes, into text with CR LF line
// breaks; and back: pairs of breaks first where the format has a byte for two.
std::string DescriptionFromFile(std::string_view stored, DescriptionOf kind);
void AppendDescriptionToFile(Bytes& out, std::string_view text, DescriptionOf kind);

} // namespace glyphmoor
