#include "bench/residentmemory.h"

#include <cstdio>
#include <cstring>

namespace bench {

int64_t residentBytes()
{
    std::FILE* status = std::fopen("/proc/self/status", "r");
    if (!status)
        return -1;
    char line[256];
    long long kilobytes = -1;
    while (std::fgets(line, sizeof line, status)) {
        if (std::strncmp(line, "VmRSS:", 6) == 0) {
            if (std::sscanf(line + 6, "%lld", &kilobytes) != 1)
                kilobytes = -1;
            break;
        }
    }
    std::fclose(status);
    return kilobytes < 0 ? -1 : kilobytes * 1024;
}

} // namespace bench
