// SPDX-License-Identifier: GPL-3.0-or-later
// DiskFiles through the Windows file API: wide paths, binary reads and
// writes, and a replace in one step that waits briefly for a file another
// program holds open.
#include "core/FileStore.h"

#include <algorithm>
#include <atomic>
#include <cstdint>

#include <io.h>
#include <fcntl.h>
#include <windows.h>

namespace glyphmoor {

namespace {

// How long a replace or removal waits for another program (a backup tool, a
// virus scanner, a sync client) to let go of the file: 20 tries 50 ms apart.
constexpr int BusyTries = 20;
constexpr DWORD BusyPause = 50;

// Names are UTF-8; a name that is not is taken in the ANSI code page, as the
// narrow Windows calls would.
std::wstring Wide(const std::string& path)
{
    if (path.empty())
        return {};
    for (const UINT codePage : {UINT(CP_UTF8), UINT(CP_ACP)}) {
        const DWORD flags = codePage == CP_UTF8 ? MB_ERR_INVALID_CHARS : 0;
        const int size = ::MultiByteToWideChar(codePage, flags, path.data(), int(path.size()), nullptr, 0);
        if (size <= 0)
            continue;
        std::wstring wide(std::size_t(size), L'\0');
        ::MultiByteToWideChar(codePage, flags, path.data(), int(path.size()), wide.data(), size);
        return wide;
    }
    return {};
}

std::string Narrow(const std::wstring& wide)
{
    const int size = ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), int(wide.size()), nullptr, 0, nullptr, nullptr);
    std::string text(std::size_t(size > 0 ? size : 0), '\0');
    if (size > 0)
        ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), int(wide.size()), text.data(), size, nullptr, nullptr);
    return text;
}

std::string FolderOf(const std::string& path)
{
    const std::size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? "." : path.substr(0, slash);
}

std::string BaseOf(const std::string& path)
{
    const std::size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool Busy(DWORD error)
{
    return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION || error == ERROR_ACCESS_DENIED;
}

// A failed open or read: no file at all, or one that is there and did not
// read, for a moment (another program holds it, a network drive hiccups) or
// for good.
FileRead Failed(DWORD error)
{
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND || error == ERROR_INVALID_NAME ||
        error == ERROR_DIRECTORY)
        return {FileState::Missing, {}, false};
    const bool transient = error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION ||
                           error == ERROR_NETNAME_DELETED || error == ERROR_SEM_TIMEOUT ||
                           error == ERROR_NOT_READY || error == ERROR_BAD_NETPATH;
    return {FileState::Unreadable, {}, transient};
}

// The lock is one byte far past any end of file: Windows locks are binding on
// reads too, and this one keeps every read of the file free, this copy's own
// included.
constexpr DWORD LockOffsetHigh = 0x7fffffff;

// Opens a file for locking, shared in every way so that it can still be read,
// replaced and removed, and takes the lock on it. The handle, or nothing with
// the reason in `state`.
HANDLE OpenLocked(const std::wstring& path, DWORD disposition, LockState& state)
{
    const HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        const DWORD error = ::GetLastError();
        state = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? LockState::Missing : LockState::Unchecked;
        return nullptr;
    }
    OVERLAPPED where{};
    where.OffsetHigh = LockOffsetHigh;
    if (!::LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &where)) {
        const DWORD error = ::GetLastError();
        ::CloseHandle(file);
        state = error == ERROR_LOCK_VIOLATION || error == ERROR_IO_PENDING ? LockState::Taken : LockState::Unchecked;
        return nullptr;
    }
    state = LockState::Held;
    return file;
}

// The lock handles are kept as C runtime descriptors, like the POSIX ones.
int Descriptor(HANDLE file)
{
    const int fd = ::_open_osfhandle(reinterpret_cast<std::intptr_t>(file), _O_RDONLY);
    if (fd < 0)
        ::CloseHandle(file);
    return fd;
}

void Release(int fd)
{
    if (fd >= 0)
        ::_close(fd); // closes the handle, and the lock goes with it
}

// Runs a step until it succeeds, fails for a reason other than another
// program's hold on the file, or the tries are used up.
template <typename Step>
bool Retried(Step step)
{
    for (int attempt = 1;; ++attempt) {
        if (step())
            return true;
        if (attempt == BusyTries || !Busy(::GetLastError()))
            return false;
        ::Sleep(BusyPause);
    }
}

// A file the program may change: it exists, is no folder and carries no
// read-only mark (the player's "keep this" on Windows); or it does not exist
// (`exists` then false).
bool MayChange(const std::wstring& path, bool& exists)
{
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    exists = attributes != INVALID_FILE_ATTRIBUTES;
    if (!exists) {
        const DWORD error = ::GetLastError();
        return error == ERROR_FILE_NOT_FOUND;
    }
    return (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DEVICE)) == 0;
}

bool WriteAll(HANDLE file, const Bytes& content)
{
    std::size_t done = 0;
    while (done < content.size()) {
        const DWORD chunk = DWORD(std::min<std::size_t>(content.size() - done, 1u << 20));
        DWORD written = 0;
        if (!::WriteFile(file, content.data() + done, chunk, &written, nullptr) || written == 0)
            return false;
        done += written;
    }
    return true;
}

std::string TemporaryName(const std::string& path)
{
    static std::atomic<unsigned> counter{0};
    return path + ".new-" + std::to_string(::GetCurrentProcessId()) + "-" + std::to_string(counter++);
}

// Writes content to a new temporary file beside path, flushed to the disk;
// the temporary's name, or nothing.
std::optional<std::wstring> WriteTemporary(const std::string& path, const Bytes& content)
{
    const std::wstring temporary = Wide(TemporaryName(path));
    const HANDLE file = ::CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return std::nullopt;
    const bool written = WriteAll(file, content) && ::FlushFileBuffers(file);
    if (!::CloseHandle(file) || !written) {
        ::DeleteFileW(temporary.c_str());
        return std::nullopt;
    }
    return temporary;
}

bool IsRunning(unsigned long pid)
{
    const HANDLE process = ::OpenProcess(SYNCHRONIZE, FALSE, DWORD(pid));
    if (process == nullptr)
        return ::GetLastError() != ERROR_INVALID_PARAMETER; // no such process
    const bool running = ::WaitForSingleObject(process, 0) == WAIT_TIMEOUT;
    ::CloseHandle(process);
    return running;
}

// A temporary file of `base` whose process is gone.
bool IsLeftover(const std::string& entry, const std::string& base)
{
    const std::optional<unsigned long> owner = TemporaryOwner(entry, base);
    return owner && *owner != ::GetCurrentProcessId() && !IsRunning(*owner);
}

} // namespace

DiskFiles::DiskFiles(std::string directory) : directory(std::move(directory))
{
}

DiskFiles::~DiskFiles()
{
    for (const auto& [name, fd] : locks)
        Release(fd);
}

std::string DiskFiles::PathOf(const std::string& name) const
{
    return directory.empty() ? name : directory + "/" + name;
}

FileRead DiskFiles::ReadOnce(const std::string& name, std::size_t limit)
{
    const std::wstring path = Wide(PathOf(name));
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
        return {FileState::Missing, {}, false}; // a folder is no file
    const HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return Failed(::GetLastError());
    // Only a file on a disk: a device or pipe would never end or would wait.
    if (::GetFileType(file) != FILE_TYPE_DISK) {
        ::CloseHandle(file);
        return {FileState::Missing, {}, false};
    }
    FileRead read{FileState::Found, {}, false};
    std::uint8_t buffer[16384];
    while (read.content.size() < limit) {
        DWORD n = 0;
        if (!::ReadFile(file, buffer, DWORD(std::min(sizeof buffer, limit - read.content.size())), &n, nullptr)) {
            read = Failed(::GetLastError());
            read.state = FileState::Unreadable; // it was there when it was opened
            break;
        }
        if (n == 0)
            break;
        read.content.insert(read.content.end(), buffer, buffer + n);
    }
    ::CloseHandle(file);
    return read;
}

bool DiskFiles::Replace(const std::string& name, const Bytes& content)
{
    const std::string path = PathOf(name);
    const std::wstring target = Wide(path);
    bool exists = false;
    if (!MayChange(target, exists))
        return false;
    const std::optional<std::wstring> temporary = WriteTemporary(path, content);
    if (!temporary)
        return false;
    // A locked name's new file is locked before it takes the name: no other
    // copy ever finds the name's file unlocked.
    const auto lock = locks.find(name);
    int newLock = -1;
    if (lock != locks.end()) {
        LockState state = LockState::Unchecked;
        const HANDLE file = OpenLocked(*temporary, OPEN_EXISTING, state);
        newLock = file != nullptr ? Descriptor(file) : -1;
        if (newLock < 0) {
            ::DeleteFileW(temporary->c_str());
            return false;
        }
    }
    // Windows refuses to replace a file that is open, even one shared for
    // deletion, so this copy lets go of the old file's lock when the move
    // is refused; the new file, locked already, keeps other copies out.
    const bool moved = Retried([&] {
        if (::MoveFileExW(temporary->c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            return true;
        const DWORD error = ::GetLastError();
        if (lock != locks.end() && lock->second >= 0 && Busy(error)) {
            Release(lock->second);
            lock->second = -1;
        }
        ::SetLastError(error);
        return false;
    });
    if (!moved) {
        Release(newLock);
        ::DeleteFileW(temporary->c_str());
        if (lock != locks.end() && lock->second < 0 && exists) { // the old file's lock back
            LockState state = LockState::Unchecked;
            if (const HANDLE file = OpenLocked(target, OPEN_EXISTING, state))
                lock->second = Descriptor(file);
        }
        return false;
    }
    if (lock != locks.end()) {
        Release(lock->second);
        lock->second = newLock;
    }
    return true; // MOVEFILE_WRITE_THROUGH: the folder's new entry is on the disk
}

bool DiskFiles::Create(const std::string& name, const Bytes& content)
{
    const std::string path = PathOf(name);
    const std::optional<std::wstring> temporary = WriteTemporary(path, content);
    if (!temporary)
        return false;
    // Without MOVEFILE_REPLACE_EXISTING the move never replaces a name that
    // exists, however it came to exist.
    const bool created = ::MoveFileExW(temporary->c_str(), Wide(path).c_str(), MOVEFILE_WRITE_THROUGH) != 0;
    if (!created)
        ::DeleteFileW(temporary->c_str());
    return created;
}

bool DiskFiles::Remove(const std::string& name)
{
    const std::wstring target = Wide(PathOf(name));
    bool exists = false;
    return MayChange(target, exists) && exists && Retried([&] { return ::DeleteFileW(target.c_str()) != 0; });
}

bool DiskFiles::Exists(const std::string& name)
{
    return ::GetFileAttributesW(Wide(PathOf(name)).c_str()) != INVALID_FILE_ATTRIBUTES;
}

LockState DiskFiles::Lock(const std::string& name, bool create)
{
    if (const auto held = locks.find(name); held != locks.end() && held->second >= 0)
        return LockState::Held;
    LockState state = LockState::Unchecked;
    const HANDLE file = OpenLocked(Wide(PathOf(name)), create ? OPEN_ALWAYS : OPEN_EXISTING, state);
    if (file == nullptr) {
        if (state == LockState::Missing && create)
            return LockState::Unchecked;
        if (state == LockState::Missing)
            locks.emplace(name, -1); // the file this copy makes will be locked
        return state;
    }
    const int fd = Descriptor(file);
    if (fd < 0)
        return LockState::Unchecked;
    locks[name] = fd;
    return LockState::Held;
}

void DiskFiles::RemoveLeftovers(const std::string& name)
{
    const std::string path = PathOf(name);
    const std::string folder = FolderOf(path);
    WIN32_FIND_DATAW found{};
    const HANDLE search = ::FindFirstFileW(Wide(folder + "/*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return;
    do {
        const std::string entry = Narrow(found.cFileName);
        if ((found.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)) == 0 &&
            IsLeftover(entry, BaseOf(path)))
            ::DeleteFileW(Wide(folder + "/" + entry).c_str());
    } while (::FindNextFileW(search, &found));
    ::FindClose(search);
}

} // namespace glyphmoor
