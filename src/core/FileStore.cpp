// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/FileStore.h"

#include <chrono>
#include <thread>

namespace glyphmoor {

namespace {
constexpr int ReadAttempts = 5;
} // namespace

FileRead FileStore::Load(const std::string& name, std::size_t limit)
{
    FileRead read = ReadOnce(name, limit);
    for (int attempt = 1; attempt < ReadAttempts && read.state == FileState::Unreadable && read.transient;
         ++attempt) {
        Pause(attempt);
        read = ReadOnce(name, limit);
    }
    read.transient = false;
    return read;
}

std::optional<Bytes> FileStore::Read(const std::string& name, std::size_t limit)
{
    FileRead read = Load(name, limit);
    if (read.state != FileState::Found)
        return std::nullopt;
    return std::move(read.content);
}

void FileStore::Pause(int attempt)
{
    // 50, 100, 200 and 400 ms: a network drive or a scanner that holds the
    // file has time to let go, and a start-up is held up by a second at most.
    std::this_thread::sleep_for(std::chrono::milliseconds(50 << (attempt - 1)));
}

} // namespace glyphmoor
