// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/Roster.h"

namespace glyphmoor {

Roster::Roster()
{
    for (int k = 0; k < RosterSize; ++k)
        characters[static_cast<std::size_t>(k)].SetSlot(k);
}

void LoadRoster(Roster& roster, Io io)
{
    roster.characterCount = 0;
    const std::optional<Bytes> file = io.files.Read(RosterFileName);
    if (!file)
        return;
    for (Character& character : roster.characters) {
        const std::optional<bool> loaded = character.DecodeRecord(*file);
        if (!loaded)
            return;
        if (!*loaded) {
            if (!io.files.Exists(CorruptRosterCopyName))
                io.files.Replace(CorruptRosterCopyName, *file);
            io.messages.Show(CorruptFileMessage(RosterFileName));
            return;
        }
        ++roster.characterCount;
    }
}

bool RewriteRoster(const Roster& roster, Io io)
{
    Bytes file;
    file.reserve(static_cast<std::size_t>(roster.characterCount) * RecordSize);
    for (int k = 0; k < roster.characterCount; ++k) {
        const auto record = roster.characters[static_cast<std::size_t>(k)].EncodeRecord();
        if (!record) {
            io.messages.Show(CannotWriteMessage(RosterFileName));
            return false;
        }
        file.insert(file.end(), record->begin(), record->end());
    }
    if (io.files.Replace(RosterFileName, file))
        return true;
    io.messages.Show(CannotWriteMessage(RosterFileName));
    return false;
}

} // namespace glyphmoor
