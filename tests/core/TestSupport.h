#pragma once

#include "Bytes.h"
#include "FileStore.h"
#include "Messages.h"

#include <map>
#include <set>
#include <string>
#include <vector>

namespace glyphmoor::test {

// Files kept in memory. Names in `unwritable` refuse Replace, names in
// `unreadable` exist but cannot be read (as a directory would).
class MemoryFiles final : public FileStore {
public:
    std::optional<Bytes> Read(const std::string& name) override;
    bool Replace(const std::string& name, const Bytes& content) override;
    bool Remove(const std::string& name) override;
    bool Exists(const std::string& name) override;

    std::map<std::string, Bytes> files;
    std::set<std::string> unwritable;
    std::set<std::string> unreadable;
    std::vector<std::string> reads;
    int replaceCount = 0;
};

// Records every message and answers with a scripted answer (Ok, or Yes for a
// question unless `answer` says otherwise).
class RecordingMessages final : public MessageSink {
public:
    MessageAnswer Show(const Message& message) override;

    std::vector<Message> shown;
    std::vector<MessageAnswer> answers; // consumed front to back
};

struct TestIo {
    MemoryFiles files;
    RecordingMessages messages;
    Io io() { return {files, messages}; }
};

Bytes BytesOf(const std::string& text);

} // namespace glyphmoor::test
