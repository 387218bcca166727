// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace glyphmoor {

enum class MessageIcon { None, Exclamation, Question, Information };
enum class MessageButtons { Ok, YesNo };
enum class MessageAnswer { Ok, Yes, No };

// One modal message box: caption, text (Windows-1252 bytes), icon and buttons.
struct Message {
    std::string caption;
    std::string text;
    MessageIcon icon = MessageIcon::None;
    MessageButtons buttons = MessageButtons::Ok;

    bool operator==(const Message&) const = default;
};

// How the core tells the user about a failure. The GUI shows a real message
// box; tests record what was asked.
class MessageSink {
public:
    virtual ~MessageSink() = default;
    virtual MessageAnswer Show(const Message& message) = 0;
};

// The file errors all share the caption "Error...", an exclamation icon and OK.
Message FileNotFoundMessage(const std::string& fileName);
Message CorruptFileMessage(const std::string& fileName);
Message CannotWriteMessage(const std::string& fileName);

// Told once after the "Corrupt datafile" box for chars.dat: where the file as
// found was kept, or that no copy could be made.
Message CorruptCopyKeptMessage(const std::string& copyName);
Message CorruptCopyFailedMessage();
// A second copy of the program in a folder where one already runs.
Message AlreadyRunningMessage();
// The player's files are there but could not be read: chars.dat (the
// program then ends) and settings.dat (the defaults apply, the file is kept).
Message UnreadableRosterMessage();
Message UnreadableSettingsMessage();
// No lock could be taken nor checked: the session saves nothing.
Message UnsavedSessionMessage();

} // namespace glyphmoor
