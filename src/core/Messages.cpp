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

} // namespace glyphmoor
