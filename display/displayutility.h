// The control system's command utility that every display command starts.
#ifndef ARBOLIX_DISPLAY_DISPLAYUTILITY_H
#define ARBOLIX_DISPLAY_DISPLAYUTILITY_H

#include <string_view>

namespace display {

// Fixed when the program is built (ARBOLIX_DISPLAY_UTILITY, "/usr/local/pref" by default);
// nothing at run time changes it.
std::string_view displayUtility();

} // namespace display

#endif
