// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/Bytes.h"
#include "core/FileStore.h"
#include "core/Messages.h"

#include <filesystem>
#include <functional>
#include <initializer_list>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace glyphmoor::test {

// Files in memory: `unwritable` names refuse Replace, `unreadable` ones exist but do not
// read, and a name in `failing` fails its next reads, transiently, that many times.
class MemoryFiles final : public FileStore {
public:
    bool Replace(const std::string& name, const Bytes& content) override;
    bool Remove(const std::string& name) override { return files.erase(name) != 0; }
    bool Exists(const std::string& name) override { return files.count(name) + unreadable.count(name) != 0; }

    std::map<std::string, Bytes> files;
    std::set<std::string> unwritable;
    std::set<std::string> unreadable;
    std::map<std::string, int> failing;
    std::map<std::string, std::size_t> limits; // the last limit each Read asked for
    int pauses = 0;

protected:
    FileRead ReadOnce(const std::string& name, std::size_t limit) override;
    void Pause(int) override { ++pauses; }
};

// Records every message and answers Ok, or Yes to a question; `whileShown`
// runs while the box is "open", to see what had happened before it.
class RecordingMessages final : public MessageSink {
public:
    MessageAnswer Show(const Message& message) override;

    std::vector<Message> shown;
    std::function<void(const Message&)> whileShown;
};

struct TestIo {
    MemoryFiles files;
    RecordingMessages messages;
    Io io() { return {files, messages}; }
};

inline Bytes BytesOf(const std::string& text)
{
    return Bytes(text.begin(), text.end());
}
Bytes Concat(std::initializer_list<Bytes> parts);

// The bytes of a file, empty when it cannot be read.
std::string FileText(const std::filesystem::path& path);

// A fresh folder in the system's temporary one, removed with what it holds.
struct TempFolder {
    TempFolder();
    ~TempFolder() { std::filesystem::remove_all(path); }
    std::string Read(const std::string& name) const { return FileText(path / name); }
    void Write(const std::string& name, const std::string& bytes) const;
    const std::filesystem::path path;
};

// Builders for the reference files. Texts are taken byte for byte, so a
// description may hold the file's own marker bytes.
Bytes DateBytes(int day = 11, int month = 10, int year = 1);
Bytes RuneRecord(int clvl, const std::string& name, const std::string& description);
Bytes ItemRecord(int maxSockets, int category, const std::string& name);
Bytes RunewordRecord(const std::string& name, const std::vector<std::string>& itemTokens,
                     const std::vector<std::string>& runeNames, const std::string& description);

// Made-up tables: 33 runes (rune i: clvl i + 1; "Vur", "Kess", ... "Drom") and 18 item
// types of interleaved categories (melee 0 3 6 9 12 14, missile 1 4 8 11, defence the rest).
Bytes TestRunesFile();
Bytes TestItemsFile();

} // namespace glyphmoor::test
