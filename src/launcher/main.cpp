// SPDX-License-Identifier: GPL-3.0-or-later
// glyphmoor-launcher (also installed as the command glyphmoor): starts
// Glyphmoor in the player's own data folder, which it makes and fills with
// the sample reference data the first time (FirstStart.h has the rules).
// What goes wrong is told on standard error and, where there is a display, in
// a message box; the launcher then ends with status 1 without starting the
// program.
#include "launcher/FirstStart.h"
#include "launcher/Platform.h"

#include <QApplication>
#include <QMessageBox>

#include <iostream>

namespace fs = std::filesystem;

namespace {

int Fail(int argc, char** argv, const std::string& message)
{
    const std::string name = argc > 0 ? launcher::Utf8(fs::path(argv[0]).filename()) : "glyphmoor-launcher";
    std::cerr << name << ": " << message << '\n';
    if (launcher::CanShowWindows()) {
        QApplication app(argc, argv);
        QString text = QString::fromStdString(message);
        text[0] = text[0].toUpper();
        QMessageBox::warning(nullptr, QStringLiteral("Error..."), text);
    }
    return 1;
}

} // namespace

int main(int argc, char** argv)
{
    std::string why;
    const fs::path folder = launcher::UserDataFolder(why);
    if (folder.empty())
        return Fail(argc, argv, "no folder for your files: " + why + ", then start Glyphmoor again.");
    std::error_code ec;
    fs::create_directories(folder, ec);
    if (!fs::is_directory(folder))
        return Fail(argc, argv, "cannot create the folder " + launcher::Utf8(folder) + " for your files (" +
                                    (ec ? ec.message() : "something else has that name") +
                                    "). Make it a folder you can write to, or set " + launcher::DataHomeVariable +
                                    " to another place, then start Glyphmoor again.");

    // Where the program and the samples sit, relative to the launcher; the
    // build gives both, so an installed tree works under any prefix.
    const fs::path here = launcher::OwnExecutable().parent_path();
    const fs::path samples = (here / fs::path(u8"" GLYPHMOOR_LAUNCHER_TO_SAMPLES)).lexically_normal();
    const fs::path program = (here / fs::path(u8"" GLYPHMOOR_LAUNCHER_TO_PROGRAM)).lexically_normal();

    const auto result =
        launcher::PrepareDataFolder(folder, samples, launcher::ProcessRunning, launcher::CurrentProcessId());
    if (!result.failure.empty() || !result.missing.empty())
        return Fail(argc, argv, launcher::Advice(result, folder, samples));
    const int status = launcher::RunProgram(program, folder, argc, argv, why);
    if (status < 0)
        return Fail(argc, argv, why + ". Reinstall Glyphmoor, then start it again.");
    return status;
}
