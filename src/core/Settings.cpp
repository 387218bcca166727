// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/Settings.h"

#include <algorithm>
#include <array>

namespace glyphmoor {

namespace {

void PutInt(std::array<std::uint8_t, SettingsFileSize>& out, std::size_t at, std::int32_t value)
{
    const auto bits = static_cast<std::uint32_t>(value);
    for (std::size_t i = 0; i < 4; ++i)
        out[at + i] = static_cast<std::uint8_t>(bits >> (8 * i));
}

std::int32_t GetInt(const std::array<std::uint8_t, SettingsFileSize>& in, std::size_t at)
{
    std::uint32_t bits = 0;
    for (std::size_t i = 0; i < 4; ++i)
        bits |= static_cast<std::uint32_t>(in[at + i]) << (8 * i);
    return static_cast<std::int32_t>(bits);
}

std::array<std::uint8_t, SettingsFileSize> Layout(const FilterSettings& filter, InfoKind infoKind, int selected)
{
    std::array<std::uint8_t, SettingsFileSize> bytes{};
    PutInt(bytes, 0, filter.runeRule);
    PutInt(bytes, 4, filter.characterRule);
    PutInt(bytes, 8, filter.clvlOver);
    PutInt(bytes, 12, filter.clvlUnder);
    bytes[16] = filter.ignoreClvlLimits ? 1 : 0;
    PutInt(bytes, 20, infoKind);
    PutInt(bytes, 24, selected);
    return bytes;
}

bool InRange(std::int32_t value, std::int32_t low, std::int32_t high)
{
    return value >= low && value <= high;
}

} // namespace

Bytes EncodeSettings(const FilterSettings& filter, InfoKind infoKind, int selectedCharacter)
{
    const auto bytes = Layout(filter, infoKind, selectedCharacter);
    return Bytes(bytes.begin(), bytes.end());
}

LoadedSettings LoadSettings(FilterSettings& filter, InfoKind& infoKind, int characterCount, Io io)
{
    const FileRead read = io.files.Load(SettingsFileName, SettingsFileSize);
    if (read.state == FileState::Unreadable) {
        io.messages.Show(UnreadableSettingsMessage());
        return {0, true};
    }
    if (read.state == FileState::Missing)
        return {};
    const Bytes& file = read.content;

    // What the file lacks keeps the values in force, and 0 for the index.
    auto bytes = Layout(filter, infoKind, 0);
    std::copy_n(file.begin(), std::min(file.size(), SettingsFileSize), bytes.begin());
    const std::int32_t runeRule = GetInt(bytes, 0);
    const std::int32_t characterRule = GetInt(bytes, 4);
    const std::int32_t clvlOver = GetInt(bytes, 8);
    const std::int32_t clvlUnder = GetInt(bytes, 12);
    const std::int32_t readInfoKind = GetInt(bytes, 20);
    const std::int32_t index = GetInt(bytes, 24);

    const bool valid = InRange(runeRule, AllRunes, IgnoreRunes) &&
                       InRange(characterRule, SelectedCharacter, IgnoreCharacters) && InRange(clvlOver, 0, 100) &&
                       InRange(clvlUnder, 0, 100) && InRange(readInfoKind, RuneInfo, RunewordInfo) &&
                       InRange(index, 0, 255);
    if (valid) {
        // The stored numbers become the rules only once they are known to
        // name one.
        filter.runeRule = static_cast<RuneRule>(runeRule);
        filter.characterRule = static_cast<CharacterRule>(characterRule);
        filter.clvlOver = clvlOver;
        filter.clvlUnder = clvlUnder;
        filter.ignoreClvlLimits = bytes[16] != 0;
        infoKind = static_cast<InfoKind>(readInfoKind);
        // Characters deleted, or hidden behind a damaged record, since the
        // file was written cost the choice of character, not the filters.
        return {std::max(0, std::min(index, characterCount - 1)), false};
    }
    io.messages.Show(CorruptFileMessage(SettingsFileName));
    io.files.Remove(SettingsFileName);
    filter = FilterSettings{};
    infoKind = DefaultInfoKind;
    return {};
}

bool SaveSettings(const FilterSettings& filter, InfoKind infoKind, int selectedCharacter, Io io)
{
    if (io.files.Replace(SettingsFileName, EncodeSettings(filter, infoKind, selectedCharacter)))
        return true;
    io.messages.Show(CannotWriteMessage(SettingsFileName));
    return false;
}

} // namespace glyphmoor
