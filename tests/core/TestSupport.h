// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/Bytes.h"
#include "core/FileStore.h"
#include "core/Messages.h"

#include <functional>
#include <initializer_list>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace glyphmoor::test {

// Files kept in memory. Names in `unwritable` refuse Replace, names in
// `unreadable` exist but cannot be read (as a directory would).
class MemoryFiles final : public FileStore {
public:
    std::optional<Bytes> Read(const std::string& name, std::size_t limit) override;
    bool Replace(const std::string& name, const Bytes& content) override;
    bool Remove(const std::string& name) override;
    bool Exists(const std::string& name) override;

    std::map<std::string, Bytes> files;
    std::set<std::string> unwritable;
    std::set<std::string> unreadable;
    std::vector<std::string> reads;
    std::map<std::string, std::size_t> limits; // the last limit each Read asked for
    int replaceCount = 0;
};

// Records every message and answers with a scripted answer (Ok, or Yes for a
// question unless `answer` says otherwise).
class RecordingMessages final : public MessageSink {
public:
    MessageAnswer Show(const Message& message) override;

    std::vector<Message> shown;
    std::vector<MessageAnswer> answers; // consumed front to back
    // Runs while the box is "open", to see what had happened before it.
    std::function<void(const Message&)> whileShown;
};

struct TestIo {
    MemoryFiles files;
    RecordingMessages messages;
    Io io() { return {files, messages}; }
};

Bytes BytesOf(const std::string& text);
Bytes Concat(std::initializer_list<Bytes> parts);

// Builders for the reference files. Texts are taken byte for byte, so a
// description may hold the file's own marker bytes.
Bytes DateBytes(int day = 11, int month = 10, int year = 1);
Bytes RuneRecord(int clvl, const std::string& name, const std::string& description);
Bytes ItemRecord(int maxSockets, int category, const std::string& name);
Bytes RunewordRecord(const std::string& name, const std::vector<std::string>& itemTokens,
                     const std::vector<std::string>& runeNames, const std::string& description);

// A made-up rune and item table used across the tests: 33 runes, rune i with
// clvl i + 1, and 18 item types whose categories are interleaved so that table
// order differs from category order.
struct ItemRow {
    std::string name;
    int maxSockets;
    int category;
};
const std::vector<std::string>& TestRuneNames();
const std::vector<ItemRow>& TestItemRows();
Bytes TestRunesFile();
Bytes TestItemsFile();
// The indices of the test item types of one category, in table order.
std::vector<int> TestItemsOf(int category);

} // namespace glyphmoor::test
