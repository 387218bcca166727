// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <ostream>
#include <string>
#include <vector>

namespace glyphmoor::tools {

enum class Severity { Note, Warning, Error };

// One thing the tool has to tell: where (a text file and line, or a .dat file
// with record number and byte offset) and what to do about it.
struct Finding {
    Severity severity = Severity::Error;
    std::string where;
    std::string message; // UTF-8
};

class Findings {
public:
    void Add(Severity severity, std::string where, std::string message);
    void Error(std::string where, std::string message) { Add(Severity::Error, std::move(where), std::move(message)); }
    void Warning(std::string where, std::string message) { Add(Severity::Warning, std::move(where), std::move(message)); }
    void Note(std::string where, std::string message) { Add(Severity::Note, std::move(where), std::move(message)); }
    void Append(const Findings& other);

    const std::vector<Finding>& All() const { return all; }
    int Count(Severity severity) const;
    bool HasErrors() const { return Count(Severity::Error) > 0; }
    bool Empty() const { return all.empty(); }
    // The first finding whose message contains `part`, or null.
    const Finding* Find(const std::string& part) const;

    // "where: error: message", one finding a line.
    void Print(std::ostream& out) const;

private:
    std::vector<Finding> all;
};

// "runes.txt:12", or just the file name for line 0.
std::string AtLine(const std::string& file, int line);
// "runewords.dat record 5 (byte 120)": records count from 1.
std::string AtRecord(const std::string& file, int index, std::size_t offset);

} // namespace glyphmoor::tools
