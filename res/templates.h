// The program's dialog templates.
#ifndef ARBOLIX_RES_TEMPLATES_H
#define ARBOLIX_RES_TEMPLATES_H

#include "res/resource.h"
#include "toolkit/dialogtemplate.h"

namespace res {

const tk::DialogTemplate& aboutBoxTemplate();
const tk::DialogTemplate& mainTemplate();
const tk::DialogTemplate& findTemplate();
const tk::DialogTemplate& initTemplate();

// The version the About box shows in place of its "%1": major and minor, "1.0".
const char* shortVersion();

} // namespace res

#endif
