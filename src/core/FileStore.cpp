// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/FileStore.h"

#include <atomic>
#include <cerrno>
#include <fcntl.h>
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

} // namespace

DiskFiles::DiskFiles(std::string directory) : directory(std::move(directory)) {}

std::string DiskFiles::PathOf(const std::string& name) const
{
    return directory.empty() ? name : directory + "/" + name;
}

std::optional<Bytes> DiskFiles::Read(const std::string& name)
{
    // Only a regular file is read: a device such as /dev/zero would never
    // end, and opening a FIFO would wait for a writer (O_NONBLOCK keeps the
    // open from blocking; it changes nothing for a regular file).
    const int fd = ::open(PathOf(name).c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return std::nullopt;
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return std::nullopt;
    }
    Bytes content;
    std::uint8_t buffer[16384];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            ::close(fd);
            return std::nullopt;
        }
        if (n == 0)
            break;
        content.insert(content.end(), buffer, buffer + n);
    }
    ::close(fd);
    return content;
}

bool DiskFiles::Replace(const std::string& name, const Bytes& content)
{
    static std::atomic<unsigned> counter{0};
    const std::string target = PathOf(name);
    const std::string temporary = target + ".new-" + std::to_string(::getpid()) + "-" +
                                  std::to_string(counter++);
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0)
        return false;
    const bool written = WriteAll(fd, content) && ::fsync(fd) == 0;
    const bool closed = ::close(fd) == 0;
    if (!written || !closed || ::rename(temporary.c_str(), target.c_str()) != 0) {
        ::unlink(temporary.c_str());
        return false;
    }
    return true;
}

bool DiskFiles::Remove(const std::string& name)
{
    return ::unlink(PathOf(name).c_str()) == 0;
}

bool DiskFiles::Exists(const std::string& name)
{
    struct stat info {};
    return ::lstat(PathOf(name).c_str(), &info) == 0;
}

} // namespace glyphmoor
