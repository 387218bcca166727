// SPDX-License-Identifier: GPL-3.0-or-later
#include "TestSupport.h"

#include <algorithm>
#include <cstdint>

namespace glyphmoor::test {

std::optional<Bytes> MemoryFiles::Read(const std::string& name, std::size_t limit)
{
    reads.push_back(name);
    limits[name] = limit;
    if (unreadable.count(name) != 0)
        return std::nullopt;
    const auto found = files.find(name);
    if (found == files.end())
        return std::nullopt;
    return Bytes(found->second.begin(),
                 found->second.begin() + static_cast<std::ptrdiff_t>(std::min(limit, found->second.size())));
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
    if (whileShown)
        whileShown(message);
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
    Bytes out{static_cast<std::uint8_t>(clvl)};
    out.insert(out.end(), name.begin(), name.end());
    out.push_back(0x01);
    out.insert(out.end(), description.begin(), description.end());
    out.push_back(0x00);
    return out;
}

Bytes ItemRecord(int maxSockets, int category, const std::string& name)
{
    Bytes out{static_cast<std::uint8_t>(maxSockets), static_cast<std::uint8_t>(category)};
    out.insert(out.end(), name.begin(), name.end());
    out.push_back(0x00);
    return out;
}

Bytes RunewordRecord(const std::string& name, const std::vector<std::string>& itemTokens,
                     const std::vector<std::string>& runeNames, const std::string& description)
{
    Bytes out = BytesOf(name);
    out.push_back(0x01);
    for (std::size_t i = 0; i < itemTokens.size(); ++i) {
        if (i > 0)
            out.push_back(0x02);
        out.insert(out.end(), itemTokens[i].begin(), itemTokens[i].end());
    }
    out.push_back(0x01);
    for (std::size_t i = 0; i < runeNames.size(); ++i) {
        if (i > 0)
            out.push_back(0x03);
        out.insert(out.end(), runeNames[i].begin(), runeNames[i].end());
    }
    out.push_back(0x01);
    out.insert(out.end(), description.begin(), description.end());
    out.push_back(0x00);
    return out;
}

const std::vector<std::string>& TestRuneNames()
{
    static const std::vector<std::string> names{
        "Vur",   "Kess", "Orna", "Pell", "Dask", "Mirr", "Zaro", "Quel", "Tesh", "Yon",  "Brak",
        "Cind",  "Fenn", "Gorv", "Hask", "Jurl", "Lusk", "Morv", "Nesh", "Prax", "Rill", "Stav",
        "Thrim", "Ulk",  "Varn", "Wex",  "Xil",  "Yarr", "Zeph", "Aubr", "Bosk", "Cray", "Drom"};
    return names;
}

const std::vector<ItemRow>& TestItemRows()
{
    static const std::vector<ItemRow> rows{
        {"Cudgels", 3, 1},   {"Slings", 2, 2},    {"Bucklers", 4, 3}, {"Sabres", 5, 1},    {"Longbows", 6, 2},
        {"Tabards", 3, 3},   {"Billhooks", 6, 1}, {"Coifs", 2, 3},    {"Arbalests", 4, 2}, {"Flails", 4, 1},
        {"Gauntlets", 1, 3}, {"Darts", 1, 2},     {"Hatchets", 2, 1}, {"Greaves", 2, 3},   {"Pikes", 6, 1},
        {"Cloaks", 3, 3},    {"Girdles", 1, 3},   {"Pavises", 5, 3}};
    return rows;
}

Bytes TestRunesFile()
{
    Bytes out = DateBytes();
    const auto& names = TestRuneNames();
    for (std::size_t i = 0; i < names.size(); ++i) {
        const Bytes record = RuneRecord(static_cast<int>(i) + 1, names[i], "About " + names[i] + ".");
        out.insert(out.end(), record.begin(), record.end());
    }
    return out;
}

Bytes TestItemsFile()
{
    Bytes out = DateBytes();
    for (const ItemRow& row : TestItemRows()) {
        const Bytes record = ItemRecord(row.maxSockets, row.category, row.name);
        out.insert(out.end(), record.begin(), record.end());
    }
    return out;
}

std::vector<int> TestItemsOf(int category)
{
    std::vector<int> indices;
    const auto& rows = TestItemRows();
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (rows[i].category == category)
            indices.push_back(static_cast<int>(i));
    }
    return indices;
}

} // namespace glyphmoor::test
