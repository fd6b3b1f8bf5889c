#include "app/terminationwatchdog.h"

#include "app/terminationsignals.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <ctime>
#include <pthread.h>
#include <semaphore.h>
#include <system_error>
#include <unistd.h>

namespace {

// Posted once per request. Made once and never destroyed: the handler stays installed until the
// process ends and may post at any moment, also between two watchdogs.
sem_t s_requests;
std::atomic<bool> s_ready{false};
std::atomic<bool> s_watching{false};
std::atomic<int> s_lastSignal{0};
static_assert(std::atomic<int>::is_always_lock_free && std::atomic<bool>::is_always_lock_free,
              "the handler needs lock-free atomics");

const char* signalName(int signalNumber)
{
    switch (signalNumber) {
    case SIGTERM:
        return "SIGTERM";
    case SIGINT:
        return "SIGINT";
    case SIGHUP:
        return "SIGHUP";
    default:
        return "a signal";
    }
}

// One line, one write: the other thread may be anywhere, so nothing that allocates or locks.
[[noreturn]] void endAtOnce(int signalNumber, bool secondRequest)
{
    char line[256] = "arbolix: ";
    const auto append = [&line](const char* text) {
        std::strncat(line, text, sizeof line - std::strlen(line) - 1);
    };
    append(signalName(signalNumber));
    append(secondRequest ? ", a second termination request"
                         : " not answered within 5 s (a directory library call has not returned)");
    append(": ended at once without releasing the directory\n");
    [[maybe_unused]] const ssize_t written = ::write(STDERR_FILENO, line, std::strlen(line));
    ::_exit(128 + signalNumber);
}

} // namespace

static_assert(TerminationWatchdog::kGrace == std::chrono::seconds(5), "the line says 5 s");

TerminationWatchdog::TerminationWatchdog()
{
    static const bool made = ::sem_init(&s_requests, 0, 0) == 0;
    if (!made)
        return;
    s_ready.store(true);
    // Requests from before this watchdog belonged to an earlier run of the window.
    while (::sem_trywait(&s_requests) == 0) {
    }
    s_watching.store(true);

    // The thread inherits the mask: the signals go to the threads that handle them as usual.
    sigset_t termination;
    sigemptyset(&termination);
    for (const int signalNumber : TerminationSignals::kSignals)
        sigaddset(&termination, signalNumber);
    sigset_t saved;
    ::pthread_sigmask(SIG_BLOCK, &termination, &saved);
    try {
        m_thread = std::thread([this] { watch(); });
    } catch (const std::system_error&) {
        s_watching.store(false); // no thread to be had: requests wait for the program alone
    }
    ::pthread_sigmask(SIG_SETMASK, &saved, nullptr);
}

TerminationWatchdog::~TerminationWatchdog()
{
    if (!m_thread.joinable())
        return;
    s_watching.store(false);
    m_stopping.store(true);
    ::sem_post(&s_requests);
    m_thread.join();
}

void TerminationWatchdog::requested(int signalNumber)
{
    if (!s_ready.load() || !s_watching.load())
        return;
    s_lastSignal.store(signalNumber);
    ::sem_post(&s_requests);
}

// True for a request; false at the deadline or once the watchdog is stopping.
bool TerminationWatchdog::waitForRequest(bool withDeadline, const timespec& deadline)
{
    for (;;) {
        const int result = withDeadline ? ::sem_clockwait(&s_requests, CLOCK_MONOTONIC, &deadline)
                                        : ::sem_wait(&s_requests);
        if (m_stopping.load())
            return false;
        if (result == 0)
            return true;
        if (errno != EINTR)
            return false;
    }
}

void TerminationWatchdog::watch()
{
    timespec deadline{};
    if (!waitForRequest(false, deadline))
        return;
    const int first = s_lastSignal.load();
    ::clock_gettime(CLOCK_MONOTONIC, &deadline);
    deadline.tv_sec += kGrace.count();
    const bool second = waitForRequest(true, deadline);
    if (m_stopping.load())
        return;
    endAtOnce(second ? s_lastSignal.load() : first, second);
}
