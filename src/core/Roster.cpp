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

LockState LockRosterFiles(FileStore& files)
{
    const LockState roster = files.Lock(RosterFileName, false);
    const LockState folder = files.Lock(FolderLockName, true);
    if (roster == LockState::Taken || folder == LockState::Taken)
        return LockState::Taken;
    if (roster == LockState::Held || (roster == LockState::Missing && folder == LockState::Held))
        return LockState::Held;
    return LockState::Unchecked;
}

void LoadRoster(Roster& roster, Io io)
{
    roster.characterCount = 0;
    roster.fileInStep = true;
    roster.unreadable = false;
    roster.lastFile.reset();
    roster.uncopiedFile.reset();
    roster.corruptCopy.clear();
    FileRead file = io.files.Load(RosterFileName, RosterFileLimit);
    if (file.state == FileState::Unreadable) {
        roster.unreadable = true;
        io.messages.Show(UnreadableRosterMessage());
        return;
    }
    if (file.state == FileState::Missing)
        return;
    roster.lastFile = std::move(file.content);
    for (Character& character : roster.characters) {
        const std::optional<bool> loaded = character.DecodeRecord(*roster.lastFile);
        if (!loaded)
            return;
        if (!*loaded) {
            roster.uncopiedFile = roster.lastFile;
            KeepCorruptCopy(roster, io);
            io.messages.Show(CorruptFileMessage(RosterFileName));
            return;
        }
        ++roster.characterCount;
    }
}

namespace {

// The whole roster as chars.dat, or nothing when a record would not load back.
std::optional<Bytes> EncodeRoster(const Roster& roster)
{
    Bytes file;
    file.reserve(static_cast<std::size_t>(roster.characterCount) * RecordSize);
    for (int k = 0; k < roster.characterCount; ++k) {
        const auto record = roster.characters[static_cast<std::size_t>(k)].EncodeRecord();
        if (!record)
            return std::nullopt;
        file.insert(file.end(), record->begin(), record->end());
    }
    return file;
}

// Writes record k into the file as found (when there is a k and the file is
// the one last read or written), or else the whole roster.
bool WriteRoster(Roster& roster, std::optional<int> k, Io io)
{
    std::optional<Bytes> file;
    if (!roster.unreadable) {
        FileRead found = io.files.Load(RosterFileName, RosterFileLimit);
        const bool same = found.state == FileState::Found ? roster.lastFile == found.content
                                                           : found.state == FileState::Missing && !roster.lastFile;
        if (found.state == FileState::Unreadable) {
            // Another program may have put a file there that this copy cannot
            // know: it is not written over.
        } else if (k && same && roster.fileInStep) {
            const auto slot = static_cast<std::size_t>(*k);
            const auto record = roster.characters[slot].EncodeRecord();
            if (record) {
                file = std::move(found.content);
                const std::size_t start = slot * RecordSize;
                if (file->size() / RecordSize <= slot)
                    file->resize(start + RecordSize);
                std::copy(record->begin(), record->end(), file->begin() + static_cast<std::ptrdiff_t>(start));
            }
        } else if (KeepCorruptCopy(roster, io)) {
            file = EncodeRoster(roster);
        }
    }
    roster.fileInStep = file && io.files.Replace(RosterFileName, *file);
    if (!roster.fileInStep) {
        io.messages.Show(CannotWriteMessage(RosterFileName));
        return false;
    }
    roster.lastFile = std::move(file);
    return true;
}

} // namespace

bool SaveCharacter(Roster& roster, int k, Io io)
{
    return WriteRoster(roster, k, io);
}

bool RewriteRoster(Roster& roster, Io io)
{
    return WriteRoster(roster, std::nullopt, io);
}

} // namespace glyphmoor
