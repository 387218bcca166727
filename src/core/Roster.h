// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/Character.h"
#include "core/FileStore.h"

#include <array>

namespace glyphmoor {

// The player's characters: the first characterCount slots are in use, in the
// order they were created; the others are free.
struct Roster {
    Roster();

    std::array<Character, RosterSize> characters;
    int characterCount = 0;
    int selectedCharacter = -1; // -1 only while the roster is empty

    Character& Selected() { return characters[static_cast<std::size_t>(selectedCharacter)]; }
    const Character& Selected() const { return characters[static_cast<std::size_t>(selectedCharacter)]; }
};

inline const std::string CorruptRosterCopyName = "chars.dat.corrupt";

// Reads chars.dat record by record and stops at the first missing or bad
// record (reported once). A file found corrupt is first copied, as found, to
// chars.dat.corrupt unless that copy already exists.
void LoadRoster(Roster& roster, Io io);

// Replaces chars.dat by the records of the characters in use, all at once:
// when that fails the old file stays and the user is told once.
bool RewriteRoster(const Roster& roster, Io io);

} // namespace glyphmoor
