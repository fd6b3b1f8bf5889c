#include "app/terminationsignals.h"

#include <QSocketNotifier>
#include <atomic>
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace {

// The write end of the pipe, for the handler; -1 while no object catches the signals.
std::atomic<int> s_writeFd{-1};
static_assert(std::atomic<int>::is_always_lock_free, "the handler needs a lock-free descriptor");

// Async-signal-safe: one write of one byte, errno kept. A full pipe drops the byte, which is
// harmless, since a request to end is already waiting there.
extern "C" void onTerminationSignal(int signalNumber)
{
    const int savedErrno = errno;
    const int fd = s_writeFd.load();
    if (fd >= 0) {
        const unsigned char byte = static_cast<unsigned char>(signalNumber);
        [[maybe_unused]] const ssize_t written = ::write(fd, &byte, 1);
    }
    errno = savedErrno;
}

} // namespace

TerminationSignals::TerminationSignals(QObject* parent) : QObject(parent)
{
    int fds[2];
    if (::pipe2(fds, O_NONBLOCK | O_CLOEXEC) != 0)
        return;
    int expected = -1;
    if (!s_writeFd.compare_exchange_strong(expected, fds[1])) {
        ::close(fds[0]);
        ::close(fds[1]);
        return;
    }
    m_readFd = fds[0];
    m_writeFd = fds[1];
    m_active = true;

    m_notifier = std::make_unique<QSocketNotifier>(m_readFd, QSocketNotifier::Read);
    connect(m_notifier.get(), &QSocketNotifier::activated, this, [this] { drain(); });

    struct sigaction action = {};
    action.sa_handler = onTerminationSignal;
    sigemptyset(&action.sa_mask);
    // Interrupted system calls resume: the program learns of the signal through the pipe.
    action.sa_flags = SA_RESTART;
    for (std::size_t i = 0; i < kSignals.size(); ++i)
        ::sigaction(kSignals[i], &action, &m_previous[i]);
}

TerminationSignals::~TerminationSignals()
{
    if (!m_active)
        return;
    for (std::size_t i = 0; i < kSignals.size(); ++i)
        ::sigaction(kSignals[i], &m_previous[i], nullptr);
    m_notifier.reset();
    s_writeFd.store(-1);
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
