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

Message AlreadyRunningMessage(const std::string& lockName)
{
    return {"Info...",
            "Glyphmoor is already running with the files in this folder.\n\n"
            "This copy closes without reading or changing any of them, so nothing is lost.\n\n"
            "Switch to the Glyphmoor window that is open. If there is none, wait a moment and start "
            "Glyphmoor again; if it still says this, delete the file '" +
                lockName + "' in this folder.",
            MessageIcon::Information, MessageButtons::Ok};
}

} // namespace glyphmoor
