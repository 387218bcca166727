// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the launcher needs from the system. PlatformPosix.cpp and
// PlatformWindows.cpp each give all of it; CMake builds the one that applies.
#include <filesystem>
#include <string>
#include <system_error>

namespace launcher {

// A path as UTF-8 text for a message. On POSIX these are the path's own bytes.
inline std::string Utf8(const std::filesystem::path& path)
{
    const auto text = path.u8string();
    return std::string(text.begin(), text.end());
}

// The folder the player's files live in: $XDG_DATA_HOME/glyphmoor (by default
// ~/.local/share/glyphmoor) or %APPDATA%\Glyphmoor. Empty, with `why` set,
// when the environment names none.
std::filesystem::path UserDataFolder(std::string& why);
// The variable a player sets to move that folder.
#ifdef _WIN32
inline constexpr const char* DataHomeVariable = "APPDATA";
#else
inline constexpr const char* DataHomeVariable = "XDG_DATA_HOME";
#endif

// The launcher's own executable, links followed.
std::filesystem::path OwnExecutable();

long CurrentProcessId();
bool ProcessRunning(long pid);

// Moves `from` to `to` unless something is there already; never replaces.
// Fails with std::errc::file_exists when `to` exists.
bool MoveWithoutReplacing(const std::filesystem::path& from, const std::filesystem::path& to,
                          std::error_code& error);

// Writes what is in the file or folder `path` to the disk, so that a power cut
// after a rename finds the file's content and the name both there.
bool SyncToDisk(const std::filesystem::path& path);

// Whether a message box can be seen at all: a display to show it on, not a
// platform that draws nothing (a box nobody sees would wait forever).
bool CanShowWindows();

// Starts `program` in `folder` with the launcher's arguments after the first.
// On POSIX the launcher becomes the program, so signals and the exit status
// are the program's own; it returns only when that fails. On Windows it waits
// for the program and returns its exit status. -1 with `why` on failure.
int RunProgram(const std::filesystem::path& program, const std::filesystem::path& folder, int argc,
               char** argv, std::string& why);

} // namespace launcher
