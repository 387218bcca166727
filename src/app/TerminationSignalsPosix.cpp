// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/TerminationSignals.h"

#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

int pipeEnds[2] = {-1, -1};
constexpr int HandledSignals[] = {SIGTERM, SIGINT, SIGHUP};

void OnSignal(int signalNumber)
{
    const int savedErrno = errno;
    const unsigned char byte = static_cast<unsigned char>(signalNumber);
    [[maybe_unused]] const ssize_t written = ::write(pipeEnds[0], &byte, 1);
    errno = savedErrno;
}

} // namespace

struct TerminationSignals::Watch {
    QSocketNotifier* notifier = nullptr;
};

TerminationSignals::TerminationSignals(QObject* parent) : QObject(parent), watch(new Watch)
{
    // Under a file-size limit a write past it then fails as on a full disk,
    // with the program's message and the old file kept.
    std::signal(SIGXFSZ, SIG_IGN);
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, pipeEnds) != 0)
        return;
    watch->notifier = new QSocketNotifier(pipeEnds[1], QSocketNotifier::Read, this);
    connect(watch->notifier, &QSocketNotifier::activated, this, [this] {
        unsigned char byte = 0;
        while (::read(pipeEnds[1], &byte, 1) == 1)
            emit terminationRequested(byte);
    });

    struct sigaction action {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signalNumber : HandledSignals)
        ::sigaction(signalNumber, &action, nullptr);
}

TerminationSignals::~TerminationSignals()
{
    struct sigaction action {};
    action.sa_handler = SIG_DFL;
    sigemptyset(&action.sa_mask);
    for (const int signalNumber : HandledSignals)
        ::sigaction(signalNumber, &action, nullptr);
    delete watch->notifier;
    delete watch;
    for (int& end : pipeEnds) {
        if (end != -1)
            ::close(end);
        end = -1;
    }
}
