// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/Findings.h"

#include <algorithm>

namespace glyphmoor::tools {

void Findings::Add(Severity severity, std::string where, std::string message)
{
    all.push_back({severity, std::move(where), std::move(message)});
}

void Findings::Append(const Findings& other)
{
    all.insert(all.end(), other.all.begin(), other.all.end());
}

int Findings::Count(Severity severity) const
{
    return static_cast<int>(
        std::count_if(all.begin(), all.end(), [severity](const Finding& f) { return f.severity == severity; }));
}

const Finding* Findings::Find(const std::string& part) const
{
    for (const Finding& finding : all) {
        if (finding.message.find(part) != std::string::npos)
            return &finding;
    }
    return nullptr;
}

void Findings::Print(std::ostream& out) const
{
    for (const Finding& finding : all) {
        const char* label = finding.severity == Severity::Error     ? "error"
                            : finding.severity == Severity::Warning ? "warning"
                                                                    : "note";
        if (!finding.where.empty())
            out << finding.where << ": ";
        out << label << ": " << finding.message << '\n';
    }
}

std::string AtLine(const std::string& file, int line)
{
    return line > 0 ? file + ":" + std::to_string(line) : file;
}

std::string AtRecord(const std::string& file, int index, std::size_t offset)
{
    return file + " record " + std::to_string(index + 1) + " (byte " + std::to_string(offset) + ")";
}

} // namespace glyphmoor::tools
