// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/TextFormat.h"

#include "core/CodePage.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <optional>
#include <set>
#include <string_view>

namespace glyphmoor::tools {

namespace {

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

std::string_view TrimLeft(std::string_view s)
{
    while (!s.empty() && IsBlank(s.front()))
        s.remove_prefix(1);
    return s;
}

std::string_view TrimRight(std::string_view s)
{
    while (!s.empty() && IsBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

std::string_view Trim(std::string_view s)
{
    return TrimRight(TrimLeft(s));
}

std::string Quoted(std::string_view utf8)
{
    return "'" + std::string(utf8) + "'";
}

int HexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// One value of the source as Windows-1252 bytes: UTF-8 characters become
// their code-page byte, "\\" a backslash and "\xHH" the byte HH.
std::optional<std::string> Decode(std::string_view raw, const std::string& where, Findings& findings)
{
    const std::string text(raw);
    std::string out;
    std::size_t pos = 0;
    while (pos < text.size()) {
        if (text[pos] == '\\') {
            if (pos + 1 < text.size() && text[pos + 1] == '\\') {
                out += '\\';
                pos += 2;
                continue;
            }
            if (pos + 3 < text.size() && text[pos + 1] == 'x' && HexValue(text[pos + 2]) >= 0 &&
                HexValue(text[pos + 3]) >= 0) {
                out += static_cast<char>(HexValue(text[pos + 2]) * 16 + HexValue(text[pos + 3]));
                pos += 4;
                continue;
            }
            findings.Error(where, "unknown escape " + Quoted(text.substr(pos, 4)) +
                                      ": write \\\\ for a backslash or \\xHH for the byte with hex value HH");
            return std::nullopt;
        }
        const std::size_t start = pos;
        const std::optional<char32_t> character = DecodeUtf8(text, pos);
        if (!character) {
            findings.Error(where, "the bytes here are not UTF-8: save the file as UTF-8, or write the byte "
                                  "meant as \\xHH, its hex value");
            return std::nullopt;
        }
        const std::optional<std::uint8_t> byte = ByteOfCharacter(*character);
        if (!byte) {
            char code[16];
            std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(*character));
            findings.Error(where, "the character " + Quoted(text.substr(start, pos - start)) + " (" + code +
                                      ") is not in the Windows-1252 code page the data files use: replace it, or "
                                      "write the byte meant as \\xHH, its hex value");
            return std::nullopt;
        }
        out += static_cast<char>(*byte);
    }
    return out;
}

std::optional<long long> ParseInteger(std::string_view s)
{
    if (!s.empty() && s.front() == '+')
        s.remove_prefix(1);
    if (s.empty() || s.size() > 12)
        return std::nullopt;
    long long value = 0;
    const auto [end, error] = std::from_chars(s.data(), s.data() + s.size(), value);
    if (error != std::errc() || end != s.data() + s.size())
        return std::nullopt;
    return value;
}

// Why day.month.year (the year in full) is no date a data file can hold, or
// nothing when it is one.
std::string DateFault(long long day, long long month, long long year)
{
    static constexpr const char* months[] = {"January",   "February", "March",    "April",
                                             "May",       "June",     "July",     "August",
                                             "September", "October",  "November", "December"};
    static constexpr int days[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (year < 2000 || year > 2099)
        return "the year " + std::to_string(year) + " is outside 2000 to 2099, the years a data file holds";
    if (month < 1 || month > 12)
        return "there is no month " + std::to_string(month);
    const int last = month == 2 && year % 4 != 0 ? 28 : days[month - 1];
    if (day < 1 || day > last)
        return std::string(months[month - 1]) + " " + std::to_string(year) + " has no day " +
               std::to_string(day);
    return "";
}

std::optional<DataFileDate> ParseDate(std::string_view value, const std::string& where, Findings& findings)
{
    std::optional<long long> parts[3];
    std::size_t start = 0;
    std::string_view yearText;
    for (int i = 0; i < 3; ++i) {
        const std::size_t dot = i < 2 ? value.find('.', start) : value.size();
        if (dot == std::string_view::npos)
            break;
        parts[i] = ParseInteger(value.substr(start, dot - start));
        yearText = value.substr(start, dot - start);
        start = dot + 1;
    }
    const std::string example = "write DD.MM.YYYY, for example 15.03.2025";
    if (!parts[0] || !parts[1] || !parts[2]) {
        findings.Error(where, "the date " + Quoted(value) + " is not of the form DD.MM.YYYY, for example 15.03.2025");
        return std::nullopt;
    }
    const long long day = *parts[0], month = *parts[1], year = *parts[2];
    if (yearText.size() <= 2 && year >= 0) {
        findings.Error(where, "the date " + Quoted(value) +
                                  " has a two-digit year: write the year in full, " +
                                  std::string(value.substr(0, value.size() - yearText.size())) +
                                  std::to_string(2000 + year));
        return std::nullopt;
    }
    if (const std::string fault = DateFault(day, month, year); !fault.empty()) {
        findings.Error(where, "the date " + Quoted(value) + " is not a date: " + fault + "; " + example);
        return std::nullopt;
    }
    return DataFileDate{static_cast<int>(day), static_cast<int>(month), static_cast<int>(year - 2000)};
}

// One meaningful line of a source file.
struct SourceLine {
    int number = 0;
    bool isText = false;  // a description line, "| text"
    std::string key;      // otherwise "key: value"
    std::string_view value;
};

std::vector<SourceLine> SplitLines(const std::string& file, const std::string& text, Findings& findings)
{
    std::vector<SourceLine> lines;
    std::size_t start = 0;
    int number = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        std::string_view line(text.data() + start, end - start);
        start = end + 1;
        ++number;
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        const std::string_view content = TrimLeft(line);
        if (content.empty() || content.front() == '#')
            continue;
        SourceLine source;
        source.number = number;
        if (content.front() == '|') {
            std::string_view rest = content.substr(1);
            if (!rest.empty() && rest.front() == ' ')
                rest.remove_prefix(1);
            source.isText = true;
            source.value = TrimRight(rest);
        } else {
            const std::size_t colon = content.find(':');
            if (colon == std::string_view::npos) {
                findings.Error(AtLine(file, number),
                               "expected 'key: value' or a text line starting with '|'; start a comment with '#'");
                continue;
            }
            source.key = std::string(Trim(content.substr(0, colon)));
            source.value = Trim(content.substr(colon + 1));
        }
        lines.push_back(source);
    }
    return lines;
}

// The keys of each file, for telling the user where a line belongs.
struct FileKeys {
    const std::string* file;
    const char* recordKey;
    std::vector<std::string> fieldKeys;
    bool hasText;
    // A key whose absence ValidateDataSet reports, as it does an empty value.
    const char* optionalKey = nullptr;
};

const FileKeys RuneKeys{&RunesText, "rune", {"level"}, true};
const FileKeys ItemKeys{&ItemsText, "item", {"category", "sockets"}, false};
const FileKeys RunewordKeys{&RunewordsText, "runeword", {"items", "runes"}, true, "runes"};

std::string KnownKeys(const FileKeys& keys)
{
    std::string list = "date, " + std::string(keys.recordKey);
    for (const std::string& key : keys.fieldKeys)
        list += ", " + key;
    if (keys.hasText)
        list += " and text lines starting with '|'";
    return list;
}

// The line loop shared by the three parsers. `startRecord` is called for the
// record key, `field` for the other keys of the current record, `textLine`
// for each description line; `finishRecord` after each record.
template <typename Entry, typename Field, typename Finish>
Table<Entry> ParseTable(const FileKeys& keys, const std::string& text, Findings& findings, Field field,
                        Finish finishRecord)
{
    const std::string& file = *keys.file;
    Table<Entry> table;
    bool hasDate = false;
    bool inRecord = false;
    std::set<std::string> seen;
    std::vector<std::string> textLines;
    int recordLine = 0;

    const auto finish = [&] {
        if (!inRecord)
            return;
        Entry& entry = table.entries.back();
        for (const std::string& key : keys.fieldKeys) {
            if (seen.count(key) == 0 && key != (keys.optionalKey ? keys.optionalKey : ""))
                findings.Error(AtLine(file, recordLine), "this " + std::string(keys.recordKey) + " has no '" +
                                                             key + ":' line: add one");
        }
        std::string joined;
        for (std::size_t i = 0; i < textLines.size(); ++i)
            joined += (i > 0 ? "\r\n" : "") + textLines[i];
        finishRecord(entry, std::move(joined));
        textLines.clear();
        seen.clear();
    };

    for (const SourceLine& line : SplitLines(file, text, findings)) {
        const std::string where = AtLine(file, line.number);
        if (line.isText) {
            if (!keys.hasText) {
                findings.Error(where, file + " has no text lines: remove the '|' or make it a comment with '#'");
            } else if (!inRecord) {
                findings.Error(where, "a text line before the first '" + std::string(keys.recordKey) +
                                          ":' line: start the record first");
            } else if (std::optional<std::string> bytes = Decode(line.value, where, findings)) {
                if (bytes->find("\r\n") != std::string::npos)
                    findings.Error(where, "\\x0D\\x0A makes a line break, which a text writes as a new '|' line: "
                                          "split the line there");
                textLines.push_back(std::move(*bytes));
            }
            continue;
        }
        if (line.key == "date") {
            if (hasDate) {
                findings.Error(where, "a second date: " + file + " has one date line; remove this one");
                continue;
            }
            hasDate = true;
            table.where = where;
            if (const std::optional<DataFileDate> date = ParseDate(line.value, where, findings))
                table.date = *date;
            continue;
        }
        if (line.key == keys.recordKey) {
            finish();
            inRecord = true;
            recordLine = line.number;
            Entry entry;
            entry.where = where;
            if (std::optional<std::string> name = Decode(line.value, where, findings))
                entry.name = std::move(*name);
            table.entries.push_back(std::move(entry));
            continue;
        }
        const bool isField =
            std::find(keys.fieldKeys.begin(), keys.fieldKeys.end(), line.key) != keys.fieldKeys.end();
        if (!isField) {
            std::string belongs;
            for (const FileKeys* other : {&RuneKeys, &ItemKeys, &RunewordKeys}) {
                if (other != &keys && line.key == other->recordKey)
                    belongs = "; '" + line.key + ":' starts a record of " + *other->file;
            }
            findings.Error(where, "unknown key " + Quoted(line.key) + belongs + ". " + file + " knows " +
                                      KnownKeys(keys));
            continue;
        }
        if (!inRecord) {
            findings.Error(where, "'" + line.key + ":' before the first '" + keys.recordKey +
                                      ":' line: start the record first");
            continue;
        }
        if (!seen.insert(line.key).second) {
            findings.Error(where, "a second '" + line.key + ":' line in this " + keys.recordKey + ": keep one");
            continue;
        }
        field(table.entries.back(), line.key, line.value, where);
    }
    finish();
    if (!hasDate)
        findings.Error(AtLine(file, 0), "no date line: add 'date: DD.MM.YYYY', the date the data was last changed");
    return table;
}

std::optional<int> ParseNumber(std::string_view value, const std::string& what, const std::string& where,
                               Findings& findings)
{
    const std::optional<long long> number = ParseInteger(value);
    if (!number || *number < -1000000 || *number > 1000000) {
        findings.Error(where, "the " + what + " " + Quoted(value) + " is not a whole number: write one, such as 12");
        return std::nullopt;
    }
    return static_cast<int>(*number);
}

struct CategoryName {
    int code;
    const char* name;
};
constexpr CategoryName CategoryNames[] = {{1, "melee"}, {2, "missile"}, {3, "defence"}};

} // namespace

std::string DateFault(DataFileDate date)
{
    return DateFault(date.day, date.month, 2000LL + date.year);
}

std::string FormatDate(DataFileDate date)
{
    char text[48];
    std::snprintf(text, sizeof text, "%02d.%02d.%04d", date.day, date.month, 2000 + date.year);
    return text;
}

RuneTable ParseRunesText(const std::string& text, Findings& findings)
{
    return ParseTable<RuneEntry>(
        RuneKeys, text, findings,
        [&findings](RuneEntry& rune, const std::string&, std::string_view value, const std::string& where) {
            if (const std::optional<int> level = ParseNumber(value, "level", where, findings))
                rune.clvl = *level;
        },
        [](RuneEntry& rune, std::string description) { rune.description = std::move(description); });
}

ItemTable ParseItemsText(const std::string& text, Findings& findings)
{
    return ParseTable<ItemEntry>(
        ItemKeys, text, findings,
        [&findings](ItemEntry& item, const std::string& key, std::string_view value, const std::string& where) {
            if (key == "sockets") {
                if (const std::optional<int> sockets = ParseNumber(value, "socket count", where, findings))
                    item.maxSockets = *sockets;
                return;
            }
            for (const CategoryName& category : CategoryNames) {
                if (value == category.name) {
                    item.category = category.code;
                    return;
                }
            }
            if (const std::optional<long long> code = ParseInteger(value); code && *code > -1000 && *code < 1000) {
                item.category = static_cast<int>(*code);
                return;
            }
            findings.Error(where, "the category " + Quoted(value) +
                                      " is none of melee, missile or defence (or 1, 2, 3): write one of them");
        },
        [](ItemEntry&, std::string) {});
}

RunewordTable ParseRunewordsText(const std::string& text, Findings& findings)
{
    return ParseTable<RunewordEntry>(
        RunewordKeys, text, findings,
        [&findings](RunewordEntry& runeword, const std::string& key, std::string_view value,
                    const std::string& where) {
            if (key == "items") {
                // Tokens between slashes; an empty value is one empty token.
                std::size_t start = 0;
                for (;;) {
                    const std::size_t slash = value.find('/', start);
                    const std::string_view token =
                        Trim(value.substr(start, slash == std::string_view::npos ? std::string_view::npos
                                                                                 : slash - start));
                    runeword.itemTokens.push_back(Decode(token, where, findings).value_or(std::string(token)));
                    if (slash == std::string_view::npos)
                        break;
                    start = slash + 1;
                }
                return;
            }
            std::size_t pos = 0;
            while (pos < value.size()) {
                while (pos < value.size() && IsBlank(value[pos]))
                    ++pos;
                const std::size_t start = pos;
                while (pos < value.size() && !IsBlank(value[pos]))
                    ++pos;
                if (pos > start) {
                    const std::string_view name = value.substr(start, pos - start);
                    runeword.runeNames.push_back(Decode(name, where, findings).value_or(std::string(name)));
                }
            }
        },
        [](RunewordEntry& runeword, std::string description) { runeword.description = std::move(description); });
}

namespace {

enum EscapeFlags : unsigned {
    EscapeEdges = 1,      // a space at the start or end
    EscapeLastBlank = 2,  // a space at the end
    EscapeSpaces = 4,     // every space
    EscapeSlashes = 8,
};

std::string Escape(const std::string& bytes, unsigned flags)
{
    std::string out;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const auto byte = static_cast<std::uint8_t>(bytes[i]);
        const bool edge = i == 0 || i + 1 == bytes.size();
        bool escape = byte < 0x20 || byte == 0x7F || byte == 0xA0 || byte == 0xAD || !CharacterOfByte(byte);
        if (byte == ' ')
            escape = (flags & EscapeSpaces) || ((flags & EscapeEdges) && edge) ||
                     ((flags & EscapeLastBlank) && i + 1 == bytes.size());
        if (byte == '/' && (flags & EscapeSlashes))
            escape = true;
        if (byte == '\\') {
            out += "\\\\";
        } else if (escape) {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02X", byte);
            out += hex;
        } else {
            AppendUtf8(out, *CharacterOfByte(byte));
        }
    }
    return out;
}

void AppendDescription(std::string& out, const std::string& description)
{
    if (description.empty())
        return;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = description.find("\r\n", start);
        const std::string line = description.substr(start, end == std::string::npos ? std::string::npos : end - start);
        out += line.empty() ? "|" : "| " + Escape(line, EscapeLastBlank);
        out += '\n';
        if (end == std::string::npos)
            break;
        start = end + 2;
    }
}

template <typename Entry>
std::string Header(const Table<Entry>& table, const char* title)
{
    return std::string("# ") + title + "\n# Format: docs/data-format.md\n\ndate: " + FormatDate(table.date) + "\n";
}

} // namespace

std::string FormatRunesText(const RuneTable& table)
{
    std::string out = Header(table, "Runes, in order of rarity: common, semi-rare, extremely rare.");
    for (const RuneEntry& rune : table.entries) {
        out += "\nrune: " + Escape(rune.name, EscapeEdges) + "\nlevel: " + std::to_string(rune.clvl) + "\n";
        AppendDescription(out, rune.description);
    }
    return out;
}

std::string FormatItemsText(const ItemTable& table)
{
    std::string out = Header(table, "Item types that carry sockets.");
    for (const ItemEntry& item : table.entries) {
        std::string category = std::to_string(item.category);
        for (const CategoryName& name : CategoryNames) {
            if (name.code == item.category)
                category = name.name;
        }
        out += "\nitem: " + Escape(item.name, EscapeEdges) + "\ncategory: " + category +
               "\nsockets: " + std::to_string(item.maxSockets) + "\n";
    }
    return out;
}

std::string FormatRunewordsText(const RunewordTable& table)
{
    std::string out = Header(table, "Runewords, in the order Glyphmoor lists them.");
    for (const RunewordEntry& runeword : table.entries) {
        out += "\nruneword: " + Escape(runeword.name, EscapeEdges) + "\nitems: ";
        for (std::size_t i = 0; i < runeword.itemTokens.size(); ++i)
            out += (i > 0 ? " / " : "") + Escape(runeword.itemTokens[i], EscapeEdges | EscapeSlashes);
        out += "\nrunes:";
        for (const std::string& rune : runeword.runeNames)
            out += " " + Escape(rune, EscapeSpaces);
        out += "\n";
        AppendDescription(out, runeword.description);
    }
    return out;
}

} // namespace glyphmoor::tools
