#include "dirapi/settings.h"

#include "dirapi/problems.h"

#include <charconv>
#include <cstdlib>
#include <optional>
#include <string_view>

namespace dirapi {

namespace {

std::optional<std::string_view> variable(const char* name)
{
    const char* value = std::getenv(name);
    if (value == nullptr || *value == '\0')
        return std::nullopt;
    return std::string_view(value);
}

std::optional<int32_t> parseInt(std::string_view text)
{
    int32_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

void reportMalformed(const char* name, std::string_view value, std::string_view fallback)
{
    reportProblem(std::string(name) + ": malformed value " + quoted(value) + ", " +
                  std::string(fallback));
}

} // namespace

Settings readSettings()
{
    Settings settings;
    if (const auto file = variable("DIRAPI_FILE")) {
        settings.source = Settings::Source::File;
        settings.file = std::string(*file);
    } else if (const auto demo = variable("DIRAPI_DEMO")) {
        if (const auto size = parsePlantSize(*demo)) {
            settings.source = Settings::Source::Generated;
            settings.size = *size;
        } else {
            reportMalformed("DIRAPI_DEMO", *demo,
                            "expected SxCxB such as 100x100x100 (at most 9999x9999x999999); "
                            "using the built-in plant");
        }
    }
    if (const auto maxObj = variable("DIRAPI_MAXOBJ")) {
        const auto value = parseInt(*maxObj);
        if (value && *value >= 1 && *value <= kMaxMaxObj)
            settings.maxObj = *value;
        else
            reportMalformed("DIRAPI_MAXOBJ", *maxObj,
                            "expected 1 to " + std::to_string(kMaxMaxObj) + "; using " +
                                std::to_string(kDefaultMaxObj));
    }
    if (const auto delay = variable("DIRAPI_DELAY_MS")) {
        const auto value = parseInt(*delay);
        if (value && *value >= 0 && *value <= kMaxDelayMs)
            settings.delayMs = *value;
        else
            reportMalformed("DIRAPI_DELAY_MS", *delay, "using no delay");
    }
    if (const auto trace = variable("DIRAPI_TRACE"))
        settings.trace = std::string(*trace);
    return settings;
}

} // namespace dirapi
