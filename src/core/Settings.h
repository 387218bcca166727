// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/Bytes.h"
#include "core/FileFormat.h"
#include "core/FileStore.h"
#include "core/Records.h"

#include <cstdint>
#include <string>

namespace glyphmoor {

enum CharacterRule : int { SelectedCharacter = 1, AnyCharacter = 2, IgnoreCharacters = 3 };
enum InfoKind : int { RuneInfo = 1, ItemInfo = 2, RunewordInfo = 3 };

struct FilterSettings {
    RuneRule runeRule = AllRunes;
    CharacterRule characterRule = IgnoreCharacters;
    std::int32_t clvlOver = 0;      // strict lower bound of a runeword's requirement
    std::int32_t clvlUnder = 100;   // strict upper bound
    bool ignoreClvlLimits = true;

    bool operator==(const FilterSettings&) const = default;
};

constexpr InfoKind DefaultInfoKind = RunewordInfo;
constexpr std::size_t SettingsFileSize = 28;

// The 28 bytes of settings.dat, little-endian; the padding is written as 0.
Bytes EncodeSettings(const FilterSettings& filter, InfoKind infoKind, int selectedCharacter);

struct LoadedSettings {
    int selectedCharacter = 0;
    // The file is there but did not read (reported): it must not be saved
    // over.
    bool unreadable = false;
};

// Reads settings.dat into filter and infoKind and returns the selected
// character to use. A missing or unreadable file keeps the values given; a
// file shorter than 28 bytes fills only its leading fields. An index past the
// roster (a roster that shrank) becomes its last character; other content out
// of range is reported, the file is deleted, the defaults are restored and 0
// is returned.
LoadedSettings LoadSettings(FilterSettings& filter, InfoKind& infoKind, int characterCount, Io io);

// Replaces settings.dat; a failure is reported and the old file stays.
bool SaveSettings(const FilterSettings& filter, InfoKind infoKind, int selectedCharacter, Io io);

} // namespace glyphmoor
