// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/Messages.h"

namespace glyphmoor {

namespace {
Message FileError(std::string text)
{
    return {"Error...", std::move(text), MessageIcon::Exclamation, MessageButtons::Ok};
}
} // namespace

Message FileNotFoundMessage(const std::string& fileName)
{
    return FileError("File not found: '" + fileName + "'");
}

Message CorruptFileMessage(const std::string& fileName)
{
    return FileError("Corrupt datafile: '" + fileName + "'");
}

Message CannotWriteMessage(const std::string& fileName)
{
    return FileError("Error creating/loading file: '" + fileName + "'");
}

namespace {
const char* const NotLoaded =
    "Some characters in chars.dat were not loaded: the file holds a damaged record, "
    "and the characters stored after it are not shown.\n\n";
} // namespace

Message CorruptCopyKeptMessage(const std::string& copyName)
{
    return {"Info...",
            NotLoaded + ("The file as it was found is kept unchanged as '" + copyName +
                         "' in Glyphmoor's folder, and Glyphmoor never writes over that copy.\n\n"
                         "Keep the copy: the characters after the damaged record are still in it. "
                         "Restore chars.dat from a backup or have the copy repaired to get them back."),
            MessageIcon::Information, MessageButtons::Ok};
}

Message CorruptCopyFailedMessage()
{
    return {"Info...",
            NotLoaded +
                std::string("Glyphmoor could not keep a copy of the file (the disk may be full), so it "
                            "will not rewrite chars.dat as a whole: the characters after the damaged "
                            "record stay in it.\n\n"
                            "Free some disk space, then close Glyphmoor and start it again."),
            MessageIcon::Information, MessageButtons::Ok};
}

Message AlreadyRunningMessage()
{
    return {"Info...",
            "Glyphmoor is already running with the files in this folder.\n\n"
            "This copy closes without reading or changing any of them, so nothing is lost.\n\n"
            "Switch to the Glyphmoor window that is open. If there is none, wait a moment and start "
            "Glyphmoor again.",
            MessageIcon::Information, MessageButtons::Ok};
}

Message UnreadableRosterMessage()
{
    return FileError("Glyphmoor could not read 'chars.dat', the file of your characters: the file is there, "
                     "but reading it failed. The disk, the network drive or the file's permissions may be "
                     "at fault.\n\n"
                     "Glyphmoor closes now and leaves the file as it is, so none of your characters is "
                     "lost.\n\n"
                     "Make sure the file can be read (reconnect the drive, or give yourself the right to "
                     "read the file), then start Glyphmoor again.");
}

Message UnreadableSettingsMessage()
{
    return FileError("Glyphmoor could not read 'settings.dat', the file of your filter choices: the file is "
                     "there, but reading it failed.\n\n"
                     "Glyphmoor starts with the default filters and leaves the file as it is: the choices "
                     "of this session are not saved over it.\n\n"
                     "Make sure the file can be read, then start Glyphmoor again to have your choices back.");
}

Message UnsavedSessionMessage()
{
    return {"Info...",
            "Glyphmoor could not make sure that it is the only copy working with the files in this "
            "folder: it could lock neither 'chars.dat' nor '.glyphmoor.lock'. The disk may be full or "
            "read-only, or a network drive that takes no locks.\n\n"
            "So that two copies never write over each other's characters, this session saves nothing: "
            "your files stay as they are, and what you change now is gone when Glyphmoor closes.\n\n"
            "Free some disk space or make the folder writable, then start Glyphmoor again.",
            MessageIcon::Exclamation, MessageButtons::Ok};
}

} // namespace glyphmoor
