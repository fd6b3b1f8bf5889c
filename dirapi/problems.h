// Problems with the library's input go to standard error, one line each; there is no log.
#ifndef ARBOLIX_DIRAPI_PROBLEMS_H
#define ARBOLIX_DIRAPI_PROBLEMS_H

#include <string_view>

namespace dirapi {

void reportProblem(std::string_view message);

} // namespace dirapi

#endif
