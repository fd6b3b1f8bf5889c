#include "dirapi/calltrace.h"

#include "dirapi/problems.h"

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

void CallTrace::open(const std::string& path)
{
    m_file.reset(path.empty() ? nullptr : std::fopen(path.c_str(), "a"));
    if (!path.empty() && !m_file)
        reportProblem("DIRAPI_TRACE: cannot open '" + path + "' for appending");
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
