// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/DataTool.h"

#include "tools/DataChecker.h"
#include "tools/DataCompiler.h"

#include "core/CodePage.h"
#include "core/Roster.h"
#include "core/RunewordFilter.h"
#include "core/Settings.h"
#include "core/Version.h"

#include <array>
#include <filesystem>
#include <optional>
#include <system_error>

namespace glyphmoor::tools {

namespace {

const char* const ToolHelp = R"(Usage: glyphmoor-data COMMAND [ARGUMENTS]

Builds and checks the reference data of Glyphmoor: runes.dat, items.dat and
runewords.dat, which Glyphmoor reads from its working directory.

Commands:
  compile SRC_DIR OUT_DIR    the text sources runes.txt, items.txt and
                             runewords.txt to the three .dat files
  decompile DAT_DIR OUT_DIR  the three .dat files to text sources
  check [DAT_DIR]            report what Glyphmoor makes of the .dat files
                             in DAT_DIR (default: the current directory)
  show [DIR]                 the characters and filter settings in DIR (default:
                             the current directory) and what Glyphmoor lists
  help [COMMAND]             this text, or the help of one command

Options: --help (also after a command), --version.

The text format is described in docs/data-format.md.
Exit status: 0 success, 1 errors in the data or its files, 2 wrong usage.
)";

const char* const CompileHelp = R"(Usage: glyphmoor-data compile SRC_DIR OUT_DIR

Reads runes.txt, items.txt and runewords.txt from SRC_DIR and writes
runes.dat, items.dat and runewords.dat into OUT_DIR (created if missing).
Every error names the file and line and says what to change. When any of
the three sources has an error, no .dat file is written; each file is
written beside its target and renamed over it, so a failed write leaves the
old file whole. What check calls an error (a rune or item name that matches
nothing, a runeword no item can hold) stops the compile too; warnings (runes
out of level order) are shown but do not stop it.

Exit status: 0 written, 1 errors (nothing written), 2 wrong usage.
)";

const char* const DecompileHelp = R"(Usage: glyphmoor-data decompile DAT_DIR OUT_DIR

Reads runes.dat, items.dat and runewords.dat from DAT_DIR and writes
runes.txt, items.txt and runewords.txt into OUT_DIR (created if missing).
For files Glyphmoor reads in full, compiling the text gives back the same
bytes. Bytes Glyphmoor never reads are left out, with a warning; what the
compiler will refuse (control bytes in a name, a category other than 1 to 3,
more than six runes) is written as it is and reported as an error, with the
record number and byte offset, so it can be fixed in the text.

Exit status: 0 written, 1 a file could not be read or written, or the text
holds errors to fix before it compiles, 2 wrong usage.
)";

const char* const CheckHelp = R"(Usage: glyphmoor-data check [DAT_DIR]

Loads runes.dat, items.dat and runewords.dat from DAT_DIR (default: the
current directory) exactly as Glyphmoor does at start-up and reports what a
player would meet: the counts and dates, bytes the program never reads,
rune or item names in runewords that find nothing, runewords that need more
sockets than any of their item types hold, duplicate names, and runes whose
levels do not rise within their rarity group (a warning).

Exit status: 0 no errors (warnings may be shown), 1 errors, 2 wrong usage.
)";

const char* const ShowHelp = R"(Usage: glyphmoor-data show [DIR]
Reads chars.dat and settings.dat from DIR (default: the current directory) as
Glyphmoor does at start-up, without changing any file, and prints each
character with its ticks and highlighted rows, the filter settings, and the
runewords Glyphmoor lists for the selected character when the three .dat
files are there too. What Glyphmoor would report is printed as a message.
Exit status: 0 shown, 1 a message was printed, 2 wrong usage.
)";

struct Command {
    const char* name;
    const char* help;
    std::size_t leastArguments;
    std::size_t mostArguments;
};

const Command Commands[] = {
    {"compile", CompileHelp, 2, 2},
    {"decompile", DecompileHelp, 2, 2},
    {"check", CheckHelp, 0, 1},
    {"show", ShowHelp, 0, 1},
};

// "compile, decompile, check, show and help"
std::string CommandList()
{
    std::string list;
    for (const Command& command : Commands)
        list += std::string(command.name) + ", ";
    return list.substr(0, list.size() - 2) + " and help";
}

const Command* FindCommand(const std::string& name)
{
    for (const Command& command : Commands) {
        if (name == command.name)
            return &command;
    }
    return nullptr;
}

int UsageError(std::ostream& err, const std::string& message)
{
    err << "glyphmoor-data: " << message << "\nRun 'glyphmoor-data --help' for usage.\n";
    return ExitUsageError;
}

void PrintSummary(const Findings& findings, std::ostream& out)
{
    const int errors = findings.Count(Severity::Error);
    const int warnings = findings.Count(Severity::Warning);
    out << errors << (errors == 1 ? " error, " : " errors, ") << warnings
        << (warnings == 1 ? " warning\n" : " warnings\n");
}

bool MakeDirectory(const std::string& directory, std::ostream& err)
{
    std::error_code error;
    std::filesystem::create_directories(directory, error);
    if (error) {
        err << directory << ": error: cannot create the directory (" << error.message() << ")\n";
        return false;
    }
    return true;
}

// Reads the three named files, reporting each that cannot be read.
std::optional<std::array<Bytes, 3>> ReadThree(const std::string& directory, const std::string (&names)[3],
                                              std::ostream& err)
{
    DiskFiles files(directory);
    std::array<Bytes, 3> contents;
    bool complete = true;
    for (std::size_t i = 0; i < 3; ++i) {
        if (std::optional<Bytes> bytes = files.Read(names[i], ReferenceFileLimit)) {
            contents[i] = std::move(*bytes);
        } else {
            err << (std::filesystem::path(directory) / names[i]).string() << ": error: cannot be read\n";
            complete = false;
        }
    }
    if (!complete)
        return std::nullopt;
    return contents;
}

bool WriteThree(const std::string& directory, const std::string (&names)[3], const std::array<Bytes, 3>& contents,
                std::ostream& out, std::ostream& err)
{
    if (!MakeDirectory(directory, err))
        return false;
    DiskFiles files(directory);
    for (std::size_t i = 0; i < 3; ++i) {
        const std::string path = (std::filesystem::path(directory) / names[i]).string();
        if (!files.Replace(names[i], contents[i])) {
            err << path << ": error: cannot be written" << (i > 0 ? " (the files before it were)" : "")
                << "; the old file, if any, is unchanged\n";
            return false;
        }
        out << "wrote " << path << " (" << contents[i].size() << " bytes)\n";
    }
    return true;
}

Bytes BytesOfText(const std::string& text)
{
    return Bytes(text.begin(), text.end());
}

std::string TextOfBytes(const Bytes& bytes)
{
    return std::string(bytes.begin(), bytes.end());
}

const std::string TextNames[3] = {RunesText, ItemsText, RunewordsText};
const std::string DatNames[3] = {RunesFileName, ItemsFileName, RunewordsFileName};

int RunCompile(const std::string& source, const std::string& target, std::ostream& out, std::ostream& err)
{
    const std::optional<std::array<Bytes, 3>> texts = ReadThree(source, TextNames, err);
    if (!texts)
        return ExitDataError;
    Findings findings;
    const std::optional<DatFiles> compiled =
        Compile({TextOfBytes((*texts)[0]), TextOfBytes((*texts)[1]), TextOfBytes((*texts)[2])}, findings);
    findings.Print(err);
    if (!compiled) {
        err << "nothing written: ";
        PrintSummary(findings, err);
        return ExitDataError;
    }
    if (!WriteThree(target, DatNames, {compiled->runes, compiled->items, compiled->runewords}, out, err))
        return ExitDataError;
    return ExitSuccess;
}

int RunDecompile(const std::string& source, const std::string& target, std::ostream& out, std::ostream& err)
{
    const std::optional<std::array<Bytes, 3>> dats = ReadThree(source, DatNames, err);
    if (!dats)
        return ExitDataError;
    Findings findings;
    const TextFiles texts = Decompile({(*dats)[0], (*dats)[1], (*dats)[2]}, findings);
    findings.Print(err);
    if (!WriteThree(target, TextNames,
                    {BytesOfText(texts.runes), BytesOfText(texts.items), BytesOfText(texts.runewords)}, out, err))
        return ExitDataError;
    if (findings.HasErrors()) {
        err << "the text was written, but it will not compile until the places named above are fixed: ";
        PrintSummary(findings, err);
        return ExitDataError;
    }
    return ExitSuccess;
}

int RunCheck(const std::string& directory, std::ostream& out)
{
    DiskFiles files(directory);
    const Findings findings = CheckDatFiles(files);
    findings.Print(out);
    PrintSummary(findings, out);
    return findings.HasErrors() ? ExitDataError : ExitSuccess;
}

// The files of a directory, read but never changed.
class ReadOnlyFiles final : public FileStore {
public:
    explicit ReadOnlyFiles(const std::string& directory) : disk(directory) {}
    bool Replace(const std::string&, const Bytes&) override { return false; }
    bool Remove(const std::string&) override { return false; }
    bool Exists(const std::string& name) override { return disk.Exists(name); }

protected:
    FileRead ReadOnce(const std::string& name, std::size_t limit) override { return disk.Load(name, limit); }
    void Pause(int) override {}

private:
    DiskFiles disk;
};

class PrintedMessages final : public MessageSink {
public:
    explicit PrintedMessages(std::ostream& err) : err(err) {}
    MessageAnswer Show(const Message& message) override
    {
        err << "message: " << Printable(message.text) << "\n";
        ++count;
        return message.buttons == MessageButtons::YesNo ? MessageAnswer::No : MessageAnswer::Ok;
    }
    int count = 0;

private:
    std::ostream& err;
};

// "any rune (2)": a setting's meaning, then the number settings.dat holds.
std::string Named(int value, std::initializer_list<const char*> names)
{
    const bool known = value >= 1 && value <= static_cast<int>(names.size());
    return std::string(known ? names.begin()[value - 1] : "unknown") + " (" + std::to_string(value) + ")";
}

void PrintList(std::ostream& out, const char* label, const std::vector<int>& list)
{
    out << "  " << label << ":";
    for (const int i : list)
        out << ' ' << i;
    out << "\n";
}

int RunShow(const std::string& directory, std::ostream& out, std::ostream& err)
{
    ReadOnlyFiles files(directory);
    PrintedMessages messages(err);
    const Io io{files, messages};
    Roster roster;
    LoadRoster(roster, io);
    FilterSettings filter;
    InfoKind infoKind = DefaultInfoKind;
    roster.selectedCharacter = LoadSettings(filter, infoKind, roster.characterCount, io).selectedCharacter;
    out << RosterFileName << ": " << roster.characterCount << " characters\n";
    for (int i = 0; i < roster.characterCount; ++i) {
        const Character& character = roster.characters[static_cast<std::size_t>(i)];
        out << "character " << i << ": " << Quoted(character.GetName()) << ", clvl " << character.GetClvl() << "\n";
        PrintList(out, "runes", TickedRows(character.GetRuneTicks()));
        PrintList(out, "item types", TickedRows(character.GetItemTypeTicks()));
        out << "  highlighted: rune " << character.GetHighlight(HighlightedRune) << ", item type "
            << character.GetHighlight(HighlightedItemType) << ", runeword "
            << character.GetHighlight(HighlightedRuneword) << "\n";
    }
    out << SettingsFileName << ": selected character " << roster.selectedCharacter
        << ", info: " << Named(infoKind, {"rune info", "item info", "runeword info"})
        << "\n  rune rule: " << Named(filter.runeRule, {"all runes", "any rune", "regardless of runes"})
        << ", character rule: "
        << Named(filter.characterRule, {"the selected character", "any character", "regardless of characters"})
        << "\n  clvl over " << filter.clvlOver << ", clvl under " << filter.clvlUnder
        << ", ignore clvl limits: " << (filter.ignoreClvlLimits ? "yes" : "no") << "\n";
    if (roster.characterCount > 0 && files.Exists(RunesFileName) && files.Exists(ItemsFileName) &&
        files.Exists(RunewordsFileName)) {
        DataStore store(RuneCount, ItemTypeCount, RunewordCapacity, MaxRunesPerRuneword);
        for (const ReferenceTable table : ReferenceTables)
            store.Load(table, io);
        const Character& selected = roster.Selected();
        const std::vector<int> listed = FilterRunewords(store, TickedRows(selected.GetRuneTicks()),
                                                        TickedRows(selected.GetItemTypeTicks()), roster, filter);
        out << "listed for character " << roster.selectedCharacter << ": " << listed.size() << " runewords\n";
        for (const int i : listed)
            out << "  " << i << ' ' << Quoted(store.GetRuneword(i).GetName()) << "\n";
    }
    return messages.count > 0 ? ExitDataError : ExitSuccess;
}

} // namespace

int RunDataTool(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    if (args.empty())
        return UsageError(err, "no command given");
    const std::string& first = args.front();
    if (first == "--version") {
        out << "glyphmoor-data (" GLYPHMOOR_NAME ") " GLYPHMOOR_VERSION "\n";
        return ExitSuccess;
    }
    if (first == "--help" || first == "-h" || first == "help") {
        if (first == "help" && args.size() > 1) {
            const Command* command = FindCommand(args[1]);
            if (command == nullptr)
                return UsageError(err, "no command '" + args[1] + "'; the commands are " + CommandList());
            out << command->help;
            return ExitSuccess;
        }
        out << ToolHelp;
        return ExitSuccess;
    }
    const Command* command = FindCommand(first);
    if (command == nullptr)
        return UsageError(err, "no command '" + first + "'; the commands are " + CommandList());

    std::vector<std::string> operands;
    for (std::size_t i = 1; i < args.size(); ++i) {
        if (args[i] == "--help" || args[i] == "-h") {
            out << command->help;
            return ExitSuccess;
        }
        if (args[i] == "--") {
            operands.insert(operands.end(), args.begin() + static_cast<std::ptrdiff_t>(i) + 1, args.end());
            break;
        }
        if (args[i].size() > 1 && args[i].front() == '-')
            return UsageError(err, std::string(command->name) + " has no option '" + args[i] + "'");
        operands.push_back(args[i]);
    }
    if (operands.size() < command->leastArguments || operands.size() > command->mostArguments) {
        err << "glyphmoor-data: wrong number of arguments for " << command->name << "\n\n" << command->help;
        return ExitUsageError;
    }

    const std::string name = command->name;
    if (name == "compile")
        return RunCompile(operands[0], operands[1], out, err);
    if (name == "decompile")
        return RunDecompile(operands[0], operands[1], out, err);
    if (name == "show")
        return RunShow(operands.empty() ? "." : operands[0], out, err);
    return RunCheck(operands.empty() ? "." : operands[0], out);
}

} // namespace glyphmoor::tools
