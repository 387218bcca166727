// SPDX-License-Identifier: GPL-3.0-or-later
#include "TestSupport.h"

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <sstream>
#include <unistd.h>

namespace glyphmoor::test {

FileRead MemoryFiles::ReadOnce(const std::string& name, std::size_t limit)
{
    limits[name] = limit;
    if (const auto fails = failing.find(name); fails != failing.end() && fails->second > 0) {
        --fails->second;
        return {FileState::Unreadable, {}, true};
    }
    const auto found = files.find(name);
    if (unreadable.count(name) != 0)
        return {FileState::Unreadable, {}, false};
    if (found == files.end())
        return {};
    return {FileState::Found,
            Bytes(found->second.begin(),
                  found->second.begin() + static_cast<std::ptrdiff_t>(std::min(limit, found->second.size()))),
            false};
}

bool MemoryFiles::Replace(const std::string& name, const Bytes& content)
{
    if (unwritable.count(name) != 0 || unreadable.count(name) != 0)
        return false;
    files[name] = content;
    return true;
}

MessageAnswer RecordingMessages::Show(const Message& message)
{
    shown.push_back(message);
    if (whileShown)
        whileShown(message);
    return message.buttons == MessageButtons::YesNo ? MessageAnswer::Yes : MessageAnswer::Ok;
}

std::string FileText(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

static std::filesystem::path FreshFolder()
{
    static int made = 0;
    const auto path = std::filesystem::temp_directory_path() /
                      ("glyphmoor-test-" + std::to_string(::getpid()) + "-" + std::to_string(made++));
    std::filesystem::remove_all(path);
    std::filesystem::create_directory(path);
    return path;
}

TempFolder::TempFolder() : path(FreshFolder()) {}

void TempFolder::Write(const std::string& name, const std::string& bytes) const
{
    std::ofstream(path / name, std::ios::binary) << bytes;
}

Bytes Concat(std::initializer_list<Bytes> parts)
{
    Bytes out;
    for (const Bytes& part : parts)
        out.insert(out.end(), part.begin(), part.end());
    return out;
}

Bytes DateBytes(int day, int month, int year)
{
    return {static_cast<std::uint8_t>(day), static_cast<std::uint8_t>(month),
            static_cast<std::uint8_t>(year)};
}

Bytes RuneRecord(int clvl, const std::string& name, const std::string& description)
{
    return Concat({{static_cast<std::uint8_t>(clvl)}, BytesOf(name + '\x01' + description), {0x00}});
}

Bytes ItemRecord(int maxSockets, int category, const std::string& name)
{
    return BytesOf(std::string{static_cast<char>(maxSockets), static_cast<char>(category)} + name + '\0');
}

Bytes RunewordRecord(const std::string& name, const std::vector<std::string>& itemTokens,
                     const std::vector<std::string>& runeNames, const std::string& description)
{
    std::string text = name + '\x01';
    for (std::size_t i = 0; i < itemTokens.size(); ++i)
        text += (i > 0 ? "\x02" : "") + itemTokens[i];
    text += '\x01';
    for (std::size_t i = 0; i < runeNames.size(); ++i)
        text += (i > 0 ? "\x03" : "") + runeNames[i];
    return Concat({BytesOf(text + '\x01' + description), {0x00}});
}

Bytes TestRunesFile()
{
    Bytes out = DateBytes();
    std::istringstream names(
        "Vur Kess Orna Pell Dask Mirr Zaro Quel Tesh Yon Brak Cind Fenn Gorv Hask Jurl Lusk "
        "Morv Nesh Prax Rill Stav Thrim Ulk Varn Wex Xil Yarr Zeph Aubr Bosk Cray Drom");
    std::string name;
    for (int clvl = 1; names >> name; ++clvl)
        out = Concat({out, RuneRecord(clvl, name, "About " + name + ".")});
    return out;
}

Bytes TestItemsFile()
{
    Bytes out = DateBytes();
    std::istringstream rows(
        "Cudgels 3 1 Slings 2 2 Bucklers 4 3 Sabres 5 1 Longbows 6 2 Tabards 3 3 Billhooks 6 1 "
        "Coifs 2 3 Arbalests 4 2 Flails 4 1 Gauntlets 1 3 Darts 1 2 Hatchets 2 1 Greaves 2 3 "
        "Pikes 6 1 Cloaks 3 3 Girdles 1 3 Pavises 5 3"); // name, sockets, category
    std::string name;
    for (int sockets = 0, category = 0; rows >> name >> sockets >> category;)
        out = Concat({out, ItemRecord(sockets, category, name)});
    return out;
}

} // namespace glyphmoor::test
