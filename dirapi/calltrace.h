// DIRAPI_TRACE: one line per call, "function name", appended and flushed at once, so another
// process can follow the calls of a program it started, up to its very last.
#ifndef ARBOLIX_DIRAPI_CALLTRACE_H
#define ARBOLIX_DIRAPI_CALLTRACE_H

#include "dirapi/dirapi_control.h"

#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

namespace dirapi {

class CallTrace
{
public:
    // Appends to the file at path from now on; an empty path ends the trace.
    void open(const std::string& path);
    void record(dirapi_control::Function function, std::string_view name);

private:
    struct Closer
    {
        void operator()(std::FILE* file) const { std::fclose(file); }
    };
    std::unique_ptr<std::FILE, Closer> m_file;
};

// The one trace of the process.
CallTrace& callTrace();

} // namespace dirapi

#endif
