// SPDX-License-Identifier: GPL-3.0-or-later
// The launcher on Linux and other POSIX systems. Paths are the system's bytes
// throughout: a folder name that is not UTF-8 works.
#include "launcher/Platform.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace launcher {
namespace {

const char* NonEmpty(const char* name)
{
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0' ? value : nullptr;
}

} // namespace

fs::path UserDataFolder(std::string& why)
{
    // A relative XDG_DATA_HOME is invalid and is ignored, as the XDG rules say.
    const char* dataHome = NonEmpty("XDG_DATA_HOME");
    if (dataHome != nullptr && dataHome[0] == '/')
        return fs::path(dataHome) / "glyphmoor";
    const char* home = NonEmpty("HOME");
    if (home == nullptr) {
        why = "neither XDG_DATA_HOME nor HOME is set. Set HOME to your home folder";
        return {};
    }
    return fs::path(home) / ".local" / "share" / "glyphmoor";
}

fs::path OwnExecutable()
{
    std::error_code ec;
    return fs::read_symlink("/proc/self/exe", ec);
}

long CurrentProcessId()
{
    return static_cast<long>(getpid());
}

bool ProcessRunning(long pid)
{
    return pid > 0 && (kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM);
}

bool MoveWithoutReplacing(const fs::path& from, const fs::path& to, std::error_code& error)
{
    error.clear();
    if (renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0)
        return true;
    if (errno != EINVAL && errno != ENOSYS) {
        error.assign(errno, std::generic_category());
        return false;
    }
    // A file system without RENAME_NOREPLACE: a hard link is made only where
    // nothing is, which is the same promise.
    if (link(from.c_str(), to.c_str()) != 0) {
        error.assign(errno, std::generic_category());
        return false;
    }
    unlink(from.c_str());
    return true;
}

bool SyncToDisk(const fs::path& path)
{
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool synced = fsync(fd) == 0;
    close(fd);
    return synced;
}

bool CanShowWindows()
{
    const char* platform = NonEmpty("QT_QPA_PLATFORM");
    if (platform != nullptr) {
        const std::string name(platform, std::strcspn(platform, ":"));
        return name != "offscreen" && name != "minimal";
    }
    return NonEmpty("DISPLAY") != nullptr || NonEmpty("WAYLAND_DISPLAY") != nullptr;
}

int RunProgram(const fs::path& program, const fs::path& folder, int argc, char** argv, std::string& why)
{
    if (chdir(folder.c_str()) != 0) {
        why = std::string("cannot enter ") + Utf8(folder) + ": " + std::strerror(errno);
        return -1;
    }
    std::vector<char*> args;
    args.push_back(const_cast<char*>(program.c_str()));
    for (int i = 1; i < argc; ++i)
        args.push_back(argv[i]);
    args.push_back(nullptr);
    execv(program.c_str(), args.data());
    why = std::string("cannot start ") + Utf8(program) + ": " + std::strerror(errno);
    return -1;
}

} // namespace launcher
