// SPDX-License-Identifier: GPL-3.0-or-later
#include "TestSupport.h"

#include <algorithm>
#include <cstdint>

namespace glyphmoor::test {

std::optional<Bytes> MemoryFiles::Read(const std::string& name, std::size_t limit)
{
    limits[name] = limit;
    const auto found = files.find(name);
    if (unreadable.count(name) != 0 || found == files.end())
        return std::nullopt;
    return Bytes(found->second.begin(),
                 found->second.begin() + static_cast<std::ptrdiff_t>(std::min(limit, found->second.size())));
}

bool MemoryFiles::Replace(const std::string& name, const Bytes& content)
{
    if (unwritable.count(name) != 0 || unreadable.count(name) != 0)
        return false;
    files[name] = content;
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
    if (whileShown)
        whileShown(message);
    return message.buttons == MessageButtons::YesNo ? MessageAnswer::Yes : MessageAnswer::Ok;
}

Bytes BytesOf(const std::string& text)
{
    return Bytes(text.begin(), text.end());
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
    return Concat({{static_cast<std::uint8_t>(maxSockets), static_cast<std::uint8_t>(category)},
                   BytesOf(name),
                   {0x00}});
}

Bytes RunewordRecord(const std::string& name, const std::vector<std::string>& itemTokens,
                     const std::vector<std::string>& runeNames, const std::string& description)
{
    auto joined = [](const std::vector<std::string>& parts, char separator) {
        std::string text;
        for (std::size_t i = 0; i < parts.size(); ++i)
            text += (i > 0 ? std::string(1, separator) : "") + parts[i];
        return text;
    };
    return Concat({BytesOf(name + '\x01' + joined(itemTokens, '\x02') + '\x01' + joined(runeNames, '\x03') +
                           '\x01' + description),
                   {0x00}});
}

Bytes TestRunesFile()
{
    Bytes out = DateBytes();
    int clvl = 0;
    for (const char* name :
         {"Vur",   "Kess", "Orna", "Pell", "Dask", "Mirr", "Zaro", "Quel", "Tesh", "Yon",  "Brak",
          "Cind",  "Fenn", "Gorv", "Hask", "Jurl", "Lusk", "Morv", "Nesh", "Prax", "Rill", "Stav",
          "Thrim", "Ulk",  "Varn", "Wex",  "Xil",  "Yarr", "Zeph", "Aubr", "Bosk", "Cray", "Drom"})
        out = Concat({out, RuneRecord(++clvl, name, "About " + std::string(name) + ".")});
    return out;
}

Bytes TestItemsFile()
{
    struct Row {
        const char* name;
        int maxSockets, category;
    };
    Bytes out = DateBytes();
    for (const Row& row :
         {Row{"Cudgels", 3, 1}, Row{"Slings", 2, 2}, Row{"Bucklers", 4, 3}, Row{"Sabres", 5, 1},
          Row{"Longbows", 6, 2}, Row{"Tabards", 3, 3}, Row{"Billhooks", 6, 1}, Row{"Coifs", 2, 3},
          Row{"Arbalests", 4, 2}, Row{"Flails", 4, 1}, Row{"Gauntlets", 1, 3}, Row{"Darts", 1, 2},
          Row{"Hatchets", 2, 1}, Row{"Greaves", 2, 3}, Row{"Pikes", 6, 1}, Row{"Cloaks", 3, 3},
          Row{"Girdles", 1, 3}, Row{"Pavises", 5, 3}})
        out = Concat({out, ItemRecord(row.maxSockets, row.category, row.name)});
    return out;
}

} // namespace glyphmoor::test
