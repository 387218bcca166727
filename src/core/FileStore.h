// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/Bytes.h"
#include "core/Messages.h"

#include <cstddef>
#include <optional>
#include <string>

namespace glyphmoor {

// The program's files, opened by bare name for one operation at a time.
// Writers never patch a file in place: they hand the whole new content to
// Replace, which must leave either the old file or the new one on disk.
class FileStore {
public:
    virtual ~FileStore() = default;
    // At most the first `limit` bytes (a reader asks only for what its
    // format can use), or nothing when the file cannot be opened or read.
    virtual std::optional<Bytes> Read(const std::string& name, std::size_t limit) = 0;
    virtual bool Replace(const std::string& name, const Bytes& content) = 0;
    virtual bool Remove(const std::string& name) = 0;
    virtual bool Exists(const std::string& name) = 0;
    // Writes a file under a name nothing holds yet; false, and nothing
    // changed, when the name is taken or the write fails.
    virtual bool Create(const std::string& name, const Bytes& content)
    {
        return !Exists(name) && Replace(name, content);
    }
    // Removes what an interrupted Replace of that file left behind.
    virtual void RemoveLeftovers(const std::string& /*name*/) {}
};

// Files in a directory (the working directory by default). A name that is a
// symbolic link stands for the file it leads to. Replace writes a temporary
// file "<file>.new-<pid>-<n>" beside that file, syncs it, gives it the old
// file's mode and renames it over the file. It refuses a file the player made
// read-only (no write bit, whatever rights the program has) and anything but a
// regular file; Remove refuses them too. Read takes only regular files: a
// directory, device or FIFO reads as nothing.
class DiskFiles final : public FileStore {
public:
    explicit DiskFiles(std::string directory = {});
    std::optional<Bytes> Read(const std::string& name, std::size_t limit) override;
    bool Replace(const std::string& name, const Bytes& content) override;
    bool Remove(const std::string& name) override;
    bool Exists(const std::string& name) override;
    bool Create(const std::string& name, const Bytes& content) override;
    // The temporary files of that name and of its copies ("<name>.corrupt",
    // "<name>.corrupt-<n>") whose writing process no longer runs.
    void RemoveLeftovers(const std::string& name) override;

private:
    std::string PathOf(const std::string& name) const;
    std::string directory;
};

// What the data, roster and settings code needs from its surroundings.
struct Io {
    FileStore& files;
    MessageSink& messages;
};

} // namespace glyphmoor
