// Every in-process and child-process figure for one plant size, as medians over several runs.
#ifndef ARBOLIX_BENCH_MEASURESIZE_H
#define ARBOLIX_BENCH_MEASURESIZE_H

#include "bench/figures.h"

namespace bench {

// Complaints (a tree that holds the wrong number of items, a walk that matched, a child that
// failed) go to standard error; the figure concerned is then 0.
SizeFigures measureSize(const PlantShape& shape, int runs);

} // namespace bench

#endif
