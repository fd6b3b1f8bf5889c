#include "display/displayutility.h"

#ifndef ARBOLIX_DISPLAY_UTILITY
#error "ARBOLIX_DISPLAY_UTILITY must be defined by the build"
#endif

namespace display {

namespace {
constexpr std::string_view kDisplayUtility = ARBOLIX_DISPLAY_UTILITY;
}

std::string_view displayUtility()
{
    return kDisplayUtility;
}

} // namespace display
