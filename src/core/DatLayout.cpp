// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/DatLayout.h"

#include "core/FileFormat.h"

#include <algorithm>
#include <cstdint>

namespace glyphmoor {

namespace {

constexpr std::size_t DateSize = DataFileDateSize;
using namespace dat;

class Cursor {
public:
    explicit Cursor(ByteView bytes) : bytes(bytes), pos(std::min(DateSize, bytes.size())) {}

    bool AtEnd() const { return pos >= bytes.size(); }
    std::size_t Pos() const { return pos; }
    int SignedByte() { return static_cast<std::int8_t>(bytes[pos++]); }

    // Reads up to and past the first byte in `ends`; returns it, or -1 when
    // the file ended first.
    int Field(DatField& field, std::initializer_list<std::uint8_t> ends)
    {
        field.offset = pos;
        while (!AtEnd()) {
            const std::uint8_t b = bytes[pos++];
            if (std::find(ends.begin(), ends.end(), b) != ends.end())
                return b;
            field.bytes += static_cast<char>(b);
        }
        field.ended = false;
        return -1;
    }

private:
    ByteView bytes;
    std::size_t pos;
};

template <typename Record>
DatLayout<Record> Start(ByteView file)
{
    DatLayout<Record> layout;
    layout.date = ReadDataFileDate(file);
    layout.size = file.size();
    return layout;
}

} // namespace

DatLayout<DatRune> ScanRunes(ByteView file, int capacity)
{
    DatLayout<DatRune> layout = Start<DatRune>(file);
    Cursor in(file);
    for (int i = 0; i < capacity && !in.AtEnd(); ++i) {
        DatRune rune;
        rune.offset = in.Pos();
        rune.clvl = in.SignedByte();
        if (in.Field(rune.name, {FieldEnd}) >= 0)
            in.Field(rune.description, {RecordEnd});
        else
            rune.description = {in.Pos(), {}, false};
        layout.records.push_back(std::move(rune));
    }
    layout.ignoredFrom = in.Pos();
    return layout;
}

DatLayout<DatItem> ScanItems(ByteView file, int capacity)
{
    DatLayout<DatItem> layout = Start<DatItem>(file);
    Cursor in(file);
    for (int i = 0; i < capacity && !in.AtEnd(); ++i) {
        DatItem item;
        item.offset = in.Pos();
        item.maxSockets = in.SignedByte();
        if (in.AtEnd()) {
            item.hasCategory = false;
            item.name = {in.Pos(), {}, false};
        } else {
            item.category = in.SignedByte();
            in.Field(item.name, {RecordEnd});
        }
        layout.records.push_back(std::move(item));
    }
    layout.ignoredFrom = in.Pos();
    return layout;
}

DatLayout<DatRuneword> ScanRunewords(ByteView file, int capacity)
{
    DatLayout<DatRuneword> layout = Start<DatRuneword>(file);
    Cursor in(file);
    for (int i = 0; i < capacity && !in.AtEnd(); ++i) {
        const std::size_t start = in.Pos();
        DatRuneword runeword;
        runeword.offset = start;
        // The name's end opens the item list, and the item list's end the
        // rune list: each goes on while its separator ends a field.
        int ended = in.Field(runeword.name, {FieldEnd}) >= 0 ? ItemTokenSeparator : -1;
        while (ended == ItemTokenSeparator) {
            DatField token;
            ended = in.Field(token, {FieldEnd, ItemTokenSeparator});
            runeword.itemTokens.push_back(std::move(token));
        }
        ended = ended == FieldEnd ? RuneNameSeparator : -1;
        while (ended == RuneNameSeparator) {
            DatField rune;
            ended = in.Field(rune, {FieldEnd, RuneNameSeparator});
            runeword.runeNames.push_back(std::move(rune));
        }
        if (ended != FieldEnd) {
            // The reader drops a record that ends inside its item or rune list.
            layout.ignoredFrom = start;
            return layout;
        }
        in.Field(runeword.description, {RecordEnd});
        layout.records.push_back(std::move(runeword));
    }
    layout.ignoredFrom = in.Pos();
    return layout;
}

} // namespace glyphmoor
