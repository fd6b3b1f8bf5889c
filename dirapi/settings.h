// What the environment chooses: where the plant comes from, N and the delay of every listing.
#ifndef ARBOLIX_DIRAPI_SETTINGS_H
#define ARBOLIX_DIRAPI_SETTINGS_H

#include "dirapi/generatedplant.h"

#include <cstdint>
#include <string>

namespace dirapi {

inline constexpr int32_t kDefaultMaxObj = 256;
// A batch of this many entries takes about 5 MB of the caller's buffers.
inline constexpr int32_t kMaxMaxObj = 100000;
inline constexpr int32_t kMaxDelayMs = 60 * 60 * 1000;

struct Settings
{
    enum class Source
    {
        Builtin,
        File,
        Generated
    };

    Source source = Source::Builtin;
    std::string file;                // DIRAPI_FILE
    PlantSize size;                  // DIRAPI_DEMO
    int32_t maxObj = kDefaultMaxObj; // DIRAPI_MAXOBJ, 1 to kMaxMaxObj
    int32_t delayMs = 0;             // DIRAPI_DELAY_MS
    std::string trace;               // DIRAPI_TRACE: a file that gets one line per call
};

// Reads DIRAPI_FILE, DIRAPI_DEMO, DIRAPI_MAXOBJ, DIRAPI_DELAY_MS and DIRAPI_TRACE. A malformed
// value is reported and its default used; DIRAPI_FILE wins over DIRAPI_DEMO.
Settings readSettings();

} // namespace dirapi

#endif
