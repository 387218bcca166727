// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

// Turns the system's requests to end the program into a Qt signal delivered
// by the event loop, in the program's normal order, whatever dialog is open.
// On POSIX systems they are SIGTERM, SIGINT and SIGHUP, whose handler only
// writes a byte into a pipe; on Windows a WM_CLOSE posted from outside (as
// `taskkill` without /f does), received by a hidden window of its own.
class TerminationSignals : public QObject {
    Q_OBJECT
public:
    explicit TerminationSignals(QObject* parent = nullptr);
    ~TerminationSignals() override;

signals:
    void terminationRequested(int signalNumber);

private:
    struct Watch;
    Watch* watch = nullptr;
};
