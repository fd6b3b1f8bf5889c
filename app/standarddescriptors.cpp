#include "app/standarddescriptors.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

void openClosedStandardDescriptors()
{
    // In order, so that open() gives each the number that is free: those below are open by then.
    // Without close-on-exec: the displays started later get the same three.
    for (int fd = 0; fd <= 2; ++fd) {
        if (::fcntl(fd, F_GETFD) == -1 && errno == EBADF && ::open("/dev/null", O_RDWR) != fd)
            return;
    }
}
