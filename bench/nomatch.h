// Find fragments that no item of the generated plant contains, so the walk covers the whole tree.
#ifndef ARBOLIX_BENCH_NOMATCH_H
#define ARBOLIX_BENCH_NOMATCH_H

#include "search/findwalk.h"

namespace bench {

// A block search with no station or compound filter: every block line is compared.
inline constexpr search::FindFragments kNoMatch{"", "", "ZZZZ"};

} // namespace bench

#endif
