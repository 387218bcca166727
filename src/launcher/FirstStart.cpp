// SPDX-License-Identifier: GPL-3.0-or-later
#include "launcher/FirstStart.h"

#include "launcher/Platform.h"

#include <algorithm>
#include <fstream>
#include <iterator>

namespace fs = std::filesystem;

namespace launcher {
namespace {

constexpr std::string_view PartialMark = ".partial.";

std::string List(const std::vector<std::string>& names)
{
    std::string text;
    for (size_t i = 0; i < names.size(); ++i)
        text += (i == 0 ? "" : i + 1 == names.size() ? " and " : ", ") + names[i];
    return text;
}

// The pid in ".<anything>.partial.<pid>", or -1 for any other name.
long LeftoverPid(const std::string& name)
{
    const auto mark = name.rfind(PartialMark);
    if (name.size() < 2 || name[0] != '.' || mark == std::string::npos || mark == 0)
        return -1;
    const std::string digits = name.substr(mark + PartialMark.size());
    if (digits.empty() || digits.size() > 9 || !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return -1;
    return std::stol(digits);
}

void RemoveLeftovers(const fs::path& folder, const std::function<bool(long)>& processRunning, long ownPid)
{
    std::error_code ec;
    std::vector<fs::path> leftovers;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const long pid = LeftoverPid(Utf8(it->path().filename()));
        if (pid >= 0 && pid != ownPid && !processRunning(pid))
            leftovers.push_back(it->path());
    }
    for (const auto& path : leftovers)
        fs::remove_all(path, ec); // a link named so goes, not what it leads to
}

bool SameBytes(const fs::path& a, const fs::path& b)
{
    std::error_code ec;
    if (!fs::is_regular_file(a, ec) || !fs::is_regular_file(b, ec) || fs::file_size(a, ec) != fs::file_size(b, ec) ||
        ec)
        return false;
    std::ifstream fa(a, std::ios::binary), fb(b, std::ios::binary);
    if (!fa || !fb)
        return false;
    return std::equal(std::istreambuf_iterator<char>(fa), std::istreambuf_iterator<char>(),
                      std::istreambuf_iterator<char>(fb), std::istreambuf_iterator<char>());
}

// Anything there counts, a dangling link or a name that cannot be looked at
// included: it is never written over.
bool Exists(const fs::path& path)
{
    std::error_code ec;
    return fs::symlink_status(path, ec).type() != fs::file_type::not_found;
}

std::string Describe(const std::string& what, const std::error_code& ec)
{
    return what + ": " + ec.message();
}

// Copies `names` from `samples` into a temporary folder inside `folder`, then
// moves each into place unless something got there meanwhile.
std::string CopySamples(const fs::path& folder, const fs::path& samples, const std::vector<std::string>& names,
                        long ownPid, std::vector<std::string>& copied)
{
    const fs::path staging = folder / (".samples" + std::string(PartialMark) + std::to_string(ownPid));
    std::error_code ec;
    fs::remove_all(staging, ec);
    if (!fs::create_directory(staging, ec))
        return Describe(Utf8(staging), ec);
    std::string failure;
    for (const auto& name : names) {
        if (!fs::copy_file(samples / name, staging / name, ec)) {
            failure = Describe(Utf8(samples / name), ec);
            break;
        }
        // On the disk before its name is, or a power cut could leave an
        // empty file that would then count as the player's own.
        if (!SyncToDisk(staging / name)) {
            failure = Utf8(staging / name) + ": cannot be written to the disk";
            break;
        }
    }
    for (size_t i = 0; failure.empty() && i < names.size(); ++i) {
        if (MoveWithoutReplacing(staging / names[i], folder / names[i], ec))
            copied.push_back(names[i]);
        else if (ec != std::errc::file_exists) // another launcher was quicker: its copy serves
            failure = Describe(Utf8(folder / names[i]), ec);
    }
    fs::remove_all(staging, ec);
    if (!copied.empty())
        SyncToDisk(folder); // the new names; the files are there either way
    return failure;
}

} // namespace

FirstStartResult PrepareDataFolder(const fs::path& folder, const fs::path& samples,
                                   const std::function<bool(long)>& processRunning, long ownPid)
{
    FirstStartResult result;
    RemoveLeftovers(folder, processRunning, ownPid);

    std::vector<std::string> absent;
    for (const char* name : ReferenceFiles) {
        const fs::path path = folder / name;
        if (!Exists(path))
            absent.emplace_back(name);
        else if (!SameBytes(path, samples / name))
            result.own.emplace_back(name);
    }
    std::error_code ec;
    for (const auto& name : absent)
        if (!fs::is_regular_file(samples / name, ec))
            result.noSample.push_back(name);
    if (!absent.empty() && result.own.empty() && result.noSample.empty())
        result.failure = CopySamples(folder, samples, absent, ownPid, result.copied);

    for (const auto& name : absent)
        if (!Exists(folder / name))
            result.missing.push_back(name);
    return result;
}

std::string Advice(const FirstStartResult& result, const fs::path& folder, const fs::path& samples)
{
    const std::string here = Utf8(folder);
    if (!result.failure.empty())
        return "cannot copy the sample data into " + here + " (" + result.failure +
               "). Free some space or make the folder writable, then start Glyphmoor again. "
               "Nothing in the folder was replaced.";
    if (!result.noSample.empty())
        return "the sample data file" + std::string(result.noSample.size() > 1 ? "s " : " ") +
               List(result.noSample) + " cannot be found in " + Utf8(samples) +
               ". Reinstall Glyphmoor, or copy your own runes.dat, items.dat and runewords.dat into " + here + ".";
    return here + " holds your own " + List(result.own) + " but no " + List(result.missing) +
           ". Glyphmoor does not mix its sample data with your own files: copy the rest of your data set "
           "into that folder, or move your own files out of it to start again with the sample data.";
}

} // namespace launcher
