// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/FileStore.h"

#include <algorithm>
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

std::optional<unsigned long> TemporaryOwner(const std::string& entry, const std::string& base)
{
    auto digits = [](const std::string& text) {
        return !text.empty() && text.size() <= 9 &&
               std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
    };
    if (entry.rfind(base, 0) != 0)
        return std::nullopt;
    const std::string rest = entry.substr(base.size());
    const std::size_t marker = rest.rfind(".new-");
    if (marker == std::string::npos)
        return std::nullopt;
    const std::string copy = rest.substr(0, marker);
    if (!copy.empty() && copy != ".corrupt" && !(copy.rfind(".corrupt-", 0) == 0 && digits(copy.substr(9))))
        return std::nullopt;
    const std::string tail = rest.substr(marker + 5);
    const std::size_t dash = tail.find('-');
    if (dash == std::string::npos || !digits(tail.substr(0, dash)) || !digits(tail.substr(dash + 1)))
        return std::nullopt;
    return std::stoul(tail.substr(0, dash));
}

} // namespace glyphmoor
