#include "app/TerminationSignals.h"

#include <QSocketNotifier>

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace {

// The pipe's writing end, for the signal handler.
volatile sig_atomic_t g_writeEnd = -1;

void onSignal(int signalNumber) {
    // Only what is safe in a signal handler: one write that never blocks, errno kept.
    const int savedErrno = errno;
    const unsigned char byte = static_cast<unsigned char>(signalNumber);
    [[maybe_unused]] const ssize_t written = ::write(g_writeEnd, &byte, 1);
    errno = savedErrno;
}

} // namespace

TerminationSignals::TerminationSignals(QObject *parent) : QObject(parent) {
    int ends[2];
    if (g_writeEnd >= 0 || ::pipe2(ends, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    m_readEnd = ends[0];
    g_writeEnd = ends[1];
    m_notifier = new QSocketNotifier(m_readEnd, QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &TerminationSignals::takeSignal);

    struct sigaction action = {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    // Calls that the signal interrupts go on by themselves.
    action.sa_flags = SA_RESTART;
    for (int i = 0; i < kSignalCount; ++i) {
        ::sigaction(kSignals[i], nullptr, &m_previous[i]);
        if (m_previous[i].sa_handler != SIG_IGN)
            ::sigaction(kSignals[i], &action, nullptr);
    }
    m_installed = true;
}

TerminationSignals::~TerminationSignals() {
    restoreHandlers();
    if (m_readEnd < 0)
        return;
    delete m_notifier;
    ::close(g_writeEnd);
    g_writeEnd = -1;
    ::close(m_readEnd);
}

void TerminationSignals::takeSignal() {
    unsigned char byte = 0;
    if (::read(m_readEnd, &byte, 1) != 1)
        return;
    // Signals that came on top of the first are the system's to handle from now on.
    if (!m_installed)
        return;
    restoreHandlers();
    emit received(int(byte));
}

void TerminationSignals::restoreHandlers() {
    if (!m_installed)
        return;
    for (int i = 0; i < kSignalCount; ++i)
        ::sigaction(kSignals[i], &m_previous[i], nullptr);
    m_installed = false;
}
