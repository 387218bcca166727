// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/Messages.h"

class QDialog;
class QWidget;

// Every modal message box and dialog of the program goes through one
// Prompter, so tests can answer them without a person. The real one shows Qt
// message boxes and runs dialogs with exec().
class Prompter : public glyphmoor::MessageSink {
public:
    // Messages from the core are owned by no window.
    glyphmoor::MessageAnswer Show(const glyphmoor::Message& message) override
    {
        return ShowMessage(nullptr, message);
    }
    virtual glyphmoor::MessageAnswer ShowMessage(QWidget* owner, const glyphmoor::Message& message) = 0;
    // Runs a modal dialog; true when it was closed with OK.
    virtual bool RunDialog(QDialog& dialog) = 0;
};

class QtPrompter final : public Prompter {
public:
    glyphmoor::MessageAnswer ShowMessage(QWidget* owner, const glyphmoor::Message& message) override;
    bool RunDialog(QDialog& dialog) override;
};
