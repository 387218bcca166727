// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/Bytes.h"
#include "core/Messages.h"

#include <optional>
#include <string>

namespace glyphmoor {

// The program's files, opened by bare name for one operation at a time.
// Writers never patch a file in place: they hand the whole new content to
// Replace, which must leave either the old file or the new one on disk.
class FileStore {
public:
    virtual ~FileStore() = default;
    // The whole file, or nothing when it cannot be opened or read.
    virtual std::optional<Bytes> Read(const std::string& name) = 0;
    virtual bool Replace(const std::string& name, const Bytes& content) = 0;
    virtual bool Remove(const std::string& name) = 0;
    virtual bool Exists(const std::string& name) = 0;
};

// Files in a directory (the working directory by default). Replace writes a
// temporary file beside the target, syncs it and renames it over the target.
// Read takes only regular files: a directory, device or FIFO reads as
// nothing.
class DiskFiles final : public FileStore {
public:
    explicit DiskFiles(std::string directory = {});
    std::optional<Bytes> Read(const std::string& name) override;
    bool Replace(const std::string& name, const Bytes& content) override;
    bool Remove(const std::string& name) override;
    bool Exists(const std::string& name) override;

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
