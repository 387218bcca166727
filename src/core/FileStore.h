// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/Bytes.h"
#include "core/Messages.h"

#include <cstddef>
#include <map>
#include <optional>
#include <string>

namespace glyphmoor {

// What a read found: the content, no file at all (or nothing that is a
// regular file), or a file that is there but could not be read.
enum class FileState { Found, Missing, Unreadable };

struct FileRead {
    FileState state = FileState::Missing;
    Bytes content;
    // Unreadable only: the failure may pass (a network drive, a busy file),
    // so the read is worth trying again.
    bool transient = false;
};

// An advisory lock on a file, held until the store is destroyed or the
// process ends (a killed copy never leaves one behind).
enum class LockState {
    Held,      // this copy holds it
    Taken,     // another running copy holds it
    Missing,   // no such file: nothing to lock
    Unchecked, // the lock could not be taken nor checked (a read-only or full disk)
};

// The program's files, opened by bare name for one operation at a time.
// Writers never patch a file in place: they hand the whole new content to
// Replace, which must leave either the old file or the new one on disk.
class FileStore {
public:
    virtual ~FileStore() = default;

    // At most the first `limit` bytes (a reader asks only for what its format
    // can use). A transient failure is tried again a few times, for about a
    // second in all, before it counts as Unreadable.
    FileRead Load(const std::string& name, std::size_t limit);
    // The content, or nothing when the file is missing or unreadable.
    std::optional<Bytes> Read(const std::string& name, std::size_t limit);

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
    // Locks the file a name leads to, through links; `create` makes an empty
    // one when there is none. The lock stays on the name's file when Replace
    // puts a new one there, so another copy never finds it free.
    virtual LockState Lock(const std::string& /*name*/, bool /*create*/) { return LockState::Held; }

protected:
    // One attempt of Load.
    virtual FileRead ReadOnce(const std::string& name, std::size_t limit) = 0;
    // The pause before attempt `attempt` (1, 2, ...) of a transient failure.
    virtual void Pause(int attempt);
};

// Files in a directory (the working directory by default). A name that is a
// symbolic link stands for the file it leads to. Replace writes a temporary
// file "<file>.new-<pid>-<n>" beside that file, syncs it, gives it the old
// file's mode, renames it over the file and syncs the folder, so the new file
// survives a power cut. It refuses a file the player made read-only (no write
// bit, whatever rights the program has) and anything but a regular file;
// Remove refuses them too. Read takes only regular files: a directory, device
// or FIFO reads as Missing.
class DiskFiles final : public FileStore {
public:
    explicit DiskFiles(std::string directory = {});
    ~DiskFiles() override;
    DiskFiles(const DiskFiles&) = delete;
    DiskFiles& operator=(const DiskFiles&) = delete;

    bool Replace(const std::string& name, const Bytes& content) override;
    bool Remove(const std::string& name) override;
    bool Exists(const std::string& name) override;
    bool Create(const std::string& name, const Bytes& content) override;
    // The temporary files of that name and of its copies ("<name>.corrupt",
    // "<name>.corrupt-<n>") whose writing process no longer runs.
    void RemoveLeftovers(const std::string& name) override;
    LockState Lock(const std::string& name, bool create) override;

protected:
    FileRead ReadOnce(const std::string& name, std::size_t limit) override;

private:
    std::string PathOf(const std::string& name) const;
    std::string directory;
    // The open descriptors that hold the locks, by name.
    std::map<std::string, int> locks;
};

// Reads through to another store and writes nothing: every write reports
// success without touching the disk. For a session the player was told saves
// nothing.
class UnsavedFiles final : public FileStore {
public:
    explicit UnsavedFiles(FileStore& files) : files(files) {}
    bool Replace(const std::string&, const Bytes&) override { return true; }
    bool Remove(const std::string&) override { return true; }
    bool Exists(const std::string& name) override { return files.Exists(name); }
    bool Create(const std::string&, const Bytes&) override { return true; }

protected:
    FileRead ReadOnce(const std::string& name, std::size_t limit) override { return files.Load(name, limit); }
    void Pause(int) override {}

private:
    FileStore& files;
};

// The process that made `entry`, when it names one of the temporary files a
// replace of `base` or of its kept copies writes,
// "<base>[.corrupt[-<n>]].new-<pid>-<n>"; nothing for any other name.
std::optional<unsigned long> TemporaryOwner(const std::string& entry, const std::string& base);

// What the data, roster and settings code needs from its surroundings.
struct Io {
    FileStore& files;
    MessageSink& messages;
};

} // namespace glyphmoor
