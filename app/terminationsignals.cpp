#include "app/terminationsignals.h"

#include "app/signalhandoff.h"
#include "app/terminationwatchdog.h"

#include <QSocketNotifier>
#include <atomic>
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace {

// The write end of the pipe, for the handler, while an object reports the signals.
SignalHandoff<std::atomic<int>> s_handoff;
static_assert(std::atomic<int>::is_always_lock_free, "the handler needs lock-free atomics");

// Async-signal-safe: one write of one byte, errno kept. A full pipe drops the byte, which is
// harmless, since a request to end is already waiting there.
extern "C" void onTerminationSignal(int signalNumber)
{
    const int savedErrno = errno;
    const unsigned char byte = static_cast<unsigned char>(signalNumber);
    s_handoff.send(
        [byte](int fd) { [[maybe_unused]] const ssize_t written = ::write(fd, &byte, 1); });
    TerminationWatchdog::requested(signalNumber);
    errno = savedErrno;
}

// Installs the handler for each signal that is neither ignored nor caught by it already.
void catchSignals()
{
    struct sigaction action = {};
    action.sa_handler = onTerminationSignal;
    sigemptyset(&action.sa_mask);
    // Interrupted system calls resume: the program learns of the signal through the pipe.
    action.sa_flags = SA_RESTART;
    for (const int signalNumber : TerminationSignals::kSignals) {
        struct sigaction current = {};
        if (::sigaction(signalNumber, nullptr, &current) != 0)
            continue;
        if (current.sa_handler == SIG_IGN || current.sa_handler == onTerminationSignal)
            continue;
        ::sigaction(signalNumber, &action, nullptr);
    }
}

} // namespace

TerminationSignals::TerminationSignals(QObject* parent) : QObject(parent)
{
    int fds[2];
    if (::pipe2(fds, O_NONBLOCK | O_CLOEXEC) != 0)
        return;
    if (!s_handoff.claim(fds[1])) {
        ::close(fds[0]);
        ::close(fds[1]);
        return;
    }
    m_readFd = fds[0];
    m_writeFd = fds[1];
    m_active = true;

    m_watchdog = std::make_unique<TerminationWatchdog>();
    m_notifier = std::make_unique<QSocketNotifier>(m_readFd, QSocketNotifier::Read);
    connect(m_notifier.get(), &QSocketNotifier::activated, this, [this] { drain(); });
    catchSignals();
}

TerminationSignals::~TerminationSignals()
{
    if (!m_active)
        return;
    m_watchdog.reset(); // the program ended in time
    m_notifier.reset();
    // A handler that read the descriptor before it was taken away finishes its one write.
    s_handoff.release();
    ::close(m_readFd);
    ::close(m_writeFd);
}

void TerminationSignals::drain()
{
    unsigned char bytes[16];
    for (;;) {
        const ssize_t got = ::read(m_readFd, bytes, sizeof bytes);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return;
        for (ssize_t i = 0; i < got; ++i)
            emit terminationRequested(bytes[i]);
    }
}
