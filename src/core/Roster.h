// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/Character.h"
#include "core/FileStore.h"

#include <array>
#include <optional>
#include <string>

namespace glyphmoor {

// The player's characters: the first characterCount slots are in use, in the
// order they were created; the others are free.
struct Roster {
    Roster();

    std::array<Character, RosterSize> characters;
    int characterCount = 0;
    int selectedCharacter = -1; // -1 only while the roster is empty

    // chars.dat is there but could not be read: nothing of it is known, so
    // nothing may be written over it.
    bool unreadable = false;
    // chars.dat as this copy last read or wrote it (nothing: there was none).
    // A one-record save patches the file only while it is still this; a file
    // another program deleted, cut short or swapped is rewritten whole.
    std::optional<Bytes> lastFile;
    // False once a write of chars.dat has failed: the file may then lack
    // records the roster has or hold some it no longer has, so the next save
    // writes the whole roster.
    bool fileInStep = true;
    // chars.dat as found with a bad record, until a copy of it is on disk:
    // the records behind the bad one were not loaded, so the file is not
    // rewritten as a whole before that copy exists.
    std::optional<Bytes> uncopiedFile;
    // The name of the copy kept of a chars.dat found with a bad record.
    std::string corruptCopy;

    Character& Selected() { return characters[static_cast<std::size_t>(selectedCharacter)]; }
    const Character& Selected() const { return characters[static_cast<std::size_t>(selectedCharacter)]; }
};

inline const std::string CorruptRosterCopyName = "chars.dat.corrupt";
// Held while chars.dat does not exist yet, so that one copy per folder runs.
inline const std::string FolderLockName = ".glyphmoor.lock";

// Locks chars.dat (the file itself, through links) and the folder's lock
// file. Held when chars.dat, or while it is missing the folder, is locked;
// Taken when another copy holds either; Unchecked when neither could be
// taken nor checked, and then nothing may be saved.
LockState LockRosterFiles(FileStore& files);

// Reads chars.dat record by record and stops at the first missing or bad
// record (reported once). A file that is there but cannot be read is
// reported and marks the roster unreadable. A file found with a bad record is first copied, as
// found, under the first free name of chars.dat.corrupt, chars.dat.corrupt-2,
// chars.dat.corrupt-3 ... (an identical copy from an earlier start serves
// again); its name is left in corruptCopy for the player to be told.
void LoadRoster(Roster& roster, Io io);

// Writes the record of character k into chars.dat, or the whole roster when
// the file is not the one this copy last read or wrote; a failure is
// reported. Never writes over a file that does not read.
bool SaveCharacter(Roster& roster, int k, Io io);

// Replaces chars.dat by the records of the characters in use, all at once:
// when that fails the old file stays and the user is told once. Refused
// while the file holds records that were not loaded and no copy of it could
// be kept, and over a file that does not read.
bool RewriteRoster(Roster& roster, Io io);

} // namespace glyphmoor
