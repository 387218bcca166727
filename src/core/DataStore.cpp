// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/DataStore.h"

#include "core/DatLayout.h"

#include <algorithm>
#include <cstdint>

namespace glyphmoor {

namespace {

void AppendDate(Bytes& out, DataFileDate date)
{
    out.push_back(static_cast<std::uint8_t>(date.day));
    out.push_back(static_cast<std::uint8_t>(date.month));
    out.push_back(static_cast<std::uint8_t>(date.year));
}

void AppendText(Bytes& out, const std::string& text)
{
    out.insert(out.end(), text.begin(), text.end());
}

template <typename Table, typename Name>
int FindByName(const Table& table, int count, const std::string& name, Name nameOf)
{
    for (int i = 0; i < count; ++i) {
        if (nameOf(table[static_cast<std::size_t>(i)]) == name)
            return i;
    }
    return -1;
}

} // namespace

DataStore::DataStore(int runeCount, int itemTypeCount, int runewordCount, int maxRunesPerRuneword)
    : runeCount(runeCount), itemTypeCount(itemTypeCount), runewordCount(runewordCount),
      maxRunesPerRuneword(maxRunesPerRuneword), runes(static_cast<std::size_t>(runeCount)),
      itemTypes(static_cast<std::size_t>(itemTypeCount)), runewords(static_cast<std::size_t>(runewordCount))
{
    for (Runeword& runeword : runewords)
        runeword.SetStore(this);
}

int DataStore::FindRune(const std::string& name) const
{
    return FindByName(runes, runeCount, name, [](const Rune& r) -> const std::string& { return r.GetName(); });
}

int DataStore::FindItemType(const std::string& name) const
{
    return FindByName(itemTypes, itemTypeCount, name,
                      [](const ItemType& t) -> const std::string& { return t.GetName(); });
}

int DataStore::FindRuneword(const std::string& name) const
{
    return FindByName(runewords, runewordCount, name,
                      [](const Runeword& w) -> const std::string& { return w.GetName(); });
}

void DataStore::SetRunewordCount(int count)
{
    runewordCount = std::clamp(count, 0, GetRunewordCapacity());
}

void DataStore::ParseRunes(ByteView file)
{
    DatLayout<DatRune> layout = ScanRunes(file, runeCount);
    for (std::size_t i = 0; i < layout.records.size(); ++i) {
        DatRune& record = layout.records[i];
        Rune& rune = GetRune(static_cast<int>(i));
        rune.SetClvl(record.clvl);
        rune.SetName(std::move(record.name.bytes));
        rune.SetDescription(DescriptionFromFile(record.description.bytes, DescriptionOf::Rune));
    }
}

void DataStore::ParseItemTypes(ByteView file)
{
    // Item types past the end of the file get empty names and keep the
    // default sockets and category.
    DatLayout<DatItem> layout = ScanItems(file, itemTypeCount);
    for (int i = 0; i < itemTypeCount; ++i) {
        if (static_cast<std::size_t>(i) >= layout.records.size()) {
            GetItemType(i) = ItemType();
            continue;
        }
        DatItem& record = layout.records[static_cast<std::size_t>(i)];
        GetItemType(i).SetFromFile(std::move(record.name.bytes), record.maxSockets,
                                   record.hasCategory ? record.category : NoCategory);
    }
}

void DataStore::ParseRunewords(ByteView file)
{
    // A record that ends inside its item or rune list is not in the layout:
    // it and everything after it are dropped.
    DatLayout<DatRuneword> layout = ScanRunewords(file, GetRunewordCapacity());
    runewordCount = static_cast<int>(layout.records.size());
    for (int i = 0; i < runewordCount; ++i) {
        DatRuneword& record = layout.records[static_cast<std::size_t>(i)];
        std::vector<int> itemList;
        std::vector<std::string> tokens;
        std::string allowedItemsText;
        for (DatField& field : record.itemTokens) {
            // One "/" between two tokens, also after a group word that
            // matched no item type.
            if (!tokens.empty())
                allowedItemsText += '/';
            std::string& token = field.bytes;
            allowedItemsText += token;
            auto add = [&](int index) {
                if (static_cast<int>(itemList.size()) < itemTypeCount)
                    itemList.push_back(index);
            };
            if (token == "Weapons" || token == "Melee Weapons" || token == "Missile Weapons") {
                for (int t = 0; t < itemTypeCount; ++t) {
                    const ItemType& type = GetItemType(t);
                    if (token == "Weapons" ? type.IsWeapon()
                                           : token == "Melee Weapons" ? type.IsMeleeWeapon()
                                                                      : type.IsMissileWeapon())
                        add(t);
                }
            } else {
                add(FindItemType(token));
            }
            tokens.push_back(std::move(token));
        }

        std::vector<int> runeList;
        std::vector<std::string> runeNames;
        for (DatField& field : record.runeNames) {
            if (static_cast<int>(runeList.size()) >= maxRunesPerRuneword)
                break;
            runeList.push_back(FindRune(field.bytes));
            runeNames.push_back(std::move(field.bytes));
        }


        Runeword& runeword = GetRuneword(i);
        runeword.SetStore(this);
        runeword.SetName(std::move(record.name.bytes));
        runeword.SetAllowedItemsText(std::move(allowedItemsText));
        runeword.SetItemTypes(itemList);
        runeword.SetRunes(runeList);
        runeword.SetItemTokens(std::move(tokens));
        runeword.SetRuneNames(std::move(runeNames));
        runeword.SetDescription(DescriptionFromFile(record.description.bytes, DescriptionOf::Runeword));
    }
}

bool DataStore::Load(ReferenceTable table, Io io)
{
    const std::string fileName = ReferenceFileNames[static_cast<int>(table)];
    const std::optional<Bytes> file = io.files.Read(fileName, ReferenceFileLimit);
    if (!file) {
        io.messages.Show(FileNotFoundMessage(fileName));
        return false;
    }
    switch (table) {
    case ReferenceTable::Runes:
        ParseRunes(*file);
        break;
    case ReferenceTable::ItemTypes:
        ParseItemTypes(*file);
        break;
    case ReferenceTable::Runewords:
        ParseRunewords(*file);
        break;
    }
    return true;
}

Bytes DataStore::WriteRunes(DataFileDate date) const
{
    Bytes out;
    AppendDate(out, date);
    for (int i = 0; i < runeCount; ++i) {
        const Rune& rune = GetRune(i);
        out.push_back(static_cast<std::uint8_t>(rune.GetClvl()));
        AppendText(out, rune.GetName());
        out.push_back(dat::FieldEnd);
        AppendDescriptionToFile(out, rune.GetDescription(), DescriptionOf::Rune);
        out.push_back(dat::RecordEnd);
    }
    return out;
}

Bytes DataStore::WriteItemTypes(DataFileDate date) const
{
    Bytes out;
    AppendDate(out, date);
    for (int i = 0; i < itemTypeCount; ++i) {
        const ItemType& type = GetItemType(i);
        out.push_back(static_cast<std::uint8_t>(type.GetMaxSockets()));
        out.push_back(static_cast<std::uint8_t>(type.GetCategory()));
        AppendText(out, type.GetName());
        out.push_back(dat::RecordEnd);
    }
    return out;
}

Bytes DataStore::WriteRunewords(DataFileDate date) const
{
    Bytes out;
    AppendDate(out, date);
    for (int i = 0; i < runewordCount; ++i) {
        const Runeword& runeword = GetRuneword(i);
        AppendText(out, runeword.GetName());
        out.push_back(dat::FieldEnd);
        const auto& tokens = runeword.GetItemTokens();
        for (std::size_t t = 0; t < tokens.size(); ++t) {
            if (t > 0)
                out.push_back(dat::ItemTokenSeparator);
            AppendText(out, tokens[t]);
        }
        out.push_back(dat::FieldEnd);
        const auto& names = runeword.GetRuneNames();
        for (std::size_t r = 0; r < names.size(); ++r) {
            if (r > 0)
                out.push_back(dat::RuneNameSeparator);
            AppendText(out, names[r]);
        }
        out.push_back(dat::FieldEnd);
        AppendDescriptionToFile(out, runeword.GetDescription(), DescriptionOf::Runeword);
        out.push_back(dat::RecordEnd);
    }
    return out;
}

} // namespace glyphmoor
