#include "TestSupport.h"

namespace glyphmoor::test {

std::optional<Bytes> MemoryFiles::Read(const std::string& name)
{
    reads.push_back(name);
    if (unreadable.count(name) != 0)
        return std::nullopt;
    const auto found = files.find(name);
    if (found == files.end())
        return std::nullopt;
    return found->second;
}

bool MemoryFiles::Replace(const std::string& name, const Bytes& content)
{
    if (unwritable.count(name) != 0 || unreadable.count(name) != 0)
        return false;
    files[name] = content;
    ++replaceCount;
    return true;
}

bool MemoryFiles::Remove(const std::string& name)
{
    return files.erase(name) != 0;
}

bool MemoryFiles::Exists(const std::string& name)
{
    return files.count(name) != 0 || unreadable.count(name) != 0;
}

MessageAnswer RecordingMessages::Show(const Message& message)
{
    shown.push_back(message);
    if (!answers.empty()) {
        const MessageAnswer answer = answers.front();
        answers.erase(answers.begin());
        return answer;
    }
    return message.buttons == MessageButtons::YesNo ? MessageAnswer::Yes : MessageAnswer::Ok;
}

Bytes BytesOf(const std::string& text)
{
    return Bytes(text.begin(), text.end());
}

} // namespace glyphmoor::test
