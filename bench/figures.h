// The medians measured for one plant size.
#ifndef ARBOLIX_BENCH_FIGURES_H
#define ARBOLIX_BENCH_FIGURES_H

#include "bench/benchplant.h"

namespace bench {

struct SizeFigures
{
    PlantShape shape;
    double limitMs = 0;   // L: the listing calls alone
    double arbolixMs = 0; // A: the main window's population
    double plainMs = 0;   // P: a QTreeWidget filled the plain way
    double arbolixBytesPerItem = 0;
    double plainBytesPerItem = 0;
    double findArbolixMs = 0;
    double findPlainMs = 0;
    double refreshMs = 0;      // RefreshItem of the first station, expanded
    double refreshBareMs = 0;  // the same station's listing with no tree
    double firstPaintMs = 0;   // from process start
    double populatedMs = 0;    // from process start
    double paintArbolixMs = 0; // one repaint of a viewport full of rows, first branch open
    double paintPlainMs = 0;   // the same rows in the QTreeWidget
};

} // namespace bench

#endif
