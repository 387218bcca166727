// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/FileStore.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <filesystem>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace glyphmoor {

namespace {

bool WriteAll(int fd, const Bytes& content)
{
    std::size_t done = 0;
    while (done < content.size()) {
        const ssize_t n = ::write(fd, content.data() + done, content.size() - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

std::string FolderOf(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string BaseOf(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Makes a rename or a new name in a folder last through a power cut. A file
// system that cannot sync a folder (EINVAL) has nothing to make durable.
bool SyncFolder(const std::string& folder)
{
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool synced = ::fsync(fd) == 0 || errno == EINVAL;
    ::close(fd);
    return synced;
}

// Whether a failed open or read may pass: a network drive or a removable
// disk that hiccups, a file another program holds for a moment.
bool IsTransient(int error)
{
    return error == EIO || error == EAGAIN || error == EBUSY || error == ETIMEDOUT || error == ESTALE ||
           error == ETXTBSY || error == EINTR;
}

FileRead Failed(int error)
{
    // A name that leads nowhere, or to something that is no file at all, is
    // no file; anything else is a file that is there and did not read.
    if (error == ENOENT || error == ENOTDIR || error == ENXIO || error == ENODEV)
        return {FileState::Missing, {}, false};
    return {FileState::Unreadable, {}, IsTransient(error)};
}

// The file a path leads to through any symbolic links; it need not exist.
// Nothing for a loop of links.
std::optional<std::string> FinalPath(std::string path)
{
    for (int hops = 0; hops < 40; ++hops) {
        struct stat info {};
        if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode))
            return path;
        std::string target(4096, '\0');
        const ssize_t n = ::readlink(path.c_str(), target.data(), target.size());
        if (n <= 0 || static_cast<std::size_t>(n) == target.size())
            return std::nullopt;
        target.resize(static_cast<std::size_t>(n));
        path = target[0] == '/' ? target : FolderOf(path) + "/" + target;
    }
    return std::nullopt;
}

// A file the player made read-only keeps that choice even where the program
// could write it anyway (root can).
bool MayChange(const struct stat& info, const std::string& path)
{
    return S_ISREG(info.st_mode) && (info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) != 0 &&
           (::geteuid() == 0 || ::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) == 0);
}

std::string TemporaryName(const std::string& path)
{
    static std::atomic<unsigned> counter{0};
    return path + ".new-" + std::to_string(::getpid()) + "-" + std::to_string(counter++);
}

// Writes content to a new temporary file beside path, synced, with the mode
// and owner of `old` when given; the temporary's name, or nothing.
std::optional<std::string> WriteTemporary(const std::string& path, const Bytes& content,
                                          const struct stat* old)
{
    const std::string temporary = TemporaryName(path);
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, old ? 0600 : 0666);
    if (fd < 0)
        return std::nullopt;
    bool written = WriteAll(fd, content);
    if (written && old != nullptr) {
        if (old->st_uid != ::geteuid() || old->st_gid != ::getegid()) {
            [[maybe_unused]] const int owned = ::fchown(fd, old->st_uid, old->st_gid); // only root can
        }
        written = ::fchmod(fd, old->st_mode & 07777) == 0;
    }
    written = written && ::fsync(fd) == 0;
    if (::close(fd) != 0 || !written) {
        ::unlink(temporary.c_str());
        return std::nullopt;
    }
    return temporary;
}

// A temporary file of `base` whose process is gone.
bool IsLeftover(const std::string& entry, const std::string& base)
{
    const std::optional<unsigned long> owner = TemporaryOwner(entry, base);
    if (!owner)
        return false;
    const auto pid = static_cast<pid_t>(*owner);
    return pid != ::getpid() && ::kill(pid, 0) != 0 && errno == ESRCH;
}

void RemoveLeftoversIn(const std::string& folder, const std::string& base)
{
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        const std::string path = entry.path().string();
        struct stat info {};
        if (IsLeftover(entry.path().filename().string(), base) && ::lstat(path.c_str(), &info) == 0 &&
            S_ISREG(info.st_mode))
            ::unlink(path.c_str());
    }
}

} // namespace

DiskFiles::DiskFiles(std::string directory) : directory(std::move(directory))
{
}

DiskFiles::~DiskFiles()
{
    for (const auto& [name, fd] : locks) {
        if (fd >= 0)
            ::close(fd);
    }
}

std::string DiskFiles::PathOf(const std::string& name) const
{
    return directory.empty() ? name : directory + "/" + name;
}

FileRead DiskFiles::ReadOnce(const std::string& name, std::size_t limit)
{
    // Only a regular file is read: a device such as /dev/zero would never
    // end, and opening a FIFO would wait for a writer (O_NONBLOCK keeps the
    // open from blocking; it changes nothing for a regular file).
    const int fd = ::open(PathOf(name).c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return Failed(errno);
    struct stat info {};
    const int statError = ::fstat(fd, &info) == 0 ? 0 : errno;
    if (statError != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return Failed(statError != 0 ? statError : ENXIO); // no regular file: nothing to read
    }
    FileRead read{FileState::Found, {}, false};
    std::uint8_t buffer[16384];
    while (read.content.size() < limit) {
        const ssize_t n = ::read(fd, buffer, std::min(sizeof buffer, limit - read.content.size()));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            const int error = errno;
            ::close(fd);
            read = Failed(error);
            if (read.state == FileState::Missing) // gone while it was read
                read.state = FileState::Unreadable;
            return read;
        }
        if (n == 0)
            break;
        read.content.insert(read.content.end(), buffer, buffer + n);
    }
    ::close(fd);
    return read;
}

bool DiskFiles::Replace(const std::string& name, const Bytes& content)
{
    // Through a link the file it leads to is replaced, in its own folder, so
    // the link stays and the rename stays within one file system.
    const std::optional<std::string> target = FinalPath(PathOf(name));
    if (!target)
        return false;
    struct stat old {};
    const bool existed = ::lstat(target->c_str(), &old) == 0;
    if (existed ? !MayChange(old, *target) : errno != ENOENT)
        return false;
    const std::optional<std::string> temporary = WriteTemporary(*target, content, existed ? &old : nullptr);
    if (!temporary)
        return false;
    // A locked name's new file is locked before it takes the name: no other
    // copy ever finds the name's file unlocked.
    const auto lock = locks.find(name);
    int newLock = -1;
    if (lock != locks.end()) {
        newLock = ::open(temporary->c_str(), O_RDONLY | O_CLOEXEC);
        if (newLock < 0 || ::flock(newLock, LOCK_EX | LOCK_NB) != 0) {
            if (newLock >= 0)
                ::close(newLock);
            ::unlink(temporary->c_str());
            return false;
        }
    }
    if (::rename(temporary->c_str(), target->c_str()) != 0) {
        if (newLock >= 0)
            ::close(newLock);
        ::unlink(temporary->c_str());
        return false;
    }
    if (lock != locks.end()) {
        if (lock->second >= 0)
            ::close(lock->second);
        lock->second = newLock;
    }
    return SyncFolder(FolderOf(*target));
}

bool DiskFiles::Create(const std::string& name, const Bytes& content)
{
    const std::string path = PathOf(name);
    const std::optional<std::string> temporary = WriteTemporary(path, content, nullptr);
    if (!temporary)
        return false;
    // link() never replaces an existing name; a file system without links
    // gets the plain check.
    bool created = ::link(temporary->c_str(), path.c_str()) == 0;
    if (!created && errno != EEXIST && !Exists(name))
        created = ::rename(temporary->c_str(), path.c_str()) == 0;
    ::unlink(temporary->c_str());
    return created && SyncFolder(FolderOf(path));
}

bool DiskFiles::Remove(const std::string& name)
{
    const std::optional<std::string> target = FinalPath(PathOf(name));
    struct stat info {};
    return target && ::lstat(target->c_str(), &info) == 0 && MayChange(info, *target) &&
           ::unlink(target->c_str()) == 0;
}

bool DiskFiles::Exists(const std::string& name)
{
    struct stat info {};
    return ::stat(PathOf(name).c_str(), &info) == 0;
}

LockState DiskFiles::Lock(const std::string& name, bool create)
{
    // The lock sits on the file itself, whatever links lead to it, so copies
    // in two folders that share one file through links exclude each other
    // too. flock needs only a descriptor open for reading, which a read-only
    // disk still gives.
    if (const auto held = locks.find(name); held != locks.end() && held->second >= 0)
        return LockState::Held;
    const int fd = ::open(PathOf(name).c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | (create ? O_CREAT : 0), 0644);
    if (fd < 0) {
        if (errno != ENOENT || create)
            return LockState::Unchecked;
        locks.emplace(name, -1); // the file this copy makes will be locked
        return LockState::Missing;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const bool taken = errno == EWOULDBLOCK;
        ::close(fd);
        return taken ? LockState::Taken : LockState::Unchecked;
    }
    locks[name] = fd;
    return LockState::Held;
}

void DiskFiles::RemoveLeftovers(const std::string& name)
{
    const std::string path = PathOf(name);
    RemoveLeftoversIn(FolderOf(path), BaseOf(path));
    const std::optional<std::string> target = FinalPath(path);
    if (target && *target != path)
        RemoveLeftoversIn(FolderOf(*target), BaseOf(*target));
}

} // namespace glyphmoor
