// Milliseconds on the monotonic clock, which every process on the machine shares.
#ifndef ARBOLIX_BENCH_CLOCK_H
#define ARBOLIX_BENCH_CLOCK_H

#include <chrono>
#include <cstdint>

namespace bench {

inline int64_t monotonicNanoseconds()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

inline double millisecondsSince(int64_t startNs)
{
    return double(monotonicNanoseconds() - startNs) / 1e6;
}

} // namespace bench

#endif
