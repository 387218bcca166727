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

std::string List(const std::vector<std::string>& names)
{
    std::string text;
    for (size_t i = 0; i < names.size(); ++i)
        text += (i == 0 ? "" : i + 1 == names.size() ? " and " : ", ") + names[i];
    return text;
}

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

std::string Advice(const launcher::FirstStartResult& result, const fs::path& folder, const fs::path& samples)
{
    const std::string here = launcher::Utf8(folder);
    if (!result.failure.empty())
        return "cannot copy the sample data into " + here + " (" + result.failure +
               "). Free some space or make the folder writable, then start Glyphmoor again. "
               "Nothing in the folder was replaced.";
    if (!result.noSample.empty())
        return "the sample data file" + std::string(result.noSample.size() > 1 ? "s " : " ") +
               List(result.noSample) + " cannot be found in " + launcher::Utf8(samples) +
               ". Reinstall Glyphmoor, or copy your own runes.dat, items.dat and runewords.dat into " + here + ".";
    return here + " holds your own " + List(result.own) + " but no " + List(result.missing) +
           ". Glyphmoor does not mix its sample data with your own files: copy the rest of your data set "
           "into that folder, or move your own files out of it to start again with the sample data.";
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
        return Fail(argc, argv, Advice(result, folder, samples));
    const int status = launcher::RunProgram(program, folder, argc, argv, why);
    if (status < 0)
        return Fail(argc, argv, why + ". Reinstall Glyphmoor, then start it again.");
    return status;
}
