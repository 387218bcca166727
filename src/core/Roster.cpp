// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/Roster.h"

namespace glyphmoor {

namespace {

// Keeps the file found with a bad record under a name nothing else uses,
// never over an existing file. False when no copy could be written.
bool KeepCorruptCopy(Roster& roster, Io io)
{
    if (!roster.uncopiedFile)
        return true;
    for (int n = 1; n <= 999; ++n) {
        const std::string name =
            n == 1 ? CorruptRosterCopyName : CorruptRosterCopyName + "-" + std::to_string(n);
        const bool created = io.files.Create(name, *roster.uncopiedFile);
        if (created || io.files.Read(name, RosterFileLimit + 1) == roster.uncopiedFile) {
            roster.corruptCopy = name;
            roster.uncopiedFile.reset();
            return true;
        }
        if (!io.files.Exists(name))
            return false; // the name was free: the disk refused the copy
    }
    return false;
}

} // namespace

Roster::Roster()
{
    for (int k = 0; k < RosterSize; ++k)
        characters[static_cast<std::size_t>(k)].SetSlot(k);
}

void LoadRoster(Roster& roster, Io io)
{
    roster.characterCount = 0;
    roster.fileInStep = true;
    roster.uncopiedFile.reset();
    roster.corruptCopy.clear();
    const std::optional<Bytes> file = io.files.Read(RosterFileName, RosterFileLimit);
    if (!file)
        return;
    for (Character& character : roster.characters) {
        const std::optional<bool> loaded = character.DecodeRecord(*file);
        if (!loaded)
            return;
        if (!*loaded) {
            roster.uncopiedFile = *file;
            KeepCorruptCopy(roster, io);
            io.messages.Show(CorruptFileMessage(RosterFileName));
            return;
        }
        ++roster.characterCount;
    }
}

bool SaveCharacter(Roster& roster, int k, Io io)
{
    if (!roster.fileInStep)
        return RewriteRoster(roster, io);
    roster.fileInStep = roster.characters[static_cast<std::size_t>(k)].Save(io);
    return roster.fileInStep;
}

bool RewriteRoster(Roster& roster, Io io)
{
    Bytes file;
    file.reserve(static_cast<std::size_t>(roster.characterCount) * RecordSize);
    bool encoded = true;
    for (int k = 0; k < roster.characterCount && encoded; ++k) {
        const auto record = roster.characters[static_cast<std::size_t>(k)].EncodeRecord();
        encoded = record.has_value();
        if (record)
            file.insert(file.end(), record->begin(), record->end());
    }
    roster.fileInStep = encoded && KeepCorruptCopy(roster, io) && io.files.Replace(RosterFileName, file);
    if (!roster.fileInStep)
        io.messages.Show(CannotWriteMessage(RosterFileName));
    return roster.fileInStep;
}

} // namespace glyphmoor
