// This process's resident memory, as the kernel reports it.
#ifndef ARBOLIX_BENCH_RESIDENTMEMORY_H
#define ARBOLIX_BENCH_RESIDENTMEMORY_H

#include <cstdint>

namespace bench {

// VmRSS from /proc/self/status in bytes; -1 when it cannot be read.
int64_t residentBytes();

} // namespace bench

#endif
