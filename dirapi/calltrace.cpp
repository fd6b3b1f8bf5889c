#include "dirapi/calltrace.h"

#include "dirapi/problems.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace dirapi {

namespace {

const char* functionName(dirapi_control::Function function)
{
    using dirapi_control::Function;
    switch (function) {
    case Function::GetMaxObj:
        return "get_maxobj";
    case Function::AllSta:
        return "an_all_sta";
    case Function::AllCmp:
        return "an_all_cmp";
    case Function::AllBlk:
        return "an_all_blk";
    case Function::Exit:
        return "an_exit";
    }
    return "?";
}

} // namespace

// Opened without waiting: a FIFO nobody reads would hold the program in open() for ever. What
// opens that way is written to without waiting either: a line that does not fit is lost.
void CallTrace::open(const std::string& path)
{
    m_file.reset();
    if (path.empty())
        return;
    int fd;
    do {
        fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_NONBLOCK | O_CLOEXEC | O_NOCTTY,
                    0666);
    } while (fd < 0 && errno == EINTR);
    int error = errno;
    if (fd >= 0) {
        m_file.reset(::fdopen(fd, "a"));
        error = errno;
        if (!m_file)
            ::close(fd);
    }
    if (!m_file)
        reportProblem("DIRAPI_TRACE: cannot open " + quoted(path) +
                      " for appending without waiting (" + std::strerror(error) + "); no trace");
}

void CallTrace::record(dirapi_control::Function function, std::string_view name)
{
    if (!m_file)
        return;
    std::fputs(functionName(function), m_file.get());
    if (!name.empty()) {
        std::fputc(' ', m_file.get());
        std::fwrite(name.data(), 1, name.size(), m_file.get());
    }
    std::fputc('\n', m_file.get());
    std::fflush(m_file.get());
}

// Never destroyed, like the library.
CallTrace& callTrace()
{
    static CallTrace& trace = *new CallTrace;
    return trace;
}

} // namespace dirapi
