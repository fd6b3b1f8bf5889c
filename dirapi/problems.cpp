#include "dirapi/problems.h"

#include <cstdio>

namespace dirapi {

void reportProblem(std::string_view message)
{
    // Written as bytes: names in a message may hold any byte, including NUL.
    std::fwrite(message.data(), 1, message.size(), stderr);
    std::fputc('\n', stderr);
    std::fflush(stderr);
}

} // namespace dirapi
