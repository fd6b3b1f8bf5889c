// The handoff between a signal handler, which may run on any thread at any moment, and the one
// object that owns the pipe the handler writes to. The owner takes the descriptor away and then
// waits for every handler that may still be using it, so that no handler ever writes to a
// descriptor after it was closed and perhaps opened again for something else (the X connection).
#ifndef ARBOLIX_APP_SIGNALHANDOFF_H
#define ARBOLIX_APP_SIGNALHANDOFF_H

#include <thread>

// Int is std::atomic<int>, lock-free, in the program; a test may put a type there that watches
// how it is used.
template <class Int> struct SignalHandoff
{
    Int writeFd{-1}; // -1 while no owner holds the handoff
    Int writers{0};  // handlers that may be using the descriptor they read

    // Owner: takes the handoff for the descriptor; false while another owner holds it.
    bool claim(int fd)
    {
        int none = -1;
        return writeFd.compare_exchange_strong(none, fd);
    }

    // Handler: write(fd) once, if an owner holds the handoff. Counted among the writers before
    // it reads the descriptor: an owner that takes it away in between then waits for the write.
    template <class Write> void send(Write write)
    {
        writers.fetch_add(1);
        const int fd = writeFd.load();
        if (fd >= 0)
            write(fd);
        writers.fetch_sub(1);
    }

    // Owner: gives the handoff up; once this returns, no handler uses the descriptor any more.
    void release()
    {
        writeFd.store(-1);
        while (writers.load() != 0)
            std::this_thread::yield();
    }
};

#endif
