// The last resort of a termination request. The program itself ends at the first point where it
// can stop cleanly, which is only once the library call under way returns; a call that never
// returns would hold it for ever. A thread of its own, which only waits and never calls the
// library or the toolkit, then ends the process at once: when the program has not ended within
// kGrace of the first request, or when a second request comes. The directory is not released
// (the library is busy on the other thread), one line on standard error says so, and the exit
// status is 128 plus the number of the signal that decided it, as for a process the signal
// killed.
#ifndef ARBOLIX_APP_TERMINATIONWATCHDOG_H
#define ARBOLIX_APP_TERMINATIONWATCHDOG_H

#include <atomic>
#include <chrono>
#include <thread>

class TerminationWatchdog
{
public:
    static constexpr std::chrono::seconds kGrace{5};

    // Starts the thread; it takes none of the termination signals itself. One object at a time.
    TerminationWatchdog();
    // The program has ended in time: the thread stops without ending the process.
    ~TerminationWatchdog();

    TerminationWatchdog(const TerminationWatchdog&) = delete;
    TerminationWatchdog& operator=(const TerminationWatchdog&) = delete;

    // From the signal handler, async-signal-safe: one more request, by that signal. Dropped
    // while no object watches.
    static void requested(int signalNumber);

private:
    void watch();
    bool waitForRequest(bool withDeadline, const struct timespec& deadline);

    std::atomic<bool> m_stopping{false};
    std::thread m_thread;
};

#endif
