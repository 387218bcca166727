// SPDX-License-Identifier: GPL-3.0-or-later
// The launcher on Windows: wide-character paths and calls throughout, so a
// user folder with letters outside the ANSI code page works.
#include "launcher/Platform.h"

#include <cstdlib>
#include <cwchar>
#include <windows.h>

namespace fs = std::filesystem;

namespace launcher {
namespace {

std::string LastError()
{
    return std::system_category().message(static_cast<int>(GetLastError()));
}

// The command line after the program's own name, exactly as it was given, so
// arguments keep their quoting and their letters.
const wchar_t* ArgumentsAfterName(const wchar_t* line)
{
    bool quoted = false;
    for (; *line != L'\0'; ++line) {
        if (*line == L'"')
            quoted = !quoted;
        else if ((*line == L' ' || *line == L'\t') && !quoted)
            break;
    }
    while (*line == L' ' || *line == L'\t')
        ++line;
    return line;
}

} // namespace

fs::path UserDataFolder(std::string& why)
{
    const wchar_t* appData = _wgetenv(L"APPDATA");
    if (appData == nullptr || *appData == L'\0') {
        why = "APPDATA is not set. Set it to your own application data folder";
        return {};
    }
    return fs::path(appData) / L"Glyphmoor";
}

fs::path OwnExecutable()
{
    std::wstring name(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = GetModuleFileNameW(nullptr, name.data(), static_cast<DWORD>(name.size()));
        if (n == 0)
            return {};
        if (n < name.size()) {
            name.resize(n);
            return fs::path(name);
        }
        name.resize(name.size() * 2);
    }
}

long CurrentProcessId()
{
    return static_cast<long>(GetCurrentProcessId());
}

bool ProcessRunning(long pid)
{
    HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, static_cast<DWORD>(pid));
    if (process == nullptr)
        return GetLastError() == ERROR_ACCESS_DENIED; // someone else's, and alive
    const bool running = WaitForSingleObject(process, 0) == WAIT_TIMEOUT;
    CloseHandle(process);
    return running;
}

bool MoveWithoutReplacing(const fs::path& from, const fs::path& to, std::error_code& error)
{
    error.clear();
    // Without MOVEFILE_REPLACE_EXISTING the move fails when `to` exists.
    if (MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_WRITE_THROUGH))
        return true;
    const DWORD code = GetLastError();
    if (code == ERROR_ALREADY_EXISTS || code == ERROR_FILE_EXISTS)
        error = std::make_error_code(std::errc::file_exists);
    else
        error.assign(static_cast<int>(code), std::system_category());
    return false;
}

bool SyncToDisk(const fs::path& path)
{
    // A folder's entries are written through by MoveFileExW already.
    std::error_code ec;
    if (fs::is_directory(path, ec))
        return true;
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    const bool synced = FlushFileBuffers(file) != 0;
    CloseHandle(file);
    return synced;
}

bool CanShowWindows()
{
    const wchar_t* platform = _wgetenv(L"QT_QPA_PLATFORM");
    return platform == nullptr || (std::wcsncmp(platform, L"offscreen", 9) != 0 && std::wcsncmp(platform, L"minimal", 7) != 0);
}

int RunProgram(const fs::path& program, const fs::path& folder, int, char**, std::string& why)
{
    std::wstring line = L"\"" + program.wstring() + L"\"";
    const wchar_t* arguments = ArgumentsAfterName(GetCommandLineW());
    if (*arguments != L'\0')
        line += L" " + std::wstring(arguments);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(program.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(),
                        &startup, &process)) {
        why = "cannot start " + Utf8(program) + ": " + LastError();
        return -1;
    }
    CloseHandle(process.hThread);
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD status = 1;
    GetExitCodeProcess(process.hProcess, &status);
    CloseHandle(process.hProcess);
    return static_cast<int>(status);
}

} // namespace launcher
